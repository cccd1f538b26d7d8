#pragma once

// The program a chart shows: its blocks in order, each with an id that stays
// with it for the life of the document (never given to another block, even
// after it is deleted), its kind and its parameter record (GBK bytes, as the
// file stores it). Every change goes through the four operations below and is
// announced to the listeners with what changed, so that the chain on the
// canvas, the listing and the undo stack all follow one source.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

using TBlockId = std::uint64_t;

struct TProgramBlock {
    TBlockId Id = 0;
    int Kind = 0;
    std::string Record;
    bool operator==(const TProgramBlock&) const = default;
};

// What one operation did. Indexes are positions in the block list.
struct TProgramChange {
    enum class TKind {
        Inserted,      // First..First+Count-1 are new
        Removed,       // the blocks that were at First..First+Count-1 are gone
        RecordChanged, // the record of First changed (Count is 1)
        Moved,         // the blocks at First..First+Count-1 now stand at To..To+Count-1
        Reset,         // everything was replaced
    };
    TKind Kind;
    std::size_t First = 0;
    std::size_t Count = 0;
    std::size_t To = 0;
};

class TProgram {
public:
    using TListener = std::function<void(const TProgramChange&)>;

    std::size_t Count() const { return Blocks.size(); }
    bool Empty() const { return Blocks.empty(); }
    const TProgramBlock& At(std::size_t index) const { return Blocks.at(index); }
    const std::vector<TProgramBlock>& AllBlocks() const { return Blocks; }
    // Where the block with this id stands, or none.
    std::optional<std::size_t> IndexOf(TBlockId id) const;

    // A fresh id, never handed out before in this document.
    TBlockId NewId() { return NextId++; }
    // New blocks of these kinds and records with fresh ids, for Insert.
    std::vector<TProgramBlock> MakeBlocks(const std::vector<std::pair<int, std::string>>& kindsAndRecords);

    // Inserts blocks before index (Count() appends). Blocks that carry an id
    // keep it (undo puts deleted blocks back as they were); an id of 0 gets a
    // fresh one. Throws std::invalid_argument for an index beyond the end or
    // an id already in the program, before anything changes.
    void Insert(std::size_t index, std::vector<TProgramBlock> blocks);
    // Removes count blocks from first and hands them back.
    std::vector<TProgramBlock> Remove(std::size_t first, std::size_t count);
    // Gives the block at index a new record and hands back the old one.
    std::string ReplaceRecord(std::size_t index, std::string record);
    // Moves the range first..first+count-1 so that it starts at `to`, an
    // index in the list as it is after the move (0..Count()-count).
    void Move(std::size_t first, std::size_t count, std::size_t to);
    // Replaces every block (a load or New); ids are given afresh and the id
    // counter keeps counting, so no id of the old program comes back.
    void Reset(const std::vector<std::pair<int, std::string>>& kindsAndRecords);

    // Listeners are called after each change, in the order they were added.
    int AddListener(TListener listener);
    void RemoveListener(int handle);

private:
    void Announce(const TProgramChange& change);
    void IndexFrom(std::size_t first);
    void CheckRange(std::size_t first, std::size_t count) const;

    std::vector<TProgramBlock> Blocks;
    std::unordered_map<TBlockId, std::size_t> Index;
    TBlockId NextId = 1;
    std::vector<std::pair<int, TListener>> Listeners;
    int NextHandle = 1;
};
