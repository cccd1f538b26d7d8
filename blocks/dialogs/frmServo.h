#pragma once

// Servos: five servo angles and a speed, each held by a vertical scroll bar
// with its position shown beneath it. The five servo bars share one change
// handler that finds its value label through the bar's tag, so the tags 1 to
// 5 and the label names LabelVal1 to LabelVal5 must correspond.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QLabel;
class QScrollBar;

namespace Ui {
class TFormServo;
}

class TFormServo : public TBlockDialog {
    Q_OBJECT

public:
    static constexpr int ServoCount = 5;

    explicit TFormServo(QWidget* parent = nullptr);
    ~TFormServo() override;

    QScrollBar* ScrollBar1() const;
    QScrollBar* ScrollBar2() const;
    QScrollBar* ScrollBar3() const;
    QScrollBar* ScrollBar4() const;
    QScrollBar* ScrollBar5() const;
    QScrollBar* ScrollBarSpeed() const;
    // Servo bar n (1 to 5) and its value label, or nullptr.
    QScrollBar* ScrollBar(int n) const;
    QLabel* LabelVal(int n) const;
    QLabel* LabelSpdVal() const;

public slots:
    void ScrollBarSChange(QScrollBar* sender);
    void ScrollBarSpeedChange();

private:
    std::unique_ptr<Ui::TFormServo> ui;
};
