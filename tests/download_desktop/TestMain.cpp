// The window and the port layer need an application object and its event loop.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
