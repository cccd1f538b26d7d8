#include "ControlsTestSupport.h"

#include "blocks/BlockCatalogue.h"
#include "blocks/controls/RadioGroup.h"
#include "blocks/controls/ValidateEdit.h"
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
#include "blocks/editing/BlockEditor.h"
#include "chart/FlowChart.h"
#include "chart/NormalSpot.h"
#include "chart/ProgramChain.h"
#include "xml/SimpleXML.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollBar>

#include <memory>

using namespace Qt::StringLiterals;
using ControlsTestSupport::ExecWith;
using ControlsTestSupport::FindButton;
using ControlsTestSupport::Key;
using ControlsTestSupport::SelectAllAndDelete;
using ControlsTestSupport::Type;

namespace {

const std::string Header = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n";

// A record text of kind with the given field lines (already printed).
std::string Record(int kind, const std::string& fields) {
    const std::string open = "<CtrlNode type=\"" + std::to_string(kind) + "\"";
    return Header +
           (fields.empty() ? open + "/>\r\n" : open + ">\r\n" + fields + "</CtrlNode>\r\n");
}
std::string F(const std::string& name, const std::string& value) {
    return value.empty() ? "  <" + name + "/>\r\n"
                         : "  <" + name + ">" + value + "</" + name + ">\r\n";
}

// The editing flow over a real chain and one instance of every dialog.
class Editing : public ::testing::Test {
protected:
    void SetUp() override {
        chain.BuildInitialChain();
        d.FormZhiXing = Own<TFormZhiXing>();
        d.FormZhuanXiang = Own<TFormZhuanXiang>();
        d.FormQiDongDJ = Own<TFormQiDongDJ>();
        d.FormYanShi = Own<TFormYanShi>();
        d.FormTingZhiDJ = Own<TFormTingZhiDJ>();
        d.FormFORBegin = Own<TFormFORBegin>();
        d.FormFOREnd = Own<TFormFOREnd>();
        d.FormGOTOBegin = Own<TFormGOTOBegin>();
        d.FormGOTOEnd = Own<TFormGOTOEnd>();
        d.FormJieShu = Own<TFormJieShu>();
        d.FormGOTOIF = Own<TFormGOTOIF>();
        d.FormFaYin = Own<TFormFaYin>();
        d.FormBiaoDaShi = Own<TFormBiaoDaShi>();
        d.FormServo = Own<TFormServo>();
        d.FormLED = Own<TFormLED>();
        d.FormPORTIN = Own<TFormPORTIN>();
        d.FormPORTOUT = Own<TFormPORTOUT>();
        d.FormPORTDDR = Own<TFormPORTDDR>();
        d.FormDIN = Own<TFormDIN>();
        d.FormAIN = Own<TFormAIN>();
        d.FormSubBegin = Own<TFormSubBegin>();
        d.FormSubEnd = Own<TFormSubEnd>();
        d.FormGOSUB = Own<TFormGOSUB>();
        d.FormVOICEX = Own<TFormVOICEX>();
        editor = std::make_unique<TBlockEditor>(chain, scratch, d);
        chain.SetPhraseSource([this] {
            QStringList phrases;
            for (int i = 0; i < d.FormVOICEX->PhraseCount(); ++i)
                phrases << d.FormVOICEX->Phrase(i);
            return phrases;
        });
    }

    // The program is the truth; the block object only shows it.
    void SetRecord(TFcObject* block, const std::string& record) {
        chain.Program().ReplaceRecord(std::size_t(chain.BlockIndexOf(block)), record);
    }

    template <class Form> Form* Own() {
        auto form = std::make_unique<Form>();
        Form* raw = form.get();
        dialogs.push_back(std::move(form));
        return raw;
    }

    TFcObject* Insert(int kind) {
        auto* spot = static_cast<TNormalSpot*>(chain.At(chain.Count() - 2));
        chart.SetSelection(spot->Marker);
        chain.InsertBlock(kind);
        return chain.BlockObjects().back();
    }

    // Double-clicks object; the shown dialog runs modally and act closes it.
    void Edit(TFcObject* object, std::function<void(QDialog*)> act) {
        chart.SetSelection(object);
        editor->SetShowModal(
            [act](QDialog* dialog) { return ExecWith(*dialog, [=] { act(dialog); }); });
        editor->FlowChart1DblClick();
    }
    static void Click(QDialog* dialog, const char16_t* button) {
        FindButton(*dialog, button)->click();
    }
    void Confirm(TFcObject* object) {
        Edit(object, [](QDialog* dialog) { Click(dialog, u"Button1"); });
    }

    TFlowChart chart;
    TSimpleXML scratch;
    TProgramChain chain{&chart, &scratch};
    std::vector<std::unique_ptr<QDialog>> dialogs;
    TBlockDialogs d;
    std::unique_ptr<TBlockEditor> editor;
};

TEST_F(Editing, ConfirmingWithoutChangesKeepsEveryRecordTheProgramWrote) {
    const std::vector<std::pair<int, std::string>> edited = {
        {1, F("mode", "2") + F("wait", "100")},
        {3, F("motorL", "-255") + F("motorR", "120")},
        {6, F("key", "3") + F("keycmd", "-1") + F("content", "84540811")},
        {9, F("times", "5") + F("var", "25")},
        {11, F("label", "L&amp;1&#xBF;&#xAA;")},
        {13, F("condition", "A&gt;3") + F("label", "L1")},
        {15, F("led", "5")},
        {16, F("ddr", "2") + F("data", "170")},
        {18, F("port", "3") + F("data", "255")},
        {19, F("data1", "0") + F("data2", "18") + F("data3", "9") + F("data4", "1") +
                 F("data5", "17") + F("speed", "5")},
        {20, F("command", "A=A+1")},
        {22, F("var", "2") + F("index", "7")},
        {23, F("sub", "\xD7\xD3\xB3\xCC\xD0\xF2")}, // 子程序
        {26, F("index", "93")},
    };
    std::vector<std::string> records;
    for (const TBlockKind& kind : BlockCatalogue())
        if (kind.HasRecord() && kind.Kind != 14 && kind.Kind != 24)
            records.push_back(BuildDefaultRecord(scratch, kind.Kind));
    for (const auto& [kind, fields] : edited)
        records.push_back(Record(kind, fields));

    for (const std::string& record : records) {
        scratch.ReadText(record);
        const int kind = int(scratch.RootElem()->Attributes().IntOf("type", -1));
        TFcObject* block = Insert(kind);
        SetRecord(block, record);
        Confirm(block);
        EXPECT_EQ(block->DataText, record) << "kind " << kind;
    }
}

TEST_F(Editing, ConfirmingNormalisesWhatTheControlsCannotShow) {
    struct Case {
        int kind;
        std::string given;
        std::string stored;
    };
    const Case cases[] = {
        {1, F("mode", "0") + F("wait", "-1"), F("mode", "0") + F("wait", "0")},
        {1, F("mode", "9") + F("wait", "40000"), F("mode", "3") + F("wait", "32767")},
        {1, F("mode", "-1") + F("wait", "5"), F("mode", "-1") + F("wait", "5")},
        {9, F("times", "0") + F("var", "30"), F("times", "1") + F("var", "-1")},
        {10, F("var", "-1"), F("var", "-1")},
        {19, F("data1", "3") + F("speed", "2"),
         F("data1", "3") + F("data2", "0") + F("data3", "0") + F("data4", "0") + F("data5", "0") +
             F("speed", "2")},
        {5, F("wait", "7") + F("extra", "1"), F("wait", "7")},
        {20, "", F("command", "")},
    };
    for (const Case& c : cases) {
        TFcObject* block = Insert(c.kind);
        SetRecord(block, Record(c.kind, c.given));
        Confirm(block);
        EXPECT_EQ(block->DataText, Record(c.kind, c.stored)) << c.given;
    }
}

TEST_F(Editing, LabelTextAndHeightFollowTheEditAndMoveTheBlocksBelow) {
    TFcObject* label = Insert(11);
    TFcObject* below = Insert(1);
    const int belowTop = below->Top();

    Edit(label, [this](QDialog* dialog) {
        EXPECT_EQ(d.FormGOTOBegin->Edit1()->text(), u""_s);
        d.FormGOTOBegin->Edit1()->setText(u"L&1"_s);
        Click(dialog, u"Button1");
    });
    EXPECT_EQ(label->Text(), u"标号:L&1"_s);
    EXPECT_EQ(label->Height(), 40);
    EXPECT_EQ(below->Top(), belowTop + 8);
    EXPECT_NE(label->DataText.find("<label>L&amp;1</label>"), std::string::npos);

    // The next showing shows the ampersand again; emptying it restores the caption.
    Edit(label, [this](QDialog* dialog) {
        EXPECT_EQ(d.FormGOTOBegin->Edit1()->text(), u"L&1"_s);
        d.FormGOTOBegin->Edit1()->clear();
        Click(dialog, u"Button1");
    });
    EXPECT_EQ(label->Text(), u"标号"_s);
    EXPECT_EQ(label->Height(), 32);
    EXPECT_EQ(below->Top(), belowTop);
}

TEST_F(Editing, ConditionalJumpShowsItsLabelAndSpeechItsPhrase) {
    TFcObject* jump = Insert(13);
    Edit(jump, [this](QDialog* dialog) {
        d.FormGOTOIF->Edit2()->setText(u"A>1"_s);
        d.FormGOTOIF->Edit1()->setText(u"终点"_s);
        Click(dialog, u"Button1");
    });
    EXPECT_EQ(jump->Text(), u"条件跳转:终点"_s);

    TFcObject* speech = Insert(26);
    Edit(speech, [this](QDialog* dialog) {
        d.FormVOICEX->ComboBox1()->setCurrentIndex(5);
        Click(dialog, u"Button1");
    });
    EXPECT_EQ(speech->Text(), u"语音: "_s + d.FormVOICEX->ComboBox1()->itemText(5));
    EXPECT_EQ(speech->Height(), 40);
    EXPECT_NE(speech->DataText.find("<index>5</index>"), std::string::npos);
}

TEST_F(Editing, CancelLeavesTheRecordAndTheNextShowingShowsTheRecord) {
    TFcObject* block = Insert(5);
    SetRecord(block, "");
    Edit(block, [this](QDialog* dialog) {
        d.FormYanShi->ScrollBar1()->setValue(500);
        Click(dialog, u"Button2");
    });
    // An empty record gets its default even when the dialog is cancelled.
    EXPECT_EQ(block->DataText, BuildDefaultRecord(scratch, 5));
    Edit(block, [this](QDialog* dialog) {
        EXPECT_EQ(d.FormYanShi->ScrollBar1()->value(), 0);
        dialog->reject(); // the close box
    });
    EXPECT_EQ(block->DataText, BuildDefaultRecord(scratch, 5));
}

// A pupil at the keyboard: the focus on a control, a change made with keys
// there, then Enter, which keeps the change as OK does, or Escape, which
// keeps the record as it was.
TEST_F(Editing, EnterConfirmsTheChangeWhereTheFocusIsAndEscapeDropsIt) {
    using Change = std::function<void(TRecordValues&)>;
    const struct {
        TKindId kind;
        std::function<QWidget*()> focus;
        std::function<void(QWidget*)> keys;
        Change change;
    } cases[] = {
        {TKindId::BiaoDaShi, [this] { return d.FormBiaoDaShi->Edit1(); },
         [](QWidget* w) { Type(w, u"A=A+1"_s); },
         [](TRecordValues& v) { v.SetText("command", "A=A+1"); }},
        {TKindId::GOTOIF, [this] { return d.FormGOTOIF->Edit2(); },
         [](QWidget* w) { Type(w, u"A>3"_s); },
         [](TRecordValues& v) { v.SetText("condition", "A>3"); }},
        {TKindId::SubBegin, [this] { return d.FormSubBegin->Edit1(); },
         [](QWidget* w) { Type(w, u"子"_s); },
         [](TRecordValues& v) { v.SetText("sub", "\xD7\xD3"); }},
        {TKindId::YanShi, [this] { return d.FormYanShi->ValidateEdit1(); },
         [](QWidget* w) {
             SelectAllAndDelete(w);
             Type(w, u"250"_s);
         },
         [](TRecordValues& v) { v.SetInt("wait", 250); }},
        // Enter finishes the edit first: the count is clamped, as when the
        // focus leaves for the OK button.
        {TKindId::FORBegin, [this] { return d.FormFORBegin->ValidateEdit1(); },
         [](QWidget* w) {
             SelectAllAndDelete(w);
             Type(w, u"40000"_s);
         },
         [](TRecordValues& v) { v.SetInt("times", 32767); }},
        {TKindId::FOREnd, [this] { return d.FormFOREnd->ComboBox1(); },
         [](QWidget* w) { Key(w, Qt::Key_Down); }, [](TRecordValues& v) { v.SetInt("var", 1); }},
        {TKindId::PORTIN, [this] { return d.FormPORTIN->ComboBox2(); },
         [](QWidget* w) { Key(w, Qt::Key_Down); }, [](TRecordValues& v) { v.SetInt("port", 1); }},
        {TKindId::VOICEX, [this] { return d.FormVOICEX->ComboBox1(); },
         [](QWidget* w) { Key(w, Qt::Key_Down); }, [](TRecordValues& v) { v.SetInt("index", 1); }},
        {TKindId::FaYin, [this] { return d.FormFaYin->CheckBox1(); },
         [](QWidget* w) { Key(w, Qt::Key_Space); },
         [](TRecordValues& v) { v.SetBool("keycmd", !v.Bool("keycmd")); }},
    };
    for (const auto& c : cases) {
        for (const int key : {int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            SCOPED_TRACE(testing::Message() << "kind " << KindNumber(c.kind) << ", key " << key);
            TFcObject* block = Insert(KindNumber(c.kind));
            const std::string before = block->DataText;
            TRecordValues changed = ReadRecord(scratch, before, c.kind);
            c.change(changed);
            const std::string after = BuildRecord(scratch, c.kind, changed);
            ASSERT_NE(after, before);

            Edit(block, [&](QDialog* dialog) {
                dialog->activateWindow();
                QApplication::processEvents();
                QWidget* target = c.focus();
                target->setFocus(Qt::TabFocusReason);
                ASSERT_EQ(QApplication::focusWidget(), target);
                c.keys(target);
                Key(target, key);
            });
            EXPECT_EQ(block->DataText, key == Qt::Key_Return ? after : before);
        }
    }
}

// End of program and end of subroutine offer only Cancel and Delete: Enter,
// even on the focused Delete button, removes nothing.
TEST_F(Editing, EnterNeverDeletesWhereThereIsNoOk) {
    for (const TKindId kind : {TKindId::JieShu, TKindId::SubEnd}) {
        SCOPED_TRACE(KindNumber(kind));
        TFcObject* block = Insert(KindNumber(kind));
        const int count = chain.Count();
        Edit(block, [](QDialog* dialog) {
            dialog->activateWindow();
            QApplication::processEvents();
            for (const char16_t* focus : {u"Button2", u"Button3"}) {
                QWidget* button = FindButton(*dialog, focus);
                button->setFocus(Qt::TabFocusReason);
                Key(button, Qt::Key_Return);
                Key(button, Qt::Key_Enter);
                ASSERT_TRUE(dialog->isVisible());
            }
            Key(dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(chain.Count(), count);
        EXPECT_GE(chain.IndexOfBlock(block), 0);
    }
}

TEST_F(Editing, DeleteRemovesTheBlockAndReselectsTheSpotBefore) {
    for (int kind : {14, 24, 1}) {
        Insert(2);
        TFcObject* block = Insert(kind);
        Insert(3);
        const int count = chain.Count();
        auto* spotBefore = static_cast<TNormalSpot*>(chain.At(chain.IndexOfBlock(block) - 1));
        Edit(block, [](QDialog* dialog) {
            // Kinds 14 and 24 offer only Cancel and Delete.
            Click(dialog, u"Button3");
        });
        EXPECT_EQ(chain.Count(), count - 2) << kind;
        QCoreApplication::processEvents();
        EXPECT_EQ(chart.Selection(), spotBefore->Marker) << kind;
    }
}

TEST_F(Editing, NothingHappensWithoutABlockSelected) {
    int shown = 0;
    editor->SetShowModal([&](QDialog*) { return ++shown, 1; });
    chart.SetSelection(nullptr);
    editor->FlowChart1DblClick();
    chart.SetSelection(static_cast<TNormalSpot*>(chain.At(1))->Marker);
    editor->FlowChart1DblClick();
    EXPECT_EQ(shown, 0);
}

} // namespace
