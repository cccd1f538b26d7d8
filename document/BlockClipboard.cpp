#include "document/BlockClipboard.h"

#include "document/FlowchartFile.h"
#include "xml/SimpleXML.h"

#include <QMimeData>

QMimeData* BlocksMimeData(const std::vector<TProgramBlock>& blocks) {
    std::vector<std::string> records;
    records.reserve(blocks.size());
    for (const TProgramBlock& block : blocks)
        records.push_back(block.Record);
    TSimpleXML doc;
    TSimpleXML scratch;
    BuildFileTree(doc, scratch, records);
    const std::string text = doc.WriteText();
    auto* data = new QMimeData;
    data->setData(BlockMimeType, QByteArray(text.data(), qsizetype(text.size())));
    return data;
}

std::vector<TProgramBlock> BlocksFromMimeData(const QMimeData* data) {
    std::vector<TProgramBlock> blocks;
    if (data == nullptr || !data->hasFormat(BlockMimeType))
        return blocks;
    const QByteArray bytes = data->data(BlockMimeType);
    TSimpleXML doc;
    TSimpleXML scratch;
    try {
        doc.ReadText(std::string_view(bytes.constData(), size_t(bytes.size())));
        // Read as a file is read: records of unknown kinds do not come along.
        for (TLoadedBlock& block : ReadFileTree(doc, scratch))
            blocks.push_back({0, block.Kind, std::move(block.RecordText)});
    } catch (const ESimpleXMLError&) {
        blocks.clear(); // another program's bytes under our type: nothing to paste
    }
    return blocks;
}
