#include "app/frmAbout.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// A web address in blue that turns red under the mouse and opens in the
// default browser when clicked.
class TUrlLabel : public QLabel {
public:
    TUrlLabel(const QString& url, QWidget* parent) : QLabel(url, parent), Url(url) {
        setCursor(Qt::PointingHandCursor);
        SetColour(Qt::blue);
    }

protected:
    void enterEvent(QEnterEvent* event) override {
        SetColour(Qt::red);
        QLabel::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override {
        SetColour(Qt::blue);
        QLabel::leaveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QDesktopServices::openUrl(QUrl(Url));
        QLabel::mouseReleaseEvent(event);
    }

private:
    void SetColour(const QColor& colour) {
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, colour);
        setPalette(pal);
    }
    QString Url;
};

QPixmap ProductPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(u":/icons/about.svg"_s);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    return pixmap;
}

QLabel* BlueTitle(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setItalic(true);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(pal);
    return label;
}

} // namespace

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(u"关于"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(561, 411);
    QFont font(u"宋体"_s);
    font.setPixelSize(16);
    setFont(font);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(8, 8, 290, 186);
    auto* picture = new QLabel(panel);
    picture->setPixmap(ProductPicture(64));
    picture->setGeometry(12, 12, 64, 64);
    BlueTitle(u"DEDEVAV流程图软件 "_s, panel)->setGeometry(88, 18, 196, 22);
    // The same number as --version: both come from the build.
    BlueTitle(u"版本:%1 "_s.arg(QStringLiteral(DEDEVAV_VERSION)), panel)
        ->setGeometry(88, 48, 196, 22);
    (new QLabel(u"示例机器人教育科技有限公司"_s, panel))->setGeometry(12, 94, 270, 22);
    (new TUrlLabel(u"https://www.example.com"_s, panel))->setGeometry(12, 124, 270, 22);
    (new TUrlLabel(u"https://www.example.org"_s, panel))->setGeometry(12, 152, 270, 22);

    auto* invitation = new QLabel(u"欢迎访问我们的网站，获取最新的单片机与机器人资料："_s, this);
    invitation->setWordWrap(true);
    invitation->setGeometry(310, 16, 240, 66);
    (new TUrlLabel(u"https://www.example.com"_s, this))->setGeometry(310, 90, 240, 22);

    auto* offices = new QGroupBox(u"联系地址"_s, this);
    offices->setGeometry(8, 204, 545, 150);
    auto* addresses = new QLabel(u"总部：示例市科技园区创新路1号  电话：000-00000001\n"
                                 "华东办事处：示例市滨江大道2号  电话：000-00000002\n"
                                 "华南办事处：示例市海岸路3号  电话：000-00000003"_s,
                                 offices);
    addresses->setGeometry(12, 28, 520, 110);
    addresses->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Button1 = new QPushButton(u"确定"_s, this);
    Button1->setGeometry(236, 368, 89, 30);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormAbout::showEvent(QShowEvent* event) {
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}
