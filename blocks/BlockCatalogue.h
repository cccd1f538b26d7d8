#pragma once

// The catalogue of the 26 block kinds: palette caption and group, tag code,
// editing dialog, record fields in stored order with their encodings and
// defaults, and the chart-text prefix. The palette, default records, record
// readers (the editing flow, the loader and the compile), and the writers are
// all driven by this one table.
//
// Captions, groups and chart prefixes are display texts for the desktop layer
// and are held as UTF-8; everything that reaches records is GBK bytes.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TSimpleXML;
class TSimpleXMLElemClassic;

// Tag codes of the canvas objects that are not blocks.
inline constexpr int32_t TagStartBlock = 512;
inline constexpr int32_t TagEndBlock = 513;
inline constexpr int32_t TagSpotMarker = 514;
inline constexpr int32_t TagBlockBase = 576; // a block of kind N carries 576 + N

inline constexpr int FirstBlockKind = 1;
inline constexpr int LastBlockKind = 26;

// The block kinds, named after the units of their dialogs (kinds 7 and 8,
// which have none, after their captions). The value is the kind's number:
// the record's type attribute, and its block's tag code less TagBlockBase.
enum class TKindId : int {
    ZhiXing = 1, // 直行
    ZhuanXiang,  // 转向
    QiDongDJ,    // 启动电机
    TingZhiDJ,   // 停止电机
    YanShi,      // 延时
    FaYin,       // 发音
    HongWaiXian, // 红外线, a palette item only
    GuangGan,    // 光感, a palette item only
    FORBegin,    // 多次循环头
    FOREnd,      // 多次循环尾
    GOTOBegin,   // 标号
    GOTOEnd,     // 无条件跳转
    GOTOIF,      // 条件跳转
    JieShu,      // 结束程序
    LED,         // 发光二极管
    PORTDDR,     // IO设置
    PORTIN,      // IO输入
    PORTOUT,     // IO输出
    Servo,       // 舵机
    BiaoDaShi,   // 表达式
    DIN,         // 开关量传感
    AIN,         // 模拟量传感
    SubBegin,    // 子程序开始
    SubEnd,      // 子程序结束
    GOSUB,       // 调用子程序
    VOICEX,      // 语音模块
};
static_assert(int(TKindId::VOICEX) == LastBlockKind);

constexpr int KindNumber(TKindId kind) {
    return static_cast<int>(kind);
}
constexpr int32_t TagCodeOf(TKindId kind) {
    return TagBlockBase + KindNumber(kind);
}

// A group of the palette; BlockGroups() lists them in the palette's order,
// and each group shows its kinds in catalogue order.
struct TBlockGroup {
    std::string_view Caption; // header caption (UTF-8)
};
std::span<const TBlockGroup> BlockGroups();

enum class TFieldType {
    Integer,     // decimal, read with IntOf default -1 as a 32-bit value
    Boolean,     // "-1" / "0", read with BoolOf default true
    EscapedText, // stored through EncodeEntities, read through DecodeEntities
    PlainText,   // stored as typed
};

struct TRecordField {
    std::string_view Name;
    TFieldType Type;
    int32_t Default; // integer default; boolean: 0 false, else true; unused for text
};

struct TBlockKind {
    int Kind;                             // 1 to 26, the record's type attribute
    std::string_view Caption;             // palette caption and initial chart text (UTF-8)
    const TBlockGroup* Group;             // palette group; nullptr: in no group
    std::string_view DialogClass;         // e.g. "TFormZhiXing"; empty for kinds 7 and 8
    std::span<const TRecordField> Fields; // in stored order
    std::string_view ChartPrefix;         // e.g. "标号:" (UTF-8); empty: the text never changes
    std::string_view ChartValueField;     // field whose value follows the prefix; empty if none

    TKindId Id() const { return TKindId(Kind); }
    int32_t TagCode() const { return TagBlockBase + Kind; }
    // Kinds 7 and 8 exist only as hidden palette items and have no record.
    bool HasRecord() const { return !DialogClass.empty(); }
};

// Files, records and chart objects carry kind numbers, so lookups by number
// answer nullptr for a number that is no kind; code names its kinds, and
// BlockKind throws std::invalid_argument only for a name made by casting a
// number that is none.
// The kind with number n, or nullptr outside 1 to 26.
const TBlockKind* FindBlockKind(int n);
const TBlockKind& BlockKind(TKindId kind);
// The kind whose block object carries this tag code, or nullptr.
const TBlockKind* FindBlockKindByTag(int32_t tagCode);
std::span<const TBlockKind> BlockCatalogue();

// Record text of a new block of kind n, built in the scratch document as every
// record is: clear the root, rename it CtrlNode, add type, add the fields,
// print. Throws std::invalid_argument for kinds without a record (7, 8, or
// outside the catalogue).
std::string BuildDefaultRecord(TSimpleXML& scratch, int kind);
inline std::string BuildDefaultRecord(TSimpleXML& scratch, TKindId kind) {
    return BuildDefaultRecord(scratch, KindNumber(kind));
}

// The field of kind called name, or nullptr.
const TRecordField* FindRecordField(const TBlockKind& kind, std::string_view name);

// One field's value, typed by the catalogue: Int for integer fields, Bool for
// the boolean field, Text (plain GBK bytes, never entity-encoded) for both
// kinds of text field. An integer field keeps its text as well, as the record
// holds it (see TRecordValues::StoredText).
struct TRecordValue {
    int64_t Int = -1;
    bool Bool = true;
    std::string Text;
};

// The values of one record, one per catalogue field in stored order. Field
// names are the catalogue's; an unknown name or one of another type is a
// programming error and throws std::invalid_argument.
class TRecordValues {
public:
    // The values of a new block of this kind (the default record's).
    explicit TRecordValues(int kind);
    explicit TRecordValues(TKindId kind) : TRecordValues(KindNumber(kind)) {}

    int Kind() const { return Info->Kind; }
    TKindId Id() const { return Info->Id(); }
    const TBlockKind& KindInfo() const { return *Info; }
    std::span<const TRecordValue> Values() const { return Items; }

    int64_t Int(std::string_view field) const;
    bool Bool(std::string_view field) const;
    const std::string& Text(std::string_view field) const;
    void SetInt(std::string_view field, int64_t value);
    void SetBool(std::string_view field, bool value);
    void SetText(std::string_view field, std::string value);

    // An integer field's text as it stands in the record: what was read, byte
    // for byte (empty when the field is absent, "0100" stays "0100"), or the
    // decimal of the value set or defaulted. Go-straight and turn blocks send
    // their time to the robot this way, unconverted.
    const std::string& StoredText(std::string_view field) const;

    // The plain value shown after the chart prefix (GBK bytes); empty for
    // kinds whose chart text never changes and for kind 26, whose phrase text
    // comes from the phrase list.
    std::string ChartValue() const;

private:
    friend TRecordValues ReadRecordValues(const TSimpleXMLElemClassic& record, int kind);
    size_t IndexOf(std::string_view field, TFieldType type) const;
    const TBlockKind* Info;
    std::vector<TRecordValue> Items;
};

// Reads the fields of kind from a record element as every reader does:
// IntOf default -1 taken as 32 bits (and the text as stored), BoolOf default
// true, TextOf default empty (decoded for escaped fields). The element's
// name and type attribute are not examined.
TRecordValues ReadRecordValues(const TSimpleXMLElemClassic& record, int kind);
inline TRecordValues ReadRecordValues(const TSimpleXMLElemClassic& record, TKindId kind) {
    return ReadRecordValues(record, KindNumber(kind));
}

// Parses recordText into scratch and reads it as ReadRecordValues does.
// Parse errors propagate as ESimpleXMLError.
TRecordValues ReadRecord(TSimpleXML& scratch, const std::string& recordText, int kind);
inline TRecordValues ReadRecord(TSimpleXML& scratch, const std::string& recordText, TKindId kind) {
    return ReadRecord(scratch, recordText, KindNumber(kind));
}

// Record text of kind with these values, built in scratch by the five steps
// every record is built with. Escaped fields are entity-encoded here.
std::string BuildRecord(TSimpleXML& scratch, int kind, const TRecordValues& values);
inline std::string BuildRecord(TSimpleXML& scratch, TKindId kind, const TRecordValues& values) {
    return BuildRecord(scratch, KindNumber(kind), values);
}
