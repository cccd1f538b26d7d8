#pragma once

// A captioned group of radio buttons, one per item, read and set by item
// index. -1 means no item is selected. An index set by the program below 0
// clears the selection; one at or beyond the item count selects the last item,
// so a stored choice that is too large still reads back as a valid one.
//
// Use from a .ui file: a QGroupBox promoted to class TRadioGroup, header
// "blocks/controls/RadioGroup.h"; its title is the caption, and the items and
// the initial index are dynamic properties (stdset="0"), items first:
//     <property name="Items"
//     stdset="0"><stringlist><string>前进</string>...</stringlist></property> <property
//     name="ItemIndex" stdset="0"><number>0</number></property>

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex NOTIFY ItemIndexChanged)

public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    QStringList Items() const;
    // Replaces the buttons and keeps the item index, applied to the new items
    // as a set index is.
    void SetItems(const QStringList& items);
    int Count() const;

    int ItemIndex() const;
    void SetItemIndex(int index);

    // The button of item i, or nullptr.
    QRadioButton* Button(int i) const;

signals:
    void ItemIndexChanged(int index);

private:
    void ClearSelection();

    QButtonGroup* Group;
    QVBoxLayout* Column;
    int Requested = -1; // index set while there were no items
};
