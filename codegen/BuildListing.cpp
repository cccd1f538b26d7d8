#include "codegen/BuildListing.h"

#include "blocks/BlockCatalogue.h"
#include "program/Program.h"

#include "codegen/NameResolution.h"
#include "codegen/StatementQuoting.h"
#include "codegen/TranslateBlock.h"

namespace {

// A definition line is shown as a comment: "label: L1" becomes "REM L1".
std::string WrapLine(size_t position, const std::string& quoted) {
    static constexpr std::string_view quotedLabel = "\"label: ";
    static constexpr std::string_view quotedSub = "\"sub: ";
    std::string out = std::to_string((position + 1) * 10) + " REM ";
    const std::string_view line = quoted;
    if (line.starts_with(quotedLabel))
        out.append("\"REM ").append(line.substr(quotedLabel.size()));
    else if (line.starts_with(quotedSub))
        out.append("\"REM ").append(line.substr(quotedSub.size()));
    else
        out.append(line);
    return out;
}

} // namespace

void BuildListing(std::span<const TListingBlock> blocks, TSimpleXML& scratch,
                  std::vector<std::string>& lines) {
    lines.clear();
    lines.push_back(QuoteStatement("DEDEVAV"));
    std::vector<std::string> blockLines;
    for (const TListingBlock& block : blocks) {
        TranslateBlock(block.TagCode, block.DataText, scratch, blockLines);
        for (std::string& line : blockLines)
            lines.push_back(std::move(line));
    }

    // Both tables are taken before anything is resolved.
    std::vector<std::string> statements;
    statements.reserve(lines.size());
    for (const std::string& line : lines)
        statements.push_back(DequoteStatement(line));
    const auto labels = CollectDefinitions(statements, LabelPrefix);
    const auto subs = CollectDefinitions(statements, SubPrefix);
    std::vector<bool> changed(statements.size(), false);
    ResolveNames(statements, changed, labels, LabelPrefix);
    ResolveNames(statements, changed, subs, SubPrefix);

    std::vector<std::string> listing;
    listing.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        listing.push_back(WrapLine(i, changed[i] ? QuoteStatement(statements[i]) : lines[i]));
    lines.swap(listing);
}

std::vector<TListingBlock> ListingBlocksOf(const TProgram& program) {
    std::vector<TListingBlock> blocks;
    blocks.reserve(program.Count());
    for (const TProgramBlock& block : program.AllBlocks())
        blocks.push_back({TagBlockBase + block.Kind, block.Record});
    return blocks;
}
