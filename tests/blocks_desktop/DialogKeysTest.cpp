// Enter and Escape in the block dialogs, pressed where the keyboard focus is:
// on the control that has it when the dialog opens, on a button, in a list,
// in a multi-line box or in an open drop-down list.

#include "ControlsTestSupport.h"

#include "blocks/controls/BitList.h"
#include "blocks/dialogs/frmAIN.h"
#include "blocks/dialogs/frmBiaoDaShi.h"
#include "blocks/dialogs/frmDIN.h"
#include "blocks/dialogs/frmFORBegin.h"
#include "blocks/dialogs/frmFOREnd.h"
#include "blocks/dialogs/frmFaYin.h"
#include "blocks/dialogs/frmGOSUB.h"
#include "blocks/dialogs/frmGOTOBegin.h"
#include "blocks/dialogs/frmGOTOEnd.h"
#include "blocks/dialogs/frmGOTOIF.h"
#include "blocks/dialogs/frmJieShu.h"
#include "blocks/dialogs/frmLED.h"
#include "blocks/dialogs/frmPORTDDR.h"
#include "blocks/dialogs/frmPORTIN.h"
#include "blocks/dialogs/frmPORTOUT.h"
#include "blocks/dialogs/frmQiDongDJ.h"
#include "blocks/dialogs/frmServo.h"
#include "blocks/dialogs/frmSubBegin.h"
#include "blocks/dialogs/frmSubEnd.h"
#include "blocks/dialogs/frmTingZhiDJ.h"
#include "blocks/dialogs/frmVOICEX.h"
#include "blocks/dialogs/frmYanShi.h"
#include "blocks/dialogs/frmZhiXing.h"
#include "blocks/dialogs/frmZhuanXiang.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace ControlsTestSupport;

namespace {

void Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (!target) {
        ADD_FAILURE() << "no widget to press the key in";
        return;
    }
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
}

// Makes the shown dialog the active window and moves the focus to `focus`,
// or leaves it where opening the dialog put it. Returns the focus widget.
QWidget* Focus(QDialog& dialog, QWidget* focus = nullptr) {
    dialog.activateWindow();
    QApplication::processEvents();
    if (focus) {
        focus->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(QApplication::focusWidget(), focus) << focus->objectName().toStdString();
    }
    return QApplication::focusWidget();
}

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<TBlockDialog>()> make;
    bool hasOk = true;
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

template <class T> DialogCase Case(const char* name, bool hasOk = true) {
    return {name, [] { return std::make_unique<T>(); }, hasOk};
}

class DialogKeys : public ::testing::TestWithParam<DialogCase> {};

TEST_P(DialogKeys, EnterConfirmsAndEscapeCancelsWhereverTheFocusIs) {
    const bool hasOk = GetParam().hasOk;
    // Without an OK button Enter does nothing, and above all it never deletes.
    const int confirmed = hasOk ? DialogResultOK : LeftOpen;
    const struct {
        const char* where;
        const char16_t* button; // the focused button; nullptr: where the dialog opens it
        int key;
        Qt::KeyboardModifiers modifiers;
        int result;
    } cases[] = {
        {"opening focus", nullptr, Qt::Key_Return, Qt::NoModifier, confirmed},
        {"opening focus", nullptr, Qt::Key_Enter, Qt::KeypadModifier, confirmed},
        {"on 删除", u"Button3", Qt::Key_Return, Qt::NoModifier, confirmed},
        {"on 取消", u"Button2", Qt::Key_Enter, Qt::KeypadModifier, confirmed},
        {"opening focus", nullptr, Qt::Key_Escape, Qt::NoModifier, DialogResultCancel},
        {"on 删除", u"Button3", Qt::Key_Escape, Qt::NoModifier, DialogResultCancel},
        // Enter with a modifier is no confirmation.
        {"opening focus", nullptr, Qt::Key_Return, Qt::ControlModifier, LeftOpen},
        // Space is how the keyboard presses the focused button itself.
        {"on 删除", u"Button3", Qt::Key_Space, Qt::NoModifier, DialogResultDelete},
    };
    std::unique_ptr<TBlockDialog> dialog = GetParam().make();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.where << ", key " << std::hex << c.key
                                        << ", modifiers " << c.modifiers.toInt());
        const int result = ExecWith(*dialog, [&] {
            Press(Focus(*dialog, c.button ? FindButton(*dialog, c.button) : nullptr), c.key,
                  c.modifiers);
        });
        EXPECT_EQ(result, c.result);
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, DialogKeys,
    ::testing::Values(Case<TFormZhiXing>("ZhiXing"), Case<TFormZhuanXiang>("ZhuanXiang"),
                      Case<TFormQiDongDJ>("QiDongDJ"), Case<TFormTingZhiDJ>("TingZhiDJ"),
                      Case<TFormYanShi>("YanShi"), Case<TFormFaYin>("FaYin"),
                      Case<TFormFORBegin>("FORBegin"), Case<TFormFOREnd>("FOREnd"),
                      Case<TFormGOTOBegin>("GOTOBegin"), Case<TFormGOTOEnd>("GOTOEnd"),
                      Case<TFormGOTOIF>("GOTOIF"), Case<TFormJieShu>("JieShu", false),
                      Case<TFormLED>("LED"), Case<TFormPORTDDR>("PORTDDR"),
                      Case<TFormPORTIN>("PORTIN"), Case<TFormPORTOUT>("PORTOUT"),
                      Case<TFormServo>("Servo"), Case<TFormBiaoDaShi>("BiaoDaShi"),
                      Case<TFormDIN>("DIN"), Case<TFormAIN>("AIN"), Case<TFormSubBegin>("SubBegin"),
                      Case<TFormSubEnd>("SubEnd", false), Case<TFormGOSUB>("GOSUB"),
                      Case<TFormVOICEX>("VOICEX")),
    [](const auto& info) { return std::string(info.param.name); });

// In a list Enter activates the current item, as everywhere else; it must not
// also close the dialog, whatever the list is (a list or a tree of bits).
TEST(DialogKeysInLists, EnterActivatesTheItemAndLeavesTheDialogOpen) {
    TFormFaYin sound;
    sound.LoadMelody("84A40811");
    sound.ListBox1()->setCurrentRow(2);
    TFormPORTDDR ddr;
    ddr.ListView1()->setCurrentItem(ddr.ListView1()->Row(3));
    TFormPORTOUT out;
    out.ListView1()->setCurrentItem(out.ListView1()->Row(7));
    const struct {
        TBlockDialog* dialog;
        QAbstractItemView* list;
    } cases[] = {{&sound, sound.ListBox1()}, {&ddr, ddr.ListView1()}, {&out, out.ListView1()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog->metaObject()->className());
        const int mask =
            qobject_cast<TBitList*>(c.list) ? static_cast<TBitList*>(c.list)->Mask() : 0;
        int activated = 0;
        const QMetaObject::Connection counting =
            QObject::connect(c.list, &QAbstractItemView::activated, [&] { ++activated; });
        const int result = ExecWith(*c.dialog, [&] {
            QWidget* target = Focus(*c.dialog, c.list);
            Press(target, Qt::Key_Return);
            Press(target, Qt::Key_Enter, Qt::KeypadModifier);
            ASSERT_TRUE(c.dialog->isVisible());
            // Out of the list, Enter is the dialog's again.
            Press(Focus(*c.dialog, FindButton(*c.dialog, u"Button2")), Qt::Key_Return);
        });
        QObject::disconnect(counting);
        EXPECT_EQ(result, DialogResultOK);
        EXPECT_EQ(activated, 2);
        if (auto* bits = qobject_cast<TBitList*>(c.list)) {
            EXPECT_EQ(bits->Mask(), mask);
        }
    }
    EXPECT_EQ(sound.MelodyText(), "84A40811");
}

// An open drop-down list has the keyboard: Enter takes the highlighted entry
// and Escape closes the list; the dialog stays open until Enter is pressed on
// the closed box.
TEST(DialogKeysInLists, AnOpenDropDownTakesEnterAndEscapeForItself) {
    const auto sound = std::make_unique<TFormFaYin>();
    const auto loop = std::make_unique<TFormFORBegin>(); // a box with an edit field
    const struct {
        TBlockDialog* dialog;
        QComboBox* box;
    } cases[] = {{sound.get(), sound->ComboBox2()}, {loop.get(), loop->ComboBox1()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog->metaObject()->className());
        c.box->setCurrentIndex(0);
        const int result = ExecWith(*c.dialog, [&] {
            Focus(*c.dialog, c.box);
            c.box->showPopup();
            ASSERT_NE(QApplication::activePopupWidget(), nullptr);
            Press(c.box->view(), Qt::Key_Down);
            Press(c.box->view(), Qt::Key_Return);
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            EXPECT_TRUE(c.dialog->isVisible());
            EXPECT_EQ(c.box->currentIndex(), 1);

            c.box->showPopup();
            ASSERT_NE(QApplication::activePopupWidget(), nullptr);
            Press(c.box->view(), Qt::Key_Down);
            Press(c.box->view(), Qt::Key_Escape);
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            EXPECT_TRUE(c.dialog->isVisible());
            EXPECT_EQ(c.box->currentIndex(), 1);

            Press(Focus(*c.dialog), Qt::Key_Return);
        });
        EXPECT_EQ(result, DialogResultOK);
    }
}

// A dialog with multi-line boxes, made the way the block dialogs are.
class TNotesDialog : public TBlockDialog {
public:
    TNotesDialog() {
        resize(320, 240);
        Notes = new QPlainTextEdit(this);
        Shown = new QTextEdit(this);
        Shown->setReadOnly(true);
        Shown->setPlainText(u"只读"_s);
        Name = new QLineEdit(this);
        for (const auto& [name, caption] :
             {std::pair{u"Button1"_s, u"确定"_s}, std::pair{u"Button2"_s, u"取消"_s}}) {
            auto* button = new QPushButton(caption, this);
            button->setObjectName(name);
        }
        SetUpFrame();
    }
    QPlainTextEdit* Notes;
    QTextEdit* Shown;
    QLineEdit* Name;
};

TEST(DialogKeysInTextBoxes, EnterInAMultiLineBoxStaysThere) {
    TNotesDialog dialog;
    const struct {
        QWidget* box;
        int result;
    } cases[] = {{dialog.Notes, LeftOpen}, {dialog.Shown, LeftOpen}, {dialog.Name, DialogResultOK}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box->metaObject()->className());
        EXPECT_EQ(ExecWith(dialog, [&] { Press(Focus(dialog, c.box), Qt::Key_Return); }), c.result);
    }
    EXPECT_EQ(dialog.Notes->toPlainText(), u"\n"_s);
    EXPECT_EQ(dialog.Shown->toPlainText(), u"只读"_s);
    // Escape leaves the box and the dialog.
    EXPECT_EQ(ExecWith(dialog, [&] { Press(Focus(dialog, dialog.Notes), Qt::Key_Escape); }),
              DialogResultCancel);
}

} // namespace
