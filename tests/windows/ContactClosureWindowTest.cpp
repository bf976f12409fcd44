// The contact closure window: the contact lamps as bits of the unit's contact mask, the slave boxes
// as bits of the slave mask (from construction, without a show), the covers of the master mode, and,
// in the real window against the simulated unit, the mode radio and a slave box clicked.

#include "windows/ContactClosureWindow.h"

#include "WindowTestSupport.h"
#include "core/IAppServices.h"
#include "core/XHandler.h"
#include "gui/XButton.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace
{
using WindowTest::Param;

constexpr int32_t kCmdSetParamValue = 5;
constexpr const char* kContactsPath = "QM7_KOVA\\ContactsValue";
constexpr const char* kSlaveMaskPath = "QM7_KOVA\\MSChanConfig";
constexpr const char* kModePath = "QM7_KOVA\\MasterSlaveMode";
constexpr const char* kSerialPath = "QM7_KOVA\\RS232OrContacts";

XParam* Slave(int32_t channel)
{
    return GetAppServices().GetSlaveParam(ContactClosureWindow::kSlaveChannelFirstId + channel);
}

/** Counts the value notices of the parameters it watches. */
class NoticeCounter final : public XHandler
{
public:
    ~NoticeCounter() override { XParam::ForgetWatcher(this); }
    void ParamChanged(int32_t, XParam*, int32_t) override { ++notices; }
    int notices = 0;
};

/** An edit of a slave box as a click makes it: begin, change, end. */
void EditSlave(int32_t channel, double value)
{
    auto* slave = dynamic_cast<FloatParam*>(Slave(channel));
    ASSERT_NE(slave, nullptr);
    slave->BeginEdit();
    slave->ChangeValue(value, true);
    slave->EndEdit();
}

template <typename View> View* FindIn(SubWindow& window, const std::function<bool(View&)>& test)
{
    for (juce::Component* child : window.GetContentView()->getChildren())
        if (auto* view = dynamic_cast<View*>(child); view != nullptr && test(*view))
            return view;
    return nullptr;
}

int ShownCovers(SubWindow& window)
{
    int shown = 0;
    for (juce::Component* child : window.GetContentView()->getChildren())
        if (auto* pict = dynamic_cast<XPict*>(child);
            pict != nullptr && pict->GetShowParam() == Param(kModePath))
            shown += pict->isVisible() ? 1 : 0;
    return shown;
}

class ContactClosureWindowTest : public WindowTest::WindowTestBase
{
protected:
    void TearDown() override
    {
        window.reset();
        WindowTestBase::TearDown();
    }
    std::unique_ptr<ContactClosureWindow> window;
};

TEST_F(ContactClosureWindowTest, TheContactMaskShowsEachContactOpenOrClosedWithoutAShow)
{
    window = std::make_unique<ContactClosureWindow>();
    struct Case
    {
        int32_t mask;
        const char* shown; // contacts 1..8: O open, C closed
    };
    const Case cases[] = {
        {5, "OCOCCCCC"}, {0x105, "OCOCCCCC"}, {0xFF, "OOOOOOOO"}, {0x80, "CCCCCCCO"}, {0, "CCCCCCCC"}};
    for (const Case& c : cases)
    {
        Param(kContactsPath)->SetValue(c.mask, true);
        std::string shown;
        for (int32_t contact = 0; contact < ContactClosureWindow::kContactCount; ++contact)
        {
            FloatParam* state = window->GetContactState(contact);
            const std::string text = state->GetText().CStr();
            EXPECT_EQ(text, state->GetValue() != 0.0 ? "OPEN" : "CLOSED");
            shown += state->GetValue() != 0.0 ? 'O' : 'C';
        }
        EXPECT_EQ(shown, c.shown) << "mask " << c.mask;
    }
    EXPECT_EQ(window->GetContactState(8), nullptr);
    EXPECT_FALSE(window->IsContentBuilt());
}

TEST_F(ContactClosureWindowTest, EachSlaveBoxIsOneBitOfTheSlaveMaskAtTheEndOfAnEdit)
{
    window = std::make_unique<ContactClosureWindow>();
    XParam* mask = Param(kSlaveMaskPath);
    for (int32_t channel = 0; channel < ContactClosureWindow::kSlaveChannelCount; ++channel)
    {
        SCOPED_TRACE(testing::Message() << "channel " << channel);
        mask->SetValue(0x100, true); // a bit above the eight channels stays as it is
        EditSlave(channel, 1);
        EXPECT_EQ(static_cast<int32_t>(mask->GetValue()), 0x100 | (1 << channel));
        EditSlave(channel, 0);
        EXPECT_EQ(static_cast<int32_t>(mask->GetValue()), 0x100);
    }
    // A change without an edit's end leaves the mask alone.
    mask->SetValue(0, true);
    Slave(4)->ChangeValue(1, true);
    EXPECT_EQ(mask->GetValue(), 0.0);
    // The callbacks outlive the window.
    window.reset();
    EditSlave(2, 1);
    EXPECT_EQ(static_cast<int32_t>(mask->GetValue()), 1 << 2);
}

TEST_F(ContactClosureWindowTest, TheSlaveMaskSetsTheBoxesAndAnEqualReportChangesAndSendsNothing)
{
    window = std::make_unique<ContactClosureWindow>();
    XParam* mask = Param(kSlaveMaskPath);
    mask->SetValue(0x314, true); // outputs 1 and 3; bits 8 and 9 ignored
    for (int32_t channel = 0; channel < ContactClosureWindow::kSlaveChannelCount; ++channel)
        EXPECT_EQ(Slave(channel)->GetValue(), channel == 2 || channel == 4 ? 1.0 : 0.0) << channel;
    SendChanges();
    TakeFrames();

    NoticeCounter counter;
    for (int32_t channel = 0; channel < ContactClosureWindow::kSlaveChannelCount; ++channel)
        Slave(channel)->AddWatcher(&counter, 0, false);
    mask->NotifyWatchers(static_cast<int32_t>(XMsgCode::kParamValueSet), nullptr);
    EXPECT_EQ(counter.notices, 0);
    SendChanges();
    EXPECT_TRUE(TakeFrames().empty());
}

TEST_F(ContactClosureWindowTest, ThePageCoversTheSlaveBoxesInMasterModeAndKeepsTheUnitsStateFromTheMouse)
{
    Param(kModePath)->SetValue(0, true);
    window = std::make_unique<ContactClosureWindow>();
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    EXPECT_EQ(WindowTest::ImageMisses(), "");
    EXPECT_EQ(ShownCovers(*window), 8);
    Param(kModePath)->SetValue(1, true);
    EXPECT_EQ(ShownCovers(*window), 0);

    auto* mode =
        FindIn<XPopupMenu>(*window, [](XPopupMenu& popup) { return popup.GetPot() == Param(kModePath); });
    ASSERT_NE(mode, nullptr);
    EXPECT_FALSE(mode->IsHilited());
    for (int32_t contact = 0; contact < ContactClosureWindow::kContactCount; ++contact)
    {
        XParam* state = window->GetContactState(contact);
        auto* lamp = FindIn<XButton>(*window, [&](XButton& button) { return button.GetPot() == state; });
        ASSERT_NE(lamp, nullptr);
        EXPECT_FALSE(lamp->IsHilited());
    }
    for (int32_t contact = 0; contact < ContactClosureWindow::kContactCount; ++contact)
    {
        XParam* preset = GetAppServices().GetParam(ContactClosureWindow::kContactPresetFirstId + contact);
        EXPECT_NE(FindIn<XPopupMenu>(*window, [&](XPopupMenu& popup) { return popup.GetPot() == preset; }),
                  nullptr);
    }
}

class ContactClosureWindowSimTest : public WindowTest::WindowSimTestBase
{
protected:
    void TearDown() override
    {
        window.reset();
        WindowSimTestBase::TearDown();
    }

    bool WaitForValue(XParam* param, double value)
    {
        const int wireId = editor->watcher.FindLiveWireId(param);
        return ViewTest::PumpUntil(
            [&]
            {
                for (const FrameBytes::Sent& frame : UnitReceived(kCmdSetParamValue))
                    if (FrameBytes::U16At(frame.payload, 0) == wireId && param->GetValue() == value)
                        return true;
                return false;
            },
            WindowTest::kWaitMs);
    }

    void Click(GuiTestSupport::PeerMouse& mouse, juce::Component& view)
    {
        const juce::Point<int> centre(view.getWidth() / 2, view.getHeight() / 2);
        mouse.Send(view, centre, juce::ModifierKeys::leftButtonModifier);
        mouse.Send(view, centre, juce::ModifierKeys());
        mouse.Wait(500);
    }

    std::unique_ptr<ContactClosureWindow> window;
};

TEST_F(ContactClosureWindowSimTest, TheModeRadioAndASlaveBoxClickedReachTheUnit)
{
    ASSERT_TRUE(ConnectEditor());
    XParam* serial = Param(kSerialPath);
    serial->SetValue(1, true);
    Param(kSlaveMaskPath)->SetValue(0, true);
    Param(kModePath)->SetValue(0, true);
    window = std::make_unique<ContactClosureWindow>();
    ASSERT_TRUE(WindowTest::ShowOnScreen(*window));
    GuiTestSupport::PeerMouse mouse(*window);

    auto* second = FindIn<XButton>(*window, [&](XButton& button)
                                   { return button.GetPot() == serial && button.GetMatchValue() == 0.0f; });
    ASSERT_NE(second, nullptr);
    Click(mouse, *second);
    EXPECT_EQ(serial->GetValue(), 0.0);
    EXPECT_TRUE(WaitForValue(serial, 0.0));

    // The drop-down ignores the mouse: the test puts the unit in slave mode.
    Param(kModePath)->ChangeValue(1, true);
    ViewTest::Pump();
    auto* output3 = FindIn<XButton>(*window, [&](XButton& button) { return button.GetPot() == Slave(4); });
    ASSERT_NE(output3, nullptr);
    Click(mouse, *output3);
    XParam* mask = Param(kSlaveMaskPath);
    EXPECT_EQ(Slave(4)->GetValue(), 1.0);
    EXPECT_EQ(static_cast<int32_t>(mask->GetValue()), 1 << 4);
    EXPECT_TRUE(WaitForValue(mask, 1 << 4));

    Param(kContactsPath)->SetValue(5, true);
    ViewTest::Pump();
    GuiTestSupport::TakeScreenshot(*window, "ContactClosureWindow");
}
} // namespace
