#pragma once

// A block of the program: a teal raised box with its text in white bold.
// Its kind, record and picture are set by the code that makes it.

#include "chart/ChainPanel.h"

#include <QString>

struct TFcFont;
class TFcObject;

class TSeqPanel : public TChainPanel {
public:
    TSeqPanel(TFlowChart* chart, TChainList* list, const QString& text);
};

void ApplyBlockStyle(TFcObject* object);
void ApplyBlockFont(TFcFont& font);
