#pragma once

// An insertion spot between two steps: an invisible cell the size of a block
// that groups a small pale marker (the part the user selects) and two
// zero-size anchors from which the lines run up and down to the neighbours.

#include "chart/ChainElement.h"

#include <cstdint>

class TFcObject;

class TNormalSpot : public TChainElement {
public:
    TNormalSpot(TFlowChart* chart, TChainList* list, bool vertical);
    ~TNormalSpot() override;

    // Puts the marker back on the cell.
    void CenterMarker();

    TFcObject* TopAnchor = nullptr;
    TFcObject* BottomAnchor = nullptr;
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 90;
    int32_t Height = 32;
    TChainList* List;
    TFlowChart* Chart;
    bool Vertical;
    TFcObject* Cell = nullptr;
    TFcObject* Marker = nullptr;
};
