#include "chart/StartPanel.h"

#include "blocks/BlockCatalogue.h"
#include "chart/FlowChart.h"

using namespace Qt::StringLiterals;

TStartPanel::TStartPanel(TFlowChart* chart, TChainList* list)
    : TChainPanel(TChainElementKind::Start, chart, list) {
    ChartObject = Chart->AddObject(0, 0, 90, 32, 3);
    ChartObject->SetText(u"开始"_s);
    ChartObject->SetTextHAlign(1);
    ChartObject->SetTextVAlign(1);
    ChartObject->SetFillColor(clYellow);
    TFcFont font = ChartObject->Font();
    font.Color = clBlack;
    font.Height = -16;
    font.Style |= fsBold;
    font.Name = u"宋体"_s;
    ChartObject->SetFont(font);
    ChartObject->TagCode = TagStartBlock;
}
