#include "blocks/dialogs/frmPORTDDR.h"

#include "ui_frmPORTDDR.h"

#include "blocks/controls/BitList.h"
#include "blocks/controls/GbkTextValidator.h"

#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

TFormPORTDDR::TFormPORTDDR(QWidget* parent) : TBlockDialog(parent), ui(new Ui::TFormPORTDDR) {
    ui->setupUi(this);
    SetUpFrame();
    TGbkTextValidator::Install(ui->ComboBox1->lineEdit());
    connect(ui->ListView1, &QTreeWidget::itemChanged, this, &TFormPORTDDR::ListView1Change);
    // No row is ticked yet, so no change event has written the text columns.
    for (int bit = 0; bit < TBitList::RowCount; ++bit)
        ListView1Change(ui->ListView1->Row(bit));
}

TFormPORTDDR::~TFormPORTDDR() = default;

QComboBox* TFormPORTDDR::ComboBox1() const {
    return ui->ComboBox1;
}

TBitList* TFormPORTDDR::ListView1() const {
    return ui->ListView1;
}

void TFormPORTDDR::SetBitMask(int mask) {
    ui->ListView1->SetMask(mask);
}

int TFormPORTDDR::GetBitMask() const {
    return ui->ListView1->Mask();
}

void TFormPORTDDR::ListView1Change(QTreeWidgetItem* item) {
    // Only a row that has both text columns beyond its name is rewritten.
    if (!item || ui->ListView1->columnCount() <= TBitList::DescriptionColumn)
        return;
    const bool ticked = item->checkState(TBitList::NameColumn) == Qt::Checked;
    // Writing a column raises the change event again; it then finds the
    // texts already in place and the item reports no further change.
    item->setText(TBitList::ValueColumn, ticked ? u"1"_s : u"0"_s);
    item->setText(TBitList::DescriptionColumn, ticked ? u"输出"_s : u"输入"_s);
}
