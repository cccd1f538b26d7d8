#include "document/ProgramCommands.h"

#include "blocks/BlockCatalogue.h"
#include "chart/ProgramChain.h"

using namespace Qt::StringLiterals;

QString BlocksName(const std::vector<TProgramBlock>& blocks) {
    if (blocks.size() == 1) {
        const TBlockKind* kind = FindBlockKind(blocks.front().Kind);
        const QString caption =
            kind ? QString::fromUtf8(kind->Caption.data(), qsizetype(kind->Caption.size()))
                 : QString();
        return u"“%1”"_s.arg(caption);
    }
    return u" %1 个模块"_s.arg(blocks.size());
}

namespace {

QString RangeName(const TProgram& program, std::size_t first, std::size_t count) {
    const auto begin = program.AllBlocks().begin() + std::ptrdiff_t(first);
    return BlocksName(std::vector<TProgramBlock>(begin, begin + std::ptrdiff_t(count)));
}

} // namespace

TInsertBlocksCommand::TInsertBlocksCommand(TProgramChain& chain, std::size_t index,
                                           std::vector<TProgramBlock> blocks, const QString& verb)
    : Chain(chain), Index(index), Blocks(std::move(blocks)) {
    // Ids are given now, so that redo after undo brings back the same blocks.
    for (TProgramBlock& block : Blocks)
        if (block.Id == 0)
            block.Id = Chain.Program().NewId();
    setText(verb + BlocksName(Blocks));
}

void TInsertBlocksCommand::redo() {
    Chain.Program().Insert(Index, Blocks);
    Chain.SelectBlocks(Index, Blocks.size());
}

void TInsertBlocksCommand::undo() {
    Chain.Program().Remove(Index, Blocks.size());
    Chain.SelectSpotBefore(Index);
}

TRemoveBlocksCommand::TRemoveBlocksCommand(TProgramChain& chain, std::size_t first,
                                           std::size_t count, const QString& verb)
    : Chain(chain), First(first), Count(count) {
    setText(verb + RangeName(Chain.Program(), first, count));
}

void TRemoveBlocksCommand::redo() {
    Removed = Chain.Program().Remove(First, Count);
    Chain.SelectSpotBefore(First);
}

void TRemoveBlocksCommand::undo() {
    Chain.Program().Insert(First, std::move(Removed));
    Removed.clear();
    Chain.SelectBlocks(First, Count);
}

TEditRecordCommand::TEditRecordCommand(TProgramChain& chain, std::size_t index, std::string record)
    : Chain(chain), Id(chain.Program().At(index).Id), Record(std::move(record)) {
    setText(u"修改"_s + RangeName(chain.Program(), index, 1));
}

void TEditRecordCommand::Swap() {
    // By id: the block is where the commands after this one left it.
    if (const auto index = Chain.Program().IndexOf(Id)) {
        Record = Chain.Program().ReplaceRecord(*index, std::move(Record));
        Chain.SelectBlock(*index);
    }
}

void TEditRecordCommand::redo() {
    Swap();
}

void TEditRecordCommand::undo() {
    Swap();
}

TMoveBlocksCommand::TMoveBlocksCommand(TProgramChain& chain, std::size_t first, std::size_t count,
                                       std::size_t to)
    : Chain(chain), First(first), Count(count), To(to) {
    setText(u"移动"_s + RangeName(Chain.Program(), first, count));
}

void TMoveBlocksCommand::redo() {
    Chain.Program().Move(First, Count, To);
    Chain.SelectBlocks(To, Count);
}

void TMoveBlocksCommand::undo() {
    Chain.Program().Move(To, Count, First);
    Chain.SelectBlocks(First, Count);
}
