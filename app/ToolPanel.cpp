#include "app/ToolPanel.h"

#include <QToolButton>

#include <algorithm>

TToolPanel::TToolPanel(QWidget* parent) : QWidget(parent) {}

void TToolPanel::AddButton(QToolButton* button, int left) {
    button->setParent(this);
    Entries.push_back({button, left, button->width()});
    Arrange();
    updateGeometry();
}

int TToolPanel::NaturalWidth() const {
    if (Entries.empty())
        return 0;
    // The same margin on the right as on the left.
    return Entries.back().Left + Entries.back().Width + Entries.front().Left;
}

int TToolPanel::NarrowestWidth() const {
    int width = NaturalWidth();
    for (size_t i = 1; i < Entries.size(); ++i) {
        const int gap = Entries[i].Left - (Entries[i - 1].Left + Entries[i - 1].Width);
        width -= std::max(0, gap - MinGroupGap);
    }
    return width;
}

QSize TToolPanel::minimumSizeHint() const {
    return {NarrowestWidth(), height()};
}

QSize TToolPanel::sizeHint() const {
    return {NaturalWidth(), height()};
}

void TToolPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

void TToolPanel::Arrange() {
    if (Entries.empty())
        return;
    // Each gap between groups gives up the same share of what it has beyond
    // the smallest gap, so the groups keep their order and their look.
    std::vector<int> gaps(Entries.size(), 0);
    std::vector<int> slack(Entries.size(), 0);
    long long totalSlack = 0;
    for (size_t i = 1; i < Entries.size(); ++i) {
        gaps[i] = Entries[i].Left - (Entries[i - 1].Left + Entries[i - 1].Width);
        slack[i] = std::max(0, gaps[i] - MinGroupGap);
        totalSlack += slack[i];
    }
    const long long shortBy =
        std::clamp<long long>(NaturalWidth() - width(), 0, totalSlack);
    long long slackSoFar = 0;
    long long takenSoFar = 0;
    int x = Entries.front().Left;
    for (size_t i = 0; i < Entries.size(); ++i) {
        if (i > 0) {
            slackSoFar += slack[i];
            // Rounded on the running sums, so the shares add up exactly.
            const long long taken = totalSlack > 0 ? slackSoFar * shortBy / totalSlack : 0;
            x += Entries[i - 1].Width + gaps[i] - int(taken - takenSoFar);
            takenSoFar = taken;
        }
        QToolButton* button = Entries[i].Button;
        button->move(x, ButtonTop);
    }
}
