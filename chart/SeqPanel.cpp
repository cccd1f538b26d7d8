#include "chart/SeqPanel.h"

#include "chart/FlowChart.h"

using namespace Qt::StringLiterals;

void ApplyBlockStyle(TFcObject* object) {
    object->SetFillColor(clTeal);
    object->SetEdgeKind(5);
    object->SetEdgeSides(15);
    object->SetImageHAlign(0);
    object->SetImageVAlign(1);
    object->SetTextHAlign(1);
    object->SetTextVAlign(1);
}

void ApplyBlockFont(TFcFont& font) {
    font.Color = clWhite;
    font.Height = -16;
    font.Style |= fsBold;
    font.Name = u"宋体"_s;
}

TSeqPanel::TSeqPanel(TFlowChart* chart, TChainList* list, const QString& text)
    : TChainPanel(TChainElementKind::Seq, chart, list) {
    ChartObject = Chart->AddObject(0, 0, 90, 32, 1);
    ChartObject->SetText(text);
    ApplyBlockStyle(ChartObject);
    TFcFont font = ChartObject->Font();
    ApplyBlockFont(font);
    ChartObject->SetFont(font);
}
