#include "program/Program.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>

std::optional<std::size_t> TProgram::IndexOf(TBlockId id) const {
    const auto found = Index.find(id);
    if (found == Index.end())
        return std::nullopt;
    return found->second;
}

std::vector<TProgramBlock>
TProgram::MakeBlocks(const std::vector<std::pair<int, std::string>>& kindsAndRecords) {
    std::vector<TProgramBlock> blocks;
    blocks.reserve(kindsAndRecords.size());
    for (const auto& [kind, record] : kindsAndRecords)
        blocks.push_back({NewId(), kind, record});
    return blocks;
}

void TProgram::CheckRange(std::size_t first, std::size_t count) const {
    if (first > Blocks.size() || count > Blocks.size() - first)
        throw std::out_of_range("block range " + std::to_string(first) + "+" +
                                std::to_string(count) + " beyond " +
                                std::to_string(Blocks.size()) + " blocks");
}

void TProgram::Insert(std::size_t index, std::vector<TProgramBlock> blocks) {
    if (index > Blocks.size())
        throw std::invalid_argument("insert at " + std::to_string(index) + " beyond " +
                                    std::to_string(Blocks.size()) + " blocks");
    std::unordered_set<TBlockId> seen;
    for (TProgramBlock& block : blocks) {
        if (block.Id == 0)
            block.Id = NewId();
        if (Index.count(block.Id) || !seen.insert(block.Id).second)
            throw std::invalid_argument("block id " + std::to_string(block.Id) + " is in use");
    }
    for (const TProgramBlock& block : blocks)
        NextId = std::max(NextId, block.Id + 1);
    const std::size_t count = blocks.size();
    Blocks.insert(Blocks.begin() + std::ptrdiff_t(index), std::make_move_iterator(blocks.begin()),
                  std::make_move_iterator(blocks.end()));
    IndexFrom(index);
    Announce({TProgramChange::TKind::Inserted, index, count, 0});
}

std::vector<TProgramBlock> TProgram::Remove(std::size_t first, std::size_t count) {
    CheckRange(first, count);
    const auto begin = Blocks.begin() + std::ptrdiff_t(first);
    std::vector<TProgramBlock> removed(std::make_move_iterator(begin),
                                       std::make_move_iterator(begin + std::ptrdiff_t(count)));
    Blocks.erase(begin, begin + std::ptrdiff_t(count));
    for (const TProgramBlock& block : removed)
        Index.erase(block.Id);
    IndexFrom(first);
    Announce({TProgramChange::TKind::Removed, first, count, 0});
    return removed;
}

std::string TProgram::ReplaceRecord(std::size_t index, std::string record) {
    CheckRange(index, 1);
    std::swap(Blocks[index].Record, record);
    Announce({TProgramChange::TKind::RecordChanged, index, 1, 0});
    return record;
}

void TProgram::Move(std::size_t first, std::size_t count, std::size_t to) {
    CheckRange(first, count);
    if (to > Blocks.size() - count)
        throw std::out_of_range("move to " + std::to_string(to));
    if (count == 0 || to == first)
        return;
    const auto begin = Blocks.begin();
    if (to < first)
        std::rotate(begin + std::ptrdiff_t(to), begin + std::ptrdiff_t(first),
                    begin + std::ptrdiff_t(first + count));
    else
        std::rotate(begin + std::ptrdiff_t(first), begin + std::ptrdiff_t(first + count),
                    begin + std::ptrdiff_t(to + count));
    IndexFrom(std::min(first, to));
    Announce({TProgramChange::TKind::Moved, first, count, to});
}

void TProgram::Reset(const std::vector<std::pair<int, std::string>>& kindsAndRecords) {
    Blocks = MakeBlocks(kindsAndRecords);
    Index.clear();
    IndexFrom(0);
    Announce({TProgramChange::TKind::Reset, 0, Blocks.size(), 0});
}

void TProgram::IndexFrom(std::size_t first) {
    for (std::size_t i = first; i < Blocks.size(); ++i)
        Index[Blocks[i].Id] = i;
}

int TProgram::AddListener(TListener listener) {
    Listeners.emplace_back(NextHandle, std::move(listener));
    return NextHandle++;
}

void TProgram::RemoveListener(int handle) {
    std::erase_if(Listeners, [handle](const auto& entry) { return entry.first == handle; });
}

void TProgram::Announce(const TProgramChange& change) {
    for (const auto& [handle, listener] : Listeners)
        listener(change);
}
