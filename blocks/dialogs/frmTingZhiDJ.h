#pragma once

// Stop motors: which kind of started action to stop.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class TRadioGroup;

namespace Ui {
class TFormTingZhiDJ;
}

class TFormTingZhiDJ : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormTingZhiDJ(QWidget* parent = nullptr);
    ~TFormTingZhiDJ() override;

    TRadioGroup* RadioGroup1() const;

private:
    std::unique_ptr<Ui::TFormTingZhiDJ> ui;
};
