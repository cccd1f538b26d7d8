#pragma once

// The eight-row bit list of the port dialogs: one row per bit of a port byte,
// "bit0" to "bit7", each with a check box in front of its name and two text
// columns (the bit's value and what it means) that the owning dialog keeps in
// step with the check mark. Row captions are read-only; only the check marks
// can be changed by the user.

#include <QTreeWidget>

class TBitList : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr int RowCount = 8;
    static constexpr int NameColumn = 0;
    static constexpr int ValueColumn = 1;
    static constexpr int DescriptionColumn = 2;

    explicit TBitList(QWidget* parent = nullptr);

    QTreeWidgetItem* Row(int bit) const { return topLevelItem(bit); }
    // The bit a row stands for, or -1 for an item that is not one of the rows.
    int BitOf(const QTreeWidgetItem* item) const;

    bool IsTicked(int bit) const;
    void SetTicked(int bit, bool ticked);

    // Bit i of the mask is row i's check mark; bits 8 and above are ignored.
    void SetMask(int mask);
    int Mask() const;
};
