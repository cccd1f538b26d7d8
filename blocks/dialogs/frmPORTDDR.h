#pragma once

// IO direction: the port whose pins to set and its eight bits, ticked for output.
// The value and description columns of every row follow its check mark.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QComboBox;
class QTreeWidgetItem;
class TBitList;

namespace Ui {
class TFormPORTDDR;
}

class TFormPORTDDR : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormPORTDDR(QWidget* parent = nullptr);
    ~TFormPORTDDR() override;

    QComboBox* ComboBox1() const;
    TBitList* ListView1() const;

    // Row i is ticked exactly when bit i is set; bits 8 and above are ignored.
    void SetBitMask(int mask);
    // 0 to 255: bit i set exactly when row i is ticked.
    int GetBitMask() const;

public slots:
    void ListView1Change(QTreeWidgetItem* item);

private:
    std::unique_ptr<Ui::TFormPORTDDR> ui;
};
