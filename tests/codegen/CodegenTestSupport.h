#pragma once

// Records for codegen tests, printed by the real XML tree exactly as the
// editor stores them (header line, CR LF, two-blank indent).

#include "blocks/BlockCatalogue.h"
#include "codegen/BuildListing.h"
#include "xml/SimpleXML.h"

#include <string>
#include <utility>
#include <vector>

namespace codegen_test {

// Field name and stored value text (already escaped where the field is).
using TFields = std::vector<std::pair<std::string, std::string>>;

inline int32_t Tag(int kind) {
    return TagBlockBase + kind;
}

inline std::string RecordText(int kind, const TFields& fields) {
    TSimpleXML doc;
    doc.RootElem()->Rename("CtrlNode");
    doc.RootElem()->Attributes().AddInt("type", kind);
    for (const auto& [name, value] : fields)
        doc.RootElem()->Children().AddText(name, value);
    return doc.WriteText();
}

inline TListingBlock Block(int kind, const TFields& fields = {}) {
    return TListingBlock{Tag(kind), RecordText(kind, fields)};
}

// Blocks whose free-text fields are given as typed and stored escaped.
inline TListingBlock Label(const std::string& name) {
    return Block(11, {{"label", EncodeEntities(name)}});
}
inline TListingBlock Goto(const std::string& name) {
    return Block(12, {{"label", EncodeEntities(name)}});
}
inline TListingBlock GotoIf(const std::string& condition, const std::string& name) {
    return Block(13, {{"condition", EncodeEntities(condition)}, {"label", EncodeEntities(name)}});
}
inline TListingBlock Expression(const std::string& command) {
    return Block(20, {{"command", EncodeEntities(command)}});
}
inline TListingBlock SubStart(const std::string& name) {
    return Block(23, {{"sub", name}});
}
inline TListingBlock SubCall(const std::string& name) {
    return Block(25, {{"sub", name}});
}

} // namespace codegen_test
