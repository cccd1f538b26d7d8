#pragma once

// The frame every block dialog shares: a fixed-size modal window centred on
// the screen, in the dialog font, whose buttons close it with the results the
// editing flow acts on. The dialogs themselves stay passive.
//
// Use from a .ui file: make the form a QDialog with the client size as its
// geometry, put the content on a QFrame "Panel1" (shape Panel, shadow Raised)
// at (8, 8), and the push buttons "Button1" (确定), "Button2" (取消) and
// "Button3" (删除) below it. Derive the dialog class from TBlockDialog and call
// SetUpFrame() right after ui->setupUi(this):
//
//     TFormYanShi::TFormYanShi(QWidget* parent)
//         : TBlockDialog(parent), ui(new Ui::TFormYanShi) {
//         ui->setupUi(this);
//         SetUpFrame();
//     }
//
// Keys: Enter confirms as the OK button does, which is therefore marked as the
// default button (a dialog without one, such as end of program, does nothing
// on Enter: it never deletes), and Escape gives Cancel. Wherever the focus
// sits, even on another button, Enter means OK; Space presses the focused
// button. Only widgets where Enter means something of its own keep it: lists
// and trees (their own item activation), multi-line text boxes and open
// pop-ups such as a combo box's drop-down list.

#include <QDialog>
#include <QFont>

class QKeyEvent;
class QShowEvent;

// Results of exec(), the values the editing flow compares with.
inline constexpr int DialogResultOK = 1;
inline constexpr int DialogResultCancel = 2;
inline constexpr int DialogResultDelete = 7;

class TBlockDialog : public QDialog {
    Q_OBJECT

public:
    explicit TBlockDialog(QWidget* parent = nullptr);

    // "宋体" at the given pixel size, falling back to other CJK faces where
    // that face is not installed.
    static QFont DialogFont(int pixelSize = 16);

    // Every way of closing other than the three buttons counts as Cancel.
    void reject() override;

protected:
    // Fixes the size from the .ui geometry, binds Button1, Button2 and
    // Button3 (whichever exist) to their results and makes Button1 the only
    // default button: no button becomes default by taking the focus.
    void SetUpFrame();

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CentreOnScreen();
    // Whether Enter belongs to the focused widget rather than to the dialog.
    bool FocusKeepsEnter() const;
};
