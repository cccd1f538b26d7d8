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

bool IsLoadableKind(int64_t kind) {
    const TBlockKind* info =
        kind >= FirstBlockKind && kind <= LastBlockKind ? FindBlockKind(int(kind)) : nullptr;
    return info && info->HasRecord();
}

} // namespace

TLoadedBlock ReadBlockValues(const TSimpleXMLElemClassic& record, int kind) {
    TLoadedBlock block;
    block.Kind = kind;
    const TRecordValues values = ReadRecordValues(record, kind);
    // A subroutine name is shown decoded as well, like a label.
    const TKindId id = values.Id();
    if (id == TKindId::SubBegin || id == TKindId::GOSUB)
        block.ChartValue = DecodeEntities(values.Text("sub"));
    else
        block.ChartValue = values.ChartValue();
    if (id == TKindId::VOICEX)
        block.PhraseIndex = int32_t(values.Int("index"));
    return block;
}

TFileDamage FileDamageOf(const TSimpleXML& fileDoc, int skippedRecords) {
    TFileDamage damage;
    damage.EndedInsideElement = fileDoc.InputEndedInside();
    damage.NoElement = !fileDoc.HadRootElement();
    damage.SkippedRecords = skippedRecords;
    return damage;
}

std::vector<TLoadedBlock> ReadFileTree(const TSimpleXML& fileDoc, TSimpleXML& scratch,
                                       int* skippedRecords) {
    if (skippedRecords)
        *skippedRecords = 0;
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
        if (!IsLoadableKind(kind)) {
            if (skippedRecords)
                ++*skippedRecords;
            continue;
        }
        block = ReadBlockValues(*scratchRoot, int(kind));
        block.RecordText = scratch.WriteText();
        blocks.push_back(std::move(block));
    }
    return blocks;
}

std::vector<std::pair<int, std::string>> ProgramOfFileTree(const TSimpleXML& fileDoc,
                                                           TSimpleXML& scratch,
                                                           int* skippedRecords) {
    std::vector<std::pair<int, std::string>> program;
    for (TLoadedBlock& block : ReadFileTree(fileDoc, scratch, skippedRecords))
        program.emplace_back(block.Kind, std::move(block.RecordText));
    return program;
}
