#pragma once

// The end of every program: the canvas picture (a robot's head) centred at
// the top of an unframed box.

#include "chart/ChainPanel.h"

class TEndPanel : public TChainPanel {
public:
    TEndPanel(TFlowChart* chart, TChainList* list);
};
