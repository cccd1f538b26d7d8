#include "codegen/StatementQuoting.h"

std::string QuoteStatement(std::string_view statement) {
    std::string out;
    out.reserve(statement.size() + 2);
    out.push_back('"');
    for (const char c : statement) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string DequoteStatement(std::string_view text) {
    if (text.empty() || text.front() != '"')
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] != '"') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '"') {
            out.push_back('"');
            ++i;
            continue;
        }
        break; // the closing quote; anything after it is not part of the statement
    }
    if (out.empty())
        return std::string(text);
    return out;
}
