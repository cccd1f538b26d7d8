#pragma once

// One QApplication for all widget tests of an executable, made on first use.

#include <QApplication>

// It is never destroyed: tearing Qt down from a static destructor, after the
// platform plugin's own statics are gone, crashes at exit.
inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "chart_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// First member of a fixture that holds widgets, so the application exists
// before they are made.
struct TTestAppGuard {
    TTestAppGuard() { TestApp(); }
};
