#pragma once

// A small round indicator lamp with two states, green when on and teal when
// off. It reports clicks but never changes its own state: the owning dialog
// decides what a click means.

#include <QColor>
#include <QWidget>

class TLedLamp : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool On READ IsOn WRITE SetOn NOTIFY Toggled)

public:
    explicit TLedLamp(QWidget* parent = nullptr);

    bool IsOn() const { return on; }
    void SetOn(bool value);
    void Toggle() { SetOn(!on); }

    static QColor OnColour() { return QColor(0x00, 0xd0, 0x00); }
    static QColor OffColour() { return QColor(0x00, 0x80, 0x80); }

    QSize sizeHint() const override { return {17, 17}; }

signals:
    void Clicked();
    void Toggled(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool on = true;
    bool pressed = false;
};
