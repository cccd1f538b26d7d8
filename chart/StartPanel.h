#pragma once

// The yellow rounded "开始" box at the head of every program.

#include "chart/ChainPanel.h"

class TStartPanel : public TChainPanel {
public:
    TStartPanel(TFlowChart* chart, TChainList* list);
};
