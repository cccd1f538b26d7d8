#include "chart/FlowChart.h"

#include "chart/SeqPanel.h"

#include "TestApp.h"
#include "tests/support/ToolTipProbe.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Counts the paint events that reach a widget.
class TPaintCounter : public QObject {
public:
    int Count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

class FlowChartTest : public ::testing::Test {
protected:
    TTestAppGuard Guard;
    void SetUp() override {
        TestApp();
        Chart.resize(300, 400);
        Chart.SetColor(clSkyBlue);
    }

    // Renders the content area (content coordinates) the way a repaint does.
    QImage Render(const TFcRect& area) {
        QImage image(area.Width(), area.Height(), QImage::Format_RGB32);
        QPainter painter(&image);
        painter.translate(-area.Left, -area.Top);
        Chart.PaintContent(painter, area);
        return image;
    }

    void Press(TFcPoint p, Qt::KeyboardModifiers modifiers = {}) {
        const TFcPoint o = Chart.ScrollOffset();
        QTest::mouseClick(Chart.viewport(), Qt::LeftButton, modifiers,
                          QPoint(p.X - o.X, p.Y - o.Y));
    }

    TFlowChart Chart;
};

TEST_F(FlowChartTest, NewObjectTakesDefaultsAndTheCanvasColour) {
    TFcObject* o = Chart.AddObject(5, 6, 90, 32, 1);
    EXPECT_EQ(o->Bounds(), (TFcBounds{5, 6, 90, 32}));
    EXPECT_EQ(o->Shape(), 1);
    EXPECT_EQ(o->FillColor(), clSkyBlue);
    EXPECT_EQ(o->OutlineColor(), clBlack);
    EXPECT_EQ(o->OutlineWidth(), 1);
    EXPECT_EQ(o->EdgeKind(), 0);
    EXPECT_EQ(o->EdgeSides(), 15);
    EXPECT_EQ(o->ImageIndex(), -1);
    EXPECT_TRUE(o->Visible());
    EXPECT_EQ(o->TagCode, 0);
    EXPECT_TRUE(o->DataText.empty());
    EXPECT_TRUE(o->ParentFont());
    EXPECT_FALSE(o->Selected());

    TFcObject* bare = Chart.AddObject();
    EXPECT_EQ(bare->Bounds(), (TFcBounds{0, 0, 0, 0}));
    EXPECT_EQ(bare->Shape(), 0);
    EXPECT_EQ(Chart.Objects().back(), bare);
}

TEST_F(FlowChartTest, ItemFontFollowsTheCanvasUntilItIsSet) {
    TFcObject* follower = Chart.AddObject(0, 0, 10, 10, 1);
    TFcObject* own = Chart.AddObject(0, 0, 10, 10, 1);
    TFcFont font = own->Font();
    font.Height = -16;
    own->SetFont(font);
    EXPECT_FALSE(own->ParentFont());

    TFcFont canvasFont = Chart.Font();
    canvasFont.Name = QStringLiteral("Serif");
    Chart.SetFont(canvasFont);
    EXPECT_EQ(follower->Font(), canvasFont);
    EXPECT_EQ(own->Font().Height, -16);
    EXPECT_NE(own->Font().Name, canvasFont.Name);
}

TEST_F(FlowChartTest, ConnectionsFollowTheirObjects) {
    TFcObject* a = Chart.AddObject(45, -1, 0, 0, 0);
    TFcObject* m = Chart.AddObject(25, 9, 40, 14, 1);
    TFcConnection* c = Chart.AddConnection(a, m, 0, 2);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->FirstEnd(), (TFcPoint{45, -1}));
    EXPECT_EQ(c->LastEnd(), (TFcPoint{45, 9}));
    EXPECT_EQ(a->Connections().size(), 1u);
    EXPECT_EQ(m->Connections().size(), 1u);

    m->SetBounds(95, 57, 40, 14);
    EXPECT_EQ(c->LastEnd(), (TFcPoint{115, 57}));
    a->SetTop(47);
    EXPECT_EQ(c->FirstEnd(), (TFcPoint{45, 47}));
    EXPECT_EQ(Chart.AddConnection(a, nullptr, 0, 0), nullptr);
}

TEST_F(FlowChartTest, RemovingAnObjectTakesItsConnectionsAndMemberships) {
    TFcObject* a = Chart.AddObject(0, 0, 10, 10, 1);
    TFcObject* b = Chart.AddObject(0, 20, 10, 10, 1);
    TFcObject* c = Chart.AddObject(0, 40, 10, 10, 1);
    Chart.AddConnection(a, b, 10, 2);
    Chart.AddConnection(b, c, 10, 2);
    a->AttachObject(b);
    a->AttachObject(c);
    Chart.SetSelection(b);

    Chart.RemoveObject(b);
    EXPECT_EQ(Chart.ObjectCount(), 2);
    EXPECT_EQ(Chart.ConnectionCount(), 0);
    EXPECT_TRUE(a->Connections().empty());
    EXPECT_TRUE(c->Connections().empty());
    EXPECT_EQ(a->AttachedCount(), 1);
    EXPECT_EQ(a->Attached(0), c);
    EXPECT_EQ(Chart.Selection(), nullptr);
    EXPECT_EQ(Chart.SelectionCount(), 0);
}

TEST_F(FlowChartTest, AttachingIgnoresRepeatsSelfNoneAndCycles) {
    TFcObject* cell = Chart.AddObject();
    TFcObject* marker = Chart.AddObject();
    TFcObject* inner = Chart.AddObject();
    cell->AttachObject(marker);
    cell->AttachObject(marker);
    cell->AttachObject(cell);
    cell->AttachObject(nullptr);
    marker->AttachObject(inner);
    cell->AttachObject(inner); // reachable through marker
    inner->AttachObject(cell); // would close a cycle
    EXPECT_EQ(cell->AttachedCount(), 1);
    EXPECT_EQ(cell->Attached(0), marker);
    EXPECT_EQ(cell->Attached(1), nullptr);
    EXPECT_EQ(cell->Attached(-1), nullptr);
    EXPECT_EQ(marker->AttachedCount(), 1);
    EXPECT_EQ(inner->AttachedCount(), 0);
}

TEST_F(FlowChartTest, SelectionProtocol) {
    TFcObject* a = Chart.AddObject(0, 0, 10, 10, 1);
    TFcObject* b = Chart.AddObject(0, 20, 10, 10, 1);
    int asked = 0;
    TFcObject* refused = nullptr;
    Chart.OnSelection = [&](TCustomFlowChart* sender, TFcItem* item, bool& allow) {
        EXPECT_EQ(sender, &Chart);
        EXPECT_TRUE(allow);
        ++asked;
        if (item == refused)
            allow = false;
    };

    Chart.SetSelection(a);
    EXPECT_EQ(Chart.Selection(), a);
    EXPECT_TRUE(a->Selected());
    EXPECT_EQ(asked, 1);

    Chart.SetSelection(a);
    EXPECT_EQ(asked, 1) << "the single selection is not offered again";

    refused = b;
    Chart.SetSelection(b);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Chart.Selection(), nullptr) << "a refused offer still clears the old selection";
    EXPECT_FALSE(a->Selected());
    EXPECT_FALSE(b->Selected());

    Chart.SetSelection(a);
    Chart.SetSelection(nullptr);
    EXPECT_EQ(Chart.SelectionCount(), 0);
}

TEST_F(FlowChartTest, SelectedConnectionIsNoObjectSelection) {
    TFcObject* a = Chart.AddObject(0, 0, 10, 10, 1);
    TFcObject* b = Chart.AddObject(0, 20, 10, 10, 1);
    TFcConnection* c = Chart.AddConnection(a, b, 10, 2);
    Chart.SetSelection(c);
    EXPECT_TRUE(c->Selected());
    EXPECT_EQ(Chart.Selection(), nullptr);
    Chart.SetSelection(nullptr);
    EXPECT_FALSE(c->Selected());
    EXPECT_TRUE(Chart.SelectedConnections().empty());
}

TEST_F(FlowChartTest, PressesHitTopmostBodiesAndLinesFirst) {
    Chart.show();
    TFcObject* cell = Chart.AddObject(70, 48, 90, 32, 0);
    TFcObject* marker = Chart.AddObject(95, 57, 40, 14, 1);
    marker->SetEdgeKind(5);
    TFcObject* above = Chart.AddObject(70, 16, 90, 32, 3);
    TFcObject* anchor = Chart.AddObject(115, 47, 0, 0, 0);
    TFcConnection* line = Chart.AddConnection(anchor, marker, 0, 2);

    Press({100, 64});
    EXPECT_EQ(Chart.Selection(), marker) << "the marker lies above the cell";
    Press({100, 64});
    EXPECT_EQ(Chart.Selection(), marker) << "a press on the selection changes nothing";
    Press({80, 75});
    EXPECT_EQ(Chart.Selection(), cell);
    Press({10, 10});
    EXPECT_EQ(Chart.Selection(), cell) << "empty canvas changes nothing";
    Press({70, 16});
    EXPECT_EQ(Chart.Selection(), cell) << "the rounded box's outline ring is no body";
    Press({115, 30});
    EXPECT_EQ(Chart.Selection(), above);
    Press({115, 52});
    EXPECT_TRUE(line->Selected()) << "the line beats the cell body under it";
    EXPECT_EQ(Chart.Selection(), nullptr);

    marker->SetVisible(false);
    Press({100, 64});
    EXPECT_EQ(Chart.Selection(), cell) << "invisible objects are not hit";
    Chart.SetSelection(nullptr);
    Press({80, 75}, Qt::ShiftModifier);
    EXPECT_EQ(Chart.Selection(), nullptr);
}

TEST_F(FlowChartTest, DoubleClickIsReported) {
    Chart.show();
    int clicks = 0;
    Chart.OnDblClick = [&](TCustomFlowChart* sender) {
        EXPECT_EQ(sender, &Chart);
        ++clicks;
    };
    QTest::mouseDClick(Chart.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    QTest::mouseDClick(Chart.viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
}

TEST_F(FlowChartTest, PaintingOrderPictureFitAndMarks) {
    QPixmap red(32, 31);
    red.fill(Qt::red);
    Chart.SetImages({red});

    TFcObject* fitted = Chart.AddObject(0, 0, 90, 32, 0);
    fitted->SetOutlineWidth(0);
    fitted->SetImageIndex(0);
    fitted->SetImageHAlign(1);
    TFcObject* framed = Chart.AddObject(0, 40, 90, 32, 0);
    framed->SetImageIndex(0);
    framed->SetImageHAlign(1);
    TFcObject* outOfList = Chart.AddObject(0, 80, 90, 32, 0);
    outOfList->SetOutlineWidth(0);
    outOfList->SetImageIndex(5);
    TFcObject* teal = Chart.AddObject(0, 120, 90, 32, 1);
    teal->SetFillColor(clTeal);
    teal->SetEdgeKind(5);
    TFcObject* covering = Chart.AddObject(60, 120, 40, 32, 1);
    covering->SetFillColor(clYellow);
    Chart.SetSelection(teal);

    const QImage image = Render({0, 0, 120, 160});
    const QColor sky = FcToQColor(clSkyBlue);
    EXPECT_EQ(image.pixelColor(28, 0), QColor(Qt::red)) << "centred at the top: L + 28";
    EXPECT_EQ(image.pixelColor(27, 0), sky);
    EXPECT_EQ(image.pixelColor(59, 30), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(45, 55), sky) << "a picture that does not fit is not drawn";
    EXPECT_EQ(image.pixelColor(30, 90), sky) << "an index outside the list draws nothing";
    EXPECT_EQ(image.pixelColor(30, 136), FcToQColor(clTeal));
    EXPECT_EQ(image.pixelColor(70, 136), FcToQColor(clYellow)) << "later objects lie on top";
    EXPECT_EQ(image.pixelColor(1, 121), QColor(Qt::black)) << "selection mark at the corner";
    EXPECT_EQ(image.pixelColor(45, 151), QColor(Qt::black)) << "mark at the bottom middle";
    EXPECT_EQ(image.pixelColor(30, 121), QColor(Qt::white)) << "raised edge: inner light line";
    EXPECT_EQ(image.pixelColor(30, 150), QColor(0xA0, 0xA0, 0xA0)) << "inner dark line";
}

TEST_F(FlowChartTest, LinesArePaintedOverObjects) {
    TFcObject* box = Chart.AddObject(0, 0, 40, 40, 1);
    box->SetFillColor(clYellow);
    TFcObject* a = Chart.AddObject(20, 0, 0, 0, 0);
    TFcObject* b = Chart.AddObject(20, 30, 0, 0, 0);
    Chart.AddConnection(a, b, 0, 0);
    const QImage image = Render({0, 0, 40, 40});
    EXPECT_EQ(image.pixelColor(20, 15), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(22, 15), FcToQColor(clYellow));
}

TEST_F(FlowChartTest, NestedUpdateLockRepaintsOnceAtTheOutermostEnd) {
    TFcObject* o = Chart.AddObject(10, 10, 40, 20, 1);
    Chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Chart));
    QApplication::processEvents();
    TPaintCounter counter;
    Chart.viewport()->installEventFilter(&counter);

    Chart.BeginUpdate();
    Chart.BeginUpdate();
    o->SetFillColor(clTeal);
    o->SetTop(500);
    QApplication::processEvents();
    EXPECT_EQ(counter.Count, 0);
    Chart.EndUpdate();
    QApplication::processEvents();
    EXPECT_EQ(counter.Count, 0);
    EXPECT_EQ(Chart.verticalScrollBar()->maximum(), 0) << "no extent recomputation while locked";
    Chart.EndUpdate();
    QApplication::processEvents();
    EXPECT_EQ(counter.Count, 1);
    EXPECT_EQ(Chart.ScrollExtent(), (TFcRect{10, 500, 50, 520}));
    EXPECT_EQ(Chart.verticalScrollBar()->maximum(), 520 - Chart.viewport()->height());
    Chart.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(Chart.UpdateCount(), 0);
}

TEST_F(FlowChartTest, ExtentCoversObjectsAndLinesAndShrinksAgain) {
    Chart.show();
    TFcObject* a = Chart.AddObject(70, 16, 90, 32, 1);
    TFcObject* low = Chart.AddObject(70, 900, 90, 32, 1);
    TFcObject* anchor = Chart.AddObject(300, 1000, 0, 0, 0);
    Chart.AddConnection(a, anchor, 10, 0);
    EXPECT_EQ(Chart.ScrollExtent(), (TFcRect{70, 16, 301, 1001}));

    Chart.RemoveObject(anchor);
    EXPECT_EQ(Chart.ScrollExtent(), (TFcRect{70, 16, 160, 932}));
    low->SetTop(100);
    QApplication::processEvents();
    EXPECT_EQ(Chart.verticalScrollBar()->maximum(), 0)
        << "the shrunk extent reaches the scroll bars after the event";
    EXPECT_EQ(Chart.ScrollExtent(), (TFcRect{70, 16, 160, 132}));
}

TEST_F(FlowChartTest, ScrollIntoViewShowsAndRevealsTheObject) {
    Chart.show();
    TFcObject* top = Chart.AddObject(70, 16, 90, 32, 1);
    TFcObject* far = Chart.AddObject(70, 2000, 90, 32, 1);
    far->SetVisible(false);
    far->ScrollIntoView();
    EXPECT_TRUE(far->Visible());
    const int height = Chart.viewport()->height();
    EXPECT_EQ(Chart.ScrollOffset().Y, 2032 - height);
    top->ScrollIntoView();
    EXPECT_EQ(Chart.ScrollOffset().Y, 16);
}

// A block's caption must keep clear of its raised edge: ink beyond the
// edge-free area is either painted over the edge or cut off by the clip.
TEST_F(FlowChartTest, BlockCaptionsFitTheirBlockOrAreElidedWithATooltip) {
    struct TCase {
        QString Text;
        uint16_t Height;
        bool Elided;
        // Where a caption is broken, it is broken after its prefix.
        QString FirstLine;
    } cases[] = {
        {u"直行"_s, 32, false, u"直行"_s},
        {u"调用子程序"_s, 32, false, u"调用子程序"_s},
        {u"标号:起点"_s, 40, false, u"标号:起点"_s},
        {u"条件跳转:起点"_s, 40, false, u"条件跳转:"_s},
        {u"调用子程序:闪灯"_s, 40, false, u"调用子程序:"_s},
        {u"语音: 23.您好"_s, 40, false, u"语音:"_s},
        {u"表达式:A=A+1"_s, 40, false, u"表达式:"_s},
        {u"子程序开始:这是一个非常非常长的子程序名字"_s, 40, true, u"子程序开始:"_s},
        {u"无条件跳转:THE_LABEL_THAT_STARTS_THE_MAIN_LOOP"_s, 40, true, u"无条件跳转:"_s},
        {u"表达式:IF A>1 THEN GOTO label: 起点"_s, 40, true, u"表达式:"_s},
        {u"无条件跳转:很长很长很长很长的标号名字"_s, 32, true, QString()},
    };
    Chart.show();
    const auto withoutSpaces = [](QString text) { return text.remove(u' '); };
    for (const TCase& c : cases) {
        TFcObject* o = Chart.AddObject(70, 16, 90, c.Height, 1);
        ApplyBlockStyle(o);
        TFcFont font = o->Font();
        ApplyBlockFont(font);
        o->SetFont(font);
        o->SetText(c.Text);
        const std::string name = c.Text.toStdString();
        const TFcTextFit fit = TCustomFlowChart::FitObjectText(*o);
        const QRect edgeFree(70 + 2, 16 + 2, 90 - 4, c.Height - 4);
        EXPECT_EQ(fit.Elided, c.Elided) << name;
        EXPECT_GE(fit.Font.pixelSize(), FcMinTextPixelSize) << name;
        EXPECT_LE(fit.Font.pixelSize(), 16) << name;
        ASSERT_FALSE(fit.Lines.isEmpty()) << name;
        ASSERT_EQ(fit.Lines.size(), fit.Origins.size()) << name;
        if (!c.FirstLine.isEmpty()) {
            EXPECT_EQ(fit.Lines.front(), c.FirstLine) << name;
        }
        const QFontMetricsF metrics(fit.Font);
        qreal previousBottom = -1e9;
        for (qsizetype i = 0; i < fit.Lines.size(); ++i) {
            const QRectF ink = metrics.tightBoundingRect(fit.Lines[i]).translated(fit.Origins[i]);
            EXPECT_TRUE(QRectF(edgeFree).contains(ink))
                << name << " line " << i << ": " << ink.x() << "," << ink.y() << " "
                << ink.width() << "x" << ink.height();
            EXPECT_GE(ink.top(), previousBottom) << name << " line " << i;
            previousBottom = ink.bottom();
        }
        const QString shown = withoutSpaces(fit.Lines.join(QString()));
        if (c.Elided) {
            EXPECT_TRUE(shown.endsWith(u'…')) << name;
            EXPECT_TRUE(withoutSpaces(c.Text).startsWith(shown.chopped(1))) << name;
        } else {
            EXPECT_EQ(shown, withoutSpaces(c.Text));
        }
        // Hovering over the block shows the whole caption where it is cut.
        const TFcPoint o0 = Chart.ScrollOffset();
        const QPoint centre(70 + 45 - o0.X, 16 + c.Height / 2 - o0.Y);
        EXPECT_EQ(ToolTipShownAt(Chart.viewport(), centre), c.Elided ? c.Text : QString()) << name;
        Chart.RemoveObject(o);
    }
}

} // namespace
