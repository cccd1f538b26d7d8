#include "app/Unit1.h"

#include <QApplication>

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QApplication::applicationName());
    resize(800, 600);
}
