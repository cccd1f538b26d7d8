#pragma once

// The main window: the toolbar, the block palette, the chart canvas with the
// program chain, and the listing pane. It owns the chain and the four XML
// documents that the document, editing and listing commands work in.

#include "chart/FlowChart.h"
#include "chart/NavBar.h"
#include "chart/ProgramChain.h"
#include "xml/SimpleXML.h"

#include <QMainWindow>
#include <QPixmap>

#include <array>
#include <memory>

class QPlainTextEdit;
class QSplitter;
class QToolButton;
class QWidget;
class TFormAbout;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    QWidget* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QToolButton* SpeedButton10 = nullptr;
    TNavBar* NavBar1 = nullptr;
    TFlowChart* FlowChart1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    // The record scratch document, the file document, the snapshot and the
    // comparison document.
    TSimpleXML SimpleXML1;
    TSimpleXML SimpleXML2;
    TSimpleXML SimpleXML3;
    TSimpleXML SimpleXML4;

    // The program chain with its operations (InsertBlock, AppendBlock,
    // LastAppended, DeleteBlock, SetBlockHeight, Relayout, FreeChain,
    // BuildInitialChain, BlockObjects).
    TProgramChain* Chain() const { return ChainOps.get(); }

    // Name of the open chart file; empty for a new chart.
    QString DocumentName;

    // The About window; made on first use when start-up did not provide one.
    TFormAbout* FormAbout = nullptr;

public slots:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    // Palette item kind; items 7 and 8 never act.
    void NavBar1ItemClick(int kind);
    void FlowChart1DblClick();

signals:
    // A left double-click on the canvas; the clicked block, if any, is the
    // canvas's Selection.
    void ChartDoubleClicked();

private:
    void FormCreate();
    void FormDestroy();
    QToolButton* MakeSpeedButton(int number, int left);

    std::unique_ptr<TProgramChain> ChainOps;
};
