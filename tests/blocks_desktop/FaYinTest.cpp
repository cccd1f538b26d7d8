// The sound dialog: the keyboard window of each range, note codes, melody
// texts and the list editing buttons.

#include "ControlsTestSupport.h"

#include "blocks/dialogs/frmFaYin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList Entries(const TFormFaYin& dialog) {
    QStringList entries;
    for (int row = 0; row < dialog.ListBox1()->count(); ++row)
        entries.append(dialog.ListBox1()->item(row)->text());
    return entries;
}

// The numbers of the enabled pitch buttons, as "first..last"; the window is
// also checked to be contiguous.
QString EnabledWindow(const TFormFaYin& dialog) {
    int first = 0, last = 0, count = 0;
    for (int b = 1; b <= TFormFaYin::PitchButtonCount; ++b) {
        if (dialog.RadioButton(b)->isEnabled()) {
            if (!first)
                first = b;
            last = b;
            ++count;
        }
    }
    if (count != last - first + 1)
        return u"gaps"_s;
    return QString::number(first) + u".."_s + QString::number(last);
}

void Choose(TFormFaYin& dialog, int button, int lengthEntry) {
    dialog.ComboBox2()->setCurrentIndex(lengthEntry);
    dialog.RadioButton(button)->click();
}

void Select(TFormFaYin& dialog, int row) {
    dialog.ListBox1()->setCurrentRow(row);
}

} // namespace

TEST(FaYinDialog, OpensWithRangeZeroRestAndFirstLength) {
    TFormFaYin dialog;
    EXPECT_EQ(dialog.windowTitle(), u"发音"_s);
    EXPECT_EQ(dialog.size(), QSize(448, 334));
    EXPECT_EQ(dialog.ComboBox1()->count(), 8);
    EXPECT_EQ(dialog.ComboBox1()->currentIndex(), 0);
    EXPECT_EQ(dialog.ComboBox2()->currentText(), u"1/4拍"_s);
    EXPECT_EQ(dialog.ComboBox2()->itemText(7), u"2拍"_s);
    EXPECT_EQ(dialog.CheckedNote(), TFormFaYin::RestButton);
    EXPECT_EQ(dialog.RadioButton(23)->text(), u"休止符"_s);
    EXPECT_EQ(dialog.CheckBox1()->text(), u"生成KEY语句 "_s);
    EXPECT_EQ(EnabledWindow(dialog), u"1..15"_s);
    ControlsTestSupport::ExpectNothingClipped(dialog);
}

TEST(FaYinDialog, EveryRangeEnablesItsFifteenButtonsAndChecksTheRest) {
    TFormFaYin dialog;
    for (int range : {3, 7, 0, 5, 1, 6, 2, 4}) {
        dialog.RadioButton(range + 5)->click(); // some pitch of the old range
        dialog.ComboBox1()->setCurrentIndex(range);
        EXPECT_EQ(EnabledWindow(dialog),
                  QString::number(range + 1) + u".."_s + QString::number(range + 15))
            << range;
        EXPECT_EQ(dialog.CheckedNote(), TFormFaYin::RestButton) << range;
        EXPECT_TRUE(dialog.RadioButton(23)->isEnabled());

        // The highest pitch of every range is F.
        Choose(dialog, range + 15, 0);
        EXPECT_EQ(dialog.NoteCode(), u"F1"_s) << range;
        Choose(dialog, range + 1, 0);
        EXPECT_EQ(dialog.NoteCode(), u"11"_s) << range;
    }
}

TEST(FaYinDialog, RangeOutsideTheListFallsBackToRangeZero) {
    TFormFaYin dialog;
    dialog.ComboBox1()->setCurrentIndex(4);
    for (int stored : {-1, 8, 9, 1000}) {
        dialog.ComboBox1()->setCurrentIndex(stored);
        dialog.RefreshRange();
        EXPECT_EQ(dialog.ComboBox1()->currentIndex(), 0) << stored;
        EXPECT_EQ(dialog.Range(), 0);
        EXPECT_EQ(EnabledWindow(dialog), u"1..15"_s) << stored;
        EXPECT_EQ(dialog.CheckedNote(), TFormFaYin::RestButton);
    }
    // A choice list: no typed range can reach the keyboard.
    EXPECT_FALSE(dialog.ComboBox1()->isEditable());
}

TEST(FaYinDialog, NoteCodesOfTheExamples) {
    TFormFaYin dialog;
    Choose(dialog, 8, 3); // middle 1, one beat
    EXPECT_EQ(dialog.NoteCode(), u"84"_s);
    dialog.Button4()->click();
    Choose(dialog, 23, 7); // rest, two beats
    EXPECT_EQ(dialog.NoteCode(), u"08"_s);
    dialog.Button4()->click();
    EXPECT_EQ(dialog.MelodyText(), "8408");

    dialog.ComboBox1()->setCurrentIndex(3);
    Choose(dialog, 8, 3);
    EXPECT_EQ(dialog.NoteCode(), u"54"_s);
    // The notes already in the list keep their codes.
    EXPECT_EQ(dialog.MelodyText(), "8408");
}

TEST(FaYinDialog, LoadMelodyCutsTheTextIntoTwoBytePieces) {
    TFormFaYin dialog;
    const struct {
        std::string text;
        int count;
        std::string readBack;
    } cases[] = {
        {"8408", 2, "8408"},
        {"C4E4G", 2, "C4E4"}, // a final odd byte is dropped
        {"", 0, ""},
        {"7", 0, ""},
        // Bytes that are no note code, even half characters, come back as
        // they were stored.
        {"\xC7\xB0"
         "84",
         2,
         "\xC7\xB0"
         "84"},
        {"8\xC7\xB0"
         "4",
         2,
         "8\xC7\xB0"
         "4"},
    };
    for (const auto& c : cases) {
        dialog.LoadMelody("1111");
        dialog.LoadMelody(c.text);
        EXPECT_EQ(dialog.ListBox1()->count(), c.count) << c.text;
        EXPECT_EQ(dialog.MelodyText(), c.readBack) << c.text;
    }
    dialog.LoadMelody("8408");
    EXPECT_EQ(Entries(dialog), (QStringList{u"84"_s, u"08"_s}));
    dialog.LoadMelody("\xC7\xB0"
                      "84");
    EXPECT_EQ(Entries(dialog), (QStringList{u"前"_s, u"84"_s}));
}

TEST(FaYinDialog, ListEditingButtons) {
    TFormFaYin dialog;
    dialog.LoadMelody("1121314151");
    Choose(dialog, 23, 1);

    // Replace, delete and the arrows do nothing without a selection.
    dialog.Button5()->click();
    dialog.Button6()->click();
    dialog.SpeedButton1()->click();
    dialog.SpeedButton2()->click();
    EXPECT_EQ(dialog.MelodyText(), "1121314151");

    Select(dialog, 1);
    dialog.Button5()->click();
    EXPECT_EQ(dialog.MelodyText(), "1102314151");

    Select(dialog, 0);
    dialog.SpeedButton1()->click(); // already first
    dialog.SpeedButton2()->click();
    dialog.SpeedButton2()->click();
    EXPECT_EQ(dialog.MelodyText(), "0231114151");
    EXPECT_EQ(dialog.ListBox1()->currentRow(), 2);
    dialog.SpeedButton1()->click();
    EXPECT_EQ(dialog.MelodyText(), "0211314151");
    EXPECT_EQ(dialog.ListBox1()->currentRow(), 1);

    Select(dialog, 4);
    dialog.SpeedButton2()->click(); // already last
    EXPECT_EQ(dialog.MelodyText(), "0211314151");
    dialog.Button6()->click();
    EXPECT_EQ(dialog.MelodyText(), "02113141");
    // The deletion leaves nothing selected, so a second click is harmless.
    dialog.Button6()->click();
    EXPECT_EQ(dialog.MelodyText(), "02113141");

    dialog.Button4()->click();
    EXPECT_EQ(dialog.MelodyText(), "0211314102");
}

TEST(FaYinDialog, KeepsTheChosenLengthBetweenShowings) {
    TFormFaYin dialog;
    dialog.ComboBox2()->setCurrentIndex(5);
    ControlsTestSupport::ExecWith(dialog,
                                  [&] { dialog.findChild<QPushButton*>(u"Button2"_s)->click(); });
    dialog.LoadMelody("84");
    dialog.ComboBox1()->setCurrentIndex(2);
    dialog.RefreshRange();
    EXPECT_EQ(dialog.ComboBox2()->currentIndex(), 5);
    EXPECT_EQ(dialog.NoteCode(), u"06"_s);
}
