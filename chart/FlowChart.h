#pragma once

// The chart canvas as placed on the main window. All behaviour lives in
// TCustomFlowChart.

#include "chart/CustomFlowChart.h"

class TFlowChart : public TCustomFlowChart {
    Q_OBJECT
public:
    using TCustomFlowChart::TCustomFlowChart;
};
