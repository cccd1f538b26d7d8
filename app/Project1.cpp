#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Unit1.h"
#include "app/frmAbout.h"
#include "blocks/dialogs/frmAIN.h"
#include "blocks/dialogs/frmBiaoDaShi.h"
#include "blocks/dialogs/frmDIN.h"
#include "blocks/dialogs/frmFORBegin.h"
#include "blocks/dialogs/frmFOREnd.h"
#include "blocks/dialogs/frmFaYin.h"
#include "blocks/dialogs/frmGOSUB.h"
#include "blocks/dialogs/frmGOTOBegin.h"
#include "blocks/dialogs/frmGOTOEnd.h"
#include "blocks/dialogs/frmGOTOIF.h"
#include "blocks/dialogs/frmJieShu.h"
#include "blocks/dialogs/frmLED.h"
#include "blocks/dialogs/frmPORTDDR.h"
#include "blocks/dialogs/frmPORTIN.h"
#include "blocks/dialogs/frmPORTOUT.h"
#include "blocks/dialogs/frmQiDongDJ.h"
#include "blocks/dialogs/frmServo.h"
#include "blocks/dialogs/frmSubBegin.h"
#include "blocks/dialogs/frmSubEnd.h"
#include "blocks/dialogs/frmTingZhiDJ.h"
#include "blocks/dialogs/frmVOICEX.h"
#include "blocks/dialogs/frmYanShi.h"
#include "blocks/dialogs/frmZhiXing.h"
#include "blocks/dialogs/frmZhuanXiang.h"
#include "blocks/editing/BlockDialogs.h"
#include "download/frmDownload.h"

#include <QFileInfo>
#include <QIcon>

#include <memory>
#include <optional>
#include <vector>

int main(int argc, char* argv[]) {
    // With a command the program runs without a window.
    if (const std::optional<int> exitCode = RunCommandLine(argc, argv))
        return *exitCode;

    TApplication application(argc, argv);
    application.setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    InstallToolkitTranslation(application);
    // A chart named on the command line (as the file manager passes it) is
    // resolved now: the main window makes its own folder the current one.
    QString chartArgument;
    if (argc > 1)
        chartArgument = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();

    // The main window first, then every other window once, in this order;
    // they live until the program ends and are only shown modally. Declared
    // before them, the main window is destroyed last.
    TForm1 form1;
    std::vector<std::unique_ptr<QWidget>> windows;
    const auto create = [&windows]<class Form>(Form*& slot) {
        auto form = std::make_unique<Form>();
        slot = form.get();
        windows.push_back(std::move(form));
    };
    TBlockDialogs d;
    TFormDownload* formDownload = nullptr;
    TFormAbout* formAbout = nullptr;
    create(d.FormZhiXing);
    create(d.FormZhuanXiang);
    create(d.FormQiDongDJ);
    create(d.FormYanShi);
    create(d.FormTingZhiDJ);
    create(d.FormFORBegin);
    create(d.FormFOREnd);
    create(d.FormGOTOBegin);
    create(d.FormGOTOEnd);
    create(d.FormJieShu);
    create(d.FormGOTOIF);
    create(d.FormFaYin);
    create(formDownload);
    create(formAbout);
    create(d.FormBiaoDaShi);
    create(d.FormServo);
    create(d.FormLED);
    create(d.FormPORTIN);
    create(d.FormPORTOUT);
    create(d.FormPORTDDR);
    create(d.FormDIN);
    create(d.FormAIN);
    create(d.FormSubBegin);
    create(d.FormSubEnd);
    create(d.FormGOSUB);
    create(d.FormVOICEX);
    form1.SetDialogs(d);
    form1.FormDownload = formDownload;
    form1.FormAbout = formAbout;

    form1.show();
    if (!chartArgument.isEmpty()) {
        try {
            form1.OpenChart(chartArgument);
        } catch (const std::exception& e) {
            TApplication::ShowException(ExceptionMessageText(e));
        }
    }
    const int result = application.exec();
    // A running download is stopped and joined before its window, port and
    // queue go away; the other windows follow in reverse order of creation.
    while (!windows.empty())
        windows.pop_back();
    return result;
}
