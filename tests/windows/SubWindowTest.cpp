// The editor windows' base: its size, its one build of content, the document and lock pass of its
// first show, its title bar's repaints, its window-open parameter, and its close box under real
// mouse events.

#include "WindowTestSupport.h"
#include "core/IAppDocument.h"
#include "core/StringParam.h"
#include "core/XMessageCodes.h"
#include "core/XParamDesc.h"
#include "core/XParamGroup.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommand.h"
#include "device/GlobalParamTables.h"
#include "gui/XCloseBox.h"
#include "gui/XMinimizeButton.h"
#include "gui/XPict.h"
#include "gui/XText.h"
#include "support/ParamTestSupport.h"

#include <gtest/gtest.h>
#include <set>

namespace
{
using WindowTest::Param;

constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChangedByUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
constexpr int32_t kFlagsChanged = static_cast<int32_t>(XMsgCode::kParamFlagsChanged);
constexpr int32_t kRefresh = static_cast<int32_t>(XMsgCode::kRefresh);
/** The crossover's window-open parameter. */
constexpr int32_t kWindowParamId = GlobalParamTables::kWndCrossoverId;
constexpr const char* kWindowParamPath = "QM7\\WndCrossover";

/** A window of the base's own: a background of the skin, one text as its content, and a record of
    its builds and of the rectangles it repaints. */
class TestWindow final : public SubWindow
{
public:
    /** 400 x 300 in the skin. */
    static constexpr const char* kBackground = "backgrounds\\window.png";
    static constexpr int32_t kBackgroundWidth = 400;
    static constexpr int32_t kBackgroundHeight = 300;

    explicit TestWindow(int32_t windowParamId = kNoWindowParam, const char* background = kBackground)
        : SubWindow("Test Window", background, windowParamId)
    {
    }
    ~TestWindow() override { XParam::ForgetWatcher(this); }

    void RepaintRect(const XRect& rect) override
    {
        repaints.push_back(rect);
        SubWindow::RepaintRect(rect);
    }

    int builds = 0;
    std::vector<XRect> repaints;

protected:
    void BuildContent() override
    {
        ++builds;
        AddChild(new XText(XRect(20, 20, 220, 44), "content"));
    }
};

/** A document that records its modified mark. */
class MarkDocument final : public IAppDocument
{
public:
    int32_t Open(const char*) override { return 0; }
    int32_t SaveAs(const char*) override { return 0; }
    int32_t New(const char*) override { return 0; }
    void Reset() override {}
    XString GetPath() const override { return XString(); }
    void SetModified(bool on) override { modified = on; }

    bool modified = true;
};

/** Every parameter of every region, in order. */
std::vector<XParam*> RegionParams()
{
    std::vector<XParam*> params;
    for (int32_t index = 0;
         const RegionsManager::Region* region = RegionsManager::Instance().GetRegion(index); ++index)
        for (int32_t at = 0; XParam* param = region->GetGroup()->GetParamAt(at); ++at)
            params.push_back(param);
    return params;
}

int CountWithLockFlag(const std::vector<XParam*>& params)
{
    return static_cast<int>(std::count_if(
        params.begin(), params.end(),
        [](const XParam* param) { return (param->GetFlags() & XParamDesc::kFlagLockedByPreset) != 0; }));
}

class SubWindowTest : public WindowTest::WindowTestBase
{
};
} // namespace

TEST_F(SubWindowTest, AWindowIsItsPicturePlusSixWideAndPlusTheTitleBarAndFourHigh)
{
    XStyle framework;
    struct Case
    {
        XStyle* style;
        int32_t titleBarHeight;
    };
    for (const Case& c : {Case{&rig->style, 30}, Case{&framework, 24}})
    {
        XStyle::SetCurrentStyle(c.style);
        TestWindow window;
        EXPECT_EQ(window.GetFrame(), XRect(0, 0, TestWindow::kBackgroundWidth + 6,
                                           TestWindow::kBackgroundHeight + c.titleBarHeight + 4));
        EXPECT_EQ(window.GetBackground()->GetFrame(), XRect(2, 2, 402, 302));
        EXPECT_FALSE(window.IsShown());
        EXPECT_FALSE(window.IsContentBuilt());
        EXPECT_EQ(window.GetTitle(), "Test Window");
        EXPECT_EQ(window.XHandler::GetName(), "Test Window");
    }
    XStyle::SetCurrentStyle(&rig->style);
}

TEST_F(SubWindowTest, TheFirstShowBuildsOnceMarksTheDocumentCleanAndAppliesTheLockModeOnce)
{
    MarkDocument document;
    rig->groups->services.SetPresetDocument(&document);
    XParam* dirty = Param("QM7\\documentDirty");
    XParam* lockMode = Param("QM7\\currentPresetLockMode");
    ASSERT_NE(dirty, nullptr);
    ASSERT_NE(lockMode, nullptr);
    const std::vector<XParam*> regionParams = RegionParams();
    ASSERT_GT(regionParams.size(), 100u);
    ParamTest::Recorder codes;
    XParam* gain =
        GetOutputChannel(0)->GetParam(ChannelParamTables::kOutputGainFirstId); // of the output EQ's region
    gain->AddWatcher(&codes, 0, false);

    // Preset 3 is current and carries the lock flag: the lock mode reads 1.
    Param("QM7_KOVA\\CurrentPreset")->SetValue(3, true);
    PresetsManager::Instance().SetEntryFlags(2, 4);
    ASSERT_EQ(lockMode->GetValue(), 1.0);
    dirty->SetValue(1, true);

    TestWindow window;
    EXPECT_EQ(window.builds, 0);
    EXPECT_EQ(CountWithLockFlag(regionParams), 0);
    EXPECT_EQ(dirty->GetValue(), 1.0);

    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    EXPECT_EQ(window.builds, 1);
    EXPECT_TRUE(window.IsContentBuilt());
    EXPECT_EQ(dirty->GetValue(), 0.0);
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(CountWithLockFlag(regionParams), static_cast<int>(regionParams.size()));
    EXPECT_EQ(codes.Codes(), (std::vector<int32_t>{kFlagsChanged, kRefresh}));
    // The flags are stamped changes: the sender sends the region parameters to the unit.
    SendChanges();
    bool gainSent = false;
    for (const FrameBytes::Sent& frame : TakeFrames(kCmdSetParamValue))
        gainSent = gainSent || FrameBytes::U16At(frame.payload, 0) == watcher->FindLiveWireId(gain);
    EXPECT_TRUE(gainSent);

    // A later show neither builds, nor cleans the document, nor applies the lock mode again.
    dirty->SetValue(1, true);
    document.modified = true;
    gain->SetFlags(gain->GetFlags() & ~XParamDesc::kFlagLockedByPreset);
    codes.Clear();
    window.Hide();
    window.Show();
    EXPECT_EQ(window.builds, 1);
    EXPECT_EQ(dirty->GetValue(), 1.0);
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(gain->GetFlags() & XParamDesc::kFlagLockedByPreset, 0);
    EXPECT_TRUE(codes.Codes().empty());
    rig->groups->services.SetPresetDocument(nullptr);
}

TEST_F(SubWindowTest, TheLockModeOfTheCurrentPresetSetsOrClearsTheFlagOnEveryRegionParameter)
{
    const std::vector<XParam*> regionParams = RegionParams();
    Param("QM7_KOVA\\CurrentPreset")->SetValue(21, true);
    struct Case
    {
        int32_t presetFlags;
        bool flaggedBefore;
        int expectedFlagged;
    };
    const int all = static_cast<int>(regionParams.size());
    for (const Case& c : {Case{4, false, all}, Case{4 | 8, false, all}, Case{0, true, 0}, Case{8, true, 0}})
    {
        SCOPED_TRACE(c.presetFlags);
        PresetsManager::Instance().SetEntryFlags(20, c.presetFlags);
        for (XParam* param : regionParams)
            param->SetFlags(c.flaggedBefore ? (param->GetFlags() | XParamDesc::kFlagLockedByPreset)
                                            : (param->GetFlags() & ~XParamDesc::kFlagLockedByPreset));
        TestWindow window;
        window.Show();
        EXPECT_EQ(CountWithLockFlag(regionParams), c.expectedFlagged);
        window.Hide();
    }
}

TEST_F(SubWindowTest, TitleBarParametersRepaintOnlyTheTopStripOnlyForValueChangesWhileShown)
{
    TestWindow window;
    XParam* config = Param(QM7Style::kCurrentConfigPath);
    XParam* programName = Param(QM7Style::kProgramNamePath);
    XParam* preset = Param(QM7Style::kCurrentPresetPath);
    ASSERT_NE(config, nullptr);
    ASSERT_NE(programName, nullptr);
    ASSERT_NE(preset, nullptr);
    const XRect strip(0, 0, window.GetWidth(), SubWindow::kTitleRepaintHeight);

    struct Case
    {
        const char* what;
        bool shown;
        std::function<void()> change;
        bool repaints;
    };
    const Case cases[] = {
        {"program name while hidden", false, [&] { programName->SetText("Hidden", true); }, false},
        {"program name while shown", true, [&] { programName->SetText("Shown", true); }, true},
        {"preset by the user", true, [&] { preset->ChangeValue(5, true); }, true},
        {"configuration set", true, [&] { config->SetValue(2, true); }, true},
        {"configuration refreshed", true, [&] { config->Notify(kRefresh); }, false},
        {"configuration's flags", true, [&] { config->SetFlags(config->GetFlags() ^ 0x40); }, false},
        {"an unwatched parameter", true, [&] { Param("preset\\authorStr")->SetText("someone", true); },
         false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        if (c.shown && !window.IsShown())
            ASSERT_TRUE(WindowTest::ShowOnScreen(window));
        else if (!c.shown && window.IsShown())
            window.Hide();
        window.repaints.clear();
        c.change();
        ViewTest::Pump();
        EXPECT_EQ(window.repaints, c.repaints ? std::vector<XRect>{strip} : std::vector<XRect>{});
    }
}

TEST_F(SubWindowTest, ShowAndHideSetTheWindowParameterAsAUserChangeAndOnlyWhenItChanges)
{
    XParam* windowParam = Param(kWindowParamPath);
    ASSERT_NE(windowParam, nullptr);
    ParamTest::Recorder codes;
    windowParam->AddWatcher(&codes, 0, false);
    TestWindow window(kWindowParamId);
    EXPECT_TRUE(codes.Codes().empty()) << "constructing a window writes nothing";

    window.Show();
    EXPECT_EQ(windowParam->GetValue(), 1.0);
    window.Show();
    window.Hide();
    EXPECT_EQ(windowParam->GetValue(), 0.0);
    EXPECT_EQ(codes.Codes(), (std::vector<int32_t>{kChangedByUser, kChangedByUser}));

    // A window without a window-open parameter leaves them all alone.
    codes.Clear();
    TestWindow plain;
    plain.Show();
    plain.Hide();
    EXPECT_TRUE(codes.Codes().empty());
    EXPECT_EQ(windowParam->GetValue(), 0.0);
}

// The title boxes show their pictures over the title bar from the window's first picture on: no
// box is a blank square.
TEST_F(SubWindowTest, TheTitleBoxesShowTheirPicturesInTheFirstPicture)
{
    TestWindow window(kWindowParamId);
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    const juce::Image shot = window.createComponentSnapshot(window.getLocalBounds(), true, 1.0f);
    for (juce::Component* box : {static_cast<juce::Component*>(window.GetCloseBox()),
                                 static_cast<juce::Component*>(window.GetMinimizeButton())})
    {
        ASSERT_NE(box, nullptr);
        const juce::Rectangle<int> area = box->getBoundsInParent();
        SCOPED_TRACE(area.toString().toStdString());
        std::set<juce::uint32> colours;
        int seeThrough = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
            {
                const juce::Colour pixel = shot.getPixelAt(x, y);
                colours.insert(pixel.getARGB());
                seeThrough += pixel.getAlpha() < 255 ? 1 : 0;
            }
        EXPECT_EQ(seeThrough, 0) << "the title bar shows behind the picture";
        EXPECT_GT(colours.size(), 2u) << "a picture, not a plain square";
    }
}

TEST_F(SubWindowTest, ClickingTheCloseBoxWithTheMouseHidesTheWindowAndClearsItsParameter)
{
    XParam* windowParam = Param(kWindowParamPath);
    TestWindow window(kWindowParamId);
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    ASSERT_EQ(windowParam->GetValue(), 1.0);
    XCloseBox* close = window.GetCloseBox();
    ASSERT_NE(close, nullptr);
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(window, "subwindow_shown");

    GuiTestSupport::PeerMouse mouse(window);
    const juce::Point<int> centre = close->getLocalBounds().getCentre();
    mouse.Send(*close, centre, juce::ModifierKeys());
    mouse.Send(*close, centre, juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier));
    mouse.Send(*close, centre, juce::ModifierKeys());
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return !window.isVisible(); }, WindowTest::kWaitMs));
    EXPECT_EQ(windowParam->GetValue(), 0.0);
}

TEST_F(SubWindowTest, TheImagesAWindowNamesAreFoundInTheSkinAndAMissingOneIsLogged)
{
    {
        TestWindow window;
        window.Show();
        EXPECT_EQ(WindowTest::ImageMisses(), "");
        window.Hide();
    }
    TestWindow misspelt(SubWindow::kNoWindowParam, "backgrounds\\windw.png");
    EXPECT_EQ(WindowTest::ImageMisses(), "backgrounds\\windw.png\n");
    EXPECT_EQ(misspelt.GetBackground()->CountImages(), 0);
}
