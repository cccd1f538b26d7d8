#include "app/Unit1.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"DEDEVAV流程图(ZR550)------Veltrano"_s);
    TForm1 form1;
    form1.show();
    return application.exec();
}
