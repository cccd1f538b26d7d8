#include "codegen/TranslateBlock.h"

#include "blocks/BlockCatalogue.h"
#include "codegen/StatementQuoting.h"
#include "xml/SimpleXML.h"

namespace {

// Field access on the record just read, with the defaults every record reader
// uses: a missing or non-numeric integer is -1, missing text is empty, a
// missing or empty boolean is true.
class TRecordFields {
public:
    explicit TRecordFields(TSimpleXML& scratch) : Fields(scratch.RootElem()->Children()) {}

    // Records keep 64-bit values; the robot's fields are 32-bit, so only the
    // low 32 bits count.
    int32_t Int(std::string_view name) const {
        return static_cast<int32_t>(static_cast<uint32_t>(Fields.IntOf(name, -1)));
    }
    std::string IntText(std::string_view name) const { return std::to_string(Int(name)); }
    std::string Text(std::string_view name) const { return Fields.TextOf(name, std::string()); }
    std::string EscapedText(std::string_view name) const { return DecodeEntities(Text(name)); }
    bool Bool(std::string_view name) const { return Fields.BoolOf(name, true); }

    // A variable or port register: 0 is "A", 25 "Z"; other values wrap round
    // the byte range, so the missing field (-1) gives "@".
    std::string Letter(std::string_view name) const {
        return std::string(
            1, static_cast<char>(static_cast<uint8_t>(65u + static_cast<uint32_t>(Int(name)))));
    }

private:
    const TSimpleXMLElems& Fields;
};

int32_t Tag(int kind) {
    return TagBlockBase + kind;
}

// The statement of a block whose kind has exactly one; the caller has read the
// record. Go-straight and turn blocks copy their time as text, unlike every
// other integer field, so a stored "0100" reaches the robot as typed.
std::string SingleStatement(int32_t tagCode, const TRecordFields& f) {
    switch (tagCode - TagBlockBase) {
    case 1:
        switch (f.Int("mode")) {
        case 0:
            return "FDX";
        case 1:
            return "BKX";
        case 2:
            return "FD " + f.Text("wait");
        case 3:
            return "BK " + f.Text("wait");
        default:
            return {};
        }
    case 2:
        switch (f.Int("mode")) {
        case 0:
            return "LTX";
        case 1:
            return "RTX";
        case 2:
            return "LT " + f.Text("wait");
        case 3:
            return "RT " + f.Text("wait");
        default:
            return {};
        }
    case 3:
        return "MOTOR " + f.IntText("motorL") + "," + f.IntText("motorR");
    case 4:
        switch (f.Int("mode")) {
        case 0:
            return "STX";
        case 1:
            return "MOTOR 0,0";
        default:
            return {};
        }
    case 5:
        return "WAIT " + f.IntText("wait");
    case 9:
        return "FOR " + f.Letter("var") + "=1 TO " + f.IntText("times");
    case 10:
        return "NEXT " + f.Letter("var");
    case 11:
        return "label: " + f.EscapedText("label");
    case 12:
        return "GOTO label: " + f.EscapedText("label");
    case 13:
        return "IF " + f.EscapedText("condition") + " THEN label: " + f.EscapedText("label");
    case 15:
        return "LED " + f.IntText("led");
    case 16:
        return "DDR" + f.Letter("ddr") + " " + f.IntText("data");
    case 17:
        return f.Letter("var") + "=PIN" + f.Letter("port");
    case 18:
        return "PORT" + f.Letter("port") + " " + f.IntText("data");
    case 19:
        return "SERVOE " + f.IntText("data1") + "," + f.IntText("data2") + "," +
               f.IntText("data3") + "," + f.IntText("data4") + "," + f.IntText("data5") + "," +
               f.IntText("speed");
    case 20:
        return f.EscapedText("command");
    case 21: {
        const int32_t index = f.Int("index");
        if (index >= 0 && index <= 4)
            return f.Letter("var") + "=PC" + std::to_string(index);
        return f.Letter("var") + (index == 5 ? "=MIC" : "=PCX");
    }
    case 22:
        return f.Letter("var") + "=ADC" + f.IntText("index");
    case 23:
        return "sub: " + f.Text("sub");
    case 25:
        return "GOSUB sub: " + f.Text("sub");
    case 26:
        return "VOICEX " + f.IntText("index");
    default:
        return {};
    }
}

// Tag codes reach this from the chart as they are; compare before subtracting
// so that no value can overflow.
bool IsTranslatedTag(int32_t tagCode) {
    return tagCode >= Tag(FirstBlockKind) && tagCode <= Tag(LastBlockKind) && tagCode != Tag(7) &&
           tagCode != Tag(8);
}

} // namespace

void TranslateBlock(int32_t tagCode, std::string_view dataText, TSimpleXML& scratch,
                    std::vector<std::string>& lines) {
    lines.clear();
    if (!IsTranslatedTag(tagCode))
        return;
    if (tagCode == Tag(14)) {
        lines.push_back(QuoteStatement("END"));
        return;
    }
    if (tagCode == Tag(24)) {
        lines.push_back(QuoteStatement("RETURN"));
        return;
    }

    scratch.ReadText(dataText);
    const TRecordFields fields(scratch);
    if (tagCode == Tag(6)) {
        // Read all three fields before appending, as for every other kind.
        const std::string key = fields.IntText("key");
        const bool keyCommand = fields.Bool("keycmd");
        const std::string content = fields.Text("content");
        if (keyCommand)
            lines.push_back(QuoteStatement("KEY " + key));
        lines.push_back(QuoteStatement("PLAY " + content));
        return;
    }
    lines.push_back(QuoteStatement(SingleStatement(tagCode, fields)));
}
