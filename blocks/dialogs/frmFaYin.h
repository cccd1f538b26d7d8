#pragma once

// Sound: a melody composed note by note in numbered notation. A keyboard of
// 22 pitch buttons and a rest offers, for the chosen range r (0 to 7), the 15
// pitches r+1 .. r+15; a note is coded as two characters, the pitch relative
// to the range (0 rest, 1 to F) and the length in quarter beats (1 to 8). The
// melody text is the codes of the note list, concatenated.
//
// The melody text is record text, so it is handled as GBK bytes and cut into
// two-byte pieces; a piece that is not a note code survives loading and
// reading back unchanged.

#include "blocks/controls/BlockDialog.h"

#include <QList>

#include <array>
#include <memory>
#include <string>
#include <string_view>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace Ui {
class TFormFaYin;
}

class TFormFaYin : public TBlockDialog {
    Q_OBJECT

public:
    static constexpr int RangeCount = 8;
    static constexpr int PitchesPerRange = 15;
    static constexpr int PitchButtonCount = 22;
    static constexpr int RestButton = 23;

    explicit TFormFaYin(QWidget* parent = nullptr);
    ~TFormFaYin() override;

    QComboBox* ComboBox1() const; // the range, "0" to "7"
    QComboBox* ComboBox2() const; // the note length
    QCheckBox* CheckBox1() const; // generate a KEY statement
    QListWidget* ListBox1() const;
    QPushButton* Button4() const;
    QPushButton* Button5() const;
    QPushButton* Button6() const;
    QToolButton* SpeedButton1() const;
    QToolButton* SpeedButton2() const;
    // Keyboard button b (1 to 23), or nullptr.
    QRadioButton* RadioButton(int b) const;

    // The range the keyboard stands for: the chosen entry of ComboBox1, 0 to 7.
    int Range() const;
    // Brings the keyboard in line with the range and checks the rest. With no
    // range chosen (a stored range outside 0 to 7), range 0 is chosen, so
    // the box, the keyboard and the stored range always agree.
    void RefreshRange();
    // The number 1 to 23 of the checked keyboard button, or -1.
    int CheckedNote() const;
    // The code of the current pitch and length, e.g. "84".
    QString NoteCode() const;

    // Empties the list and fills it with the text cut into two-byte pieces;
    // a final odd byte is dropped.
    void LoadMelody(std::string_view melody);
    // The entries of the list concatenated, as GBK bytes.
    std::string MelodyText() const;

public slots:
    void FormCreate();
    void ComboBox1Change();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void SpeedButton1Click();
    void SpeedButton2Click();

private:
    // The row of the selected note, or -1 when none is selected.
    int SelectedRow() const;
    void SwapWithSelected(int offset);

    std::unique_ptr<Ui::TFormFaYin> ui;
    std::array<QRadioButton*, RestButton> Keys{};
    std::array<QList<QLabel*>, PitchButtonCount> KeyLabels;
};
