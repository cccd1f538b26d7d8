// Saves a chart over one file again and again, alternating between two
// charts of different lengths, until it is killed: the crash test's victim.
//   save_loop TARGET             saves until killed; prints "ready" first
//   save_loop --charts A B       saves each chart once, to A and to B

#include "chart/FlowChart.h"
#include "chart/ProgramChain.h"
#include "document/TDocument.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QWidget>

#include <cstdio>
#include <memory>

namespace {

struct TChart {
    explicit TChart(int kind, int blocks) {
        chain.BuildInitialChain();
        for (int i = 0; i < blocks; ++i)
            chain.AppendBlock(kind);
        chain.Relayout();
    }
    QWidget window;
    TFlowChart chart;
    TSimpleXML scratch;
    TProgramChain chain{&chart, &scratch};
    QPlainTextEdit pane;
    TDocument doc{chain, scratch, &window, &pane};
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    TChart a(1, 120);
    TChart b(6, 200);
    if (args.size() == 4 && args[1] == QStringLiteral("--charts")) {
        a.doc.SaveDocument(args[2]);
        b.doc.SaveDocument(args[3]);
        return 0;
    }
    if (args.size() != 2)
        return 2;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;) {
        a.doc.SaveDocument(args[1]);
        b.doc.SaveDocument(args[1]);
    }
}
