#pragma once

// Keeps a scroll bar and its numeric edit showing one value. The bar is the
// value the editing flow reads; the edit is a way of typing it.
//
// The two directions are guarded against each other: while the edit's change
// is being carried to the bar, the bar's resulting change is not written back
// into the edit. Otherwise typing "-" (value 0) or "99999" (clamped by the
// bar) would have the text replaced under the user's fingers. When the edit
// loses focus or the dialog is shown, the edit is set to the bar's position,
// so what it shows is what will be stored.
//
// Use: the dialog owns one pair per bar and forwards its handlers:
//     void ScrollBar1Change() { Pair1.BarChanged(); }
//     void ValidateEdit1ValueChanged() { Pair1.EditChanged(); }
// and calls ShowBar() from showEvent.

class QScrollBar;
class TValidateEdit;

class TScrollEditPair {
public:
    TScrollEditPair(QScrollBar* bar, TValidateEdit* edit);

    void BarChanged();  // bar to edit
    void EditChanged(); // edit to bar (clamped by the bar)
    void ShowBar();     // edit to the bar's position, whatever it holds

private:
    QScrollBar* Bar;
    TValidateEdit* Edit;
    bool Busy = false;
};
