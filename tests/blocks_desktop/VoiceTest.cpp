// The voice dialog: the phrase list from the phrase file, or the bare numbers.

#include "ControlsTestSupport.h"

#include "blocks/dialogs/frmVOICEX.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList BareNumbers() {
    QStringList numbers;
    for (int n = 0; n < 128; ++n)
        numbers.append(QString::number(n));
    return numbers;
}

void WritePhraseFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    QFile file(dir.filePath(u"qxvoc.txt"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TEST(VoiceDialog, PhraseFileLinesBecomeTheEntries) {
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList phrases;
    } cases[] = {
        {"CR LF", "0.\xC7\xB0\xBD\xF8\r\n1.YES\r\n", {u"0.前进"_s, u"1.YES"_s}},
        {"LF, no final line end", "a\nb\nc", {u"a"_s, u"b"_s, u"c"_s}},
        {"empty lines keep their places", "a\r\n\r\n7.c\r\n", {u"a"_s, QString(), u"7.c"_s}},
        {"one line", "23.\xC4\xFA\xBA\xC3", {u"23.您好"_s}},
        {"a blank line is a phrase", "\r\n", {QString()}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        WritePhraseFile(dir, c.bytes);
        EXPECT_EQ(TFormVOICEX::ReadPhraseList(dir.path()), c.phrases) << c.name;
    }

    QTemporaryDir dir;
    QByteArray many;
    for (int n = 0; n < 300; ++n)
        many += QByteArray::number(n) + ".x\r\n";
    WritePhraseFile(dir, many);
    TFormVOICEX dialog;
    dialog.ComboBox1()->setCurrentIndex(5);
    dialog.LoadPhrases(dir.path());
    EXPECT_EQ(dialog.PhraseCount(), 300);
    EXPECT_EQ(dialog.ComboBox1()->currentIndex(), 0);
    EXPECT_EQ(dialog.Phrase(299), u"299.x"_s);
}

TEST(VoiceDialog, MissingUnreadableOrEmptyFileGivesTheBareNumbers) {
    QTemporaryDir missing;
    EXPECT_EQ(TFormVOICEX::ReadPhraseList(missing.path()), BareNumbers());

    QTemporaryDir unreadable; // a folder of that name cannot be read as a file
    ASSERT_TRUE(QDir(unreadable.path()).mkdir(u"qxvoc.txt"_s));
    EXPECT_EQ(TFormVOICEX::ReadPhraseList(unreadable.path()), BareNumbers());

    QTemporaryDir empty;
    WritePhraseFile(empty, {});
    EXPECT_EQ(TFormVOICEX::ReadPhraseList(empty.path()), BareNumbers());

    TFormVOICEX dialog;
    dialog.LoadPhrases(missing.path());
    EXPECT_EQ(dialog.PhraseCount(), 128);
    EXPECT_EQ(dialog.ComboBox1()->currentIndex(), 0);
    EXPECT_EQ(dialog.ComboBox1()->currentText(), u"0"_s);
}

TEST(VoiceDialog, ShippedPhraseFileHoldsTheDesignedList) {
    const QStringList phrases =
        TFormVOICEX::ReadPhraseList(QStringLiteral(DD_SOURCE_DIR "/resources"));
    ASSERT_EQ(phrases.size(), 94);
    EXPECT_EQ(phrases.first(), u"0.Dabo(*)"_s);
    EXPECT_EQ(phrases[41], u"41.这是我应该做的"_s);
    EXPECT_EQ(phrases[65], u"65.现在温度,摄氏"_s);
    EXPECT_EQ(phrases.last(), u"93.伏"_s);
    for (int i = 0; i < phrases.size(); ++i)
        EXPECT_TRUE(phrases[i].startsWith(QString::number(i) + u'.')) << i;

    // Every line ends in CR LF, and the file is GBK, not UTF-8.
    QFile file(QStringLiteral(DD_SOURCE_DIR "/resources/qxvoc.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("\r\n"), 94);
    EXPECT_EQ(bytes.count('\n'), 94);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_TRUE(bytes.contains("1.\xC7\xB0\xBD\xF8\r\n"));
}

TEST(VoiceDialog, PhraseNumberIsThePositionAndOutsideTheListTheNumberShows) {
    QTemporaryDir dir;
    WritePhraseFile(dir, "7.first\r\n3.second\r\n");
    TFormVOICEX dialog;
    dialog.LoadPhrases(dir.path());

    dialog.ComboBox1()->setCurrentIndex(1);
    EXPECT_EQ(dialog.ComboBox1()->currentIndex(), 1);
    EXPECT_EQ(dialog.ComboBox1()->currentText(), u"3.second"_s);
    // Positions beyond the end cannot be chosen.
    dialog.ComboBox1()->setCurrentIndex(2);
    EXPECT_EQ(dialog.ComboBox1()->currentIndex(), -1);
    EXPECT_EQ(dialog.ComboBox1()->currentText(), QString());

    EXPECT_EQ(dialog.PhraseOrNumber(0), u"7.first"_s);
    EXPECT_EQ(dialog.PhraseOrNumber(2), u"2"_s);
    EXPECT_EQ(dialog.PhraseOrNumber(-1), u"-1"_s);
    EXPECT_EQ(dialog.Phrase(2), QString());

    // A choice list: the shown text is always the entry the record stores.
    EXPECT_FALSE(dialog.ComboBox1()->isEditable());
}

TEST(VoiceDialog, WindowAndNote) {
    TFormVOICEX dialog;
    EXPECT_EQ(dialog.windowTitle(), u"语音模块"_s);
    const auto* note = dialog.findChild<QLabel*>(u"Label2"_s);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), u"带(*)表示:\n在男声模块中发音为女声,\n在女声模块中发音为男声."_s);
    EXPECT_EQ(note->font().pixelSize(), 14);
    ControlsTestSupport::ExpectFrame(dialog);
    ControlsTestSupport::ExpectNothingClipped(dialog);
}
