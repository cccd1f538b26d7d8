// The program model: ids that stay with their blocks, the four operations
// and what they announce.

#include "program/Program.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using TKinds = std::vector<std::pair<int, std::string>>;

std::vector<int> KindsOf(const TProgram& p) {
    std::vector<int> kinds;
    for (const TProgramBlock& b : p.AllBlocks())
        kinds.push_back(b.Kind);
    return kinds;
}

struct TRecorder {
    explicit TRecorder(TProgram& p) {
        p.AddListener([this](const TProgramChange& c) { Changes.push_back(c); });
    }
    std::vector<TProgramChange> Changes;
};

TEST(Program, OperationsAnnounceWhatChanged) {
    TProgram p;
    TRecorder seen(p);
    p.Reset({{1, "a"}, {2, "b"}, {3, "c"}});
    p.Insert(1, p.MakeBlocks({{4, "d"}, {5, "e"}}));
    EXPECT_EQ(KindsOf(p), (std::vector<int>{1, 4, 5, 2, 3}));
    EXPECT_EQ(p.ReplaceRecord(3, "B"), "b");
    p.Move(0, 2, 3); // 1 4 to the end
    EXPECT_EQ(KindsOf(p), (std::vector<int>{5, 2, 3, 1, 4}));
    p.Move(3, 2, 0); // and back to the front
    EXPECT_EQ(KindsOf(p), (std::vector<int>{1, 4, 5, 2, 3}));
    const std::vector<TProgramBlock> gone = p.Remove(1, 2);
    EXPECT_EQ(gone.size(), 2u);
    EXPECT_EQ(KindsOf(p), (std::vector<int>{1, 2, 3}));
    using K = TProgramChange::TKind;
    const std::vector<std::tuple<K, std::size_t, std::size_t, std::size_t>> expected = {
        {K::Reset, 0, 3, 0},   {K::Inserted, 1, 2, 0}, {K::RecordChanged, 3, 1, 0},
        {K::Moved, 0, 2, 3},   {K::Moved, 3, 2, 0},    {K::Removed, 1, 2, 0}};
    ASSERT_EQ(seen.Changes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [kind, first, count, to] = expected[i];
        EXPECT_EQ(seen.Changes[i].Kind, kind) << i;
        EXPECT_EQ(seen.Changes[i].First, first) << i;
        EXPECT_EQ(seen.Changes[i].Count, count) << i;
        EXPECT_EQ(seen.Changes[i].To, to) << i;
    }
}

TEST(Program, IdsStayWithTheirBlocksAndAreNeverGivenAgain) {
    TProgram p;
    p.Reset({{1, "a"}, {2, "b"}});
    const TBlockId a = p.At(0).Id;
    const TBlockId b = p.At(1).Id;
    EXPECT_NE(a, b);
    p.Move(0, 1, 1);
    EXPECT_EQ(p.IndexOf(a), 1u);
    EXPECT_EQ(p.IndexOf(b), 0u);
    // Taken out and put back (as undo does), a block keeps its id.
    std::vector<TProgramBlock> removed = p.Remove(1, 1);
    EXPECT_FALSE(p.IndexOf(a));
    const TBlockId fresh = p.NewId();
    EXPECT_GT(fresh, b);
    p.Insert(0, removed);
    EXPECT_EQ(p.IndexOf(a), 0u);
    // An id in use is refused before anything changes; so are bad ranges.
    EXPECT_THROW(p.Insert(0, removed), std::invalid_argument);
    EXPECT_THROW(p.Insert(3, {}), std::invalid_argument);
    EXPECT_THROW(p.Remove(1, 2), std::out_of_range);
    EXPECT_THROW(p.Move(0, 1, 2), std::out_of_range);
    EXPECT_EQ(p.Count(), 2u);
    // A new program after Reset gets ids the old one never had.
    p.Reset({{3, "c"}});
    EXPECT_GT(p.At(0).Id, fresh);
}

TEST(Program, RandomOperationsKeepTheIndexTrue) {
    std::mt19937 random(7);
    TProgram p;
    std::vector<TProgramBlock> mirror;
    for (int step = 0; step < 3000; ++step) {
        const std::size_t n = p.Count();
        switch (random() % 4) {
        case 0: {
            const std::size_t at = random() % (n + 1);
            auto blocks = p.MakeBlocks({{int(random() % 26) + 1, std::to_string(step)}});
            mirror.insert(mirror.begin() + std::ptrdiff_t(at), blocks.front());
            p.Insert(at, blocks);
            break;
        }
        case 1:
            if (n > 0) {
                const std::size_t first = random() % n;
                const std::size_t count = 1 + random() % (n - first);
                mirror.erase(mirror.begin() + std::ptrdiff_t(first),
                             mirror.begin() + std::ptrdiff_t(first + count));
                p.Remove(first, count);
            }
            break;
        case 2:
            if (n > 0) {
                const std::size_t at = random() % n;
                mirror[at].Record = "r" + std::to_string(step);
                p.ReplaceRecord(at, mirror[at].Record);
            }
            break;
        case 3:
            if (n > 0) {
                const std::size_t first = random() % n;
                const std::size_t count = 1 + random() % (n - first);
                const std::size_t to = random() % (n - count + 1);
                std::vector<TProgramBlock> range(mirror.begin() + std::ptrdiff_t(first),
                                                 mirror.begin() + std::ptrdiff_t(first + count));
                mirror.erase(mirror.begin() + std::ptrdiff_t(first),
                             mirror.begin() + std::ptrdiff_t(first + count));
                mirror.insert(mirror.begin() + std::ptrdiff_t(to), range.begin(), range.end());
                p.Move(first, count, to);
            }
            break;
        }
        ASSERT_EQ(p.AllBlocks(), mirror) << "step " << step;
    }
    for (std::size_t i = 0; i < p.Count(); ++i)
        EXPECT_EQ(p.IndexOf(p.At(i).Id), i);
}

} // namespace
