#include "chart/NavBar.h"

#include "blocks/BlockCatalogue.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QFont PaletteFont() {
    QFont font(u"宋体"_s);
    font.setPixelSize(16);
    return font;
}

QPixmap RenderIcon(int kind) {
    QPixmap pixmap(TNavBar::IconSize, TNavBar::IconSize);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(u":/icons/palette/kind%1.svg"_s.arg(kind, 2, 10, QLatin1Char('0')));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    return pixmap;
}

} // namespace

TNavBar::TNavBar(QWidget* parent) : QWidget(parent) {
    setFixedWidth(145);
    for (const TBlockKind& kind : BlockCatalogue()) {
        Captions.push_back(FromUtf8(kind.Caption));
        Icons.push_back(RenderIcon(kind.Kind));
    }
    Buttons.assign(ItemCount, nullptr);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QFont font = PaletteFont();
    for (const TBlockGroup& entry : BlockGroups()) {
        const int index = int(Groups.size());
        TGroup group;
        group.Caption = FromUtf8(entry.Caption);
        for (const TBlockKind& kind : BlockCatalogue())
            if (kind.Group == &entry)
                group.Kinds.push_back(kind.Kind);

        group.Header = new QPushButton(group.Caption, this);
        group.Header->setFont(font);
        group.Header->setFocusPolicy(Qt::NoFocus);
        group.Header->setMinimumHeight(26);
        // Header: button face with button text, the look of a group bar.
        group.Header->setStyleSheet(
            u"QPushButton { background: palette(button); color: palette(button-text);"
            " border: 1px solid palette(mid); padding: 2px; }"_s);
        connect(group.Header, &QPushButton::clicked, this,
                [this, index] { SetActiveGroupIndex(index); });
        layout->addWidget(group.Header);

        auto* items = new QWidget;
        items->setAutoFillBackground(true);
        QPalette pal = items->palette();
        pal.setColor(QPalette::Window, Qt::white);
        items->setPalette(pal);
        auto* itemLayout = new QVBoxLayout(items);
        itemLayout->setContentsMargins(2, 6, 2, 6);
        itemLayout->setSpacing(4);
        for (int kind : group.Kinds) {
            auto* button = new QToolButton(items);
            button->setText(Captions[size_t(kind - 1)]);
            button->setToolTip(Captions[size_t(kind - 1)]);
            button->setIcon(QIcon(Icons[size_t(kind - 1)]));
            button->setIconSize(QSize(IconSize, IconSize));
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            button->setAutoRaise(true);
            button->setFont(font);
            button->setFocusPolicy(Qt::NoFocus);
            button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            // The captions stay dark on the white item background so that
            // they can be read.
            button->setStyleSheet(u"QToolButton { color: black; }"_s);
            connect(button, &QToolButton::clicked, this, [this, kind] { emit ItemClicked(kind); });
            button->setProperty("paletteKind", kind);
            button->installEventFilter(this);
            itemLayout->addWidget(button);
            Buttons[size_t(kind - 1)] = button;
        }
        itemLayout->addStretch(1);

        group.Page = new QScrollArea(this);
        group.Page->setWidget(items);
        group.Page->setWidgetResizable(true);
        group.Page->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        group.Page->setFrameShape(QFrame::NoFrame);
        layout->addWidget(group.Page, 1);
        Groups.push_back(group);
    }
    ActiveGroup = -1;
    SetActiveGroupIndex(0);
}

QMimeData* PaletteKindMimeData(int kind) {
    auto* data = new QMimeData;
    data->setData(PaletteKindMimeType, QByteArray::number(kind));
    return data;
}

int PaletteKindOf(const QMimeData* data) {
    if (data == nullptr || !data->hasFormat(PaletteKindMimeType))
        return 0;
    bool ok = false;
    const int kind = data->data(PaletteKindMimeType).toInt(&ok);
    return ok && kind >= 1 && kind <= TNavBar::ItemCount ? kind : 0;
}

bool TNavBar::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QToolButton*>(watched);
    const int kind = button ? button->property("paletteKind").toInt() : 0;
    if (kind == 0)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton)
            DragStart = press->position().toPoint();
    } else if (event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        if ((move->buttons() & Qt::LeftButton) &&
            (move->position().toPoint() - DragStart).manhattanLength() >=
                QApplication::startDragDistance()) {
            // Dragged onto a spot of the chart the item is inserted there; the
            // press must not also count as a click.
            button->setDown(false);
            auto* drag = new QDrag(button);
            drag->setMimeData(PaletteKindMimeData(kind));
            drag->setPixmap(Icons[size_t(kind - 1)]);
            drag->setHotSpot(QPoint(IconSize / 2, IconSize / 2));
            drag->exec(Qt::CopyAction);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString TNavBar::GroupCaption(int group) const {
    return group >= 0 && group < GroupCount() ? Groups[size_t(group)].Caption : QString();
}

std::vector<int> TNavBar::GroupItems(int group) const {
    return group >= 0 && group < GroupCount() ? Groups[size_t(group)].Kinds : std::vector<int>();
}

void TNavBar::SetActiveGroupIndex(int group) {
    if (group < 0 || group >= GroupCount() || group == ActiveGroup)
        return;
    ActiveGroup = group;
    for (int i = 0; i < GroupCount(); ++i)
        Groups[size_t(i)].Page->setVisible(i == group);
}

QString TNavBar::ItemCaption(int kind) const {
    return kind >= 1 && kind <= ItemCount ? Captions[size_t(kind - 1)] : QString();
}

QPixmap TNavBar::ItemIcon(int kind) const {
    return kind >= 1 && kind <= ItemCount ? Icons[size_t(kind - 1)] : QPixmap();
}

QAbstractButton* TNavBar::ItemButton(int kind) const {
    return kind >= 1 && kind <= ItemCount ? Buttons[size_t(kind - 1)] : nullptr;
}

QAbstractButton* TNavBar::GroupButton(int group) const {
    return group >= 0 && group < GroupCount() ? Groups[size_t(group)].Header : nullptr;
}
