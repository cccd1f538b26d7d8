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

// The definitions that share one exact name, as ascending table indices.
struct TNameSlot {
    std::vector<size_t> Entries;
    uint64_t SeenInRound = 0;
};

class TLineResolver {
public:
    TLineResolver(const std::vector<TNameDefinition>& table, std::string_view prefix)
        : Prefix(prefix) {
        std::unordered_map<std::string, size_t> firstOfName;
        Numbers.reserve(table.size());
        for (size_t t = 0; t < table.size(); ++t) {
            const std::string_view name = table[t].Name;
            const size_t first = firstOfName.try_emplace(FoldCase(name), t).first->second;
            Numbers.push_back(std::to_string((table[first].Position + 1) * 10));
            Slots[name].Entries.push_back(t);
            MaxNameLength = std::max(MaxNameLength, name.size());
        }
    }

    // Replays the table on one statement. Only the definitions whose name is
    // in the statement can change it, and each replacement turns one
    // occurrence of the prefix into digits, so the loop ends after at most one
    // round per occurrence.
    bool Resolve(std::string& line) {
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

    struct TMatch {
        size_t Entry = NoEntry;
        size_t Position = 0;
        size_t Length = 0;
    };

    // The first table entry from `nextEntry` on that would change the line as
    // it stands, and where.
    TMatch FirstEffective(std::string_view line, size_t nextEntry) {
        TMatch best;
        ++Round;
        for (size_t p = line.find(Prefix); p != std::string_view::npos;
             p = line.find(Prefix, p + 1)) {
            const size_t last = std::min(line.size(), p + MaxNameLength);
            for (size_t q = p + Prefix.size(); q <= last; ++q) {
                if (q < line.size() && ContinuesName(static_cast<unsigned char>(line[q])))
                    continue;
                const auto it = Slots.find(line.substr(p, q - p));
                if (it == Slots.end())
                    continue;
                TNameSlot& slot = it->second;
                // Only a name's first occurrence counts; at the first two
                // bytes it leaves the line alone for every entry of that name.
                if (slot.SeenInRound == Round)
                    continue;
                slot.SeenInRound = Round;
                if (p < 2)
                    continue;
                const auto e =
                    std::lower_bound(slot.Entries.begin(), slot.Entries.end(), nextEntry);
                if (e != slot.Entries.end() && *e < best.Entry)
                    best = TMatch{*e, p, q - p};
            }
        }
        return best;
    }

    std::string_view Prefix;
    std::vector<std::string> Numbers;
    std::unordered_map<std::string_view, TNameSlot> Slots;
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
