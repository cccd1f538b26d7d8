#include "codegen/TranslateBlock.h"

#include "blocks/BlockCatalogue.h"
#include "codegen/StatementQuoting.h"
#include "xml/SimpleXML.h"

namespace {

using enum TKindId;

// The record's values as the statements use them, read by the catalogue as
// every record reader reads them: a missing or non-numeric integer is -1,
// missing text is empty, a missing or empty boolean is true, escaped texts
// come decoded.
class TRecordFields {
public:
    explicit TRecordFields(const TRecordValues& values) : Values(values) {}

    // The robot's fields are 32-bit values; the catalogue reads them so.
    int32_t Int(std::string_view name) const { return static_cast<int32_t>(Values.Int(name)); }
    std::string IntText(std::string_view name) const { return std::to_string(Int(name)); }
    const std::string& Text(std::string_view name) const { return Values.Text(name); }
    const std::string& StoredText(std::string_view name) const { return Values.StoredText(name); }
    bool Bool(std::string_view name) const { return Values.Bool(name); }

    // A variable or port register: 0 is "A", 25 "Z"; other values wrap round
    // the byte range, so the missing field (-1) gives "@".
    std::string Letter(std::string_view name) const {
        return std::string(
            1, static_cast<char>(static_cast<uint8_t>(65u + static_cast<uint32_t>(Int(name)))));
    }

private:
    const TRecordValues& Values;
};

// The statement of a block whose kind has exactly one. Go-straight and turn
// blocks copy their time as stored, unlike every other integer field, so a
// stored "0100" reaches the robot as typed.
std::string SingleStatement(TKindId kind, const TRecordFields& f) {
    switch (kind) {
    case ZhiXing:
        switch (f.Int("mode")) {
        case 0:
            return "FDX";
        case 1:
            return "BKX";
        case 2:
            return "FD " + f.StoredText("wait");
        case 3:
            return "BK " + f.StoredText("wait");
        default:
            return {};
        }
    case ZhuanXiang:
        switch (f.Int("mode")) {
        case 0:
            return "LTX";
        case 1:
            return "RTX";
        case 2:
            return "LT " + f.StoredText("wait");
        case 3:
            return "RT " + f.StoredText("wait");
        default:
            return {};
        }
    case QiDongDJ:
        return "MOTOR " + f.IntText("motorL") + "," + f.IntText("motorR");
    case TingZhiDJ:
        switch (f.Int("mode")) {
        case 0:
            return "STX";
        case 1:
            return "MOTOR 0,0";
        default:
            return {};
        }
    case YanShi:
        return "WAIT " + f.IntText("wait");
    case FORBegin:
        return "FOR " + f.Letter("var") + "=1 TO " + f.IntText("times");
    case FOREnd:
        return "NEXT " + f.Letter("var");
    case GOTOBegin:
        return "label: " + f.Text("label");
    case GOTOEnd:
        return "GOTO label: " + f.Text("label");
    case GOTOIF:
        return "IF " + f.Text("condition") + " THEN label: " + f.Text("label");
    case LED:
        return "LED " + f.IntText("led");
    case PORTDDR:
        return "DDR" + f.Letter("ddr") + " " + f.IntText("data");
    case PORTIN:
        return f.Letter("var") + "=PIN" + f.Letter("port");
    case PORTOUT:
        return "PORT" + f.Letter("port") + " " + f.IntText("data");
    case Servo:
        return "SERVOE " + f.IntText("data1") + "," + f.IntText("data2") + "," +
               f.IntText("data3") + "," + f.IntText("data4") + "," + f.IntText("data5") + "," +
               f.IntText("speed");
    case BiaoDaShi:
        return f.Text("command");
    case DIN: {
        const int32_t index = f.Int("index");
        if (index >= 0 && index <= 4)
            return f.Letter("var") + "=PC" + std::to_string(index);
        return f.Letter("var") + (index == 5 ? "=MIC" : "=PCX");
    }
    case AIN:
        return f.Letter("var") + "=ADC" + f.IntText("index");
    case SubBegin:
        return "sub: " + f.Text("sub");
    case GOSUB:
        return "GOSUB sub: " + f.Text("sub");
    case VOICEX:
        return "VOICEX " + f.IntText("index");
    default:
        return {};
    }
}

} // namespace

void TranslateBlock(int32_t tagCode, std::string_view dataText, TSimpleXML& scratch,
                    std::vector<std::string>& lines) {
    lines.clear();
    // Tag codes reach this from the chart as they are: start, end, spots,
    // anything else and the hidden kinds 7 and 8 give no line.
    const TBlockKind* kind = FindBlockKindByTag(tagCode);
    if (!kind || !kind->HasRecord())
        return;
    if (kind->Id() == JieShu) {
        lines.push_back(QuoteStatement("END"));
        return;
    }
    if (kind->Id() == SubEnd) {
        lines.push_back(QuoteStatement("RETURN"));
        return;
    }

    scratch.ReadText(dataText);
    const TRecordValues values = ReadRecordValues(*scratch.RootElem(), kind->Id());
    const TRecordFields fields(values);
    if (kind->Id() == FaYin) {
        if (fields.Bool("keycmd"))
            lines.push_back(QuoteStatement("KEY " + fields.IntText("key")));
        lines.push_back(QuoteStatement("PLAY " + fields.Text("content")));
        return;
    }
    lines.push_back(QuoteStatement(SingleStatement(kind->Id(), fields)));
}
