#include "blocks/controls/BitList.h"

#include "blocks/controls/BlockDialog.h"

#include <QHeaderView>

using namespace Qt::StringLiterals;

TBitList::TBitList(QWidget* parent) : QTreeWidget(parent) {
    setFont(TBlockDialog::DialogFont(13));
    setColumnCount(3);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Fixed);
    setColumnWidth(NameColumn, 70);
    setColumnWidth(ValueColumn, 50);
    setColumnWidth(DescriptionColumn, 80);

    for (int bit = 0; bit < RowCount; ++bit) {
        auto* item = new QTreeWidgetItem(this);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setText(NameColumn, u"bit"_s + QString::number(bit));
        item->setCheckState(NameColumn, Qt::Unchecked);
    }
}

int TBitList::BitOf(const QTreeWidgetItem* item) const {
    if (!item || item->treeWidget() != this)
        return -1;
    return indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
}

bool TBitList::IsTicked(int bit) const {
    const QTreeWidgetItem* item = Row(bit);
    return item && item->checkState(NameColumn) == Qt::Checked;
}

void TBitList::SetTicked(int bit, bool ticked) {
    if (QTreeWidgetItem* item = Row(bit))
        item->setCheckState(NameColumn, ticked ? Qt::Checked : Qt::Unchecked);
}

void TBitList::SetMask(int mask) {
    viewport()->update();
    for (int bit = 0; bit < RowCount; ++bit)
        SetTicked(bit, (mask >> bit) & 1);
}

int TBitList::Mask() const {
    int mask = 0;
    for (int bit = 0; bit < RowCount; ++bit) {
        if (IsTicked(bit))
            mask |= 1 << bit;
    }
    return mask;
}
