#include "app/Unit1.h"

#include "app/Application.h"
#include "app/frmAbout.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QSvgRenderer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QPixmap RenderSvg(const QString& path, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    return pixmap;
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setGeometry(106, 80, 618, 463);
    QFont windowFont(u"MS Sans Serif"_s);
    windowFont.setPixelSize(11);
    setFont(windowFont);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel1 = new QWidget(central);
    Panel1->setFixedHeight(37);
    SpeedButton1 = MakeSpeedButton(1, 2);
    SpeedButton2 = MakeSpeedButton(2, 34);
    SpeedButton3 = MakeSpeedButton(3, 66);
    SpeedButton4 = MakeSpeedButton(4, 98);
    SpeedButton5 = MakeSpeedButton(5, 138);
    SpeedButton8 = MakeSpeedButton(8, 170);
    SpeedButton7 = MakeSpeedButton(7, 362);
    SpeedButton6 = MakeSpeedButton(6, 394);
    SpeedButton10 = MakeSpeedButton(10, 474);
    SpeedButton9 = MakeSpeedButton(9, 506);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TForm1::SpeedButton5Click);
    connect(SpeedButton6, &QToolButton::clicked, this, &TForm1::SpeedButton6Click);
    connect(SpeedButton7, &QToolButton::clicked, this, &TForm1::SpeedButton7Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &TForm1::SpeedButton8Click);
    connect(SpeedButton9, &QToolButton::clicked, this, &TForm1::SpeedButton9Click);
    connect(SpeedButton10, &QToolButton::clicked, this, &TForm1::SpeedButton10Click);
    column->addWidget(Panel1);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    NavBar1 = new TNavBar(central);
    row->addWidget(NavBar1);

    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setHandleWidth(5);
    Splitter1->setChildrenCollapsible(false);
    FlowChart1 = new TFlowChart(Splitter1);
    FlowChart1->SetColor(clSkyBlue);
    FlowChart1->SetImages({RenderSvg(u":/icons/robot_head.svg"_s, QSize(32, 31))});
    FlowChart1->SetOptions(fcoCanDrag | fcoCanSelect);
    FlowChart1->OnDblClick = [this](TCustomFlowChart*) { FlowChart1DblClick(); };
    Memo1 = new QPlainTextEdit(Splitter1);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Splitter1->addWidget(FlowChart1);
    Splitter1->addWidget(Memo1);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({282, 618 - 145 - 282 - 5});
    row->addWidget(Splitter1, 1);
    column->addLayout(row, 1);
    setCentralWidget(central);

    connect(NavBar1, &TNavBar::ItemClicked, this, &TForm1::NavBar1ItemClick);
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

QToolButton* TForm1::MakeSpeedButton(int number, int left) {
    auto* button = new QToolButton(Panel1);
    button->setObjectName(u"SpeedButton%1"_s.arg(number));
    button->setGeometry(left, 2, 32, 32);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(32, 32));
    button->setIcon(
        QIcon(RenderSvg(u":/icons/toolbar/SpeedButton%1.svg"_s.arg(number), QSize(32, 32))));
    button->setStyleSheet(u"QToolButton { border: 1px solid transparent; padding: 0px; }"
                          " QToolButton:hover { border: 1px solid palette(mid); }"
                          " QToolButton:pressed { border: 1px solid palette(dark); }"_s);
    return button;
}

void TForm1::FormCreate() {
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    setWindowTitle(ApplicationTitle());
    DocumentName.clear();
    Memo1->clear();
    ChainOps = std::make_unique<TProgramChain>(FlowChart1, &SimpleXML1);
    ChainOps->SetCaptionSource([this](int kind) { return NavBar1->ItemCaption(kind); });
    ChainOps->BuildInitialChain();
}

void TForm1::FormDestroy() {
    // The chain's elements delete their objects from the canvas, so the
    // chain goes before the canvas does.
    ChainOps.reset();
}

void TForm1::SpeedButton1Click() {}
void TForm1::SpeedButton2Click() {}
void TForm1::SpeedButton3Click() {}
void TForm1::SpeedButton4Click() {}

void TForm1::SpeedButton5Click() {
    close();
}

void TForm1::SpeedButton6Click() {}
void TForm1::SpeedButton7Click() {}

void TForm1::SpeedButton8Click() {
    if (FormAbout == nullptr)
        FormAbout = new TFormAbout(this);
    FormAbout->exec();
}

void TForm1::SpeedButton9Click() {}
void TForm1::SpeedButton10Click() {}

void TForm1::NavBar1ItemClick(int kind) {
    if (kind == 7 || kind == 8)
        return;
    ChainOps->InsertBlock(kind);
}

void TForm1::FlowChart1DblClick() {
    emit ChartDoubleClicked();
}
