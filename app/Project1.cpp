#include "app/Application.h"
#include "app/Unit1.h"
#include "app/frmAbout.h"

#include <QIcon>

int main(int argc, char* argv[]) {
    TApplication application(argc, argv);
    application.setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    TForm1 form1;
    auto* formAbout = new TFormAbout(&form1);
    form1.FormAbout = formAbout;
    form1.show();
    return application.exec();
}
