#pragma once

#include <QMainWindow>

// The main window: toolbar, palette, chart canvas and listing pane.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
};
