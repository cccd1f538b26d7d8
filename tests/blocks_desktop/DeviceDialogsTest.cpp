// The device and sensor dialogs: LED masks and lamp order, the port bit lists,
// the servo value labels, the sensor lists and the results of the buttons.

#include "ControlsTestSupport.h"

#include "blocks/controls/BitList.h"
#include "blocks/controls/BlockDialog.h"
#include "blocks/controls/LedLamp.h"
#include "blocks/dialogs/frmAIN.h"
#include "blocks/dialogs/frmDIN.h"
#include "blocks/dialogs/frmFaYin.h"
#include "blocks/dialogs/frmLED.h"
#include "blocks/dialogs/frmPORTDDR.h"
#include "blocks/dialogs/frmPORTIN.h"
#include "blocks/dialogs/frmPORTOUT.h"
#include "blocks/dialogs/frmServo.h"
#include "blocks/dialogs/frmVOICEX.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

// The row texts of a bit list: value and description, per row.
QStringList RowTexts(const TBitList* list) {
    QStringList texts;
    for (int bit = 0; bit < TBitList::RowCount; ++bit)
        texts.append(list->Row(bit)->text(1) + u'|' + list->Row(bit)->text(2));
    return texts;
}

void Click(QWidget* target, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF centre = QRectF(target->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, target->mapToGlobal(centre), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, target->mapToGlobal(centre), button,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void Tick(TBitList* list, int bit, bool ticked) {
    list->Row(bit)->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

} // namespace

TEST(LedDialog, NewBlockOpensDarkAndClickingCaptionPB0TogglesMiddleLamp) {
    TFormLED dialog;
    dialog.SetLedMask(7);
    EXPECT_FALSE(dialog.LED1()->IsOn());
    EXPECT_FALSE(dialog.LED2()->IsOn());
    EXPECT_FALSE(dialog.LED3()->IsOn());

    // The row reads PB1, PB0, PB2 from the left; LED1 (bit 0) is the middle.
    EXPECT_LT(dialog.LED2()->x(), dialog.LED1()->x());
    EXPECT_LT(dialog.LED1()->x(), dialog.LED3()->x());
    EXPECT_EQ(dialog.Label2()->text(), u"PB1"_s);
    EXPECT_EQ(dialog.Label1()->text(), u"PB0"_s);
    EXPECT_EQ(dialog.Label3()->text(), u"PB2"_s);

    Click(dialog.Label1());
    EXPECT_TRUE(dialog.LED1()->IsOn());
    EXPECT_EQ(dialog.GetLedMask(), 6);

    Click(dialog.LED3());
    EXPECT_EQ(dialog.GetLedMask(), 2);
    Click(dialog.LED3());
    EXPECT_EQ(dialog.GetLedMask(), 6);
}

TEST(LedDialog, MasksRoundTripAndHighBitsAreIgnored) {
    TFormLED dialog;
    // A new dialog has all lamps lit.
    EXPECT_EQ(dialog.GetLedMask(), 0);
    for (int mask = 0; mask <= 7; ++mask) {
        dialog.SetLedMask(mask);
        EXPECT_EQ(dialog.GetLedMask(), mask);
        dialog.SetLedMask(mask | 0x7f8);
        EXPECT_EQ(dialog.GetLedMask(), mask);
    }
    dialog.SetLedMask(2);
    EXPECT_TRUE(dialog.LED1()->IsOn());
    EXPECT_FALSE(dialog.LED2()->IsOn());
    EXPECT_TRUE(dialog.LED3()->IsOn());
}

TEST(LedLamp, ReportsClicksWithoutChangingItself) {
    TLedLamp lamp;
    int clicks = 0;
    QObject::connect(&lamp, &TLedLamp::Clicked, [&] { ++clicks; });
    Click(&lamp);
    Click(&lamp, Qt::RightButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(lamp.IsOn());
}

TEST(PortDialogs, OutputRowsFollowTheMask) {
    TFormPORTOUT dialog;
    TBitList* list = dialog.ListView1();
    const QString low = u"0|低电平"_s;
    const QString high = u"1|高电平"_s;
    EXPECT_EQ(RowTexts(list), QStringList(8, low));
    EXPECT_EQ(list->Row(0)->text(0), u"bit0"_s);
    EXPECT_EQ(list->Row(7)->text(0), u"bit7"_s);

    dialog.SetBitMask(5);
    EXPECT_EQ(RowTexts(list), (QStringList{high, low, high, low, low, low, low, low}));
    EXPECT_EQ(dialog.GetBitMask(), 5);

    // A tick by the user rewrites its row the same way.
    Tick(list, 7, true);
    Tick(list, 0, false);
    EXPECT_EQ(list->Row(7)->text(2), u"高电平"_s);
    EXPECT_EQ(list->Row(0)->text(2), u"低电平"_s);
    EXPECT_EQ(dialog.GetBitMask(), 0x84);
}

TEST(PortDialogs, DirectionRowsAndMaskRoundTrip) {
    TFormPORTDDR dialog;
    TBitList* list = dialog.ListView1();
    EXPECT_EQ(RowTexts(list), QStringList(8, u"0|输入"_s));

    dialog.SetBitMask(0xff);
    EXPECT_EQ(RowTexts(list), QStringList(8, u"1|输出"_s));
    for (int bit = 0; bit < TBitList::RowCount; ++bit)
        Tick(list, bit, false);
    EXPECT_EQ(dialog.GetBitMask(), 0);
    EXPECT_EQ(RowTexts(list), QStringList(8, u"0|输入"_s));

    for (int mask : {0, 1, 0x80, 0xa5, 0xff, 0x1ff, 0x12345, -1}) {
        dialog.SetBitMask(mask);
        EXPECT_EQ(dialog.GetBitMask(), mask & 0xff) << mask;
    }
}

TEST(PortDialogs, RowCaptionsAreReadOnly) {
    TFormPORTOUT dialog;
    const Qt::ItemFlags flags = dialog.ListView1()->Row(3)->flags();
    EXPECT_FALSE(flags & Qt::ItemIsEditable);
    EXPECT_TRUE(flags & Qt::ItemIsUserCheckable);
    EXPECT_EQ(dialog.ListView1()->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(ServoDialog, ValueLabelsFollowTheirBars) {
    TFormServo dialog;
    for (int n = 1; n <= TFormServo::ServoCount; ++n) {
        EXPECT_EQ(dialog.ScrollBar(n)->value(), 9);
        EXPECT_EQ(dialog.LabelVal(n)->text(), u"9"_s);
    }
    EXPECT_EQ(dialog.LabelSpdVal()->text(), u"1"_s);

    // Each bar updates only its own label; moving bar 3 to its top shows 0.
    dialog.ScrollBar3()->setValue(0);
    dialog.ScrollBar5()->setValue(18);
    dialog.ScrollBar1()->setValue(-4); // clamped, as the editing flow relies on
    dialog.ScrollBarSpeed()->setValue(dialog.ScrollBarSpeed()->maximum());
    EXPECT_EQ(dialog.LabelVal(1)->text(), u"0"_s);
    EXPECT_EQ(dialog.LabelVal(2)->text(), u"9"_s);
    EXPECT_EQ(dialog.LabelVal(3)->text(), u"0"_s);
    EXPECT_EQ(dialog.LabelVal(4)->text(), u"9"_s);
    EXPECT_EQ(dialog.LabelVal(5)->text(), u"18"_s);
    EXPECT_EQ(dialog.LabelSpdVal()->text(), u"5"_s);
    EXPECT_EQ(dialog.ScrollBar1()->value(), 0);

    // The bottom of a vertical bar is its maximum.
    QScrollBar* speed = dialog.ScrollBarSpeed();
    EXPECT_EQ(speed->orientation(), Qt::Vertical);
    EXPECT_EQ(speed->minimum(), 1);
    EXPECT_EQ(speed->maximum(), 5);
    EXPECT_EQ(speed->pageStep(), 3);
}

TEST(SensorDialogs, ListsOfferTheirInputsInOrder) {
    TFormPORTIN portIn;
    TFormAIN analog;
    TFormDIN digital;
    TFormPORTOUT portOut;
    TFormPORTDDR direction;
    QStringList letters;
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        letters.append(QString(QChar(c)));

    EXPECT_EQ(Items(portIn.ComboBox1()), letters);
    EXPECT_EQ(Items(analog.ComboBox1()), letters);
    EXPECT_EQ(Items(digital.ComboBox1()), letters);
    EXPECT_EQ(Items(portIn.ComboBox2()), (QStringList{u"PINA"_s, u"PINB"_s, u"PINC"_s, u"PIND"_s}));
    EXPECT_EQ(Items(analog.ComboBox2()), (QStringList{u"ADC0"_s, u"ADC1"_s, u"ADC2"_s, u"ADC3"_s,
                                                      u"ADC4"_s, u"ADC5"_s, u"ADC6"_s, u"ADC7"_s}));
    EXPECT_EQ(Items(digital.ComboBox2()),
              (QStringList{u"PC0"_s, u"PC1"_s, u"PC2"_s, u"PC3"_s, u"PC4"_s, u"MIC"_s, u"PCX"_s}));
    EXPECT_EQ(Items(portOut.ComboBox1()),
              (QStringList{u"PORTA"_s, u"PORTB"_s, u"PORTC"_s, u"PORTD"_s}));
    EXPECT_EQ(Items(direction.ComboBox1()),
              (QStringList{u"DDRA"_s, u"DDRB"_s, u"DDRC"_s, u"DDRD"_s}));

    for (QComboBox* box : {portIn.ComboBox1(), portIn.ComboBox2(), analog.ComboBox2(),
                           digital.ComboBox2(), portOut.ComboBox1(), direction.ComboBox1()}) {
        EXPECT_EQ(box->currentIndex(), 0);
        // Out-of-range choices show no selection and read back as -1.
        box->setCurrentIndex(box->count());
        EXPECT_EQ(box->currentIndex(), -1);
    }
}

TEST(SensorDialogs, TypedTextNeitherAddsItemsNorTakesNonGbkCharacters) {
    TFormDIN dialog;
    QComboBox* box = dialog.ComboBox2();
    ASSERT_NE(box->lineEdit(), nullptr);
    box->lineEdit()->selectAll();
    ControlsTestSupport::Type(box->lineEdit(), u"X9"_s);
    ControlsTestSupport::Key(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(box->count(), 7);

    // A character GBK cannot hold is refused where it is typed.
    box->lineEdit()->clear();
    ControlsTestSupport::Type(box->lineEdit(), u"A\U0001F600B"_s);
    EXPECT_EQ(box->lineEdit()->text(), u"AB"_s);
}

namespace {

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<TBlockDialog>()> make;
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

class DialogButtons : public ::testing::TestWithParam<DialogCase> {};

} // namespace

TEST_P(DialogButtons, CloseWithTheirResultsInAnUnclippedFixedFrame) {
    std::unique_ptr<TBlockDialog> dialog = GetParam().make();
    ControlsTestSupport::ExpectFrameResults(*dialog, true);
    ControlsTestSupport::ExpectFrame(*dialog);
    ControlsTestSupport::ExpectNothingClipped(*dialog);
    for (const QString& name : {u"Button1"_s, u"Button2"_s, u"Button3"_s})
        EXPECT_EQ(dialog->findChild<QPushButton*>(name)->size(), QSize(75, 25));
    // Lists show their longest entry, and the bit lists all eight rows.
    for (const QComboBox* box : dialog->findChildren<QComboBox*>())
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->objectName().toStdString();
    for (const TBitList* list : dialog->findChildren<TBitList*>()) {
        EXPECT_LE(list->visualItemRect(list->Row(7)).bottom(), list->viewport()->height());
        EXPECT_LE(list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2),
                  list->viewport()->width());
    }
    EXPECT_EQ(dialog->findChild<QPushButton*>(u"Button1"_s)->text(), u"确定"_s);
    EXPECT_EQ(dialog->findChild<QPushButton*>(u"Button2"_s)->text(), u"取消"_s);
    EXPECT_EQ(dialog->findChild<QPushButton*>(u"Button3"_s)->text(), u"删除"_s);
}

template <class T> DialogCase Case(const char* name) {
    return {name, [] { return std::make_unique<T>(); }};
}

INSTANTIATE_TEST_SUITE_P(All, DialogButtons,
                         ::testing::Values(Case<TFormLED>("LED"), Case<TFormPORTDDR>("PORTDDR"),
                                           Case<TFormPORTIN>("PORTIN"),
                                           Case<TFormPORTOUT>("PORTOUT"), Case<TFormServo>("Servo"),
                                           Case<TFormDIN>("DIN"), Case<TFormAIN>("AIN"),
                                           Case<TFormFaYin>("FaYin"), Case<TFormVOICEX>("VOICEX")),
                         [](const auto& info) { return std::string(info.param.name); });
