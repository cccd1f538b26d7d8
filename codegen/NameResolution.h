#pragma once

// Resolution of the symbolic label and subroutine names in a listing's
// statements. A definition is a statement that begins with the prefix
// ("label: " or "sub: "); its whole statement is the name, so "label: L1"
// defines the name that "GOTO label: L1" refers to.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view LabelPrefix = "label: ";
inline constexpr std::string_view SubPrefix = "sub: ";

struct TNameDefinition {
    std::string Name; // the whole definition statement, prefix included
    size_t Position;  // zero-based position in the listing; line number (Position + 1) x 10
};

// The definitions among `statements`, longest name first. Names of equal length
// keep their listing order, so of two equal names the earlier definition wins.
std::vector<TNameDefinition> CollectDefinitions(const std::vector<std::string>& statements,
                                                std::string_view prefix);

// True for the bytes that can continue a name: ASCII letters and digits, "_",
// and every byte of a double-byte character. A name occurs in a statement only
// where the byte after it is none of these (or the statement ends there), so
// a defined L1 does not turn an undefined L10 into a wrong jump.
bool ContinuesName(unsigned char c);

// For each definition in table order: in every statement, the first occurrence
// of its name is replaced by a line number when it starts at the third byte or
// later (the definition statements themselves are thus left alone). The number
// is that of the first definition in the table with the same name ignoring the
// case of ASCII letters (the second byte of a double-byte character is not a
// letter even where its code is one). Statements that change are flagged in
// `changed` (same size).
//
// Equivalent to running that rule literally over every statement for every
// definition, but each statement is visited only for the names it contains.
void ResolveNames(std::vector<std::string>& statements, std::vector<bool>& changed,
                  const std::vector<TNameDefinition>& table, std::string_view prefix);
