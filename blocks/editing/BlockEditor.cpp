#include "blocks/editing/BlockEditor.h"

#include "blocks/BlockCatalogue.h"
#include "blocks/controls/BlockDialog.h"
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
#include "chart/FlowChart.h"
#include "chart/ProgramChain.h"
#include "gbk/GbkText.h"
#include "xml/SimpleXML.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>

#include <array>
#include <optional>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// Reads a record's values for the controls: integers as 32-bit values,
// texts as shown in an edit box.
class TFieldReader {
public:
    explicit TFieldReader(const TRecordValues& values) : Values(values) {}

    int Int(std::string_view name) const { return int(int32_t(Values.Int(name))); }
    bool Bool(std::string_view name) const { return Values.Bool(name); }
    const std::string& Bytes(std::string_view name) const { return Values.Text(name); }
    QString Text(std::string_view name) const { return GbkDecode(Bytes(name)); }

private:
    const TRecordValues& Values;
};

// Takes the values from the controls into a record of the kind.
class TFieldWriter {
public:
    explicit TFieldWriter(TKindId kind) : Values(kind) {}

    void Int(std::string_view name, int value) { Values.SetInt(name, value); }
    void Bool(std::string_view name, bool value) { Values.SetBool(name, value); }
    void Bytes(std::string_view name, std::string value) { Values.SetText(name, std::move(value)); }
    void Text(std::string_view name, const QString& text) {
        qsizetype bad = -1;
        auto bytes = GbkEncode(text, &bad);
        // The text boxes refuse such characters; this guards text put there
        // some other way, so it never reaches the record as "?".
        if (!bytes)
            throw std::runtime_error(u"文字\"%1\"中含有无法保存的字符"_s.arg(text).toStdString());
        Bytes(name, std::move(*bytes));
    }

    const TRecordValues& Result() const { return Values; }

private:
    TRecordValues Values;
};

// A list shows no selection for an index it does not have.
void SetListIndex(QComboBox* list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}
int ListIndex(const QComboBox* list) {
    return list->currentIndex();
}

// How one kind's fields meet its dialog's controls. What the block shows
// follows from the record the chain reads, not from the dialog.
struct TKindEditor {
    QDialog* Dialog = nullptr;
    std::function<void(const TFieldReader&)> Fill;
    std::function<void(TFieldWriter&)> Collect;
};

template <class Form> TKindEditor MotionEditor(Form* form) {
    return {form,
            [form](const TFieldReader& r) {
                form->RadioGroup1()->SetItemIndex(r.Int("mode"));
                form->ScrollBar1()->setValue(r.Int("wait"));
            },
            [form](TFieldWriter& w) {
                w.Int("mode", form->RadioGroup1()->ItemIndex());
                w.Int("wait", form->ScrollBar1()->value());
            }};
}

template <class Form> TKindEditor LabelEditor(Form* form) {
    return {form, [form](const TFieldReader& r) { form->Edit1()->setText(r.Text("label")); },
            [form](TFieldWriter& w) { w.Text("label", form->Edit1()->text()); }};
}

template <class Form> TKindEditor VariableAndIndexEditor(Form* form, const char* second) {
    return {form,
            [form, second](const TFieldReader& r) {
                SetListIndex(form->ComboBox1(), r.Int("var"));
                SetListIndex(form->ComboBox2(), r.Int(second));
            },
            [form, second](TFieldWriter& w) {
                w.Int("var", ListIndex(form->ComboBox1()));
                w.Int(second, ListIndex(form->ComboBox2()));
            }};
}

template <class Form> TKindEditor SubroutineEditor(Form* form) {
    return {form, [form](const TFieldReader& r) { form->Edit1()->setText(r.Text("sub")); },
            [form](TFieldWriter& w) { w.Text("sub", form->Edit1()->text()); }};
}

std::optional<TKindEditor> EditorFor(TKindId kind, const TBlockDialogs& d) {
    switch (kind) {
    case TKindId::ZhiXing:
        return MotionEditor(d.FormZhiXing);
    case TKindId::ZhuanXiang:
        return MotionEditor(d.FormZhuanXiang);
    case TKindId::QiDongDJ: {
        auto* f = d.FormQiDongDJ;
        return TKindEditor{f,
                           [f](const TFieldReader& r) {
                               f->ScrollBar1()->setValue(r.Int("motorL"));
                               f->ScrollBar2()->setValue(r.Int("motorR"));
                           },
                           [f](TFieldWriter& w) {
                               w.Int("motorL", f->ScrollBar1()->value());
                               w.Int("motorR", f->ScrollBar2()->value());
                           }};
    }
    case TKindId::TingZhiDJ: {
        auto* f = d.FormTingZhiDJ;
        return TKindEditor{
            f, [f](const TFieldReader& r) { f->RadioGroup1()->SetItemIndex(r.Int("mode")); },
            [f](TFieldWriter& w) { w.Int("mode", f->RadioGroup1()->ItemIndex()); }};
    }
    case TKindId::YanShi: {
        auto* f = d.FormYanShi;
        return TKindEditor{
            f, [f](const TFieldReader& r) { f->ScrollBar1()->setValue(r.Int("wait")); },
            [f](TFieldWriter& w) { w.Int("wait", f->ScrollBar1()->value()); }};
    }
    case TKindId::FaYin: {
        auto* f = d.FormFaYin;
        return TKindEditor{f,
                           [f](const TFieldReader& r) {
                               f->CheckBox1()->setChecked(r.Bool("keycmd"));
                               f->LoadMelody(r.Bytes("content"));
                               SetListIndex(f->ComboBox1(), r.Int("key"));
                               f->RefreshRange();
                           },
                           [f](TFieldWriter& w) {
                               w.Int("key", ListIndex(f->ComboBox1()));
                               w.Bool("keycmd", f->CheckBox1()->isChecked());
                               w.Bytes("content", f->MelodyText());
                           }};
    }
    case TKindId::FORBegin: {
        auto* f = d.FormFORBegin;
        return TKindEditor{f,
                           [f](const TFieldReader& r) {
                               f->ValidateEdit1()->SetValue(r.Int("times"));
                               SetListIndex(f->ComboBox1(), r.Int("var"));
                           },
                           [f](TFieldWriter& w) {
                               w.Int("times", f->ValidateEdit1()->Value());
                               w.Int("var", ListIndex(f->ComboBox1()));
                           }};
    }
    case TKindId::FOREnd: {
        auto* f = d.FormFOREnd;
        return TKindEditor{
            f, [f](const TFieldReader& r) { SetListIndex(f->ComboBox1(), r.Int("var")); },
            [f](TFieldWriter& w) { w.Int("var", ListIndex(f->ComboBox1())); }};
    }
    case TKindId::GOTOBegin:
        return LabelEditor(d.FormGOTOBegin);
    case TKindId::GOTOEnd:
        return LabelEditor(d.FormGOTOEnd);
    case TKindId::GOTOIF: {
        auto* f = d.FormGOTOIF;
        return TKindEditor{f,
                           [f](const TFieldReader& r) {
                               f->Edit2()->setText(r.Text("condition"));
                               f->Edit1()->setText(r.Text("label"));
                           },
                           [f](TFieldWriter& w) {
                               w.Text("condition", f->Edit2()->text());
                               w.Text("label", f->Edit1()->text());
                           }};
    }
    case TKindId::LED: {
        auto* f = d.FormLED;
        return TKindEditor{f, [f](const TFieldReader& r) { f->SetLedMask(r.Int("led")); },
                           [f](TFieldWriter& w) { w.Int("led", f->GetLedMask()); }};
    }
    case TKindId::PORTDDR: {
        auto* f = d.FormPORTDDR;
        return TKindEditor{f,
                           [f](const TFieldReader& r) {
                               SetListIndex(f->ComboBox1(), r.Int("ddr"));
                               f->SetBitMask(r.Int("data"));
                           },
                           [f](TFieldWriter& w) {
                               w.Int("ddr", ListIndex(f->ComboBox1()));
                               w.Int("data", f->GetBitMask());
                           }};
    }
    case TKindId::PORTIN: {
        auto* f = d.FormPORTIN;
        return TKindEditor{f,
                           [f](const TFieldReader& r) {
                               SetListIndex(f->ComboBox1(), r.Int("var"));
                               SetListIndex(f->ComboBox2(), r.Int("port"));
                           },
                           [f](TFieldWriter& w) {
                               w.Int("var", ListIndex(f->ComboBox1()));
                               w.Int("port", ListIndex(f->ComboBox2()));
                           }};
    }
    case TKindId::PORTOUT: {
        auto* f = d.FormPORTOUT;
        return TKindEditor{f,
                           [f](const TFieldReader& r) {
                               SetListIndex(f->ComboBox1(), r.Int("port"));
                               f->SetBitMask(r.Int("data"));
                           },
                           [f](TFieldWriter& w) {
                               w.Int("port", ListIndex(f->ComboBox1()));
                               w.Int("data", f->GetBitMask());
                           }};
    }
    case TKindId::Servo: {
        auto* f = d.FormServo;
        const auto bars = [f] {
            return std::array<QScrollBar*, 5>{f->ScrollBar1(), f->ScrollBar2(), f->ScrollBar3(),
                                              f->ScrollBar4(), f->ScrollBar5()};
        };
        return TKindEditor{f,
                           [f, bars](const TFieldReader& r) {
                               const auto b = bars();
                               for (int i = 0; i < 5; ++i)
                                   b[size_t(i)]->setValue(r.Int("data" + std::to_string(i + 1)));
                               f->ScrollBarSpeed()->setValue(r.Int("speed"));
                           },
                           [f, bars](TFieldWriter& w) {
                               const auto b = bars();
                               for (int i = 0; i < 5; ++i)
                                   w.Int("data" + std::to_string(i + 1), b[size_t(i)]->value());
                               w.Int("speed", f->ScrollBarSpeed()->value());
                           }};
    }
    case TKindId::BiaoDaShi: {
        auto* f = d.FormBiaoDaShi;
        return TKindEditor{f,
                           [f](const TFieldReader& r) { f->Edit1()->setText(r.Text("command")); },
                           [f](TFieldWriter& w) { w.Text("command", f->Edit1()->text()); }};
    }
    case TKindId::DIN:
        return VariableAndIndexEditor(d.FormDIN, "index");
    case TKindId::AIN:
        return VariableAndIndexEditor(d.FormAIN, "index");
    case TKindId::SubBegin:
        return SubroutineEditor(d.FormSubBegin);
    case TKindId::GOSUB:
        return SubroutineEditor(d.FormGOSUB);
    case TKindId::VOICEX: {
        auto* f = d.FormVOICEX;
        return TKindEditor{
            f, [f](const TFieldReader& r) { SetListIndex(f->ComboBox1(), r.Int("index")); },
            [f](TFieldWriter& w) { w.Int("index", ListIndex(f->ComboBox1())); }};
    }
    // No record to edit (palette items only), or nothing but deleting.
    case TKindId::HongWaiXian:
    case TKindId::GuangGan:
    case TKindId::JieShu:
    case TKindId::SubEnd:
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

TBlockEditor::TBlockEditor(TProgramChain& chain, TSimpleXML& scratch, const TBlockDialogs& dialogs)
    : Chain(chain), SimpleXML1(scratch), Dialogs(dialogs),
      ShowModal([](QDialog* d) { return d->exec(); }) {}

void TBlockEditor::Delete(std::size_t index) {
    if (Edits.Delete)
        Edits.Delete(index);
    else
        Chain.DeleteBlock(Chain.BlockObjectAt(index));
}

void TBlockEditor::FlowChart1DblClick() {
    TFlowChart* chart = Chain.Canvas();
    if (chart->SelectionCount() == 0)
        return;
    TFcObject* object = chart->Selection();
    if (!object)
        return;
    const TBlockKind* kind = FindBlockKindByTag(object->TagCode);
    const int found = Chain.BlockIndexOf(object);
    if (!kind || !kind->HasRecord() || found < 0)
        return;
    const auto index = std::size_t(found);

    const TKindId id = kind->Id();
    if (id == TKindId::JieShu || id == TKindId::SubEnd) {
        QDialog* dialog = id == TKindId::JieShu ? static_cast<QDialog*>(Dialogs.FormJieShu)
                                                : static_cast<QDialog*>(Dialogs.FormSubEnd);
        if (ShowModal(dialog) == DialogResultDelete)
            Delete(index);
        return;
    }

    const std::optional<TKindEditor> editor = EditorFor(id, Dialogs);
    if (!editor || !editor->Dialog)
        return;
    std::string current = Chain.Program().At(index).Record;
    // A block without a record gets the default one even when cancelled.
    if (current.empty()) {
        current = BuildDefaultRecord(SimpleXML1, id);
        Chain.Program().ReplaceRecord(index, current);
    }

    editor->Fill(TFieldReader(ReadRecord(SimpleXML1, current, id)));

    const int result = ShowModal(editor->Dialog);
    if (result == DialogResultDelete) {
        Delete(index);
        return;
    }
    if (result != DialogResultOK)
        return;

    TFieldWriter values(id);
    editor->Collect(values);
    // The chain shows the new record's value itself; an unchanged record
    // is no edit.
    std::string record = BuildRecord(SimpleXML1, id, values.Result());
    if (record == current)
        return;
    if (Edits.ChangeRecord)
        Edits.ChangeRecord(index, std::move(record));
    else
        Chain.Program().ReplaceRecord(index, std::move(record));
}
