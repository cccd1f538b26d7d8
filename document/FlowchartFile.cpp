#include "document/FlowchartFile.h"

#include "blocks/BlockCatalogue.h"
#include "xml/SimpleXML.h"

void BuildFileTree(TSimpleXML& doc, TSimpleXML& scratch, std::span<const std::string> recordTexts) {
    TSimpleXMLElemClassic* root = doc.RootElem();
    root->ClearContent();
    root->Rename(FlowchartRootName);
    for (const std::string& text : recordTexts) {
        scratch.ReadText(text);
        TSimpleXMLElemClassic& record = root->Children().AddNamed(FlowchartRecordName);
        record.Children().AddNamed("").CopyFrom(scratch.RootElem());
    }
}

namespace {

// Kinds whose chart text shows a field value after a prefix.
const char* ChartValueField(int kind) {
    switch (kind) {
    case 11:
    case 12:
    case 13:
        return "label";
    case 20:
        return "command";
    case 23:
    case 25:
        return "sub";
    default:
        return nullptr;
    }
}

bool IsLoadableKind(int64_t kind) {
    const TBlockKind* info = kind >= FirstBlockKind && kind <= LastBlockKind ? FindBlockKind(int(kind)) : nullptr;
    return info && info->HasRecord();
}

} // namespace

std::vector<TLoadedBlock> ReadFileTree(const TSimpleXML& fileDoc, TSimpleXML& scratch) {
    std::vector<TLoadedBlock> blocks;
    const TSimpleXMLElems* records = fileDoc.RootElem()->ChildrenIfAny();
    if (!records)
        return blocks;
    blocks.reserve(size_t(records->Count()));
    for (int i = 0; i < records->Count(); ++i) {
        const TSimpleXMLElem* record = records->At(i);
        const TSimpleXMLElems* inner = record->ChildrenIfAny();
        // A record without children copies nothing: the scratch root is only
        // cleared, and without a type the record is dropped below.
        const TSimpleXMLElem* source = inner && inner->Count() > 0 ? inner->At(0) : nullptr;
        TSimpleXMLElemClassic* scratchRoot = scratch.RootElem();
        if (source)
            scratchRoot->CopyFrom(source);
        else
            scratchRoot->ClearContent();
        TLoadedBlock block;
        const int64_t kind = scratchRoot->Attributes().IntOf("type", -1);
        if (!IsLoadableKind(kind))
            continue;
        block.Kind = int(kind);
        block.RecordText = scratch.WriteText();
        if (const char* field = ChartValueField(block.Kind))
            block.ChartValue = DecodeEntities(scratchRoot->Children().TextOf(field, ""));
        if (block.Kind == 26)
            block.PhraseIndex = int32_t(scratchRoot->Children().IntOf("index", -1));
        blocks.push_back(std::move(block));
    }
    return blocks;
}
