#pragma once

// Turns one block into its DEDEVAV statements. Label and subroutine names are
// left as the placeholders "label: NAME" and "sub: NAME" for the listing
// assembly to resolve; everything else is final robot text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TSimpleXML;

// Empties `lines`, then appends zero, one or two quoted statements for the
// block with this tag code and record text. The record is read into `scratch`
// (the main window's record scratch document), replacing what it held; blocks
// that need no parameters never read it, so "END" and "RETURN" come out even
// from a broken record. A record that does not parse raises the parser's
// ESimpleXMLError with nothing appended.
void TranslateBlock(int32_t tagCode, std::string_view dataText, TSimpleXML& scratch,
                    std::vector<std::string>& lines);
