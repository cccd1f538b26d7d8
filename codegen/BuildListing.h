#pragma once

// The compile: the statements of all blocks in chain order, numbered 10, 20,
// 30, with label and subroutine names replaced by the line numbers of their
// definitions, each wrapped as NUMBER REM "STATEMENT".

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TProgram;
class TSimpleXML;

// What the compile needs of a block: its chart object's tag code and record
// text, in chain order. Start, end and spot elements are simply left out.
struct TListingBlock {
    int32_t TagCode;
    std::string DataText;
};

// The compile's input from a program model, in program order: what the
// window and the command line both compile.
std::vector<TListingBlock> ListingBlocksOf(const TProgram& program);

// Replaces the content of `lines` with the listing (lines without line ends).
//
// `lines` is filled as the compile goes, so that it always holds what the
// listing pane holds at that point: when a block's record does not parse, the
// ESimpleXMLError leaves it holding the quoted header and the quoted
// statements of the blocks before that one, unnumbered, and the caller shows
// those lines as they are. Records are read into `scratch`.
void BuildListing(std::span<const TListingBlock> blocks, TSimpleXML& scratch,
                  std::vector<std::string>& lines);
