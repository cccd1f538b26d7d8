#include "ControlsTestSupport.h"

#include "blocks/controls/ValidateEdit.h"
#include "blocks/dialogs/frmBiaoDaShi.h"
#include "blocks/dialogs/frmFORBegin.h"
#include "blocks/dialogs/frmFOREnd.h"
#include "blocks/dialogs/frmGOSUB.h"
#include "blocks/dialogs/frmGOTOBegin.h"
#include "blocks/dialogs/frmGOTOEnd.h"
#include "blocks/dialogs/frmGOTOIF.h"
#include "blocks/dialogs/frmJieShu.h"
#include "blocks/dialogs/frmSubBegin.h"
#include "blocks/dialogs/frmSubEnd.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace ControlsTestSupport;

namespace {

TEST(FlowDialogs, FrameButtonsTitlesAndLayout) {
    const struct {
        std::function<TBlockDialog*()> make;
        QString title;
        bool hasOk;
    } dialogs[] = {
        {[] { return new TFormFORBegin; }, u"多次循环头"_s, true},
        {[] { return new TFormFOREnd; }, u"多次循环尾"_s, true},
        {[] { return new TFormGOTOBegin; }, u"标号"_s, true},
        {[] { return new TFormGOTOEnd; }, u"无条件跳转"_s, true},
        {[] { return new TFormGOTOIF; }, u"条件跳转"_s, true},
        {[] { return new TFormJieShu; }, u"结束"_s, false},
        {[] { return new TFormBiaoDaShi; }, u"表达式或者语句"_s, true},
        {[] { return new TFormSubBegin; }, u"子程序开始"_s, true},
        {[] { return new TFormSubEnd; }, u"子程序结束"_s, false},
        {[] { return new TFormGOSUB; }, u"调用子程序"_s, true},
    };
    for (const auto& d : dialogs) {
        std::unique_ptr<TBlockDialog> dialog(d.make());
        SCOPED_TRACE(dialog->metaObject()->className());
        EXPECT_EQ(dialog->windowTitle(), d.title);
        ExpectFrame(*dialog);
        dialog->show();
        ExpectNothingClipped(*dialog);
        dialog->hide();
        ExpectFrameResults(*dialog, d.hasOk);
        if (!d.hasOk) {
            // Only the two buttons: nothing else to edit.
            EXPECT_EQ(dialog->findChildren<QWidget*>().size(), 2);
        }
    }
}

TEST(FlowDialogs, LoopCountClampsWhatTheFlowSets) {
    TFormFORBegin head;
    EXPECT_EQ(head.ValidateEdit1()->text(), u"1"_s);
    const struct {
        int set;
        int shown;
    } cases[] = {{-1, 1}, {0, 1}, {5, 5}, {32767, 32767}, {40000, 32767}};
    for (const auto& c : cases) {
        head.ValidateEdit1()->SetValue(c.set);
        EXPECT_EQ(head.ValidateEdit1()->Value(), c.shown) << c.set;
    }
}

TEST(FlowDialogs, VariableListsHoldTheLettersAndNeverGrow) {
    TFormFORBegin head;
    TFormFOREnd tail;
    for (QComboBox* list : {head.ComboBox1(), tail.ComboBox1()}) {
        ASSERT_EQ(list->count(), 26);
        EXPECT_EQ(list->itemText(0), u"A"_s);
        EXPECT_EQ(list->itemText(25), u"Z"_s);
        EXPECT_EQ(list->currentIndex(), 0);
        EXPECT_TRUE(list->isEditable());
        // An item typed into the field must not become a 27th variable.
        list->lineEdit()->clear();
        Type(list->lineEdit(), u"AA"_s);
        Key(list->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(list->count(), 26);
        list->setCurrentIndex(-1);
        EXPECT_EQ(list->currentIndex(), -1);
        list->setCurrentIndex(25);
        EXPECT_EQ(list->currentIndex(), 25);
    }
}

TEST(FlowDialogs, ConditionComesBeforeTheLabelInTabOrder) {
    TFormGOTOIF jump;
    QWidget* next = jump.Edit2()->nextInFocusChain();
    while (next && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    EXPECT_EQ(next, jump.Edit1());
    EXPECT_EQ(ExecWith(jump,
                       [&] {
                           jump.activateWindow();
                           QApplication::processEvents();
                           EXPECT_EQ(QApplication::focusWidget(), jump.Edit2());
                           jump.reject();
                       }),
              2);
}

TEST(FlowDialogs, TextBoxesTakeAnyStorableTextAndNamesNoLessThanSign) {
    TFormGOTOBegin label;
    TFormGOTOEnd jump;
    TFormGOTOIF conditional;
    TFormBiaoDaShi expression;
    TFormSubBegin sub;
    TFormGOSUB call;
    const struct {
        QLineEdit* edit;
        bool takesLessThan;
    } boxes[] = {{label.Edit1(), true},       {jump.Edit1(), true},
                 {conditional.Edit1(), true}, {conditional.Edit2(), true},
                 {expression.Edit1(), true},  {sub.Edit1(), false},
                 {call.Edit1(), false}};
    for (const auto& b : boxes) {
        SCOPED_TRACE(std::string(b.edit->window()->metaObject()->className()) + " " +
                     b.edit->objectName().toStdString());
        EXPECT_EQ(b.edit->maxLength(), 32767) << "no length limit beyond the platform's";
        b.edit->clear();
        Type(b.edit, u" 循环 A&B😀 "_s);
        EXPECT_EQ(b.edit->text(), u" 循环 A&B "_s);
        b.edit->clear();
        Type(b.edit, u"A<5"_s);
        EXPECT_EQ(b.edit->text(), b.takesLessThan ? u"A<5"_s : u"A5"_s);
    }
}

TEST(FlowDialogs, ExpressionHintIsInTheSmallerFont) {
    TFormBiaoDaShi expression;
    auto* hint = expression.findChild<QLabel*>(u"Label2"_s);
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(), u"请填写一行符合语法的语句。"_s);
    EXPECT_EQ(hint->font().pixelSize(), 13);
}

} // namespace
