#include "blocks/controls/GbkTextValidator.h"

#include "gbk/GbkText.h"

#include <QLineEdit>

#include <utility>

TGbkTextValidator::TGbkTextValidator(QObject* parent, QString refused)
    : QValidator(parent), Refused(std::move(refused)) {}

QValidator::State TGbkTextValidator::validate(QString& input, int& /*pos*/) const {
    for (QChar c : Refused) {
        if (input.contains(c))
            return Invalid;
    }
    return GbkFirstUnrepresentable(input) < 0 ? Acceptable : Invalid;
}

TGbkTextValidator* TGbkTextValidator::Install(QLineEdit* edit, const QString& refused) {
    auto* validator = new TGbkTextValidator(edit, refused);
    edit->setValidator(validator);
    return validator;
}
