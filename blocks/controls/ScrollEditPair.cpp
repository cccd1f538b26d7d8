#include "blocks/controls/ScrollEditPair.h"

#include "blocks/controls/ValidateEdit.h"

#include <QScopedValueRollback>
#include <QScrollBar>

TScrollEditPair::TScrollEditPair(QScrollBar* bar, TValidateEdit* edit) : Bar(bar), Edit(edit) {
    QObject::connect(edit, &TValidateEdit::editingFinished, edit, [this] { ShowBar(); });
}

void TScrollEditPair::BarChanged() {
    if (Busy)
        return;
    const QScopedValueRollback busy(Busy, true);
    Edit->SetValue(Bar->value());
}

void TScrollEditPair::EditChanged() {
    if (Busy)
        return;
    const QScopedValueRollback busy(Busy, true);
    Bar->setValue(Edit->Value());
}

void TScrollEditPair::ShowBar() {
    const QScopedValueRollback busy(Busy, true);
    Edit->SetValue(Bar->value());
}
