#include "chart/ProgramChain.h"

#include "blocks/BlockCatalogue.h"
#include "chart/EndPanel.h"
#include "chart/FlowChart.h"
#include "chart/NormalSpot.h"
#include "chart/SeqPanel.h"
#include "chart/StartPanel.h"
#include "document/FlowchartFile.h"
#include "gbk/GbkText.h"
#include "xml/SimpleXML.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr int32_t ChainLeft = 70;
constexpr int32_t ChainTop = 16;

TChainPanel* AsPanel(TChainElement* e) {
    return e != nullptr && e->ElementKind() != TChainElementKind::Spot
               ? static_cast<TChainPanel*>(e)
               : nullptr;
}
const TChainPanel* AsPanel(const TChainElement* e) {
    return AsPanel(const_cast<TChainElement*>(e));
}
TNormalSpot* AsSpot(TChainElement* e) {
    return e != nullptr && e->ElementKind() == TChainElementKind::Spot
               ? static_cast<TNormalSpot*>(e)
               : nullptr;
}
const TNormalSpot* AsSpot(const TChainElement* e) {
    return AsSpot(const_cast<TChainElement*>(e));
}

// Keeps the canvas's update bracket balanced whatever happens inside it.
class TChartUpdate {
public:
    explicit TChartUpdate(TFlowChart* chart) : Chart(chart) { Chart->BeginUpdate(); }
    ~TChartUpdate() { Chart->EndUpdate(); }
    TChartUpdate(const TChartUpdate&) = delete;
    TChartUpdate& operator=(const TChartUpdate&) = delete;

private:
    TFlowChart* Chart;
};

std::size_t BlockElementIndex(std::size_t block) {
    return 2 + 2 * block;
}

} // namespace

TProgramChain::TProgramChain(TFlowChart* chart, TSimpleXML* scratch, QObject* parent)
    : QObject(parent), Chart(chart), Scratch(scratch), ValueScratch(std::make_unique<TSimpleXML>()),
      OwnProgram(std::make_unique<TProgram>()), Model(OwnProgram.get()) {
    Chart->OnSelection = [this](TCustomFlowChart* sender, TFcItem* item, bool& allow) {
        FlowChart1Selection(sender, item, allow);
    };
    ListenerHandle = Model->AddListener([this](const TProgramChange& c) { ProgramChanged(c); });
}

TProgramChain::~TProgramChain() {
    Model->RemoveListener(ListenerHandle);
    Chart->OnSelection = nullptr;
    FreeChain();
}

void TProgramChain::SetProgram(TProgram* program) {
    Model->RemoveListener(ListenerHandle);
    Model = program ? program : OwnProgram.get();
    ListenerHandle = Model->AddListener([this](const TProgramChange& c) { ProgramChanged(c); });
    BuildInitialChain();
}

std::vector<std::unique_ptr<TChainElement>> TProgramChain::TakeElements(std::size_t from,
                                                                         std::size_t count) {
    const auto begin = Chain.begin() + std::ptrdiff_t(from);
    const auto end = begin + std::ptrdiff_t(count);
    std::vector<std::unique_ptr<TChainElement>> taken(std::make_move_iterator(begin),
                                                      std::make_move_iterator(end));
    Chain.erase(begin, end);
    return taken;
}

void TProgramChain::ProgramChanged(const TProgramChange& change) {
    // Before the first BuildInitialChain there is nothing to patch yet.
    if (Chain.size() < 3 && change.Kind != TProgramChange::TKind::Reset)
        return;
    TChartUpdate update(Chart);
    switch (change.Kind) {
    case TProgramChange::TKind::Inserted:
        InsertElements(change.First, change.Count);
        break;
    case TProgramChange::TKind::Removed: {
        const std::size_t from = BlockElementIndex(change.First);
        for (auto& element : TakeElements(from, 2 * change.Count))
            FreeElement(std::move(element));
        RelayoutFrom(from);
        break;
    }
    case TProgramChange::TKind::RecordChanged: {
        const std::size_t at = BlockElementIndex(change.First);
        auto* panel = static_cast<TChainPanel*>(Chain[at].get());
        const int32_t height = ElementHeight(panel);
        ShowBlock(panel, Model->At(change.First));
        // A dialog's OK mostly keeps the block's height; then nothing below
        // moves, and walking the rest of a long chain would cost every edit.
        if (ElementHeight(panel) != height)
            RelayoutFrom(at);
        break;
    }
    case TProgramChange::TKind::Moved: {
        std::vector<std::unique_ptr<TChainElement>> moving =
            TakeElements(BlockElementIndex(change.First), 2 * change.Count);
        Chain.insert(Chain.begin() + std::ptrdiff_t(BlockElementIndex(change.To)),
                     std::make_move_iterator(moving.begin()), std::make_move_iterator(moving.end()));
        RelayoutFrom(BlockElementIndex(std::min(change.First, change.To)));
        break;
    }
    case TProgramChange::TKind::Reset:
        BuildInitialChain();
        break;
    }
}

void TProgramChain::InsertElements(std::size_t first, std::size_t count) {
    std::vector<std::unique_ptr<TChainElement>> made;
    made.reserve(2 * count);
    for (std::size_t k = 0; k < count; ++k) {
        const TProgramBlock& block = Model->At(first + k);
        std::unique_ptr<TChainElement> element = NewBlock(block.Kind, CaptionOf(block.Kind), block.Record);
        auto* panel = static_cast<TChainPanel*>(element.get());
        SetElementLeft(panel, ChainLeft);
        ShowBlock(panel, block);
        LastAppended = panel->ChartObject;
        made.push_back(std::move(element));
        auto spot = std::make_unique<TNormalSpot>(Chart, &Chain, true);
        SetElementLeft(spot.get(), ChainLeft);
        made.push_back(std::move(spot));
    }
    const std::size_t at = BlockElementIndex(first);
    Chain.insert(Chain.begin() + std::ptrdiff_t(at), std::make_move_iterator(made.begin()),
                 std::make_move_iterator(made.end()));
    RelayoutFrom(at);
}

void TProgramChain::ShowBlock(TChainPanel* panel, const TProgramBlock& block) {
    panel->ChartObject->DataText = block.Record;
    const TBlockKind* kind = FindBlockKind(block.Kind);
    if (kind && !kind->ChartPrefix.empty())
        ShowValueOn(panel, *kind, ValueOf(block));
}

void TProgramChain::ShowValueOn(TChainPanel* panel, const TBlockKind& kind, const QString& value) {
    TFcObject* object = panel->ChartObject;
    const int height = value.isEmpty() ? 32 : 40;
    object->SetHeight(uint16_t(height));
    panel->Height = height;
    if (value.isEmpty())
        object->SetText(CaptionOf(kind.Kind));
    else
        object->SetText(
            QString::fromUtf8(kind.ChartPrefix.data(), qsizetype(kind.ChartPrefix.size())) + value);
}

QString TProgramChain::ValueOf(const TProgramBlock& block) const {
    try {
        ValueScratch->ReadText(block.Record);
    } catch (const ESimpleXMLError&) {
        return QString(); // a record that does not read shows its caption
    }
    const TLoadedBlock values = ReadBlockValues(*ValueScratch->RootElem(), block.Kind);
    if (block.Kind != KindNumber(TKindId::VOICEX))
        return GbkDecode(values.ChartValue);
    if (values.PhraseIndex < 0)
        return QString();
    const QStringList phrases = PhraseSource ? PhraseSource() : QStringList{};
    return values.PhraseIndex < phrases.size() ? phrases.at(values.PhraseIndex)
                                               : QString::number(values.PhraseIndex);
}

void TProgramChain::RelayoutFrom(std::size_t chainIndex) {
    if (chainIndex == 0 || chainIndex > Chain.size()) {
        Relayout();
        return;
    }
    const TChainElement* before = Chain[chainIndex - 1].get();
    const TChainPanel* panel = AsPanel(before);
    int32_t y = (panel ? panel->Top : AsSpot(before)->Top) + ElementHeight(before);
    for (std::size_t i = chainIndex; i < Chain.size(); ++i) {
        TChainElement* e = Chain[i].get();
        PlaceElement(e, ElementLeft(e), y);
        y += ElementHeight(e);
    }
}

int TProgramChain::BlockIndexOf(const TFcObject* object) const {
    const int i = IndexOfBlock(object);
    return i < 0 ? -1 : (i - 2) / 2;
}

TFcObject* TProgramChain::BlockObjectAt(std::size_t index) const {
    const TChainPanel* panel = AsPanel(At(int(BlockElementIndex(index))));
    return panel && panel->ElementKind() == TChainElementKind::Seq ? panel->ChartObject : nullptr;
}

std::optional<std::size_t> TProgramChain::InsertionIndex() const {
    const TFcObject* selected = Chart->Selection();
    if (selected == nullptr) {
        // After the last block of a selected run.
        if (const auto run = SelectedBlocks())
            return run->first + run->second;
        return std::nullopt;
    }
    if (const int spot = IndexOfSpotMarker(selected);
        spot != -1 && selected->TagCode == TagSpotMarker)
        return std::size_t((spot - 1) / 2);
    // After a block as well, so that clicking 直行, 转向, 直行 builds them in
    // that order.
    if (const int block = BlockIndexOf(selected); block != -1)
        return std::size_t(block) + 1;
    return std::nullopt;
}

void TProgramChain::SelectBlock(std::size_t index) {
    if (TFcObject* object = BlockObjectAt(index)) {
        Chart->SetSelection(object);
        object->ScrollIntoView();
    }
}

std::optional<std::pair<std::size_t, std::size_t>> TProgramChain::SelectedBlocks() const {
    const std::vector<TFcObject*>& selected = Chart->SelectedObjectList();
    if (selected.empty())
        return std::nullopt;
    std::size_t low = Model->Count();
    std::size_t high = 0;
    for (const TFcObject* object : selected) {
        const int index = BlockIndexOf(object);
        if (index < 0)
            return std::nullopt;
        low = std::min(low, std::size_t(index));
        high = std::max(high, std::size_t(index));
    }
    if (high - low + 1 != selected.size())
        return std::nullopt;
    return std::pair{low, selected.size()};
}

std::optional<std::size_t> TProgramChain::SpotIndexAt(TFcPoint p) const {
    // The column: the blocks' width around the chain's left edge, with room
    // for a hand that is not quite on it.
    constexpr int32_t Reach = 60;
    const int32_t left = ChainLeft - Reach;
    const int32_t right = ChainLeft + 90 + Reach;
    if (Chain.size() < 3 || p.X < left || p.X > right)
        return std::nullopt;
    std::optional<std::size_t> best;
    int32_t bestDistance = 0;
    for (std::size_t s = 0; 1 + 2 * s < Chain.size() - 1; ++s) {
        const TNormalSpot* spot = AsSpot(Chain[1 + 2 * s].get());
        if (!spot)
            continue;
        const int32_t centre = spot->Top + spot->Cell->Height() / 2;
        const int32_t distance = std::abs(p.Y - centre);
        if (!best || distance < bestDistance) {
            best = s;
            bestDistance = distance;
        }
        // Spots go down the column: once they move away, the nearest is found.
        if (centre > p.Y)
            break;
    }
    return best;
}

TFcObject* TProgramChain::SpotMarkerAt(std::size_t spot) const {
    const TNormalSpot* element = AsSpot(At(int(1 + 2 * spot)));
    return element ? element->Marker : nullptr;
}

void TProgramChain::StepSelection(int step) {
    const TFcObject* selected = Chart->Selection();
    int at = -1;
    if (selected) {
        at = IndexOfBlock(selected);
        if (at < 0)
            at = IndexOfSpotMarker(selected);
    } else if (const auto run = SelectedBlocks()) {
        at = int(BlockElementIndex(step < 0 ? run->first : run->first + run->second - 1));
    }
    if (at < 0)
        return;
    const int to = std::clamp(at + step, 1, Count() - 2);
    if (TChainPanel* panel = AsPanel(At(to)))
        Chart->SetSelection(panel->ChartObject);
    else if (TNormalSpot* spot = AsSpot(At(to)))
        Chart->SetSelection(spot->Marker);
    if (const TFcObject* now = Chart->Selection())
        const_cast<TFcObject*>(now)->ScrollIntoView();
}

void TProgramChain::SelectBlocks(std::size_t first, std::size_t count) {
    std::vector<TFcObject*> objects;
    for (std::size_t i = first; i < first + count && i < Model->Count(); ++i)
        objects.push_back(BlockObjectAt(i));
    Chart->SelectObjects(objects);
    if (!objects.empty())
        objects.back()->ScrollIntoView();
}

void TProgramChain::SelectSpotBefore(std::size_t index) {
    if (TNormalSpot* spot = AsSpot(At(int(BlockElementIndex(index)) - 1))) {
        Chart->SetSelection(spot->Marker);
        spot->Marker->ScrollIntoView();
    }
}

TChainElement* TProgramChain::At(int i) const {
    return i >= 0 && i < Count() ? Chain[size_t(i)].get() : nullptr;
}

std::vector<TFcObject*> TProgramChain::BlockObjects() const {
    std::vector<TFcObject*> blocks;
    for (const auto& e : Chain)
        if (e->ElementKind() == TChainElementKind::Seq)
            blocks.push_back(static_cast<const TChainPanel*>(e.get())->ChartObject);
    return blocks;
}

void TProgramChain::BuildInitialChain() {
    TChartUpdate update(Chart);
    // Callers free the old chain first; one that did not would leave its
    // objects on the canvas with no element to own them.
    FreeChain();
    auto start = std::make_unique<TStartPanel>(Chart, &Chain);
    auto spot = std::make_unique<TNormalSpot>(Chart, &Chain, true);
    auto end = std::make_unique<TEndPanel>(Chart, &Chain);
    TStartPanel* startPanel = start.get();
    TNormalSpot* firstSpot = spot.get();
    TEndPanel* endPanel = end.get();
    Chain.push_back(std::move(start));
    Chain.push_back(std::move(spot));
    Chain.push_back(std::move(end));
    Chart->SetSelection(firstSpot->Marker);
    SetElementLeft(startPanel, ChainLeft);
    SetElementLeft(firstSpot, ChainLeft);
    SetElementLeft(endPanel, ChainLeft);
    StartObject = startPanel->ChartObject;
    EndObject = endPanel->ChartObject;
    // The blocks of the model shown, if it has any.
    if (!Model->Empty())
        InsertElements(0, Model->Count());
    Relayout();
}

void TProgramChain::FreeChain() {
    while (!Chain.empty()) {
        std::unique_ptr<TChainElement> e = std::move(Chain.back());
        Chain.pop_back();
        FreeElement(std::move(e));
    }
    StartObject = nullptr;
    EndObject = nullptr;
    LastAppended = nullptr;
}

void TProgramChain::FreeElement(std::unique_ptr<TChainElement> element) {
    // A pending re-selection must not reach a marker that is gone.
    if (const TNormalSpot* spot = AsSpot(element.get()); spot && spot->Marker == ReselectTarget)
        ReselectTarget = nullptr;
    if (const TChainPanel* panel = AsPanel(element.get());
        panel && panel->ChartObject == LastAppended)
        LastAppended = nullptr;
    element.reset();
}

void TProgramChain::Relayout() {
    int32_t y = ChainTop;
    for (const auto& e : Chain) {
        PlaceElement(e.get(), ElementLeft(e.get()), y);
        y += ElementHeight(e.get());
    }
}

void TProgramChain::PlaceElement(TChainElement* element, int32_t left, int32_t top) {
    if (TChainPanel* panel = AsPanel(element)) {
        panel->ChartObject->SetLeft(left);
        panel->ChartObject->SetTop(top);
        panel->Left = left;
        panel->Top = top;
    } else if (TNormalSpot* spot = AsSpot(element)) {
        MoveWithAttached(spot->Cell, left, top);
        spot->CenterMarker();
        spot->Left = left;
        spot->Top = top;
    }
}

void TProgramChain::SetElementLeft(TChainElement* element, int32_t left) {
    if (TChainPanel* panel = AsPanel(element)) {
        panel->ChartObject->SetLeft(left);
        panel->Left = left;
    } else if (TNormalSpot* spot = AsSpot(element)) {
        MoveWithAttached(spot->Cell, left, spot->Cell->Top());
        spot->CenterMarker();
        spot->Left = left;
    }
}

int32_t TProgramChain::ElementLeft(const TChainElement* element) const {
    if (const TChainPanel* panel = AsPanel(element))
        return panel->Left;
    if (const TNormalSpot* spot = AsSpot(element))
        return spot->Left;
    return 0;
}

int32_t TProgramChain::ElementHeight(const TChainElement* element) const {
    if (const TChainPanel* panel = AsPanel(element))
        return panel->ChartObject->Height();
    if (const TNormalSpot* spot = AsSpot(element))
        return spot->Cell->Height();
    return 0;
}

int TProgramChain::IndexOfBlock(const TFcObject* object) const {
    for (size_t i = 0; i < Chain.size(); ++i)
        if (Chain[i]->ElementKind() == TChainElementKind::Seq &&
            static_cast<const TChainPanel*>(Chain[i].get())->ChartObject == object)
            return int(i);
    return -1;
}

int TProgramChain::IndexOfSpotMarker(const TFcObject* object) const {
    for (size_t i = 0; i < Chain.size(); ++i)
        if (const TNormalSpot* spot = AsSpot(Chain[i].get()); spot && spot->Marker == object)
            return int(i);
    return -1;
}

int TProgramChain::IndexOfSpotCell(const TFcObject* object) const {
    for (size_t i = 0; i < Chain.size(); ++i)
        if (const TNormalSpot* spot = AsSpot(Chain[i].get()); spot && spot->Cell == object)
            return int(i);
    return -1;
}

void TProgramChain::SetBlockHeight(TFcObject* object, int height) {
    const int i = IndexOfBlock(object);
    if (i < 0 || object == nullptr)
        return;
    auto* block = static_cast<TChainPanel*>(Chain[size_t(i)].get());
    object->SetHeight(uint16_t(height));
    block->Height = height;
}

void TProgramChain::DeleteBlock(TFcObject* object) {
    const int index = BlockIndexOf(object);
    if (index == -1)
        return;
    Model->Remove(std::size_t(index), 1);
    ReselectSpotLater(std::size_t(index));
}

void TProgramChain::ReselectSpotLater(std::size_t index) {
    if (TNormalSpot* before = AsSpot(At(int(BlockElementIndex(index)) - 1))) {
        before->Marker->ScrollIntoView();
        ReselectTarget = before->Marker;
        // The editor that asked for the deletion is still on the stack; the
        // selection moves only once it has returned to the event loop.
        QMetaObject::invokeMethod(this, &TProgramChain::WMReselectSpot, Qt::QueuedConnection);
    }
}

void TProgramChain::WMReselectSpot() {
    TFcObject* target = ReselectTarget;
    ReselectTarget = nullptr;
    if (target != nullptr && IndexOfSpotMarker(target) != -1) {
        Chart->SetSelection(target);
        emit SpotReselected();
    }
}

void TProgramChain::MoveWithAttached(TFcObject* object, int32_t left, int32_t top) {
    const int32_t dx = left - object->Left();
    const int32_t dy = top - object->Top();
    MoveList.clear();
    CollectAttached(object);
    for (TFcObject* p : MoveList) {
        p->SetLeft(p->Left() + dx);
        p->SetTop(p->Top() + dy);
    }
}

void TProgramChain::CollectAttached(TFcObject* object) {
    MoveList.push_back(object);
    for (int i = 0; i < object->AttachedCount(); ++i)
        CollectAttached(object->Attached(i));
}

void TProgramChain::FlowChart1Selection(TCustomFlowChart*, TFcItem* item, bool& allow) {
    if (item == nullptr)
        return;
    if (!item->IsObject()) {
        allow = false;
        return;
    }
    auto* object = static_cast<TFcObject*>(item);
    // Every object of the chain but a spot's cell carries a tag code, so only
    // an untagged one needs the search: selecting a block or a marker stays
    // cheap on a long chain.
    allow = !(object == StartObject || object == EndObject ||
              (object->TagCode == 0 && IndexOfSpotCell(object) != -1));
}

void TProgramChain::ShowBlockValue(TFcObject* object, const QString& value) {
    const TBlockKind* kind = object ? FindBlockKindByTag(object->TagCode) : nullptr;
    const int i = IndexOfBlock(object);
    if (kind && i >= 0)
        ShowValueOn(static_cast<TChainPanel*>(Chain[size_t(i)].get()), *kind, value);
}

QString TProgramChain::CaptionOf(int kind) const {
    if (CaptionSource)
        return CaptionSource(kind);
    const TBlockKind* k = FindBlockKind(kind);
    return k ? QString::fromUtf8(k->Caption.data(), qsizetype(k->Caption.size())) : QString();
}

std::unique_ptr<TChainElement> TProgramChain::NewBlock(int kind, const QString& caption,
                                                       std::string record) {
    auto block = std::make_unique<TSeqPanel>(Chart, &Chain, caption);
    block->ChartObject->SetImageIndex(int16_t(kind - 1));
    block->ChartObject->TagCode = TagBlockBase + kind;
    block->ChartObject->DataText = std::move(record);
    return block;
}

void TProgramChain::InsertBlock(int kind) {
    const std::optional<std::size_t> index = InsertionIndex();
    if (!index)
        return;
    const TBlockKind* k = FindBlockKind(kind);
    if (k == nullptr || !k->HasRecord())
        return;
    Model->Insert(*index, {TProgramBlock{0, kind, BuildDefaultRecord(*Scratch, kind)}});
    SelectBlock(*index);
}

void TProgramChain::AppendBlock(int kind) {
    // Throws for kinds without a record before anything changes.
    std::string record = BuildDefaultRecord(*Scratch, kind);
    const TBlockKind* k = FindBlockKind(kind);
    if (k == nullptr || !k->HasRecord())
        throw std::invalid_argument("block kind " + std::to_string(kind) + " has no record");
    if (Chain.empty())
        throw std::logic_error("AppendBlock on a chain that was never built");
    Model->Insert(Model->Count(), {TProgramBlock{0, kind, std::move(record)}});
}
