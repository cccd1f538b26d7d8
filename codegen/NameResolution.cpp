#include "codegen/NameResolution.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace {

bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

unsigned char UpperAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

std::string FoldCase(std::string_view name) {
    std::string out(name);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(c))
            ++i; // keep the trail byte as it is
        else
            out[i] = static_cast<char>(UpperAscii(c));
    }
    return out;
}

// A name as a lookup key, with its hash computed by the caller so that the
// scan can extend it byte by byte instead of hashing every candidate afresh.
struct TNameKey {
    std::string_view Text;
    uint64_t Hash;
    bool operator==(const TNameKey& other) const { return Text == other.Text; }
};

struct TNameKeyHash {
    size_t operator()(const TNameKey& key) const { return static_cast<size_t>(key.Hash); }
};

constexpr uint64_t HashSeed = 14695981039346656037ull;

uint64_t HashStep(uint64_t hash, char c) {
    return (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
}

uint64_t HashOf(std::string_view text) {
    uint64_t hash = HashSeed;
    for (const char c : text)
        hash = HashStep(hash, c);
    return hash;
}

// The definitions that share one exact name, as ascending table indices.
struct TNameSlot {
    std::vector<size_t> Entries;
    uint64_t SeenInRound = 0;
};

class TLineResolver {
public:
    TLineResolver(const std::vector<TNameDefinition>& table, std::string_view prefix)
        : Table(table), Prefix(prefix) {
        std::unordered_map<std::string, size_t> firstOfName;
        Numbers.reserve(table.size());
        for (size_t t = 0; t < table.size(); ++t) {
            const std::string_view name = table[t].Name;
            const size_t first = firstOfName.try_emplace(FoldCase(name), t).first->second;
            Numbers.push_back(std::to_string((table[first].Position + 1) * 10));
            Slots[TNameKey{name, HashOf(name)}].Entries.push_back(t);
            MaxNameLength = std::max(MaxNameLength, name.size());
        }
    }

    // Replays the table on one statement. Only the definitions whose name is
    // in the statement can change it, and each replacement turns one
    // occurrence of the prefix into digits, so there is at most one round per
    // occurrence. A statement crowded with references is replayed entry by
    // entry instead, which costs what the plain rule costs and no more.
    bool Resolve(std::string& line) {
        if (CountPrefixes(line) > MaxIndexedOccurrences)
            return ReplayAll(line);
        bool changed = false;
        size_t nextEntry = 0;
        for (;;) {
            const TMatch match = FirstEffective(line, nextEntry);
            if (match.Entry == NoEntry)
                return changed;
            line.replace(match.Position, match.Length, Numbers[match.Entry]);
            changed = true;
            nextEntry = match.Entry + 1;
        }
    }

private:
    static constexpr size_t NoEntry = SIZE_MAX;
    static constexpr size_t MaxIndexedOccurrences = 8;

    struct TMatch {
        size_t Entry = NoEntry;
        size_t Position = 0;
        size_t Length = 0;
    };

    size_t CountPrefixes(std::string_view line) const {
        size_t count = 0;
        for (size_t p = line.find(Prefix);
             p != std::string_view::npos && count <= MaxIndexedOccurrences;
             p = line.find(Prefix, p + 1))
            ++count;
        return count;
    }

    static size_t FirstWholeOccurrence(std::string_view line, std::string_view name) {
        for (size_t p = line.find(name); p != std::string_view::npos; p = line.find(name, p + 1)) {
            const size_t end = p + name.size();
            if (end == line.size() || !ContinuesName(static_cast<unsigned char>(line[end])))
                return p;
        }
        return std::string_view::npos;
    }

    bool ReplayAll(std::string& line) const {
        bool changed = false;
        for (size_t t = 0; t < Table.size(); ++t) {
            const std::string& name = Table[t].Name;
            const size_t p = FirstWholeOccurrence(line, name);
            if (p != std::string_view::npos && p >= 2) {
                line.replace(p, name.size(), Numbers[t]);
                changed = true;
            }
        }
        return changed;
    }

    // The first table entry from `nextEntry` on that would change the line as
    // it stands, and where.
    TMatch FirstEffective(std::string_view line, size_t nextEntry) {
        TMatch best;
        ++Round;
        for (size_t p = line.find(Prefix); p != std::string_view::npos;
             p = line.find(Prefix, p + 1)) {
            const size_t last = std::min(line.size(), p + MaxNameLength);
            uint64_t hash = HashOf(line.substr(p, Prefix.size()));
            for (size_t q = p + Prefix.size();; hash = HashStep(hash, line[q++])) {
                if (q == line.size() || !ContinuesName(static_cast<unsigned char>(line[q]))) {
                    const auto it = Slots.find(TNameKey{line.substr(p, q - p), hash});
                    if (it != Slots.end())
                        Consider(it->second, p, q - p, nextEntry, best);
                }
                if (q == last)
                    break;
            }
        }
        return best;
    }

    void Consider(TNameSlot& slot, size_t position, size_t length, size_t nextEntry, TMatch& best) {
        // Only a name's first occurrence counts; at the first two bytes it
        // leaves the line alone for every entry of that name.
        if (slot.SeenInRound == Round)
            return;
        slot.SeenInRound = Round;
        if (position < 2)
            return;
        const auto e = std::lower_bound(slot.Entries.begin(), slot.Entries.end(), nextEntry);
        if (e != slot.Entries.end() && *e < best.Entry)
            best = TMatch{*e, position, length};
    }

    const std::vector<TNameDefinition>& Table;
    std::string_view Prefix;
    std::vector<std::string> Numbers;
    std::unordered_map<TNameKey, TNameSlot, TNameKeyHash> Slots;
    size_t MaxNameLength = 0;
    uint64_t Round = 0;
};

} // namespace

std::vector<TNameDefinition> CollectDefinitions(const std::vector<std::string>& statements,
                                                std::string_view prefix) {
    std::vector<TNameDefinition> table;
    for (size_t i = 0; i < statements.size(); ++i) {
        if (std::string_view(statements[i]).starts_with(prefix))
            table.push_back(TNameDefinition{statements[i], i});
    }
    std::stable_sort(table.begin(), table.end(),
                     [](const auto& a, const auto& b) { return a.Name.size() > b.Name.size(); });
    return table;
}

bool ContinuesName(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c >= 0x80;
}

void ResolveNames(std::vector<std::string>& statements, std::vector<bool>& changed,
                  const std::vector<TNameDefinition>& table, std::string_view prefix) {
    if (table.empty())
        return;
    TLineResolver resolver(table, prefix);
    for (size_t j = 0; j < statements.size(); ++j) {
        // Replacing inserts digits only and so never creates the prefix: a
        // statement without it now never gets one.
        if (statements[j].find(prefix) == std::string::npos)
            continue;
        if (resolver.Resolve(statements[j]))
            changed[j] = true;
    }
}
