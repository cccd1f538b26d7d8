#pragma once

// The toolbar strip across the top of the main window. Its buttons stand at
// their usual places while the window is wide enough; in a narrower window
// the gaps between the button groups close up, so no button is ever cut off.
// The strip is never narrower than its buttons side by side with the
// smallest gaps, which keeps the window from being made narrower than that.

#include <QWidget>

#include <vector>

class QToolButton;

class TToolPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int ButtonTop = 2;
    // Between two groups of buttons, however narrow the strip.
    static constexpr int MinGroupGap = 8;

    explicit TToolPanel(QWidget* parent = nullptr);

    // Takes the button into the strip with its usual left edge; buttons are
    // added from left to right, and a button that does not touch the one
    // before it starts a new group.
    void AddButton(QToolButton* button, int left);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct TEntry {
        QToolButton* Button;
        int Left;
        int Width;
    };
    void Arrange();
    int NaturalWidth() const;
    int NarrowestWidth() const;

    std::vector<TEntry> Entries;
};
