#include "chart/ProgramChain.h"

#include "blocks/BlockCatalogue.h"
#include "chart/EndPanel.h"
#include "chart/FlowChart.h"
#include "chart/NormalSpot.h"
#include "chart/SeqPanel.h"
#include "chart/StartPanel.h"

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

} // namespace

TProgramChain::TProgramChain(TFlowChart* chart, TSimpleXML* scratch, QObject* parent)
    : QObject(parent), Chart(chart), Scratch(scratch) {
    Chart->OnSelection = [this](TCustomFlowChart* sender, TFcItem* item, bool& allow) {
        FlowChart1Selection(sender, item, allow);
    };
}

TProgramChain::~TProgramChain() {
    Chart->OnSelection = nullptr;
    FreeChain();
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
    Relayout();
    StartObject = startPanel->ChartObject;
    EndObject = endPanel->ChartObject;
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
    // The loader sets the height of the block it has just appended, which
    // stands before the last spot; looking there first keeps loading linear.
    int i = -1;
    if (Chain.size() >= 5) {
        auto* last = dynamic_cast<TChainPanel*>(Chain[Chain.size() - 3].get());
        if (last && last->ElementKind() == TChainElementKind::Seq && last->ChartObject == object)
            i = int(Chain.size() - 3);
    }
    if (i < 0)
        i = IndexOfBlock(object);
    if (i < 0 || object == nullptr)
        return;
    auto* block = static_cast<TChainPanel*>(Chain[size_t(i)].get());
    object->SetHeight(uint16_t(height));
    block->Height = height;
}

void TProgramChain::DeleteBlock(TFcObject* object) {
    if (object == nullptr)
        return;
    const int i = IndexOfBlock(object);
    if (i == -1)
        return;
    for (int removed = 0; removed < 2 && size_t(i) < Chain.size(); ++removed) {
        std::unique_ptr<TChainElement> e = std::move(Chain[size_t(i)]);
        Chain.erase(Chain.begin() + i);
        FreeElement(std::move(e));
    }
    Relayout();
    if (TNormalSpot* before = AsSpot(At(i - 1))) {
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
    allow = !(object == StartObject || object == EndObject || IndexOfSpotCell(object) != -1);
}

void TProgramChain::ShowBlockValue(TFcObject* object, const QString& value) {
    const TBlockKind* kind = object ? FindBlockKindByTag(object->TagCode) : nullptr;
    if (!kind)
        return;
    if (value.isEmpty()) {
        SetBlockHeight(object, 32);
        object->SetText(CaptionOf(kind->Kind));
    } else {
        SetBlockHeight(object, 40);
        object->SetText(
            QString::fromUtf8(kind->ChartPrefix.data(), qsizetype(kind->ChartPrefix.size())) +
            value);
    }
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
    TFcObject* selected = Chart->Selection();
    if (selected == nullptr || IndexOfSpotMarker(selected) == -1 ||
        selected->TagCode != TagSpotMarker)
        return;
    const TBlockKind* k = FindBlockKind(kind);
    if (k == nullptr || !k->HasRecord())
        return;
    const QString caption = CaptionOf(kind);
    // Built before the chain changes, so that a failure leaves it whole.
    std::string record = BuildDefaultRecord(*Scratch, kind);

    auto spot = std::make_unique<TNormalSpot>(Chart, &Chain, true);
    TNormalSpot* newSpot = spot.get();
    Chain.insert(Chain.begin() + IndexOfSpotMarker(selected) + 1, std::move(spot));
    SetElementLeft(newSpot, ChainLeft);

    std::unique_ptr<TChainElement> block = NewBlock(kind, caption, std::move(record));
    TChainPanel* newBlock = static_cast<TChainPanel*>(block.get());
    Chain.insert(Chain.begin() + IndexOfSpotMarker(selected) + 1, std::move(block));
    SetElementLeft(newBlock, ChainLeft);

    Relayout();
    Chart->SetSelection(newBlock->ChartObject);
    newBlock->ChartObject->ScrollIntoView();
}

void TProgramChain::AppendBlock(int kind) {
    const QString caption = CaptionOf(kind);
    // Throws for kinds without a record before anything changes.
    std::string record = BuildDefaultRecord(*Scratch, kind);
    const TBlockKind* k = FindBlockKind(kind);
    if (k == nullptr || !k->HasRecord())
        throw std::invalid_argument("block kind " + std::to_string(kind) + " has no record");
    if (Chain.empty())
        throw std::logic_error("AppendBlock on a chain that was never built");

    const auto n = Chain.size() - 1;
    auto spot = std::make_unique<TNormalSpot>(Chart, &Chain, true);
    TNormalSpot* newSpot = spot.get();
    Chain.insert(Chain.begin() + std::ptrdiff_t(n), std::move(spot));
    SetElementLeft(newSpot, ChainLeft);

    std::unique_ptr<TChainElement> block = NewBlock(kind, caption, std::move(record));
    TChainPanel* newBlock = static_cast<TChainPanel*>(block.get());
    Chain.insert(Chain.begin() + std::ptrdiff_t(n), std::move(block));
    SetElementLeft(newBlock, ChainLeft);
    LastAppended = newBlock->ChartObject;
}
