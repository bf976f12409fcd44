// The configuration window: the program's texts kept in step with the unit's packed integers, the
// configuration LEDs as bits of one mask, the free configuration's edit mode, linked labels, the user
// marks, and, in the real window against the simulated unit, typing, clicking and choosing.

#include "windows/ConfigWindow.h"

#include "WindowTestSupport.h"
#include "core/IAppServices.h"
#include "core/StringParam.h"
#include "core/XMessageCodes.h"
#include "device/DeviceCommand.h"
#include "gui/XButton.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "widgets/XTextEditView.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <type_traits>
#include <vector>

namespace
{
using WindowTest::Param;

constexpr int32_t kCmdSetParamValue = 5;

/** The application's services as the rig gives them, plus a record of the user marks and of the
    standard-edit links. Installed for its life; the rig's services come back afterwards. */
class MarkServices final : public DefaultAppServices
{
public:
    explicit MarkServices(IAppServices& inner) : inner(inner) { SetAppServices(this); }
    ~MarkServices() override { SetAppServices(&inner); }

    XParam* GetParam(int32_t id) override { return inner.GetParam(id); }
    XParam* GetPresetParam(int32_t id) override { return inner.GetPresetParam(id); }
    XParam* GetSlaveParam(int32_t id) override { return inner.GetSlaveParam(id); }
    XParamGroup* GetPresetGroup() override { return inner.GetPresetGroup(); }
    XParamGroup* GetComparePresetGroup() override { return inner.GetComparePresetGroup(); }
    IAppDocument* GetPresetDocument() override { return inner.GetPresetDocument(); }

    void SetUserConfigChange(bool on) override { configMarks += on ? 1 : 0; }
    void SetUserEditModeChange(bool on) override { editModeMarks += on ? 1 : 0; }
    void ApplyStandardEditLinks() override { ++standardEditLinks; }

    int configMarks = 0;
    int editModeMarks = 0;
    int standardEditLinks = 0;

private:
    IAppServices& inner;
};

/** The text of a packed integer, four bytes, low byte first (a zero byte shown as '0'). */
std::string BytesOf(XParam* param)
{
    const auto packed = static_cast<uint32_t>(param->GetValue());
    std::string text;
    for (int place = 0; place < 4; ++place)
    {
        const char ch = static_cast<char>((packed >> (8 * place)) & 0xFF);
        text += ch == '\0' ? '0' : ch;
    }
    return text;
}

/** The five name integers as one text. */
std::string NameIntegers()
{
    std::string text;
    for (int index = 1; index <= 5; ++index)
        text += BytesOf(FindParam("preset\\PresetName%d", index));
    return text;
}

/** The integer a unit would send for four characters. */
double Packed(const char* four)
{
    uint32_t packed = 0;
    for (int place = 0; place < 4 && four[place] != '\0'; ++place)
        packed |= static_cast<uint32_t>(static_cast<unsigned char>(four[place])) << (8 * place);
    return static_cast<double>(packed);
}

int32_t Mask()
{
    return static_cast<int32_t>(Param("preset\\ConfigLEDio")->GetValue());
}

/** A mask from LED letters per output 1..6 ("S", "LM", "-", ...): S Sub, L Lo, M Mid, H Hi. */
int32_t MaskOf(const std::vector<std::string>& outputs)
{
    int32_t mask = 0;
    for (size_t output = 0; output < outputs.size(); ++output)
        for (char led : outputs[output])
        {
            const int bit = led == 'S' ? 0 : led == 'L' ? 1 : led == 'M' ? 2 : led == 'H' ? 3 : -1;
            if (bit >= 0)
                mask |= 1 << (bit + 4 * static_cast<int>(output));
        }
    return mask;
}

/** A window fixture (headless or against the simulated unit) with the user-mark services and the
    window, which goes before the services and the fixture's rig. */
template <typename Fixture> class WithConfigWindow : public Fixture
{
protected:
    void SetUp() override
    {
        Fixture::SetUp();
        if (this->IsSkipped())
            return;
        marks = std::make_unique<MarkServices>(this->rig->groups->services);
    }
    void TearDown() override
    {
        window.reset();
        if constexpr (std::is_base_of_v<WindowTest::WindowSimTestBase, Fixture>)
            this->EndEditor(); // its sender thread reads the services
        marks.reset();
        Fixture::TearDown();
    }

    std::unique_ptr<MarkServices> marks;
    std::unique_ptr<ConfigWindow> window;
};

class ConfigWindowTest : public WithConfigWindow<WindowTest::WindowTestBase>
{
protected:

    ConfigWindow& Window()
    {
        if (window == nullptr)
            window = std::make_unique<ConfigWindow>();
        return *window;
    }

    /** The wire ids of the set-parameter frames sent since the last call. */
    std::vector<int> SentWireIds()
    {
        SendChanges();
        std::vector<int> ids;
        for (const FrameBytes::Sent& frame : TakeFrames(kCmdSetParamValue))
            ids.push_back(FrameBytes::U16At(frame.payload, 0));
        return ids;
    }
};

TEST_F(ConfigWindowTest, TextsPackIntoTheUnitsIntegersWithoutTheWindowShown)
{
    struct Case
    {
        const char* typed;
        const char* integers; // the five integers' bytes, low byte first; '0' a zero byte
        const char* shown;    // the name afterwards
    };
    const Case cases[] = {
        {"abc", "abc                0", "abc"},
        // Cut to 19: the text follows the unit's integers back.
        {"ABCDEFGHIJKLMNOPQRSTUVWXY", "ABCDEFGHIJKLMNOPQRS0", "ABCDEFGHIJKLMNOPQRS"},
        // A character outside printable ASCII at place 4 (the integer's top byte) becomes '?'.
        {"abc\xE9"
         "def",
         "abc?def            0", "abc?def"},
        {"", "                   0", ""},
    };
    ConfigWindow& window = Window();
    EXPECT_FALSE(window.IsContentBuilt());
    XParam* name = Param("preset\\programName");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.typed);
        name->ChangeText("placeholder", true);
        name->ChangeText(c.typed, true);
        EXPECT_EQ(NameIntegers(), c.integers);
        EXPECT_EQ(std::string(name->GetText().CStr()), c.shown);
    }

    // Author and revision four characters, the date eight in two integers; an empty author is four
    // blanks.
    Param("preset\\authorStr")->ChangeText("JD", true);
    Param("preset\\revisionStr")->ChangeText("r12345", true);
    Param("preset\\programDateStr")->ChangeText("12/24/26", true);
    EXPECT_EQ(BytesOf(Param("preset\\author")), "JD  ");
    EXPECT_EQ(BytesOf(Param("preset\\revision")), "r123");
    EXPECT_EQ(BytesOf(Param("preset\\programDate1")), "12/2");
    EXPECT_EQ(BytesOf(Param("preset\\programDate2")), "4/26");
    Param("preset\\authorStr")->ChangeText("", true);
    EXPECT_EQ(BytesOf(Param("preset\\author")), "    ");
    EXPECT_EQ(std::string(Param("preset\\authorStr")->GetText().CStr()), "");
    EXPECT_EQ(window.IsContentBuilt(), false);
}

TEST_F(ConfigWindowTest, AnIntegerFromTheUnitChangesOnlyItsCharacters)
{
    Window();
    XParam* name = Param("preset\\programName");
    name->ChangeText("Hello World", true);
    struct Case
    {
        const char* path;
        const char* four;
        const char* textPath;
        const char* expected;
    };
    const Case cases[] = {
        {"preset\\PresetName2", "XYZW", "preset\\programName", "HellXYZWrld"},
        {"preset\\PresetName5", "end", "preset\\programName", "HellXYZWrld     end"},
        {"preset\\PresetName5", "   ", "preset\\programName", "HellXYZWrld"},
        // A zero byte ends the integer's characters: the rest of its places are blank.
        {"preset\\PresetName1", "Hi", "preset\\programName", "Hi  XYZWrld"},
        {"preset\\author", "AB  ", "preset\\authorStr", "AB"},
        {"preset\\revision", "v2", "preset\\revisionStr", "v2"},
        {"preset\\programDate1", "01/0", "preset\\programDateStr", "01/0"},
        {"preset\\programDate2", "2/27", "preset\\programDateStr", "01/02/27"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.path) + " " + c.four);
        Param(c.path)->SetValue(Packed(c.four), true);
        EXPECT_EQ(std::string(Param(c.textPath)->GetText().CStr()), c.expected);
    }
}

TEST_F(ConfigWindowTest, AnEqualTextEndsTheExchangeSoACaseOnlyRenameSendsNothing)
{
    Window();
    XParam* name = Param("preset\\programName");
    name->ChangeText("abc", true);
    const std::vector<int> first = SentWireIds();
    EXPECT_NE(std::find(first.begin(), first.end(), watcher->FindLiveWireId(Param("preset\\PresetName1"))),
              first.end());

    name->ChangeText("ABC", true);
    EXPECT_TRUE(SentWireIds().empty());
    EXPECT_EQ(std::string(name->GetText().CStr()), "abc");
}

TEST_F(ConfigWindowTest, EachLedIsOneBitOfTheMaskAndAnUnchangedLedIsRefused)
{
    ConfigWindow& window = Window();
    XParam* mask = Param("preset\\ConfigLEDio");
    for (int output = 0; output < ConfigWindow::kOutputCount; ++output)
        for (int led = 0; led < ConfigWindow::kLedsPerOutput; ++led)
        {
            SCOPED_TRACE(testing::Message() << "output " << output << " led " << led);
            mask->SetValue(0, true);
            FloatParam* param = window.GetLedParam(output, led);
            ASSERT_NE(param, nullptr);
            EXPECT_TRUE(param->ChangeValue(1, true));
            EXPECT_EQ(Mask(), 1 << (led + 4 * output));
            EXPECT_EQ(param->GetValue(), 1.0);
            EXPECT_FALSE(param->ChangeValue(1, true)) << "unchanged";
            EXPECT_EQ(Mask(), 1 << (led + 4 * output));
        }
    EXPECT_EQ(window.GetLedParam(6, 0), nullptr);
    EXPECT_EQ(window.GetLedParam(0, 4), nullptr);
    // A change of the mask from the unit shows in the LEDs.
    mask->SetValue(1 << 23, true);
    EXPECT_EQ(window.GetLedParam(5, 3)->GetValue(), 1.0);
    EXPECT_EQ(window.GetLedParam(0, 0)->GetValue(), 0.0);
}

TEST_F(ConfigWindowTest, EachConfigurationShowsItsLeds)
{
    struct Case
    {
        uint32_t config;
        std::vector<std::string> leds; // outputs 1..6
    };
    const Case cases[] = {
        {0, {"L", "H", "-", "L", "H", "-"}}, {1, {"S", "LM", "H", "S", "LM", "H"}},
        {2, {"S", "L", "M", "H", "-", "-"}}, {3, {"S", "L", "LM", "M", "H", "-"}},
        {4, {"-", "-", "-", "-", "-", "-"}}, {5, {"S", "LM", "MH", "-", "LM", "MH"}},
        {6, {"S", "L", "M", "H", "M", "H"}},
    };
    ConfigWindow& window = Window();
    XParam* mask = Param("preset\\ConfigLEDio");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.config);
        mask->SetValue(0xFFFFFF, true);
        window.ShowConfigLeds(c.config);
        EXPECT_EQ(Mask(), MaskOf(c.leds));
    }
    for (uint32_t config : {7u, 100u, 0xFFFFFFFFu})
    {
        mask->SetValue(0x123456, true);
        window.ShowConfigLeds(config);
        EXPECT_EQ(Mask(), 0x123456) << config;
    }

    // Linked outputs 2 and 5: the lower one gives the higher its LEDs, not the other way.
    FindParam("Output2\\linkedChannel")->SetValue(5, true);
    FindParam("Output5\\linkedChannel")->SetValue(2, true);
    mask->SetValue(MaskOf({"-", "SH", "-", "-", "LM", "-"}), true);
    window.CopyLinkedConfigLeds();
    EXPECT_EQ(Mask(), MaskOf({"-", "SH", "-", "-", "SH", "-"}));
}

TEST_F(ConfigWindowTest, TheFreeConfigurationSetsFullEditOnceTheContentIsBuilt)
{
    XParam* config = Param("preset\\CurrentConfig");
    XParam* editMode = Param("QM7_KOVA\\globalEditMode");
    config->SetValue(4, true);
    editMode->SetValue(0, true);
    ConfigWindow& window = Window();
    config->SetValue(1, true);
    config->SetValue(4, true);
    EXPECT_EQ(editMode->GetValue(), 0.0) << "not watched before the content is built";

    // Built while the configuration is 4: full edit at once.
    ASSERT_TRUE(WindowTest::ShowOnScreen(window));
    EXPECT_EQ(editMode->GetValue(), 1.0);
    EXPECT_EQ(WindowTest::ImageMisses(), "");

    config->ChangeValue(1, true);
    editMode->SetValue(0, true);
    EXPECT_TRUE(config->ChangeValue(4, true));
    EXPECT_EQ(editMode->GetValue(), 1.0);
    // Choosing the configuration it has changes nothing.
    editMode->SetValue(0, true);
    EXPECT_FALSE(config->ChangeValue(4, true));
    EXPECT_EQ(editMode->GetValue(), 0.0);
}

TEST_F(ConfigWindowTest, ALabelIsCopiedOnlyFromTheLowerOutputOfALinkedPair)
{
    Window();
    XParam* linking = Param("QM7\\enableChannelLinking");
    FindParam("Output2\\linkedChannel")->SetValue(5, true);
    FindParam("Output5\\linkedChannel")->SetValue(2, true);
    XParam* label2 = FindParam("Output2\\label");
    XParam* label5 = FindParam("Output5\\label");
    struct Case
    {
        double linking;
        XParam* renamed;
        const char* text;
        const char* expected2;
        const char* expected5;
    };
    const Case cases[] = {
        {1, label2, "Left Hi", "Left Hi", "Left Hi"},
        {1, label5, "Right Hi", "Left Hi", "Right Hi"},
        {0, label2, "Mid", "Mid", "Right Hi"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        linking->SetValue(c.linking, true);
        c.renamed->ChangeText(c.text, true);
        EXPECT_EQ(std::string(label2->GetText().CStr()), c.expected2);
        EXPECT_EQ(std::string(label5->GetText().CStr()), c.expected5);
    }
}

TEST_F(ConfigWindowTest, StandardEditAppliesTheLinks)
{
    Window();
    XParam* editMode = Param("QM7_KOVA\\globalEditMode");
    editMode->SetValue(1, true);
    EXPECT_EQ(marks->standardEditLinks, 0);
    editMode->ChangeValue(0, true);
    EXPECT_EQ(marks->standardEditLinks, 1);
    editMode->SetValue(1, true);
    EXPECT_EQ(marks->standardEditLinks, 1);
}

/** The window on the screen against the simulated unit, worked through real events. */
class ConfigWindowSimTest : public WithConfigWindow<WindowTest::WindowSimTestBase>
{
protected:

    /** Whether the unit received a set-parameter frame for the wire id. */
    bool UnitGot(int wireId)
    {
        for (const FrameBytes::Sent& frame : UnitReceived(kCmdSetParamValue))
            if (FrameBytes::U16At(frame.payload, 0) == wireId)
                return true;
        return false;
    }
    bool WaitForWireId(int wireId)
    {
        return ViewTest::PumpUntil([&] { return UnitGot(wireId); }, WindowTest::kWaitMs);
    }

    /** The first child of the content of class View whose test holds. */
    template <typename View> View* Find(const std::function<bool(View&)>& test)
    {
        juce::Component* content = window->GetContentView();
        for (juce::Component* child : content->getChildren())
            if (auto* view = dynamic_cast<View*>(child); view != nullptr && test(*view))
                return view;
        return nullptr;
    }

    void Click(GuiTestSupport::PeerMouse& mouse, juce::Component& view)
    {
        const juce::Point<int> centre(view.getWidth() / 2, view.getHeight() / 2);
        mouse.Send(view, centre, juce::ModifierKeys::leftButtonModifier);
        mouse.Send(view, centre, juce::ModifierKeys());
        mouse.Wait(500);
    }

    void TypeKeys(const std::string& text)
    {
        for (char ch : text)
        {
            // Letters come in upper case, with Shift held for a capital.
            const bool capital = ch >= 'A' && ch <= 'Z';
            const auto upper = static_cast<int>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
            window->getPeer()->handleKeyPress(
                juce::KeyPress(upper, capital ? juce::ModifierKeys::shiftModifier : 0,
                               static_cast<juce::juce_wchar>(ch)));
            GuiTestSupport::RunLoopFor(2);
        }
        window->getPeer()->handleKeyPress(juce::KeyPress(juce::KeyPress::returnKey));
        ViewTest::Pump();
    }

    /** The next pop-up menu shown picks the item at position (0-based) by keys. */
    void MenuDriverChooses(int position)
    {
        menuDriver = std::make_unique<GuiTestSupport::ModalDialogDriver>(
            [position](juce::Component& menuWindow)
            {
                for (int step = 0; step <= position; ++step)
                    menuWindow.keyPressed(juce::KeyPress(juce::KeyPress::downKey));
                menuWindow.keyPressed(juce::KeyPress(juce::KeyPress::returnKey));
                return true;
            });
    }

    std::unique_ptr<GuiTestSupport::ModalDialogDriver> menuDriver;
};

TEST_F(ConfigWindowSimTest, TypingClickingAndChoosingReachTheUnit)
{
    ASSERT_TRUE(ConnectEditor());
    Param("preset\\CurrentConfig")->SetValue(1, true);
    Param("QM7_KOVA\\globalEditMode")->SetValue(0, true);
    window = std::make_unique<ConfigWindow>();
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    EXPECT_EQ(WindowTest::ImageMisses(), "");
    GuiTestSupport::PeerMouse mouse(*window);

    // A program name typed into its field and committed with Return.
    XParam* name = Param("preset\\programName");
    auto* nameField = Find<XTextEditView>([&](XTextEditView& field) { return field.GetPot() == name; });
    ASSERT_NE(nameField, nullptr);
    Click(mouse, *nameField);
    TypeKeys("Main Hall Stage Left");
    EXPECT_EQ(std::string(name->GetText().CStr()), "Main Hall Stage Lef");
    for (int wireId = 51; wireId <= 55; ++wireId)
        EXPECT_TRUE(WaitForWireId(wireId)) << wireId;

    // A click on an LED toggles its bit.
    Param("preset\\ConfigLEDio")->SetValue(0, true);
    FloatParam* led = window->GetLedParam(2, 1);
    auto* ledButton = Find<XButton>([&](XButton& button) { return button.GetPot() == led; });
    ASSERT_NE(ledButton, nullptr);
    Click(mouse, *ledButton);
    EXPECT_EQ(static_cast<int32_t>(Param("preset\\ConfigLEDio")->GetValue()), 1 << (1 + 4 * 2));
    EXPECT_TRUE(WaitForWireId(editor->watcher.FindLiveWireId(Param("preset\\ConfigLEDio"))));

    // In standard edit the routing drop-downs are covered; choosing the free configuration in its
    // drop-down marks the change as the user's, switches to full edit and uncovers them.
    XParam* config = Param("preset\\CurrentConfig");
    auto covers = [&]
    {
        int shown = 0;
        for (juce::Component* child : window->GetContentView()->getChildren())
            if (auto* pict = dynamic_cast<XPict*>(child);
                pict != nullptr && pict->GetShowParam() == Param("QM7_KOVA\\globalEditMode"))
                shown += pict->isVisible() ? 1 : 0;
        return shown;
    };
    EXPECT_EQ(covers(), 6);
    auto* configDropDown = Find<XPopupMenu>([&](XPopupMenu& popup) { return popup.GetPot() == config; });
    ASSERT_NE(configDropDown, nullptr);
    MenuDriverChooses(4);
    Click(mouse, *configDropDown);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return config->GetValue() == 4.0; }, WindowTest::kWaitMs));
    EXPECT_EQ(marks->configMarks, 1);
    EXPECT_EQ(Param("QM7_KOVA\\globalEditMode")->GetValue(), 1.0);
    EXPECT_EQ(covers(), 0);
    EXPECT_TRUE(WaitForWireId(editor->watcher.FindLiveWireId(config)));

    // Now a routing drop-down can be worked: output 6's source becomes input B.
    XParam* source = FindParam("Output6\\source");
    auto* sourceDropDown = Find<XPopupMenu>([&](XPopupMenu& popup) { return popup.GetPot() == source; });
    ASSERT_NE(sourceDropDown, nullptr);
    MenuDriverChooses(1);
    Click(mouse, *sourceDropDown);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return source->GetValue() == 1.0; }, WindowTest::kWaitMs));
    EXPECT_TRUE(WaitForWireId(editor->watcher.FindLiveWireId(source)));

    // A press on the standard-edit button marks the edit-mode change as the user's.
    XParam* editMode = Param("QM7_KOVA\\globalEditMode");
    auto* standard = Find<XButton>([&](XButton& button)
                                   { return button.GetPot() == editMode && button.GetMatchValue() == 0.0f; });
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(marks->standardEditLinks, 0);
    Click(mouse, *standard);
    EXPECT_EQ(marks->editModeMarks, 1);
    EXPECT_EQ(editMode->GetValue(), 0.0);
    EXPECT_EQ(marks->standardEditLinks, 1);

    // Author, revision, date and input source reach the unit.
    Param("preset\\authorStr")->ChangeText("JD", true);
    Param("preset\\revisionStr")->ChangeText("r2", true);
    Param("preset\\programDateStr")->ChangeText("01/02/27", true);
    Param("global\\InputMode")->ChangeValue(1, true);
    for (const char* path : {"preset\\author", "preset\\revision", "preset\\programDate1",
                             "preset\\programDate2", "global\\InputMode"})
        EXPECT_TRUE(WaitForWireId(editor->watcher.FindLiveWireId(Param(path)))) << path;

    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(*window, "ConfigWindow");
}
} // namespace
