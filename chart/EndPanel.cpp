#include "chart/EndPanel.h"

#include "blocks/BlockCatalogue.h"
#include "chart/FlowChart.h"

TEndPanel::TEndPanel(TFlowChart* chart, TChainList* list)
    : TChainPanel(TChainElementKind::End, chart, list) {
    ChartObject = Chart->AddObject(0, 0, 90, 32, 0);
    ChartObject->SetOutlineWidth(0);
    ChartObject->SetImageIndex(0);
    ChartObject->SetImageHAlign(1);
    ChartObject->SetImageVAlign(0);
    ChartObject->TagCode = TagEndBlock;
}
