#pragma once

// The program chain: start, a spot, then pairs of block and spot, then end,
// in program order. It is the view of a program model: it owns the elements
// (and through them their canvas objects), patches them from the model's
// change notifications and lays them out as one vertical stack. Block i of
// the program is chain element 2 + 2i, the spot after it 3 + 2i. Its own
// operations (insert, append, delete) change the model, never the elements.

#include "chart/ChainElement.h"
#include "chart/FcTypes.h"
#include "program/Program.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct TBlockKind;
class TChainPanel;
class TCustomFlowChart;
class TFcItem;
class TFcObject;
class TFlowChart;
class TSimpleXML;

class TProgramChain : public QObject {
    Q_OBJECT
public:
    // Caption of palette item kind: the text a new block of that kind shows.
    using TCaptionSource = std::function<QString(int kind)>;

    // Installs the selection rule as the canvas's OnSelection. Records are
    // built in scratch, the main window's scratch document.
    // The canvas must outlive the chain: elements delete their objects from it.
    TProgramChain(TFlowChart* chart, TSimpleXML* scratch, QObject* parent = nullptr);
    ~TProgramChain() override;

    // The voice phrases a speech block shows, in phrase order.
    using TPhraseSource = std::function<QStringList()>;

    // Without a source the catalogue's captions are used.
    void SetCaptionSource(TCaptionSource source) { CaptionSource = std::move(source); }
    // Without a source a speech block shows its phrase number.
    void SetPhraseSource(TPhraseSource source) { PhraseSource = std::move(source); }
    // What a block shows after its kind's chart prefix, read from its
    // record: the label, name, condition or expression, or the speech
    // block's phrase (its number beyond the phrase list); empty, and so the
    // palette caption at height 32, for a record without one.
    QString ValueOf(const TProgramBlock& block) const;
    TFlowChart* Canvas() const { return Chart; }

    // The model shown; the chain starts with one of its own. Showing another
    // rebuilds the elements from it; it must outlive the chain or be
    // replaced first.
    TProgram& Program() const { return *Model; }
    void SetProgram(TProgram* program);

    // The program index of a block's object, or -1.
    int BlockIndexOf(const TFcObject* object) const;
    TFcObject* BlockObjectAt(std::size_t index) const;
    // The program index a block inserted at the selection goes to: after the
    // selected spot or the selected block; none without such a selection.
    std::optional<std::size_t> InsertionIndex() const;
    // Selects block index and scrolls it into view.
    void SelectBlock(std::size_t index);
    // The selected blocks as first index and count, when the selection is one
    // block or a contiguous run of blocks; none otherwise (a spot, nothing).
    std::optional<std::pair<std::size_t, std::size_t>> SelectedBlocks() const;
    // The spot nearest to p (content coordinates) in height, as the place a
    // dragged block goes: spot s stands before block s (s == Count() after
    // the last). None for a point left or right of the column.
    std::optional<std::size_t> SpotIndexAt(TFcPoint p) const;
    TFcObject* SpotMarkerAt(std::size_t spot) const;

    // Moves the selection one element along the chain (blocks and spots),
    // never onto start or end.
    void StepSelection(int step);
    // Selects the run first..first+count-1, each block showing its marks.
    void SelectBlocks(std::size_t first, std::size_t count);
    // Selects the spot before block index (the spot after the last block for
    // Count()), as after a deletion.
    void SelectSpotBefore(std::size_t index);
    // Selects the spot before block index once the current event handler
    // has returned (a dialog that deleted the block is still on the stack).
    void ReselectSpotLater(std::size_t index);

    int Count() const { return int(Chain.size()); }
    TChainElement* At(int i) const;
    // The objects of the blocks in program order; each carries its kind as
    // TagCode (576 + kind) and its parameter record as DataText.
    std::vector<TFcObject*> BlockObjects() const;

    void BuildInitialChain();
    void FreeChain();
    void Relayout();
    void PlaceElement(TChainElement* element, int32_t left, int32_t top);
    void SetElementLeft(TChainElement* element, int32_t left);
    int32_t ElementLeft(const TChainElement* element) const;
    int32_t ElementHeight(const TChainElement* element) const;

    int IndexOfBlock(const TFcObject* object) const;
    int IndexOfSpotMarker(const TFcObject* object) const;
    int IndexOfSpotCell(const TFcObject* object) const;

    // Changes a block's height (32, or 40 for two lines of text); the caller
    // lays the chain out again.
    void SetBlockHeight(TFcObject* object, int height);
    // The chart text of the kinds that show a value (labels, jumps, expressions,
    // subroutines, speech): the kind's prefix and value at height 40, or with
    // no value the palette caption at height 32. The caller lays out again.
    void ShowBlockValue(TFcObject* object, const QString& value);
    // Removes the block and the spot after it; the spot before it becomes the
    // selection once the current event handler has returned. The object no
    // longer exists afterwards.
    void DeleteBlock(TFcObject* object);

    void MoveWithAttached(TFcObject* object, int32_t left, int32_t top);
    void CollectAttached(TFcObject* object);
    // Destroys one element and with it its canvas objects.
    void FreeElement(std::unique_ptr<TChainElement> element);

    // The selection rule: only blocks and spot markers may be selected.
    void FlowChart1Selection(TCustomFlowChart* sender, TFcItem* item, bool& allow);

    // A block of kind after the selected spot or block; otherwise nothing
    // happens. The new block becomes the selection.
    void InsertBlock(int kind);
    // A block of kind at the end of the program, the selection left as it
    // is; LastAppended is its object. Throws std::invalid_argument for a kind
    // without a record, before anything changes.
    void AppendBlock(int kind);

    std::vector<TFcObject*> MoveList;
    TChainList Chain;
    TFcObject* ReselectTarget = nullptr;
    TFcObject* StartObject = nullptr;
    TFcObject* EndObject = nullptr;
    TFcObject* LastAppended = nullptr;

signals:
    // A queued re-selection has been carried out.
    void SpotReselected();

private:
    void ProgramChanged(const TProgramChange& change);
    void InsertElements(std::size_t first, std::size_t count);
    void ShowBlock(TChainPanel* panel, const TProgramBlock& block);
    void ShowValueOn(TChainPanel* panel, const TBlockKind& kind, const QString& value);
    void RelayoutFrom(std::size_t chainIndex);
    // Takes count elements from chain index from out of the chain.
    std::vector<std::unique_ptr<TChainElement>> TakeElements(std::size_t from, std::size_t count);
    void WMReselectSpot();
    QString CaptionOf(int kind) const;
    std::unique_ptr<TChainElement> NewBlock(int kind, const QString& caption, std::string record);

    TFlowChart* Chart;
    TSimpleXML* Scratch;
    TCaptionSource CaptionSource;
    TPhraseSource PhraseSource;
    std::unique_ptr<TSimpleXML> ValueScratch;
    std::unique_ptr<TProgram> OwnProgram;
    TProgram* Model = nullptr;
    int ListenerHandle = 0;
};
