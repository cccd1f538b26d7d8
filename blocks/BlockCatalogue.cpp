#include "blocks/BlockCatalogue.h"

#include "xml/SimpleXML.h"

#include <array>
#include <stdexcept>

namespace {

using enum TFieldType;
using enum TKindId;

// In the palette's order, top to bottom.
constexpr TBlockGroup Groups[] = {{"执行模块"}, {"传感器模块"}, {"控制模块"}, {"程序模块"}};
constexpr const TBlockGroup* ExecGroup = &Groups[0];
constexpr const TBlockGroup* SensorGroup = &Groups[1];
constexpr const TBlockGroup* ControlGroup = &Groups[2];
constexpr const TBlockGroup* ProgramGroup = &Groups[3];
constexpr const TBlockGroup* NoGroup = nullptr;

constexpr TRecordField ModeWait[] = {{"mode", Integer, 0}, {"wait", Integer, 0}};
constexpr TRecordField Motors[] = {{"motorL", Integer, 0}, {"motorR", Integer, 0}};
constexpr TRecordField Mode[] = {{"mode", Integer, 0}};
constexpr TRecordField Wait[] = {{"wait", Integer, 0}};
constexpr TRecordField Sound[] = {
    {"key", Integer, 0}, {"keycmd", Boolean, 0}, {"content", PlainText, 0}};
constexpr TRecordField LoopHead[] = {{"times", Integer, 1}, {"var", Integer, 0}};
constexpr TRecordField LoopTail[] = {{"var", Integer, 0}};
constexpr TRecordField Label[] = {{"label", EscapedText, 0}};
constexpr TRecordField CondJump[] = {{"condition", EscapedText, 0}, {"label", EscapedText, 0}};
constexpr TRecordField Led[] = {{"led", Integer, 7}};
constexpr TRecordField PortDdr[] = {{"ddr", Integer, 0}, {"data", Integer, 0}};
constexpr TRecordField PortIn[] = {{"var", Integer, 0}, {"port", Integer, 0}};
constexpr TRecordField PortOut[] = {{"port", Integer, 0}, {"data", Integer, 0}};
constexpr TRecordField Servos[] = {{"data1", Integer, 9}, {"data2", Integer, 9},
                                   {"data3", Integer, 9}, {"data4", Integer, 9},
                                   {"data5", Integer, 9}, {"speed", Integer, 1}};
constexpr TRecordField Command[] = {{"command", EscapedText, 0}};
constexpr TRecordField Sensor[] = {{"var", Integer, 0}, {"index", Integer, 0}};
constexpr TRecordField Sub[] = {{"sub", PlainText, 0}};
constexpr TRecordField Voice[] = {{"index", Integer, 0}};

constexpr int N(TKindId kind) {
    return KindNumber(kind);
}

// clang-format off
constexpr std::array<TBlockKind, LastBlockKind> Catalogue = {{
    {N(ZhiXing),     "直行",       ExecGroup,    "TFormZhiXing",    ModeWait, "", ""},
    {N(ZhuanXiang),  "转向",       ExecGroup,    "TFormZhuanXiang", ModeWait, "", ""},
    {N(QiDongDJ),    "启动电机",   ExecGroup,    "TFormQiDongDJ",   Motors,   "", ""},
    {N(TingZhiDJ),   "停止电机",   ExecGroup,    "TFormTingZhiDJ",  Mode,     "", ""},
    {N(YanShi),      "延时",       ExecGroup,    "TFormYanShi",     Wait,     "", ""},
    {N(FaYin),       "发音",       ExecGroup,    "TFormFaYin",      Sound,    "", ""},
    {N(HongWaiXian), "红外线",     NoGroup,      "",                {},       "", ""},
    {N(GuangGan),    "光感",       NoGroup,      "",                {},       "", ""},
    {N(FORBegin),    "多次循环头", ControlGroup, "TFormFORBegin",   LoopHead, "", ""},
    {N(FOREnd),      "多次循环尾", ControlGroup, "TFormFOREnd",     LoopTail, "", ""},
    {N(GOTOBegin),   "标号",       ControlGroup, "TFormGOTOBegin",  Label,    "标号:", "label"},
    {N(GOTOEnd),     "无条件跳转", ControlGroup, "TFormGOTOEnd",    Label,    "无条件跳转:", "label"},
    {N(GOTOIF),      "条件跳转",   ControlGroup, "TFormGOTOIF",     CondJump, "条件跳转:", "label"},
    {N(JieShu),      "结束程序",   ProgramGroup, "TFormJieShu",     {},       "", ""},
    {N(LED),         "发光二极管", ExecGroup,    "TFormLED",        Led,      "", ""},
    {N(PORTDDR),     "IO设置",     SensorGroup,  "TFormPORTDDR",    PortDdr,  "", ""},
    {N(PORTIN),      "IO输入",     SensorGroup,  "TFormPORTIN",     PortIn,   "", ""},
    {N(PORTOUT),     "IO输出",     SensorGroup,  "TFormPORTOUT",    PortOut,  "", ""},
    {N(Servo),       "舵机",       ExecGroup,    "TFormServo",      Servos,   "", ""},
    {N(BiaoDaShi),   "表达式",     ExecGroup,    "TFormBiaoDaShi",  Command,  "表达式:", "command"},
    {N(DIN),         "开关量传感", SensorGroup,  "TFormDIN",        Sensor,   "", ""},
    {N(AIN),         "模拟量传感", SensorGroup,  "TFormAIN",        Sensor,   "", ""},
    {N(SubBegin),    "子程序开始", ControlGroup, "TFormSubBegin",   Sub,      "子程序开始:", "sub"},
    {N(SubEnd),      "子程序结束", ControlGroup, "TFormSubEnd",     {},       "", ""},
    {N(GOSUB),       "调用子程序", ControlGroup, "TFormGOSUB",      Sub,      "调用子程序:", "sub"},
    {N(VOICEX),      "语音模块",   ExecGroup,    "TFormVOICEX",     Voice,    "语音: ", "index"},
}};
// clang-format on

// FindBlockKind looks kinds up by position.
constexpr bool NumberedInOrder() {
    for (size_t i = 0; i < Catalogue.size(); ++i)
        if (Catalogue[i].Kind != int(i) + FirstBlockKind)
            return false;
    return true;
}
static_assert(NumberedInOrder());

const TBlockKind& RecordKind(int kind) {
    const TBlockKind* info = FindBlockKind(kind);
    if (!info || !info->HasRecord())
        throw std::invalid_argument("block kind " + std::to_string(kind) + " has no record");
    return *info;
}

} // namespace

const TBlockKind* FindBlockKind(int n) {
    return n >= FirstBlockKind && n <= LastBlockKind ? &Catalogue[size_t(n - FirstBlockKind)]
                                                     : nullptr;
}

const TBlockKind& BlockKind(TKindId kind) {
    const TBlockKind* info = FindBlockKind(KindNumber(kind));
    if (!info)
        throw std::invalid_argument("no block kind " + std::to_string(KindNumber(kind)));
    return *info;
}

const TBlockKind* FindBlockKindByTag(int32_t tagCode) {
    return tagCode > TagBlockBase ? FindBlockKind(int(tagCode - TagBlockBase)) : nullptr;
}

std::span<const TBlockKind> BlockCatalogue() {
    return Catalogue;
}

std::span<const TBlockGroup> BlockGroups() {
    return Groups;
}

const TRecordField* FindRecordField(const TBlockKind& kind, std::string_view name) {
    for (const TRecordField& field : kind.Fields)
        if (field.Name == name)
            return &field;
    return nullptr;
}

// ---------------------------------------------------------------------------

TRecordValues::TRecordValues(int kind) : Info(&RecordKind(kind)) {
    Items.reserve(Info->Fields.size());
    for (const TRecordField& field : Info->Fields) {
        TRecordValue value;
        value.Int = field.Default;
        value.Bool = field.Default != 0;
        if (field.Type == Integer)
            value.Text = std::to_string(field.Default);
        Items.push_back(std::move(value));
    }
}

size_t TRecordValues::IndexOf(std::string_view field, TFieldType type) const {
    for (size_t i = 0; i < Info->Fields.size(); ++i) {
        const TFieldType actual = Info->Fields[i].Type;
        if (Info->Fields[i].Name != field)
            continue;
        const bool isText = actual == EscapedText || actual == PlainText;
        if (actual == type || (isText && (type == EscapedText || type == PlainText)))
            return i;
        break;
    }
    throw std::invalid_argument("block kind " + std::to_string(Info->Kind) + " has no " +
                                std::string(type == Integer   ? "integer"
                                            : type == Boolean ? "boolean"
                                                              : "text") +
                                " field " + std::string(field));
}

int64_t TRecordValues::Int(std::string_view field) const {
    return Items[IndexOf(field, Integer)].Int;
}

bool TRecordValues::Bool(std::string_view field) const {
    return Items[IndexOf(field, Boolean)].Bool;
}

const std::string& TRecordValues::Text(std::string_view field) const {
    return Items[IndexOf(field, PlainText)].Text;
}

const std::string& TRecordValues::StoredText(std::string_view field) const {
    return Items[IndexOf(field, Integer)].Text;
}

void TRecordValues::SetInt(std::string_view field, int64_t value) {
    TRecordValue& item = Items[IndexOf(field, Integer)];
    item.Int = value;
    item.Text = std::to_string(value);
}

void TRecordValues::SetBool(std::string_view field, bool value) {
    Items[IndexOf(field, Boolean)].Bool = value;
}

void TRecordValues::SetText(std::string_view field, std::string value) {
    Items[IndexOf(field, PlainText)].Text = std::move(value);
}

std::string TRecordValues::ChartValue() const {
    const TRecordField* field =
        Info->ChartValueField.empty() ? nullptr : FindRecordField(*Info, Info->ChartValueField);
    if (!field || field->Type == Integer)
        return {};
    return Text(field->Name);
}

// ---------------------------------------------------------------------------

TRecordValues ReadRecordValues(const TSimpleXMLElemClassic& record, int kind) {
    TRecordValues values(kind);
    // A record without any field element reads every field as absent.
    const TSimpleXMLElems none(nullptr);
    const TSimpleXMLElems& children = record.ChildrenIfAny() ? *record.ChildrenIfAny() : none;
    for (size_t i = 0; i < values.Items.size(); ++i) {
        const TRecordField& field = values.Info->Fields[i];
        TRecordValue& value = values.Items[i];
        switch (field.Type) {
        case Integer:
            // Records keep 32-bit values: take the low 32 bits of what is stored.
            value.Int = static_cast<int32_t>(static_cast<uint32_t>(children.IntOf(field.Name, -1)));
            value.Text = children.TextOf(field.Name, "");
            break;
        case Boolean:
            value.Bool = children.BoolOf(field.Name, true);
            break;
        case EscapedText:
            value.Text = DecodeEntities(children.TextOf(field.Name, ""));
            break;
        case PlainText:
            value.Text = children.TextOf(field.Name, "");
            break;
        }
    }
    return values;
}

TRecordValues ReadRecord(TSimpleXML& scratch, const std::string& recordText, int kind) {
    scratch.ReadText(recordText);
    return ReadRecordValues(*scratch.RootElem(), kind);
}

std::string BuildRecord(TSimpleXML& scratch, int kind, const TRecordValues& values) {
    const TBlockKind& info = RecordKind(kind);
    if (values.Kind() != kind)
        throw std::invalid_argument("values of block kind " + std::to_string(values.Kind()) +
                                    " given for kind " + std::to_string(kind));
    TSimpleXMLElemClassic* root = scratch.RootElem();
    root->ClearContent();
    // ClearContent keeps the root's own text and prefix; a record has neither,
    // whatever the scratch document held before.
    root->Content.clear();
    root->TagPrefix.clear();
    root->Rename("CtrlNode");
    root->Attributes().AddInt("type", kind);
    for (size_t i = 0; i < info.Fields.size(); ++i) {
        const TRecordField& field = info.Fields[i];
        const TRecordValue& value = values.Values()[i];
        const std::string name(field.Name);
        switch (field.Type) {
        case Integer:
            root->Children().AddInt(name, value.Int);
            break;
        case Boolean:
            root->Children().AddBool(name, value.Bool);
            break;
        case EscapedText:
            root->Children().AddText(name, EncodeEntities(value.Text));
            break;
        case PlainText:
            root->Children().AddText(name, value.Text);
            break;
        }
    }
    return scratch.WriteText();
}

std::string BuildDefaultRecord(TSimpleXML& scratch, int kind) {
    return BuildRecord(scratch, kind, TRecordValues(kind));
}
