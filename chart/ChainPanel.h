#pragma once

// Fields shared by the start, end and block elements: one canvas object and
// the place the last layout gave it.

#include "chart/ChainElement.h"

#include <cstdint>

class TFcObject;

class TChainPanel : public TChainElement {
public:
    ~TChainPanel() override;

    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 90;
    int32_t Height = 32;
    TChainList* List;
    TFlowChart* Chart;
    TFcObject* ChartObject = nullptr;

protected:
    TChainPanel(TChainElementKind kind, TFlowChart* chart, TChainList* list)
        : TChainElement(kind), List(list), Chart(chart) {}
};
