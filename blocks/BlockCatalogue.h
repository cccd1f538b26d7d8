#pragma once

// The catalogue of the 26 block kinds: palette caption and group, tag code,
// editing dialog, record fields in stored order with their encodings and
// defaults, and the chart-text prefix. Default records, record readers, the
// editing flow and the loader are all driven by this one table.
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
    std::string_view Group;               // palette group caption (UTF-8); empty: in no group
    std::string_view DialogClass;         // e.g. "TFormZhiXing"; empty for kinds 7 and 8
    std::span<const TRecordField> Fields; // in stored order
    std::string_view ChartPrefix;         // e.g. "标号:" (UTF-8); empty: the text never changes
    std::string_view ChartValueField;     // field whose value follows the prefix; empty if none

    int32_t TagCode() const { return TagBlockBase + Kind; }
    // Kinds 7 and 8 exist only as hidden palette items and have no record.
    bool HasRecord() const { return !DialogClass.empty(); }
};

// The kind with number n, or nullptr outside 1 to 26.
const TBlockKind* FindBlockKind(int n);
// The kind whose block object carries this tag code, or nullptr.
const TBlockKind* FindBlockKindByTag(int32_t tagCode);
std::span<const TBlockKind> BlockCatalogue();

// Record text of a new block of kind n, built in the scratch document as every
// record is: clear the root, rename it CtrlNode, add type, add the fields,
// print. Throws std::invalid_argument for kinds without a record (7, 8, or
// outside the catalogue).
std::string BuildDefaultRecord(TSimpleXML& scratch, int kind);

// The field of kind called name, or nullptr.
const TRecordField* FindRecordField(const TBlockKind& kind, std::string_view name);

// One field's value, typed by the catalogue: Int for integer fields, Bool for
// the boolean field, Text (plain GBK bytes, never entity-encoded) for both
// kinds of text field.
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

    int Kind() const { return Info->Kind; }
    const TBlockKind& KindInfo() const { return *Info; }
    std::span<const TRecordValue> Values() const { return Items; }

    int64_t Int(std::string_view field) const;
    bool Bool(std::string_view field) const;
    const std::string& Text(std::string_view field) const;
    void SetInt(std::string_view field, int64_t value);
    void SetBool(std::string_view field, bool value);
    void SetText(std::string_view field, std::string value);

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
// IntOf default -1 taken as 32 bits, BoolOf default true, TextOf default empty
// (decoded for escaped fields). The element's name and type attribute are not
// examined.
TRecordValues ReadRecordValues(const TSimpleXMLElemClassic& record, int kind);

// Parses recordText into scratch and reads it as ReadRecordValues does.
// Parse errors propagate as ESimpleXMLError.
TRecordValues ReadRecord(TSimpleXML& scratch, const std::string& recordText, int kind);

// Record text of kind with these values, built in scratch by the five steps
// every record is built with. Escaped fields are entity-encoded here.
std::string BuildRecord(TSimpleXML& scratch, int kind, const TRecordValues& values);
