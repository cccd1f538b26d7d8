#include "chart/ChainPanel.h"

#include "chart/FlowChart.h"

TChainPanel::~TChainPanel() {
    Chart->RemoveObject(ChartObject);
}
