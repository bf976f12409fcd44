#include "files/XListView.h"

#include "core/XClassPropertyTable.h"
#include "files/XListContainer.h"
#include "files/XListHeader.h"
#include "support/gui/ViewTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace
{
class ListViewTest : public ::testing::Test
{
protected:
    void SetUp() override { ViewTest::Application(); }
};

/** A header 100 pixels wide over columns 250 pixels wide: it scrolls 0..150. */
std::unique_ptr<XListHeader> MakeHeader()
{
    auto header = std::make_unique<XListHeader>(XRect(0, 0, 100, 20));
    header->SetContentWidth(250);
    return header;
}
} // namespace

TEST_F(ListViewTest, TheDefaultListHasItsHeaderAndContainerAndNoSelection)
{
    XListView list;
    XListHeader* header = list.GetHeader();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GetParentView(), &list);
    EXPECT_EQ(list.getNumChildComponents(), 1);
    EXPECT_EQ(header->GetFrame(), XRect(0, 0, 1, 1));
    ASSERT_NE(list.GetContainer(), nullptr);
    EXPECT_EQ(list.GetContainer(), header->GetContainer());
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    EXPECT_EQ(list.GetHorizontalStepSize(), 20);
    EXPECT_EQ(list.GetVerticalStepSize(), 20);
    EXPECT_EQ(header->GetStepSize(), 20);

    XString name;
    list.GetClassName(name);
    EXPECT_STREQ(name.CStr(), "XListView");
    EXPECT_STREQ(list.GetPropertyTable()->GetClassName().CStr(), "XListView");
    XMessenger messenger;
    list.GetMessenger(messenger);
    const XMessenger application(GetApplication());
    EXPECT_TRUE(messenger.HasHandler());
    EXPECT_EQ(messenger.GetPort(), application.GetPort()) << "aimed at the application";
    EXPECT_EQ(messenger.GetToken(), application.GetToken());
    EXPECT_EQ(list.GetCellSignal().GetConnectionCount(), 0);
}

TEST_F(ListViewTest, AWatchedParameterIsLeftAtDestructionAndForgottenWhenItGoesFirst)
{
    auto param = ViewTest::MakeParam(0, 10);
    {
        XListView list;
        list.SetWatchedParam(param.get());
        EXPECT_EQ(param->GetWatcherCount(), 1);
    }
    EXPECT_EQ(param->GetWatcherCount(), 0);

    XListView list;
    list.SetWatchedParam(param.get());
    param.reset();
    ViewTest::Pump();
    EXPECT_EQ(list.GetWatchedParam(), nullptr);
}

TEST_F(ListViewTest, TheHeaderAnswersAHorizontalScalerOnly)
{
    auto header = MakeHeader();
    EXPECT_EQ(header->GetMaxScrollOffset(), 150);
    EXPECT_EQ(header->GetRangeStart(true), 0.0);
    EXPECT_EQ(header->GetRangeEnd(true), 100.0);
    EXPECT_EQ(header->GetContentLength(true), 250.0);
    EXPECT_FALSE(header->HasOverview(true));
    EXPECT_FALSE(header->CanZoom(true));

    header->SetRangeStart(40.0, true);
    EXPECT_EQ(header->GetRangeStart(true), 40.0);
    EXPECT_EQ(header->GetRangeEnd(true), 140.0);
    EXPECT_EQ(header->GetContainer()->GetHorizontalOffset(), 40) << "the rows scroll with the header";

    // Vertical requests answer 0 and change nothing.
    header->SetRangeStart(10.0, false);
    header->SetRange(10.0, 20.0, false);
    header->Step(IScalerTarget::kStepTowardsEnd, false);
    EXPECT_EQ(header->GetRangeStart(true), 40.0);
    EXPECT_EQ(header->GetRangeStart(false), 0.0);
    EXPECT_EQ(header->GetRangeEnd(false), 0.0);
    EXPECT_EQ(header->GetContentLength(false), 0.0);
}

TEST_F(ListViewTest, TheHeaderScrollsOnlyOverItsContent)
{
    struct Case
    {
        const char* what;
        std::function<void(XListHeader&)> act;
        double start;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"start past the end stops at the largest offset",
         [](XListHeader& h) { h.SetRangeStart(400.0, true); }, 150},
        {"negative start stops at 0", [](XListHeader& h) { h.SetRangeStart(-30.0, true); }, 0},
        {"huge start", [](XListHeader& h) { h.SetRangeStart(1e300, true); }, 150},
        {"NaN start", [nan](XListHeader& h) { h.SetRangeStart(nan, true); }, 0},
        {"range scrolls to its start", [](XListHeader& h) { h.SetRange(70.0, 90.0, true); }, 70},
        {"range with a negative start", [](XListHeader& h) { h.SetRange(-5.0, 90.0, true); }, 0},
        {"a step towards the end", [](XListHeader& h) { h.Step(IScalerTarget::kStepTowardsEnd, true); }, 20},
        {"a step towards the start from 0",
         [](XListHeader& h) { h.Step(IScalerTarget::kStepTowardsStart, true); }, 0},
        {"eight steps towards the end stop at the end",
         [](XListHeader& h)
         {
             for (int step = 0; step < 8; ++step)
                 h.Step(IScalerTarget::kStepTowardsEnd, true);
         },
         150},
        {"narrower content pulls the offset back",
         [](XListHeader& h)
         {
             h.SetRangeStart(150.0, true);
             h.SetContentWidth(120);
         },
         20},
        {"content narrower than the header does not scroll",
         [](XListHeader& h)
         {
             h.SetContentWidth(50);
             h.SetRangeStart(30.0, true);
         },
         0},
    };
    for (const Case& entry : cases)
    {
        auto header = MakeHeader();
        entry.act(*header);
        EXPECT_EQ(header->GetRangeStart(true), entry.start) << entry.what;
        EXPECT_EQ(header->GetContainer()->GetHorizontalOffset(), static_cast<int32_t>(entry.start))
            << entry.what;
    }
}
