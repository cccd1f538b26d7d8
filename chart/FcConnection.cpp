#include "chart/FcConnection.h"

#include "chart/CustomFlowChart.h"
#include "chart/FcObject.h"

TFcConnection::TFcConnection(TCustomFlowChart* owner, TFcObject* source, TFcObject* destination,
                             uint8_t sourcePoint, uint8_t destinationPoint)
    : TFcItem(owner), SourceObject(source), DestinationObject(destination),
      SourcePointValue(sourcePoint), DestinationPointValue(destinationPoint) {
    Follow();
}

void TFcConnection::SetStyle(uint8_t style) {
    if (style == StyleValue)
        return;
    StyleValue = style;
    Changed();
}

void TFcConnection::Follow() {
    First = SourceObject->ConnectionPoint(SourcePointValue);
    Last = DestinationObject->ConnectionPoint(DestinationPointValue);
}

void TFcConnection::Changed() {
    Chart()->ConnectionChanged(this);
}
