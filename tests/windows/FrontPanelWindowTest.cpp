// The front-panel access window: its header, its page, the region and parameter flags with their
// link partners and their way to the unit, and the preset's own lock and hidden flags.

#include "windows/FrontPanelWindow.h"

#include "FlagTableTestSupport.h"
#include "WindowTestSupport.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommand.h"
#include "device/InputChansLinked.h"
#include "device/WireId.h"
#include "support/ParamTestSupport.h"
#include "windows/ListBoxButtonComponent.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace
{
using FlagTableTest::RegionParams;
using WindowTest::Param;

constexpr int32_t kHidden = FPModel::kFlagHidden;
constexpr int32_t kLocked = FPModel::kFlagLocked;
/** Where a value's wire flags sit in a set-parameter payload: id (2), kind (1), value (4). */
constexpr size_t kWireFlagsAt = 7;

class FrontPanelWindowTest : public WindowTest::WindowTestBase
{
protected:
    void SetUp() override
    {
        WindowTest::WindowTestBase::SetUp();
        if (IsSkipped())
            return;
        services = std::make_unique<FlagTableTest::SendingServices>(rig->groups->services, *watcher);
    }
    void TearDown() override
    {
        services.reset();
        WindowTest::WindowTestBase::TearDown();
    }

    /** The wire ids of the parameters that the unit hears of, as the watcher maps them. */
    std::set<int> SentWireIds(const std::vector<XParam*>& params)
    {
        std::set<int> ids;
        for (XParam* param : params)
            if (const int id = watcher->FindLiveWireId(param); id >= 0 && IsWireIdSent(id))
                ids.insert(id);
        return ids;
    }

    static XMessage PresetFlags(int32_t number, int32_t flags,
                                uint32_t what = FrontPanelWindow::kMsgPresetFlags)
    {
        XMessage message(what);
        message.AddInt32("presetNum", number);
        message.AddInt32("presetFlags", flags);
        return message;
    }

    std::unique_ptr<FlagTableTest::SendingServices> services;
};
} // namespace

TEST_F(FrontPanelWindowTest, TheHeaderShowsThePresetLabelTheProgramNameAndTheConfiguration)
{
    Param("preset\\programName")->SetText("Hall: main", true);
    Param("preset\\CurrentConfig")->SetValue(3, true);
    const XString config = Param("preset\\CurrentConfig")->GetDisplayText();
    FrontPanelWindow window;
    struct Case
    {
        int preset;
        const char* label;
    };
    for (const Case& c : {Case{1, "[U01] "}, Case{20, "[U20] "}, Case{21, "[P01] "}, Case{80, "[P60] "}})
    {
        SCOPED_TRACE(c.preset);
        Param("QM7_KOVA\\CurrentPreset")->SetValue(c.preset, true);
        EXPECT_EQ(window.GetPresetNumber(), c.preset);
        EXPECT_EQ(window.GetHeaderParam().GetDisplayText(), XString(c.label) + "Hall: main  -  " + config);
    }
}

TEST_F(FrontPanelWindowTest, ThePageHoldsTheTwoTablesWithTheirColumnsAndEveryImageItNames)
{
    FrontPanelWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    juce::TableListBox* regions = window.GetRegionsTable();
    juce::TableListBox* parameters = window.GetParametersTable();
    ASSERT_NE(regions, nullptr);
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(regions->getBounds(), juce::Rectangle<int>(25, 82, 373, 347));
    EXPECT_EQ(parameters->getBounds(), juce::Rectangle<int>(407, 82, 373, 347));
    struct Column
    {
        juce::TableListBox* table;
        int index, id, width;
    };
    const Column columns[] = {{regions, 0, 1, 27},     {regions, 1, 0, 27},    {regions, 2, 3, 315},
                              {parameters, 0, 1, 27},  {parameters, 1, 0, 27}, {parameters, 2, 2, 70},
                              {parameters, 3, 3, 120}, {parameters, 4, 4, 100}};
    for (const Column& c : columns)
    {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(c.table->getHeader().getColumnIdOfIndex(c.index, false), c.id);
        EXPECT_EQ(c.table->getHeader().getColumnWidth(c.id), c.width);
    }
    for (juce::TableListBox* table : {regions, parameters})
    {
        EXPECT_EQ(table->getRowHeight(), 25);
        EXPECT_EQ(table->getHeaderHeight(), 0);
        EXPECT_EQ(table->getName(), "RegionsTable");
    }
    EXPECT_EQ(regions->getNumRows(), 8);
    EXPECT_EQ(parameters->getNumRows(), 0) << "no region selected";
    regions->selectRow(2);
    EXPECT_EQ(parameters->getNumRows(), RegionsManager::Instance().GetRegion(2)->GetGroup()->CountParams());
    ViewTest::Pump();
    EXPECT_EQ(WindowTest::ImageMisses(), "");
}

TEST_F(FrontPanelWindowTest, ARegionFlagReachesEveryParameterAndTheUnitAtOnceWithSendingRestored)
{
    FrontPanelWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    RegionsModel& model = window.GetRegionsModel();
    const RegionsManager::Region* peq = RegionsManager::Instance().GetRegion(0);
    const std::vector<XParam*> params = RegionParams(0);
    ASSERT_FALSE(params.empty());
    SendChanges();
    TakeFrames();

    struct Case
    {
        const char* what;
        int column;
        bool on;
        int32_t flag;
        bool flagged;
        uint8_t wireFlags;
    };
    const Case cases[] = {
        {"hidden", FPModel::kColumnVisible, false, kHidden, true, 8},
        {"shown again", FPModel::kColumnVisible, true, kHidden, false, 0},
        {"locked", FPModel::kColumnLocked, true, kLocked, true, 4},
        {"unlocked", FPModel::kColumnLocked, false, kLocked, false, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        services->switches.clear();
        model.SetCellFlag(0, c.column, c.on);
        for (XParam* param : params)
            EXPECT_EQ((param->GetFlags() & c.flag) != 0, c.flagged) << param->GetFullPath().CStr();
        XParam* switchParam =
            c.column == FPModel::kColumnVisible ? peq->GetVisibleParam() : peq->GetLockParam();
        EXPECT_EQ(switchParam->GetValue(), c.on ? 1.0 : 0.0);
        EXPECT_EQ(RegionsModel::AllFlagged(peq, c.flag), c.flag == kLocked ? c.flagged : !c.flagged);
        EXPECT_EQ(services->switches, (std::vector<bool>{false, true}));

        // Each changed parameter goes out at once, with its front-panel bits on the wire.
        std::set<int> sent;
        for (const FrameBytes::Sent& frame : TakeFrames(kCmdSetParamValue))
        {
            sent.insert(FrameBytes::U16At(frame.payload, 0));
            EXPECT_EQ(frame.payload.at(kWireFlagsAt), c.wireFlags);
        }
        EXPECT_EQ(sent, SentWireIds(params));
    }

    // With sending off before, it stays off and nothing goes out.
    watcher->SetSendingEnabled(false);
    services->switches.clear();
    model.SetCellFlag(0, FPModel::kColumnLocked, true);
    EXPECT_EQ(services->switches, (std::vector<bool>{false, false}));
    EXPECT_TRUE(TakeFrames(kCmdSetParamValue).empty());
    watcher->SetSendingEnabled(true);
}

TEST_F(FrontPanelWindowTest, ARegionIsLockedOnlyWhenAllItsParametersAreAndVisibleOnlyWhenNoneIsHidden)
{
    const RegionsManager::Region* delay = RegionsManager::Instance().GetRegion(2);
    const std::vector<XParam*> params = RegionParams(2);
    ASSERT_GE(params.size(), 2u);
    EXPECT_FALSE(RegionsModel::AllFlagged(delay, kLocked));
    EXPECT_TRUE(RegionsModel::AllFlagged(delay, kHidden));
    params[0]->SetFlags(params[0]->GetFlags() | kLocked | kHidden);
    EXPECT_FALSE(RegionsModel::AllFlagged(delay, kLocked));
    EXPECT_FALSE(RegionsModel::AllFlagged(delay, kHidden));
    EXPECT_EQ(RegionsModel::CountFlagged(delay, kLocked), 1);
    for (XParam* param : params)
        param->SetFlags(param->GetFlags() | kLocked);
    EXPECT_TRUE(RegionsModel::AllFlagged(delay, kLocked));
    EXPECT_FALSE(RegionsModel::AllFlagged(nullptr, kLocked));
}

TEST_F(FrontPanelWindowTest, AParameterFlagGoesToItsLinkPartnerOnlyWhileTheyAreLinked)
{
    XParam* hpfA = GetInputChannel(0)->GetParam(ChannelParamTables::kInputFreqFirstId);
    XParam* hpfB = GetInputChannel(1)->GetParam(ChannelParamTables::kInputFreqFirstId);
    XParam* gain1 = GetOutputChannel(0)->GetParam(ChannelParamTables::kOutputGainFirstId);
    XParam* gain2 = GetOutputChannel(1)->GetParam(ChannelParamTables::kOutputGainFirstId);
    XParam* link1 = GetOutputChannel(0)->GetParam(ChannelParamTables::kLinkedChannelId);
    XParam* link2 = GetOutputChannel(1)->GetParam(ChannelParamTables::kLinkedChannelId);
    XParam* editMode = Param("QM7_KOVA\\globalEditMode");
    XParam* config = Param("preset\\CurrentConfig");
    XParam* linking = Param("QM7\\enableChannelLinking");
    InputChansLinked::Install();

    struct Case
    {
        const char* what;
        std::function<void()> arrange;
        XParam* param;
        XParam* partner;
        bool copied;
    };
    const Case cases[] = {
        {"inputs paired",
         [&]
         {
             editMode->SetValue(0, true);
             config->SetValue(0, true);
         },
         hpfA, hpfB, true},
        {"inputs apart", [&] { config->SetValue(3, true); }, hpfA, hpfB, false},
        {"inputs apart, B linked by hand", [&] { hpfB->SetFlags(hpfB->GetFlags() | FPModel::kFlagLinked); },
         hpfB, hpfA, true},
        {"output 1 linked to 2",
         [&]
         {
             linking->SetValue(1, true);
             link1->SetValue(2, true);
         },
         gain1, gain2, true},
        {"output 2 linked to none", [&] { link2->SetValue(0, true); }, gain2, gain1, false},
        {"linking off", [&] { linking->SetValue(0, true); }, gain1, gain2, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        c.arrange();
        c.partner->SetFlags(c.partner->GetFlags() & ~kLocked);
        c.param->SetFlags(c.param->GetFlags() | kLocked);
        ParametersModel::CopyFlagsToLinkedParam(c.param);
        EXPECT_EQ(c.partner->GetFlags() == c.param->GetFlags(), c.copied);
        c.param->SetFlags(c.param->GetFlags() & ~kLocked);
    }
}

TEST_F(FrontPanelWindowTest, AParameterRowSetsItsFlagsTellsItsWatchersAndLeavesTheRegionRowInStep)
{
    FrontPanelWindow window;
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    window.GetRegionsTable()->selectRow(2);
    ParametersModel& model = window.GetParametersModel();
    XParam* first = model.ParamAtRow(0);
    ASSERT_NE(first, nullptr);
    ParamTest::Recorder watcher;
    first->AddWatcher(&watcher, 0, false);

    model.SetCellFlag(0, FPModel::kColumnVisible, false);
    model.SetCellFlag(0, FPModel::kColumnLocked, true);
    EXPECT_EQ(first->GetFlags() & (kHidden | kLocked), kHidden | kLocked);
    const int32_t flags = static_cast<int32_t>(XMsgCode::kParamFlagsChanged);
    const int32_t set = static_cast<int32_t>(XMsgCode::kParamValueSet);
    EXPECT_EQ(watcher.Codes(), (std::vector<int32_t>{flags, set, flags, set}));
    model.SetCellFlag(0, FPModel::kColumnVisible, true);
    EXPECT_EQ(first->GetFlags() & (kHidden | kLocked), kLocked);
    first->RemoveWatcher(&watcher);

    // The cells show the flags: the region's visible cell on (nothing hidden), its locked cell off.
    ViewTest::Pump();
    auto* visible = dynamic_cast<ListBoxButtonComponent*>(
        window.GetRegionsTable()->getCellComponent(FPModel::kColumnVisible, 2));
    auto* locked = dynamic_cast<ListBoxButtonComponent*>(
        window.GetRegionsTable()->getCellComponent(FPModel::kColumnLocked, 2));
    auto* rowLocked = dynamic_cast<ListBoxButtonComponent*>(
        window.GetParametersTable()->getCellComponent(FPModel::kColumnLocked, 0));
    ASSERT_NE(visible, nullptr);
    ASSERT_NE(locked, nullptr);
    ASSERT_NE(rowLocked, nullptr);
    EXPECT_TRUE(visible->IsOn());
    EXPECT_FALSE(locked->IsOn());
    EXPECT_TRUE(rowLocked->IsOn());
    EXPECT_EQ(dynamic_cast<ListBoxButtonComponent*>(
                  window.GetParametersTable()->getCellComponent(FPModel::kColumnName, 0)),
              nullptr);
}

TEST_F(FrontPanelWindowTest, ThePresetsFlagsReportSetsTheButtonsAndAnEditSendsThemAsksBackAndAppliesTheLock)
{
    Param("QM7_KOVA\\CurrentPreset")->SetValue(5, true);
    PresetsManager::Instance().SetEntryFlags(4, FrontPanelWindow::kPresetLocked |
                                                    FrontPanelWindow::kPresetHidden);
    TakeFrames();
    FrontPanelWindow window;
    // What the presets list knows is shown at once, and the unit is asked.
    EXPECT_EQ(window.GetPresetLockParam().GetValue(), 1.0);
    EXPECT_EQ(window.GetPresetHiddenParam().GetValue(), 1.0);
    std::vector<FrameBytes::Sent> asked = TakeFrames(kCmdPresetFlags);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].payload, (FrameBytes::Bytes{5}));

    struct Case
    {
        const char* what;
        XMessage message;
        double lock, hidden;
    };
    const Case cases[] = {
        {"none", PresetFlags(5, 0), 0, 0},
        {"both", PresetFlags(5, 12), 1, 1},
        {"another preset", PresetFlags(6, 0), 1, 1},
        {"another message", PresetFlags(5, 0, FourCharCode("pInf")), 1, 1},
        {"hidden only", PresetFlags(5, 8), 0, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        XMessage message = c.message;
        window.HandlePresetFlags(message);
        EXPECT_EQ(window.GetPresetLockParam().GetValue(), c.lock);
        EXPECT_EQ(window.GetPresetHiddenParam().GetValue(), c.hidden);
    }
    EXPECT_TRUE(TakeFrames().empty()) << "a report sends nothing";

    // The end of an edit of the lock sends the flags (15), asks for them (14) and applies the lock
    // mode of the preset list's flags to every region parameter.
    const std::vector<XParam*> params = RegionParams(5);
    ASSERT_FALSE(params.empty());
    ASSERT_EQ(params[0]->GetFlags() & XParamDesc::kFlagLockedByPreset, 0);
    FloatParam& lock = window.GetPresetLockParam();
    lock.BeginEdit();
    lock.ChangeValue(1, true);
    EXPECT_TRUE(TakeFrames().empty()) << "nothing before the edit ends";
    lock.EndEdit();
    const std::vector<FrameBytes::Sent> frames = TakeFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].command, kCmdSetPresetFlags);
    EXPECT_EQ(frames[0].payload, (FrameBytes::Bytes{5, 12, 0, 0, 0}));
    EXPECT_EQ(frames[1].command, kCmdPresetFlags);
    for (XParam* param : params)
        EXPECT_NE(param->GetFlags() & XParamDesc::kFlagLockedByPreset, 0);

    // Another current preset is asked for and edited from then on.
    Param("QM7_KOVA\\CurrentPreset")->SetValue(7, true);
    EXPECT_EQ(window.GetPresetNumber(), 7);
    asked = TakeFrames(kCmdPresetFlags);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].payload, (FrameBytes::Bytes{7}));
}
