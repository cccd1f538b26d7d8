#include "blocks/controls/ValidateEdit.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <algorithm>

using namespace Qt::StringLiterals;

TValidateEdit::TValidateEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(new QRegularExpressionValidator(QRegularExpression(u"[+-]?[0-9]*"_s), this));
    connect(this, &QLineEdit::textChanged, this, [this] { emit ValueChanged(Value()); });
    connect(this, &QLineEdit::editingFinished, this, [this] { SetValue(Value()); });
}

void TValidateEdit::SetMinValue(int value) {
    Min = value;
    Max = std::max(Max, Min);
}

void TValidateEdit::SetMaxValue(int value) {
    Max = value;
    Min = std::min(Min, Max);
}

int TValidateEdit::Value() const {
    bool ok = false;
    const int value = text().toInt(&ok);
    return ok ? value : 0;
}

void TValidateEdit::SetValue(int value) {
    setText(QString::number(std::clamp(value, Min, Max)));
}
