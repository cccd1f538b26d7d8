#include "blocks/controls/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget* parent)
    : QGroupBox(parent), Group(new QButtonGroup(this)), Column(new QVBoxLayout(this)) {
    Column->setSpacing(0);
    Column->setContentsMargins(8, 0, 8, 2);
    connect(Group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit ItemIndexChanged(id);
    });
}

QStringList TRadioGroup::Items() const {
    QStringList items;
    for (QAbstractButton* button : Group->buttons())
        items.append(button->text());
    return items;
}

void TRadioGroup::SetItems(const QStringList& items) {
    const int before = ItemIndex();
    const int keep = Count() == 0 ? Requested : before;
    {
        const QSignalBlocker quiet(Group);
        for (QAbstractButton* button : Group->buttons()) {
            Group->removeButton(button);
            delete button;
        }
        for (qsizetype i = 0; i < items.size(); ++i) {
            auto* button = new QRadioButton(items[i], this);
            Group->addButton(button, int(i));
            Column->addWidget(button);
        }
        SetItemIndex(keep);
    }
    if (ItemIndex() != before)
        emit ItemIndexChanged(ItemIndex());
}

int TRadioGroup::Count() const {
    return int(Group->buttons().size());
}

int TRadioGroup::ItemIndex() const {
    return Group->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (Count() == 0) {
        Requested = index;
        return;
    }
    if (index >= Count())
        index = Count() - 1;
    if (index < 0) {
        ClearSelection();
        return;
    }
    Group->button(index)->setChecked(true);
}

QRadioButton* TRadioGroup::Button(int i) const {
    return qobject_cast<QRadioButton*>(Group->button(i));
}

void TRadioGroup::ClearSelection() {
    QAbstractButton* checked = Group->checkedButton();
    if (!checked)
        return;
    // An exclusive group never lets its last checked button go.
    Group->setExclusive(false);
    checked->setChecked(false);
    Group->setExclusive(true);
    emit ItemIndexChanged(-1);
}
