#pragma once

// Refuses text that could not reach a record or the robot intact: any
// character GBK cannot represent, and optionally further characters (a name
// stored unescaped must not hold "<", or the saved file no longer parses).
// A refused keystroke or paste simply does not happen, so nothing typed is
// silently altered.
//
// Use: validators cannot be set in a .ui file; after setupUi call
//     TGbkTextValidator::Install(ui->Edit1);               // any GBK text
//     TGbkTextValidator::Install(ui->Edit1, u"<"_s);        // and never "<"

#include <QString>
#include <QValidator>

class QLineEdit;

class TGbkTextValidator : public QValidator {
    Q_OBJECT

public:
    explicit TGbkTextValidator(QObject* parent = nullptr, QString refused = {});

    State validate(QString& input, int& pos) const override;

    // Gives the edit a validator owned by the edit.
    static TGbkTextValidator* Install(QLineEdit* edit, const QString& refused = {});

private:
    QString Refused;
};
