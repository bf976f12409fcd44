// The input-linking window: its page, its window-open parameter, linking a region or a parameter in
// both inputs, the creating window's link button, and the unlinking when the inputs stop being a pair.

#include "windows/InputParameterLinkWindow.h"

#include "FlagTableTestSupport.h"
#include "WindowTestSupport.h"
#include "core/XMessageCodes.h"
#include "device/GlobalParamTables.h"
#include "support/ParamTestSupport.h"
#include "windows/ListBoxButtonComponent.h"
#include "windows/LocalParamDesc.h"

#include <gtest/gtest.h>

namespace
{
using FlagTableTest::RegionParams;
using WindowTest::Param;

constexpr int32_t kLinked = FPModel::kFlagLinked;
constexpr int32_t kWindowParamId = GlobalParamTables::kWndLinkInputPeqId;

int CountLinked(const std::vector<XParam*>& params)
{
    return static_cast<int>(std::count_if(params.begin(), params.end(),
                                          [](const XParam* param)
                                          { return (param->GetFlags() & kLinked) != 0; }));
}

class InputParameterLinkWindowTest : public WindowTest::WindowTestBase
{
protected:
    void SetUp() override
    {
        WindowTest::WindowTestBase::SetUp();
        if (IsSkipped())
            return;
        windowParam = rig->groups->services.GetParam(kWindowParamId);
        editMode = Param("QM7_KOVA\\globalEditMode");
        config = Param("preset\\CurrentConfig");
        editMode->SetValue(0, true);
        config->SetValue(0, true);
    }

    /** Links (or unlinks) every parameter of the region. */
    static void LinkAll(const std::vector<XParam*>& params, bool on)
    {
        for (XParam* param : params)
            param->SetFlags(on ? (param->GetFlags() | kLinked) : (param->GetFlags() & ~kLinked));
    }

    FloatParam linkButton{LocalParamDesc("link", XParamDesc::kTypeOnOff, 0, 1, 0, 2)};
    XParam* windowParam = nullptr;
    XParam* editMode = nullptr;
    XParam* config = nullptr;
};
} // namespace

TEST_F(InputParameterLinkWindowTest, ShowAndHideWriteTheWindowParameterAsTheProgramAndThePageHoldsBothTables)
{
    ParamTest::Recorder codes;
    windowParam->AddWatcher(&codes, 0, false);
    InputParameterLinkWindow window(InputParameterLinkWindow::kInputPeqRegion, windowParam, &linkButton);
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    EXPECT_EQ(windowParam->GetValue(), 1.0);
    EXPECT_EQ(window.GetTitle(), "Input Linking");
    juce::TableListBox* region = window.GetRegionTable();
    juce::TableListBox* parameters = window.GetParameterTable();
    ASSERT_NE(region, nullptr);
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(region->getBounds(), juce::Rectangle<int>(25, 22, 400, 27));
    EXPECT_EQ(parameters->getBounds(), juce::Rectangle<int>(25, 88, 400, 300));
    EXPECT_EQ(region->getHeader().getColumnIdOfIndex(0, false), FPModel::kColumnLink);
    EXPECT_EQ(region->getHeader().getColumnWidth(FPModel::kColumnName), 320);
    EXPECT_EQ(parameters->getHeader().getColumnWidth(FPModel::kColumnName), 100);
    EXPECT_EQ(region->getNumRows(), 1);
    EXPECT_EQ(parameters->getNumRows(), 0) << "empty until the region row is selected";
    region->selectRow(0);
    const int32_t count = RegionsManager::Instance().GetRegion(0)->GetGroup()->CountParams();
    EXPECT_EQ(parameters->getNumRows(), count / 2);
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(window, "input_linking_window");
    EXPECT_EQ(WindowTest::ImageMisses(), "");

    window.Hide();
    EXPECT_EQ(windowParam->GetValue(), 0.0);
    const int32_t set = static_cast<int32_t>(XMsgCode::kParamValueSet);
    EXPECT_EQ(codes.Codes(), (std::vector<int32_t>{set, set}));
    windowParam->RemoveWatcher(&codes);
}

TEST_F(InputParameterLinkWindowTest, TheRegionRowLinksBothInputsAndTheCreatingWindowsButtonFollowsTheRegion)
{
    InputParameterLinkWindow window(InputParameterLinkWindow::kInputDelayRegion, windowParam, &linkButton);
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    InputChannelRegionsModel& model = window.GetRegionModel();
    const std::vector<XParam*> params = RegionParams(2);
    ASSERT_GE(params.size(), 2u);

    model.SetCellFlag(0, FPModel::kColumnLink, true);
    EXPECT_EQ(CountLinked(params), static_cast<int>(params.size()));
    EXPECT_EQ(linkButton.GetValue(), 1.0);
    EXPECT_EQ(RegionsManager::Instance().GetRegion(2)->GetLockParam()->GetValue(), 0.0)
        << "linking leaves the region's lock alone";

    // A region linked in part shows its link off, and the creating window's button follows.
    params[0]->SetFlags(params[0]->GetFlags() & ~kLinked);
    window.RefreshTables();
    ViewTest::Pump();
    auto* cell = dynamic_cast<ListBoxButtonComponent*>(
        window.GetRegionTable()->getCellComponent(FPModel::kColumnLink, 0));
    ASSERT_NE(cell, nullptr);
    EXPECT_FALSE(cell->IsOn());
    EXPECT_EQ(linkButton.GetValue(), 0.0);

    model.SetCellFlag(0, FPModel::kColumnLink, false);
    EXPECT_EQ(CountLinked(params), 0);
}

TEST_F(InputParameterLinkWindowTest, AParameterRowLinksItsPairInBothInputs)
{
    InputParameterLinkWindow window(InputParameterLinkWindow::kInputPeqRegion, windowParam, &linkButton);
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    window.GetRegionTable()->selectRow(0);
    InputChannelParametersModel& model = window.GetParameterModel();
    XParam* first = model.ParamAtRow(0);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->GetFullPath().StartsWith("InputA\\"));
    XParam* partner = FPModel::OtherInputParam(first);
    ASSERT_NE(partner, nullptr);
    EXPECT_TRUE(partner->GetFullPath().StartsWith("InputB\\"));

    model.SetCellFlag(0, FPModel::kColumnLink, true);
    EXPECT_NE(first->GetFlags() & kLinked, 0);
    EXPECT_EQ(partner->GetFlags(), first->GetFlags());
    model.SetCellFlag(0, FPModel::kColumnLink, false);
    EXPECT_EQ(first->GetFlags() & kLinked, 0);
    EXPECT_EQ(partner->GetFlags(), first->GetFlags());
}

TEST_F(InputParameterLinkWindowTest, InputsThatStopBeingAPairUnlinkTheRegionOnceTheContentIsBuilt)
{
    const std::vector<XParam*> params = RegionParams(0);
    InputParameterLinkWindow window(InputParameterLinkWindow::kInputPeqRegion, windowParam, &linkButton);
    LinkAll(params, true);
    editMode->SetValue(1, true);
    EXPECT_EQ(CountLinked(params), static_cast<int>(params.size())) << "nothing acts before the first show";
    editMode->SetValue(0, true);
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));

    struct Case
    {
        const char* what;
        double editMode, config;
        bool unlinks;
    };
    const Case cases[] = {
        {"full edit", 1, 0, true},       {"configuration 2", 0, 2, true},  {"configuration 3", 0, 3, true},
        {"configuration 4", 0, 4, true}, {"configuration 1", 0, 1, false}, {"configuration 6", 0, 6, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        editMode->SetValue(0, true);
        config->SetValue(0, true);
        LinkAll(params, true);
        linkButton.SetValue(1, true);
        editMode->SetValue(c.editMode, true);
        config->SetValue(c.config, true);
        EXPECT_EQ(CountLinked(params), c.unlinks ? 0 : static_cast<int>(params.size()));
        EXPECT_EQ(linkButton.GetValue(), c.unlinks ? 0.0 : 1.0);
    }
}
