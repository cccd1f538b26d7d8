#include "blocks/dialogs/frmPORTOUT.h"

#include "ui_frmPORTOUT.h"

#include "blocks/controls/BitList.h"
#include "blocks/controls/GbkTextValidator.h"

#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

TFormPORTOUT::TFormPORTOUT(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormPORTOUT) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->ComboBox1->lineEdit());
    connect(ui->ListView1, &QTreeWidget::itemChanged, this, &TFormPORTOUT::ListView1Change);
    // No row is ticked yet, so no change event has written the text columns.
    for (int bit = 0; bit < TBitList::RowCount; ++bit)
        ListView1Change(ui->ListView1->Row(bit));
}

TFormPORTOUT::~TFormPORTOUT() = default;

QComboBox* TFormPORTOUT::ComboBox1() const {
    return ui->ComboBox1;
}

TBitList* TFormPORTOUT::ListView1() const {
    return ui->ListView1;
}

void TFormPORTOUT::SetBitMask(int mask) {
    ui->ListView1->SetMask(mask);
}

int TFormPORTOUT::GetBitMask() const {
    return ui->ListView1->Mask();
}

void TFormPORTOUT::ListView1Change(QTreeWidgetItem* item) {
    // Only a row that has both text columns beyond its name is rewritten.
    if (!item || ui->ListView1->columnCount() <= TBitList::DescriptionColumn)
        return;
    const bool ticked = item->checkState(TBitList::NameColumn) == Qt::Checked;
    // Writing a column raises the change event again; it then finds the
    // texts already in place and the item reports no further change.
    item->setText(TBitList::ValueColumn, ticked ? u"1"_s : u"0"_s);
    item->setText(TBitList::DescriptionColumn, ticked ? u"高电平"_s : u"低电平"_s);
}
