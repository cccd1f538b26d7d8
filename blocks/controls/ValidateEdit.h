#pragma once

// A right-aligned integer edit: it takes digits and one leading sign, holds a
// range that clamps values the program sets, reads as 0 when its text is empty
// or not a number, and reports every change of its text, typed or set.
// Typed text is not clamped while the user types (a paired scroll bar clamps
// what it takes from it); when the user leaves the edit, its text becomes the
// clamped value, so that a count read from an unpaired edit (the loop head's)
// cannot be 0 or beyond what the robot counts to.
//
// Use from a .ui file: a QLineEdit promoted to class TValidateEdit, header
// "blocks/controls/ValidateEdit.h"; set the range as dynamic properties
// (stdset="0") MinValue and MaxValue before the text, e.g.
//     <property name="MinValue" stdset="0"><number>0</number></property>
//     <property name="MaxValue" stdset="0"><number>32767</number></property>
//     <property name="text"><string>0</string></property>

#include <QLineEdit>

class TValidateEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(int Value READ Value WRITE SetValue NOTIFY ValueChanged)

public:
    explicit TValidateEdit(QWidget* parent = nullptr);

    int MinValue() const { return Min; }
    int MaxValue() const { return Max; }
    // A minimum above the maximum drags the maximum along, and the reverse.
    void SetMinValue(int value);
    void SetMaxValue(int value);

    int Value() const;
    // Clamped to the range; the text becomes the decimal value.
    void SetValue(int value);

signals:
    void ValueChanged(int value);

private:
    int Min = 0;
    int Max = 32767;
};
