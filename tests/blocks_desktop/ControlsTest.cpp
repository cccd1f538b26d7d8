#include "ControlsTestSupport.h"

#include "blocks/controls/GbkTextValidator.h"
#include "blocks/controls/RadioGroup.h"
#include "blocks/controls/ScrollEditPair.h"
#include "blocks/controls/ValidateEdit.h"
#include "gbk/GbkText.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace ControlsTestSupport;

namespace {

TEST(ValidateEdit, ProgramSetValuesAreClampedToTheRange) {
    TValidateEdit edit;
    edit.SetMinValue(-255);
    edit.SetMaxValue(255);
    const struct {
        int set;
        QString shown;
    } cases[] = {{0, u"0"_s},     {7, u"7"_s},       {-255, u"-255"_s},    {255, u"255"_s},
                 {256, u"255"_s}, {-256, u"-255"_s}, {INT_MIN, u"-255"_s}, {INT_MAX, u"255"_s}};
    for (const auto& c : cases) {
        edit.SetValue(c.set);
        EXPECT_EQ(edit.text(), c.shown) << c.set;
        EXPECT_EQ(edit.Value(), c.shown.toInt()) << c.set;
    }
}

TEST(ValidateEdit, ValueIsZeroUnlessTheTextIsANumber) {
    TValidateEdit edit;
    const struct {
        QString text;
        int value;
    } cases[] = {{u""_s, 0},
                 {u"-"_s, 0},
                 {u"+"_s, 0},
                 {u"+12"_s, 12},
                 {u"-40"_s, -40},
                 {u"abc"_s, 0},
                 {u"99999"_s, 99999}, // typed text is not clamped; a
                                      // paired bar does that
                 {u"99999999999"_s, 0}};
    for (const auto& c : cases) {
        edit.setText(c.text);
        EXPECT_EQ(edit.Value(), c.value) << c.text.toStdString();
    }
}

TEST(ValidateEdit, TypingTakesOnlyDigitsAfterOneLeadingSign) {
    TValidateEdit edit;
    edit.clear();
    Type(&edit, u"-1a2-+3 "_s);
    EXPECT_EQ(edit.text(), u"-123"_s);
    edit.clear();
    Type(&edit, u"+7"_s);
    EXPECT_EQ(edit.Value(), 7);
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
}

TEST(ValidateEdit, ReportsEveryTextChangeButNotARepeatedValue) {
    TValidateEdit edit;
    TIntSpy spy(&edit, &TValidateEdit::ValueChanged);
    edit.SetValue(5);
    Type(&edit, u"0"_s); // "50"
    edit.setText(u""_s);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy[0], 5);
    EXPECT_EQ(spy[1], 50);
    EXPECT_EQ(spy[2], 0);
    edit.SetValue(0); // "" becomes "0": the text changes
    EXPECT_EQ(spy.count(), 4);
    edit.SetValue(0); // nothing changes, nothing to report: pairs rely on this
    EXPECT_EQ(spy.count(), 4);
}

TEST(ValidateEdit, LeavingTheEditClampsWhatWasTyped) {
    TValidateEdit edit;
    edit.SetMinValue(1);
    edit.SetMaxValue(32767);
    const struct {
        QString typed;
        QString left;
    } cases[] = {{u"0"_s, u"1"_s},    {u""_s, u"1"_s},          {u"-"_s, u"1"_s},
                 {u"+25"_s, u"25"_s}, {u"99999"_s, u"32767"_s}, {u"007"_s, u"7"_s}};
    for (const auto& c : cases) {
        edit.clear();
        Type(&edit, c.typed);
        EXPECT_EQ(edit.text(), c.typed);
        emit edit.editingFinished();
        EXPECT_EQ(edit.text(), c.left) << c.typed.toStdString();
    }
}

TEST(ValidateEdit, AnInvertedRangeCollapses) {
    TValidateEdit edit;
    edit.SetMaxValue(10);
    edit.SetMinValue(20);
    EXPECT_EQ(edit.MaxValue(), 20);
    edit.SetMaxValue(-5);
    EXPECT_EQ(edit.MinValue(), -5);
    edit.SetValue(100);
    EXPECT_EQ(edit.Value(), -5);
}

TRadioGroup* FourItems(QWidget* parent) {
    auto* group = new TRadioGroup(parent);
    group->SetItems({u"前进"_s, u"后退"_s, u"前进一段时间"_s, u"后退一段时间"_s});
    return group;
}

TEST(RadioGroup, ProgramSetIndexIsClampedAsRecordsNeed) {
    QWidget parent;
    TRadioGroup* group = FourItems(&parent);
    EXPECT_EQ(group->ItemIndex(), -1);
    const struct {
        int set;
        int read;
    } cases[] = {{2, 2}, {0, 0}, {3, 3}, {4, 3}, {9, 3}, {-1, -1}, {1, 1}, {-7, -1}, {INT_MAX, 3}};
    for (const auto& c : cases) {
        group->SetItemIndex(c.set);
        EXPECT_EQ(group->ItemIndex(), c.read) << c.set;
        for (int i = 0; i < group->Count(); ++i)
            EXPECT_EQ(group->Button(i)->isChecked(), i == c.read) << c.set << " item " << i;
    }
}

TEST(RadioGroup, ReportsChangesAndUserChoices) {
    QWidget parent;
    TRadioGroup* group = FourItems(&parent);
    TIntSpy spy(group, &TRadioGroup::ItemIndexChanged);
    group->SetItemIndex(1);
    group->SetItemIndex(-1);
    group->Button(2)->click();
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy[0], 1);
    EXPECT_EQ(spy[1], -1);
    EXPECT_EQ(spy[2], 2);
    EXPECT_EQ(group->ItemIndex(), 2);
}

TEST(RadioGroup, IndexSetBeforeTheItemsAndKeptWhenTheyAreReplaced) {
    // uic sets ItemIndex in setupUi and Items only afterwards in retranslateUi.
    QWidget parent;
    auto* group = new TRadioGroup(&parent);
    group->setProperty("ItemIndex", 0);
    group->setProperty("Items", QStringList{u"a"_s, u"b"_s});
    EXPECT_EQ(group->ItemIndex(), 0);
    group->SetItemIndex(1);
    group->SetItems({u"A"_s, u"B"_s});
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(group->Items(), (QStringList{u"A"_s, u"B"_s}));
    group->SetItemIndex(-1);
    group->SetItems({u"x"_s, u"y"_s});
    EXPECT_EQ(group->ItemIndex(), -1);
}

TEST(GbkTextValidator, RefusesWhatCannotBeStoredAndNothingElse) {
    const QString undecodable = GbkDecode("\x81"); // an escaped byte from a broken record
    const struct {
        QString text;
        QString refused;
        QValidator::State state;
    } cases[] = {
        {u""_s, u""_s, QValidator::Acceptable},
        {u"  标号 L1 "_s, u""_s, QValidator::Acceptable},
        {u"a<b&c>\"'"_s, u""_s, QValidator::Acceptable},
        {u"A😀"_s, u""_s, QValidator::Invalid},
        {u"한국"_s, u""_s, QValidator::Invalid},
        {undecodable + u"x"_s, u""_s, QValidator::Acceptable},
        {u"子程序"_s, u"<"_s, QValidator::Acceptable},
        {u"sub&>"_s, u"<"_s, QValidator::Acceptable},
        {u"a<b"_s, u"<"_s, QValidator::Invalid},
    };
    for (const auto& c : cases) {
        TGbkTextValidator validator(nullptr, c.refused);
        QString text = c.text;
        int pos = 0;
        EXPECT_EQ(validator.validate(text, pos), c.state) << c.text.toStdString();
        EXPECT_EQ(text, c.text) << "the validator never rewrites";
    }
}

TEST(GbkTextValidator, AnEditRefusesTheKeystrokeAndKeepsTheRest) {
    QLineEdit edit;
    TGbkTextValidator::Install(&edit, u"<"_s);
    Type(&edit, u"Su😀b<1"_s);
    EXPECT_EQ(edit.text(), u"Sub1"_s);
    edit.insert(u"x😀"_s); // a paste holding one bad character is refused whole
    EXPECT_EQ(edit.text(), u"Sub1"_s);
    edit.insert(u"中文"_s);
    EXPECT_EQ(edit.text(), u"Sub1中文"_s);
}

struct ScrollEditPairTest : ::testing::Test {
    QWidget parent;
    QScrollBar* Bar = new QScrollBar(Qt::Horizontal, &parent);
    TValidateEdit* Edit = new TValidateEdit(&parent);
    TScrollEditPair Pair{Bar, Edit};
    ScrollEditPairTest() {
        Bar->setRange(-255, 255);
        Edit->SetMinValue(-255);
        Edit->SetMaxValue(255);
        Edit->setText(u"0"_s);
        QObject::connect(Bar, &QScrollBar::valueChanged, &parent, [this] { Pair.BarChanged(); });
        QObject::connect(Edit, &TValidateEdit::ValueChanged, &parent,
                         [this] { Pair.EditChanged(); });
    }
};

TEST_F(ScrollEditPairTest, EachSideFollowsTheOtherOnceWithoutBouncingBack) {
    TIntSpy barSpy(Bar, &QScrollBar::valueChanged);
    TIntSpy editSpy(Edit, &TValidateEdit::ValueChanged);
    Bar->setValue(200);
    EXPECT_EQ(Edit->text(), u"200"_s);
    EXPECT_EQ(barSpy.count(), 1);
    EXPECT_EQ(editSpy.count(), 1);

    Edit->clear();
    Type(Edit, u"-17"_s);
    EXPECT_EQ(Bar->value(), -17);
    EXPECT_EQ(Edit->text(), u"-17"_s);
}

TEST_F(ScrollEditPairTest, PartialOrOutOfRangeTypingIsNotRewrittenUntilTheEditIsLeft) {
    Bar->setValue(50);
    Edit->clear();
    EXPECT_EQ(Bar->value(), 0);
    Type(Edit, u"-"_s);
    EXPECT_EQ(Edit->text(), u"-"_s); // not replaced by "0" under the user's fingers
    Type(Edit, u"999"_s);
    EXPECT_EQ(Bar->value(), -255);
    EXPECT_EQ(Edit->text(), u"-999"_s);
    emit Edit->editingFinished();
    EXPECT_EQ(Edit->text(), u"-255"_s); // now it shows what will be stored
    EXPECT_EQ(Bar->value(), -255);
}

TEST_F(ScrollEditPairTest, ShowBarResynchronisesAStaleEdit) {
    Bar->setValue(255);
    Edit->setText(u"4000"_s); // the bar was already at its maximum: no change event
    EXPECT_EQ(Bar->value(), 255);
    Bar->setValue(255);
    Pair.ShowBar();
    EXPECT_EQ(Edit->text(), u"255"_s);
}

} // namespace
