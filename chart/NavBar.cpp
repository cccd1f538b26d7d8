#include "chart/NavBar.h"

#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const char16_t* const ItemCaptions[TNavBar::ItemCount] = {
    u"直行",       u"转向",     u"启动电机",   u"停止电机",   u"延时",       u"发音",
    u"红外线",     u"光感",     u"多次循环头", u"多次循环尾", u"标号",       u"无条件跳转",
    u"条件跳转",   u"结束程序", u"发光二极管", u"IO设置",     u"IO输入",     u"IO输出",
    u"舵机",       u"表达式",   u"开关量传感", u"模拟量传感", u"子程序开始", u"子程序结束",
    u"调用子程序", u"语音模块"};

struct TGroupSpec {
    const char16_t* Caption;
    std::vector<int> Kinds;
};

const TGroupSpec GroupSpecs[] = {
    {u"执行模块", {1, 2, 3, 4, 5, 6, 15, 19, 20, 26}},
    {u"传感器模块", {16, 17, 18, 21, 22}},
    {u"控制模块", {9, 10, 11, 12, 13, 23, 24, 25}},
    {u"程序模块", {14}},
};

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
    for (int kind = 1; kind <= ItemCount; ++kind) {
        Captions.push_back(QString::fromUtf16(ItemCaptions[kind - 1]));
        Icons.push_back(RenderIcon(kind));
    }
    Buttons.assign(ItemCount, nullptr);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QFont font = PaletteFont();
    for (const TGroupSpec& entry : GroupSpecs) {
        const int index = int(Groups.size());
        TGroup group;
        group.Caption = QString::fromUtf16(entry.Caption);
        group.Kinds = entry.Kinds;

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
        for (int kind : entry.Kinds) {
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
