#pragma once

// The double-click editing flow: the selected block's record fills its
// kind's dialog, and on OK the record is rebuilt from the dialog's controls,
// with the chart text and height of the kinds that show a value. The dialogs
// stay passive; this is the one place where records and controls meet.

#include "blocks/editing/BlockDialogs.h"

#include <cstddef>
#include <functional>
#include <string>

class QDialog;
class TProgramChain;
class TSimpleXML;

class TBlockEditor {
public:
    // Shows a dialog modally and returns its result; tests replace it.
    using TShowModal = std::function<int(QDialog*)>;

    TBlockEditor(TProgramChain& chain, TSimpleXML& scratch, const TBlockDialogs& dialogs);

    void SetShowModal(TShowModal show) { ShowModal = std::move(show); }

    // Where a confirmed dialog's change goes: the document's undoable
    // commands. Without them the chain's program is changed directly.
    struct TEdits {
        std::function<void(std::size_t index)> Delete;
        std::function<void(std::size_t index, std::string record)> ChangeRecord;
    };
    void SetEdits(TEdits edits) { Edits = std::move(edits); }

    // Edits the canvas's selected block, if the selection is one.
    void FlowChart1DblClick();

private:
    TProgramChain& Chain;
    TSimpleXML& SimpleXML1;
    TBlockDialogs Dialogs;
    TShowModal ShowModal;
    TEdits Edits;

    void Delete(std::size_t index);
};
