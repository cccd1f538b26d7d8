#pragma once

// The About window: product picture, name and version, the maker, its web
// sites and its offices.

#include <QDialog>

class QPushButton;

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);

    QPushButton* Button1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
