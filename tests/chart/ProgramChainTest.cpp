#include "chart/ProgramChain.h"
#include "blocks/BlockCatalogue.h"
#include "chart/FlowChart.h"
#include "chart/NavBar.h"
#include "chart/NormalSpot.h"
#include "chart/SeqPanel.h"
#include "xml/SimpleXML.h"

#include "TestApp.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

class ProgramChainTest : public ::testing::Test {
protected:
    TTestAppGuard Guard;
    void SetUp() override {
        TestApp();
        Chart = std::make_unique<TFlowChart>();
        Chart->resize(282, 400);
        Chart->SetColor(clSkyBlue);
        Chain = std::make_unique<TProgramChain>(Chart.get(), &Scratch);
        Chain->SetCaptionSource([this](int kind) { return Palette.ItemCaption(kind); });
        Chain->BuildInitialChain();
    }
    void TearDown() override {
        Chain.reset();
        Chart.reset();
    }

    TNormalSpot* Spot(int i) const { return dynamic_cast<TNormalSpot*>(Chain->At(i)); }
    TChainPanel* Panel(int i) const { return dynamic_cast<TChainPanel*>(Chain->At(i)); }
    TFcObject* Block(int i) const {
        auto* block = dynamic_cast<TSeqPanel*>(Chain->At(i));
        return block ? block->ChartObject : nullptr;
    }
    TFcPoint TopLeftOf(int i) const {
        const TFcObject* o = Spot(i) ? Spot(i)->Cell : Panel(i)->ChartObject;
        return {o->Left(), o->Top()};
    }
    // Kinds of the elements: S start, o spot, B block, E end.
    std::string Shape() const {
        std::string s;
        for (int i = 0; i < Chain->Count(); ++i)
            switch (Chain->At(i)->ElementKind()) {
            case TChainElementKind::Start:
                s += 'S';
                break;
            case TChainElementKind::Spot:
                s += 'o';
                break;
            case TChainElementKind::Seq:
                s += 'B';
                break;
            case TChainElementKind::End:
                s += 'E';
                break;
            }
        return s;
    }
    void InsertAfterSpot(int spotIndex, int kind) {
        Chart->SetSelection(Spot(spotIndex)->Marker);
        Chain->InsertBlock(kind);
    }

    TSimpleXML Scratch;
    TNavBar Palette;
    std::unique_ptr<TFlowChart> Chart;
    std::unique_ptr<TProgramChain> Chain;
};

TEST_F(ProgramChainTest, NewProgramIsStartSpotEndInOneColumn) {
    EXPECT_EQ(Shape(), "SoE");
    EXPECT_EQ(TopLeftOf(0), (TFcPoint{70, 16}));
    EXPECT_EQ(TopLeftOf(1), (TFcPoint{70, 48}));
    EXPECT_EQ(Spot(1)->Marker->Left(), 95);
    EXPECT_EQ(Spot(1)->Marker->Top(), 57);
    EXPECT_EQ(Chart->Selection(), Spot(1)->Marker);
    EXPECT_EQ(TopLeftOf(2), (TFcPoint{70, 80}));
    EXPECT_EQ(Chain->StartObject, Panel(0)->ChartObject);
    EXPECT_EQ(Chain->EndObject, Panel(2)->ChartObject);

    const TFcObject* start = Chain->StartObject;
    EXPECT_EQ(start->Text(), u"开始"_s);
    EXPECT_EQ(start->Shape(), 3);
    EXPECT_EQ(start->FillColor(), clYellow);
    EXPECT_EQ(start->TagCode, TagStartBlock);
    EXPECT_EQ(Chain->EndObject->TagCode, TagEndBlock);
    EXPECT_EQ(Chain->EndObject->ImageIndex(), 0);
    EXPECT_EQ(Spot(1)->Marker->TagCode, TagSpotMarker);

    // The spot's lines join the marker to the elements above and below.
    const std::vector<TFcConnection*> lines = Chart->Connections();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->FirstEnd(), (TFcPoint{115, 47}));
    EXPECT_EQ(lines[0]->LastEnd(), (TFcPoint{115, 57}));
    EXPECT_EQ(lines[1]->FirstEnd(), (TFcPoint{115, 70}));
    EXPECT_EQ(lines[1]->LastEnd(), (TFcPoint{115, 80}));
}

TEST_F(ProgramChainTest, RebuildLeavesSixObjectsAndTwoLines) {
    InsertAfterSpot(1, 1);
    InsertAfterSpot(1, 2);
    Chain->FreeChain();
    EXPECT_EQ(Chart->ObjectCount(), 0);
    // The chain shows its program: rebuilt, it shows the two blocks again.
    Chain->BuildInitialChain();
    EXPECT_EQ(Shape(), "SoBoBoE");
    Chain->Program().Reset({});
    EXPECT_EQ(Shape(), "SoE");
    EXPECT_EQ(Chart->ObjectCount(), 6);
    EXPECT_EQ(Chart->ConnectionCount(), 2);
    EXPECT_EQ(Spot(1)->Cell->AttachedCount(), 3);
    EXPECT_EQ(Spot(1)->Cell->Attached(0), Spot(1)->Marker);
    EXPECT_EQ(Spot(1)->Cell->Attached(1), Spot(1)->TopAnchor);
    EXPECT_EQ(Spot(1)->Cell->Attached(2), Spot(1)->BottomAnchor);
}

TEST_F(ProgramChainTest, InsertionBelowTheSelectedSpot) {
    InsertAfterSpot(1, 1);
    EXPECT_EQ(Shape(), "SoBoE");
    TFcObject* block = Block(2);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(TopLeftOf(2), (TFcPoint{70, 80}));
    EXPECT_EQ(block->Text(), u"直行"_s);
    EXPECT_EQ(block->TagCode, 577);
    EXPECT_EQ(block->ImageIndex(), 0);
    EXPECT_EQ(block->FillColor(), clTeal);
    EXPECT_EQ(block->EdgeKind(), 5);
    EXPECT_EQ(block->Font().Color, clWhite);
    EXPECT_TRUE(block->Font().Style & fsBold);
    EXPECT_EQ(block->DataText, BuildDefaultRecord(Scratch, 1));
    EXPECT_EQ(Chart->Selection(), block);
    EXPECT_EQ(TopLeftOf(4), (TFcPoint{70, 144}));

    // With the new block selected the next one follows it, so clicking
    // 直行, 转向 builds them in that order.
    Chain->InsertBlock(2);
    EXPECT_EQ(Shape(), "SoBoBoE");
    EXPECT_EQ(Block(4)->TagCode, 578);
    EXPECT_EQ(Chart->Selection(), Block(4));

    InsertAfterSpot(1, 5);
    EXPECT_EQ(Block(2)->TagCode, 581) << "after the first spot: first in the program";
    InsertAfterSpot(7, 14);
    EXPECT_EQ(Block(8)->TagCode, 590) << "after the last spot: last in the program";
    std::vector<int32_t> tags;
    for (TFcObject* o : Chain->BlockObjects())
        tags.push_back(o->TagCode);
    EXPECT_EQ(tags, (std::vector<int32_t>{581, 577, 578, 590}));
    for (int i = 0; i < Chain->Count(); ++i)
        EXPECT_EQ(TopLeftOf(i), (TFcPoint{70, 16 + 32 * i})) << i;
}

TEST_F(ProgramChainTest, InsertionIgnoresAnythingButASpotMarker) {
    InsertAfterSpot(1, 1);
    struct Case {
        const char* What;
        TFcObject* Selected;
        int Kind;
    } cases[] = {
        {"nothing", nullptr, 1},        {"the start object", Chain->StartObject, 1},
        {"a cell", Spot(1)->Cell, 1},
        {"kind 7", Spot(1)->Marker, 7}, {"kind 8", Spot(1)->Marker, 8},
        {"kind 0", Spot(1)->Marker, 0},
    };
    for (const auto& c : cases) {
        Chart->SetSelection(nullptr);
        if (c.Selected != nullptr) {
            // Bypass the selection rule so that the insertion's own check is tested.
            auto rule = Chart->OnSelection;
            Chart->OnSelection = nullptr;
            Chart->SetSelection(c.Selected);
            Chart->OnSelection = rule;
        }
        const int objects = Chart->ObjectCount();
        Chain->InsertBlock(c.Kind);
        EXPECT_EQ(Shape(), "SoBoE") << c.What;
        EXPECT_EQ(Chart->ObjectCount(), objects) << c.What;
    }
}

TEST_F(ProgramChainTest, AppendBuildsInOrderAndLaysOutWhatItAdds) {
    Chart->SetSelection(Spot(1)->Marker);
    Chain->AppendBlock(1);
    TFcObject* first = Chain->LastAppended;
    Chain->AppendBlock(26);
    TFcObject* second = Chain->LastAppended;
    EXPECT_EQ(Shape(), "SoBoBoE");
    EXPECT_EQ(Block(2), first);
    EXPECT_EQ(Block(4), second);
    EXPECT_EQ(second->TagCode, 602);
    // A speech block shows its phrase from the start, as it does once saved
    // and opened again (here without a phrase file: the number).
    EXPECT_EQ(second->Text(), u"语音: 0"_s);
    EXPECT_EQ(second->Height(), 40);
    EXPECT_EQ(TopLeftOf(4), (TFcPoint{70, 144}));
    EXPECT_EQ(TopLeftOf(5), (TFcPoint{70, 184}));
    EXPECT_EQ(Chart->Selection(), Spot(1)->Marker);
    Chain->Relayout();
    EXPECT_EQ(TopLeftOf(6), (TFcPoint{70, 216}));

    EXPECT_THROW(Chain->AppendBlock(7), std::invalid_argument);
    EXPECT_EQ(Shape(), "SoBoBoE") << "a refused kind leaves the chain whole";
}

TEST_F(ProgramChainTest, TallBlockPushesTheRestDown) {
    InsertAfterSpot(1, 1);
    InsertAfterSpot(3, 2);
    const TFcPoint below = TopLeftOf(4);
    Chain->SetBlockHeight(Block(2), 40);
    EXPECT_EQ(TopLeftOf(4), below) << "no layout until Relayout";
    Chain->Relayout();
    EXPECT_EQ(Block(2)->Height(), 40);
    EXPECT_EQ(Panel(2)->Height, 40);
    for (int i = 3; i < Chain->Count(); ++i)
        EXPECT_EQ(TopLeftOf(i).Y, 16 + 32 * i + 8) << i;
    EXPECT_EQ(Spot(3)->Marker->Top(), 16 + 32 * 3 + 8 + 9);

    Chain->SetBlockHeight(Chain->StartObject, 40);
    EXPECT_EQ(Chain->StartObject->Height(), 32) << "only blocks change height";
}

TEST_F(ProgramChainTest, RecordChangeMovesWhatIsBelowOnlyWhenTheHeightChanges) {
    auto labelRecord = [this](const std::string& label) {
        TRecordValues values(11);
        values.SetText("label", label);
        return BuildRecord(Scratch, 11, values);
    };
    TProgram& program = Chain->Program();
    program.Insert(0, {TProgramBlock{0, 1, BuildDefaultRecord(Scratch, 1)},
                       TProgramBlock{0, 11, labelRecord("")},
                       TProgramBlock{0, 2, BuildDefaultRecord(Scratch, 2)}});
    auto tops = [this] {
        std::vector<int32_t> y;
        for (int i = 0; i < Chain->Count(); ++i)
            y.push_back(TopLeftOf(i).Y);
        y.push_back(Spot(5)->Marker->Top());
        return y;
    };
    // What a full layout gives, to compare each patched layout with.
    auto laidOut = [this, &tops] {
        const std::vector<int32_t> patched = tops();
        Chain->Relayout();
        return patched == tops();
    };
    const std::vector<int32_t> flat = tops();
    const std::vector<int32_t> connectionsFlat = [this] {
        std::vector<int32_t> y;
        for (const TFcConnection* c : Chart->Connections())
            y.push_back(c->LastEnd().Y);
        return y;
    }();

    program.ReplaceRecord(1, labelRecord("A"));
    EXPECT_EQ(Block(4)->Height(), 40);
    EXPECT_EQ(Block(4)->Text(), u"标号:A"_s);
    const std::vector<int32_t> tall = tops();
    for (size_t i = 5; i < tall.size(); ++i)
        EXPECT_EQ(tall[i], flat[i] + 8) << i;
    EXPECT_TRUE(laidOut());

    program.ReplaceRecord(1, labelRecord("B"));
    EXPECT_EQ(Block(4)->Text(), u"标号:B"_s);
    EXPECT_EQ(Block(4)->DataText, labelRecord("B"));
    EXPECT_EQ(tops(), tall) << "same height, nothing moves";
    EXPECT_TRUE(laidOut());

    program.ReplaceRecord(1, labelRecord(""));
    EXPECT_EQ(Block(4)->Height(), 32);
    EXPECT_EQ(tops(), flat);
    std::vector<int32_t> connections;
    for (const TFcConnection* c : Chart->Connections())
        connections.push_back(c->LastEnd().Y);
    EXPECT_EQ(connections, connectionsFlat) << "the lines follow the spots back";
    EXPECT_TRUE(laidOut());
}

TEST_F(ProgramChainTest, RelayoutPutsMovedObjectsBack) {
    InsertAfterSpot(1, 3);
    Block(2)->SetBounds(200, 300, 90, 32);
    Spot(3)->Marker->SetLeft(5);
    Chain->Relayout();
    EXPECT_EQ(TopLeftOf(2), (TFcPoint{70, 80}));
    EXPECT_EQ(Spot(3)->Marker->Left(), 95);
}

TEST_F(ProgramChainTest, DeletingBlocksReselectsTheSpotBeforeLater) {
    InsertAfterSpot(1, 1);
    Chain->DeleteBlock(Block(2));
    EXPECT_EQ(Shape(), "SoE");
    EXPECT_EQ(Chart->ObjectCount(), 6);
    EXPECT_EQ(TopLeftOf(2), (TFcPoint{70, 80}));
    EXPECT_EQ(Chart->Selection(), nullptr) << "the re-selection waits for the event loop";
    QSignalSpy reselected(Chain.get(), &TProgramChain::SpotReselected);
    QApplication::processEvents();
    EXPECT_EQ(reselected.count(), 1);
    EXPECT_EQ(Chart->Selection(), Spot(1)->Marker);

    InsertAfterSpot(1, 1);
    InsertAfterSpot(3, 2);
    TFcObject* spotBefore = Spot(3)->Marker;
    Chain->DeleteBlock(Block(4));
    QApplication::processEvents();
    EXPECT_EQ(Shape(), "SoBoE");
    EXPECT_EQ(Block(2)->TagCode, 577);
    EXPECT_EQ(Chart->Selection(), spotBefore);
}

TEST_F(ProgramChainTest, DeletingWhatIsNoBlockChangesNothing) {
    InsertAfterSpot(1, 1);
    for (TFcObject* o : {Spot(1)->Marker, Spot(1)->Cell, Chain->StartObject, Chain->EndObject,
                         static_cast<TFcObject*>(nullptr)}) {
        Chain->DeleteBlock(o);
        EXPECT_EQ(Shape(), "SoBoE");
    }
}

TEST_F(ProgramChainTest, PendingReselectionSurvivesARebuild) {
    InsertAfterSpot(1, 1);
    Chain->DeleteBlock(Block(2));
    Chain->FreeChain();
    Chain->BuildInitialChain();
    Chart->SetSelection(nullptr);
    QApplication::processEvents();
    EXPECT_EQ(Chart->Selection(), nullptr) << "the old marker is gone; nothing is selected";
}

TEST_F(ProgramChainTest, SelectionRule) {
    InsertAfterSpot(1, 1);
    TFcConnection* line = Chart->Connections().front();
    struct Case {
        const char* What;
        TFcItem* Item;
        bool Allowed;
    } cases[] = {
        {"start", Chain->StartObject, false},
        {"end", Chain->EndObject, false},
        {"cell", Spot(1)->Cell, false},
        {"cell below a block", Spot(3)->Cell, false},
        {"line", line, false},
        {"block", Block(2), true},
        {"marker", Spot(3)->Marker, true},
    };
    for (const auto& c : cases) {
        Chart->SetSelection(nullptr);
        Chart->SetSelection(c.Item);
        EXPECT_EQ(c.Item->Selected(), c.Allowed) << c.What;
    }
}

TEST_F(ProgramChainTest, PressesFollowTheSelectionRule) {
    Chart->show();
    InsertAfterSpot(1, 1);
    auto press = [this](int x, int y) {
        QTest::mouseClick(Chart->viewport(), Qt::LeftButton, {}, QPoint(x, y));
    };
    press(115, 30); // start element
    EXPECT_EQ(Chart->Selection(), nullptr);
    press(115, 96); // block
    EXPECT_EQ(Chart->Selection(), Block(2));
    press(80, 120); // spot cell beside its marker
    EXPECT_EQ(Chart->Selection(), nullptr);
    press(100, 128); // marker of the spot below the block
    EXPECT_EQ(Chart->Selection(), Spot(3)->Marker);
    press(115, 150); // end element
    EXPECT_EQ(Chart->Selection(), nullptr);
}

} // namespace
