#include "chart/NormalSpot.h"

#include "blocks/BlockCatalogue.h"
#include "chart/FlowChart.h"

namespace {
constexpr TColor MarkerColor = 0xAAEBFF;
constexpr int MarkerLeft = 25;
constexpr int MarkerTop = 9;
} // namespace

TNormalSpot::TNormalSpot(TFlowChart* chart, TChainList* list, bool vertical)
    : TChainElement(TChainElementKind::Spot), List(list), Chart(chart), Vertical(vertical) {
    Cell = Chart->AddObject(0, 0, 90, 32, 0);
    Marker = Chart->AddObject(MarkerLeft, MarkerTop, 40, 14, 1);
    Marker->SetFillColor(MarkerColor);
    Marker->SetEdgeKind(5);
    Marker->SetEdgeSides(15);
    Marker->TagCode = TagSpotMarker;
    Cell->AttachObject(Marker);
    TopAnchor = Chart->AddObject();
    Cell->AttachObject(TopAnchor);
    BottomAnchor = Chart->AddObject();
    Cell->AttachObject(BottomAnchor);
    // Row -1 is the last row of the element above and row 32 the first of
    // the element below, so the lines join the marker to its neighbours.
    TopAnchor->SetBounds(45, -1, 0, 0);
    BottomAnchor->SetBounds(45, 32, 0, 0);
    Chart->AddConnection(TopAnchor, Marker, 0, 2)->SetStyle(0);
    Chart->AddConnection(Marker, BottomAnchor, 10, 0)->SetStyle(0);
}

TNormalSpot::~TNormalSpot() {
    Chart->RemoveObject(TopAnchor);
    Chart->RemoveObject(BottomAnchor);
    Chart->RemoveObject(Cell);
    Chart->RemoveObject(Marker);
}

void TNormalSpot::CenterMarker() {
    Marker->SetLeft(Cell->Left() + MarkerLeft);
    Marker->SetTop(Cell->Top() + MarkerTop);
}
