#pragma once

// The .rer flowchart file as a tree: building it from the blocks' record texts
// in chain order, and reading a parsed file back into the records to append.
// The chain itself is rebuilt by the desktop document code; everything here is
// bytes and works without a window, so the command line uses it too.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

class TSimpleXML;
class TSimpleXMLElemClassic;

inline constexpr const char* FlowchartRootName = "VAZIREZA";
inline constexpr const char* FlowchartRecordName = "record";

// One block read from a file, ready to be appended.
struct TLoadedBlock {
    int Kind = 0;           // 1 to 6 or 9 to 26
    std::string RecordText; // the record re-printed in the program's own form
    // Kinds 11, 12, 13, 20, 23, 25: the decoded value shown after the chart
    // prefix (GBK bytes); empty when the block keeps its palette caption.
    std::string ChartValue;
    // Kind 26: the stored phrase index (-1 when missing or not a number).
    int32_t PhraseIndex = -1;
};

// Makes doc's root the file tree of the given record texts, in order: each is
// read into scratch and deep-copied into a record element of its own.
void BuildFileTree(TSimpleXML& doc, TSimpleXML& scratch, std::span<const std::string> recordTexts);

// Reads the blocks out of a parsed file document. Records are taken by
// position, not by name; records of kinds 7, 8, of unknown or missing types,
// and record elements without children are skipped, and counted in
// skippedRecords when it is given.
std::vector<TLoadedBlock> ReadFileTree(const TSimpleXML& fileDoc, TSimpleXML& scratch,
                                       int* skippedRecords = nullptr);

// The kinds and record texts of the blocks ReadFileTree reads, as a program
// model is reset with them.
std::vector<std::pair<int, std::string>> ProgramOfFileTree(const TSimpleXML& fileDoc,
                                                           TSimpleXML& scratch,
                                                           int* skippedRecords = nullptr);

// The values a block of kind shows, read from its record element (the record
// text is left empty).
TLoadedBlock ReadBlockValues(const TSimpleXMLElemClassic& record, int kind);

// Signs that a file opened as far as it could be read is not whole. The
// reader keeps loading such files as it always did (stored files may rely
// on it); the user is told.
struct TFileDamage {
    bool EndedInsideElement = false; // the input stopped inside an open element
    bool NoElement = false;          // no root element at all (an empty file)
    int SkippedRecords = 0;          // records that made no block
    bool Any() const { return EndedInsideElement || NoElement || SkippedRecords > 0; }
};
TFileDamage FileDamageOf(const TSimpleXML& fileDoc, int skippedRecords);
