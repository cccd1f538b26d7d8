#pragma once

// LEDs: three lamps for the port pins PB1, PB0 and PB2, in that order from
// left to right. Clicking a lamp or its caption toggles it. The record's mask
// is active-low: a set bit means the LED is dark.

#include "blocks/controls/BlockDialog.h"

#include <memory>

class QLabel;
class TLedLamp;

namespace Ui {
class TFormLED;
}

class TFormLED : public TBlockDialog {
    Q_OBJECT

public:
    explicit TFormLED(QWidget* parent = nullptr);
    ~TFormLED() override;

    TLedLamp* LED1() const;
    TLedLamp* LED2() const;
    TLedLamp* LED3() const;
    QLabel* Label1() const;
    QLabel* Label2() const;
    QLabel* Label3() const;

    // LED n is lit exactly when bit n-1 is clear; bits above bit 2 are ignored.
    void SetLedMask(int mask);
    // 0 to 7: bit n-1 set when LED n is dark.
    int GetLedMask() const;

public slots:
    void LED1Click();
    void LED2Click();
    void LED3Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TFormLED> ui;
};
