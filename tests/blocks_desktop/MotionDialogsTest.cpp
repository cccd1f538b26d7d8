#include "ControlsTestSupport.h"

#include "blocks/controls/RadioGroup.h"
#include "blocks/controls/ValidateEdit.h"
#include "blocks/dialogs/frmQiDongDJ.h"
#include "blocks/dialogs/frmTingZhiDJ.h"
#include "blocks/dialogs/frmYanShi.h"
#include "blocks/dialogs/frmZhiXing.h"
#include "blocks/dialogs/frmZhuanXiang.h"

#include <QScreen>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace ControlsTestSupport;

namespace {

TEST(MotionDialogs, FrameButtonsAndLayout) {
    const std::function<TBlockDialog*()> makers[] = {
        [] { return new TFormZhiXing; }, [] { return new TFormZhuanXiang; },
        [] { return new TFormQiDongDJ; }, [] { return new TFormTingZhiDJ; },
        [] { return new TFormYanShi; }};
    for (const auto& make : makers) {
        std::unique_ptr<TBlockDialog> dialog(make());
        SCOPED_TRACE(dialog->metaObject()->className());
        ExpectFrame(*dialog);
        dialog->show();
        ExpectNothingClipped(*dialog);
        const QPoint centre = dialog->screen()->availableGeometry().center();
        EXPECT_LE((dialog->frameGeometry().center() - centre).manhattanLength(), 2);
        dialog->hide();
        ExpectFrameResults(*dialog, true);
    }
}

TEST(MotionDialogs, DesignValues) {
    const QStringList straight{u"前进"_s, u"后退"_s, u"前进一段时间"_s, u"后退一段时间"_s};
    const QStringList turn{u"左转"_s, u"右转"_s, u"左转一段时间"_s, u"右转一段时间"_s};
    const QStringList stop{u"停止\"直行转向\"开始的动作"_s, u"停止\"启动电机\"开始的动作"_s};
    TFormZhiXing zhiXing;
    TFormZhuanXiang zhuanXiang;
    TFormTingZhiDJ tingZhi;
    const struct {
        TBlockDialog* dialog;
        TRadioGroup* group;
        QString title;
        QStringList items;
    } radios[] = {{&zhiXing, zhiXing.RadioGroup1(), u"直行"_s, straight},
                  {&zhuanXiang, zhuanXiang.RadioGroup1(), u"转向"_s, turn},
                  {&tingZhi, tingZhi.RadioGroup1(), u"停止电机"_s, stop}};
    for (const auto& r : radios) {
        EXPECT_EQ(r.dialog->windowTitle(), r.title);
        EXPECT_EQ(r.group->title(), u"请选择"_s);
        EXPECT_EQ(r.group->Items(), r.items);
        EXPECT_EQ(r.group->ItemIndex(), 0);
    }

    TFormQiDongDJ qiDong;
    TFormYanShi yanShi;
    EXPECT_EQ(qiDong.windowTitle(), u"启动电机"_s);
    EXPECT_EQ(yanShi.windowTitle(), u"延时"_s);
    const struct {
        QScrollBar* bar;
        TValidateEdit* edit;
        int min, max;
    } pairs[] = {{zhiXing.ScrollBar1(), zhiXing.ValidateEdit1(), 0, 32767},
                 {zhuanXiang.ScrollBar1(), zhuanXiang.ValidateEdit1(), 0, 32767},
                 {yanShi.ScrollBar1(), yanShi.ValidateEdit1(), 0, 32767},
                 {qiDong.ScrollBar1(), qiDong.ValidateEdit1(), -255, 255},
                 {qiDong.ScrollBar2(), qiDong.ValidateEdit2(), -255, 255}};
    for (const auto& p : pairs) {
        SCOPED_TRACE(p.bar->objectName().toStdString());
        EXPECT_EQ(p.bar->orientation(), Qt::Horizontal);
        EXPECT_EQ(p.bar->minimum(), p.min);
        EXPECT_EQ(p.bar->maximum(), p.max);
        EXPECT_EQ(p.bar->pageStep(), 10);
        EXPECT_EQ(p.bar->singleStep(), 1);
        EXPECT_EQ(p.bar->value(), 0);
        EXPECT_EQ(p.edit->MinValue(), p.min);
        EXPECT_EQ(p.edit->MaxValue(), p.max);
        EXPECT_EQ(p.edit->text(), u"0"_s);
    }
}

// Runs the pair checks on one bar and edit of a live dialog.
void ExpectPairInStep(TBlockDialog& dialog, QScrollBar* bar, TValidateEdit* edit) {
    SCOPED_TRACE(QString::fromLatin1(dialog.metaObject()->className()).toStdString() + " " +
                 bar->objectName().toStdString());
    TIntSpy barChanges(bar, &QScrollBar::valueChanged);

    bar->setValue(bar->maximum()); // as by dragging to the right end
    EXPECT_EQ(edit->Value(), bar->maximum());
    EXPECT_EQ(barChanges.count(), 1) << "no bounce back";

    SelectAllAndDelete(edit);
    EXPECT_EQ(edit->text(), u""_s);
    EXPECT_EQ(bar->value(), 0);
    Type(edit, u"100"_s);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(edit->text(), u"100"_s);

    // Whatever is typed, the bar holds a value in range, and the edit shows it
    // once the user leaves it.
    Type(edit, u"999"_s);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(edit->text(), u"100999"_s);
    emit edit->editingFinished();
    EXPECT_EQ(edit->Value(), bar->maximum());

    // The editing flow sets only the bar; the edit follows.
    bar->setValue(bar->minimum());
    EXPECT_EQ(edit->Value(), bar->minimum());

    // A stale edit beside a bar that the flow set to the value it already had
    // is put right when the dialog is shown.
    edit->setText(u"12"_s);
    bar->setValue(bar->minimum());
    edit->blockSignals(true);
    edit->setText(u"77"_s);
    edit->blockSignals(false);
    EXPECT_EQ(ExecWith(dialog,
                       [&] {
                           EXPECT_EQ(edit->Value(), bar->value());
                           FindButton(dialog, u"Button1")->click();
                       }),
              1);
}

TEST(MotionDialogs, ScrollBarsAndEditsStayInStep) {
    TFormZhiXing zhiXing;
    ExpectPairInStep(zhiXing, zhiXing.ScrollBar1(), zhiXing.ValidateEdit1());
    TFormZhuanXiang zhuanXiang;
    ExpectPairInStep(zhuanXiang, zhuanXiang.ScrollBar1(), zhuanXiang.ValidateEdit1());
    TFormYanShi yanShi;
    ExpectPairInStep(yanShi, yanShi.ScrollBar1(), yanShi.ValidateEdit1());
    TFormQiDongDJ qiDong;
    ExpectPairInStep(qiDong, qiDong.ScrollBar1(), qiDong.ValidateEdit1());
    ExpectPairInStep(qiDong, qiDong.ScrollBar2(), qiDong.ValidateEdit2());
}

TEST(MotionDialogs, MotorPairsAreIndependentAndTakeASign) {
    TFormQiDongDJ qiDong;
    qiDong.ScrollBar1()->setValue(-80);
    qiDong.ScrollBar2()->setValue(120);
    EXPECT_EQ(qiDong.ValidateEdit1()->text(), u"-80"_s);
    EXPECT_EQ(qiDong.ValidateEdit2()->text(), u"120"_s);
    SelectAllAndDelete(qiDong.ValidateEdit2());
    Type(qiDong.ValidateEdit2(), u"-"_s);
    EXPECT_EQ(qiDong.ValidateEdit2()->text(), u"-"_s);
    Type(qiDong.ValidateEdit2(), u"45"_s);
    EXPECT_EQ(qiDong.ScrollBar2()->value(), -45);
    EXPECT_EQ(qiDong.ScrollBar1()->value(), -80);
}

} // namespace
