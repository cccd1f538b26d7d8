#include "chart/NavBar.h"

#include "TestApp.h"
#include "tests/support/ToolTipProbe.h"

#include <QAbstractButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(NavBar, GroupsAndItemsInPaletteOrder) {
    TestApp();
    TNavBar bar;
    EXPECT_EQ(bar.width(), 145);
    ASSERT_EQ(bar.GroupCount(), 4);
    const QString captions[] = {u"执行模块"_s, u"传感器模块"_s, u"控制模块"_s, u"程序模块"_s};
    const std::vector<int> items[] = {{1, 2, 3, 4, 5, 6, 15, 19, 20, 26},
                                      {16, 17, 18, 21, 22},
                                      {9, 10, 11, 12, 13, 23, 24, 25},
                                      {14}};
    for (int g = 0; g < 4; ++g) {
        EXPECT_EQ(bar.GroupCaption(g), captions[g]);
        EXPECT_EQ(bar.GroupButton(g)->text(), captions[g]);
        EXPECT_EQ(bar.GroupItems(g), items[g]);
    }
    EXPECT_EQ(bar.ActiveGroupIndex(), 0);
    EXPECT_EQ(bar.ItemCaption(1), u"直行"_s);
    EXPECT_EQ(bar.ItemCaption(7), u"红外线"_s);
    EXPECT_EQ(bar.ItemCaption(8), u"光感"_s);
    EXPECT_EQ(bar.ItemCaption(26), u"语音模块"_s);
    EXPECT_TRUE(bar.ItemCaption(27).isEmpty());
    EXPECT_EQ(bar.ItemIcon(13).size(), QSize(38, 38));
    EXPECT_EQ(bar.ItemButton(20)->text(), u"表达式"_s);
}

TEST(NavBar, ClicksReportTheKindAndHiddenKindsCannotBeClicked) {
    TestApp();
    TNavBar bar;
    QSignalSpy clicked(&bar, &TNavBar::ItemClicked);
    EXPECT_EQ(bar.ItemButton(7), nullptr);
    EXPECT_EQ(bar.ItemButton(8), nullptr);
    for (int kind = 1; kind <= 26; ++kind)
        if (QAbstractButton* button = bar.ItemButton(kind))
            button->click();
    ASSERT_EQ(clicked.count(), 24);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 1);
    EXPECT_EQ(clicked.at(6).at(0).toInt(), 9);
    EXPECT_EQ(clicked.at(23).at(0).toInt(), 26);
}

TEST(NavBar, EveryItemNamesItsBlockWhenHovered) {
    TestApp();
    TNavBar bar;
    bar.resize(145, 700);
    bar.show();
    for (int group = 0; group < bar.GroupCount(); ++group) {
        bar.SetActiveGroupIndex(group);
        for (int kind : bar.GroupItems(group))
            EXPECT_EQ(ToolTipShownOn(bar.ItemButton(kind)), bar.ItemCaption(kind)) << kind;
    }
}

TEST(NavBar, OneGroupIsOpenAtATime) {
    TestApp();
    TNavBar bar;
    bar.resize(145, 500);
    bar.show();
    EXPECT_TRUE(bar.ItemButton(1)->isVisibleTo(&bar));
    EXPECT_FALSE(bar.ItemButton(16)->isVisibleTo(&bar));
    bar.GroupButton(1)->click();
    EXPECT_EQ(bar.ActiveGroupIndex(), 1);
    EXPECT_TRUE(bar.ItemButton(16)->isVisibleTo(&bar));
    EXPECT_FALSE(bar.ItemButton(1)->isVisibleTo(&bar));
    bar.SetActiveGroupIndex(9);
    EXPECT_EQ(bar.ActiveGroupIndex(), 1);
}

} // namespace
