#include "gui/XText.h"

#include "ControlTestSupport.h"
#include "core/ITickClock.h"
#include "gui/JUCECanvas.h"
#include "gui/XViewCursors.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
using ControlTest::Recorder;
using ViewTest::Application;
using ViewTest::MakeParam;
using ViewTest::Pump;
using ViewTest::PumpUntil;

/** The application looper's timers run on this clock while the object lives. */
class ManualClock final : public ITickClock
{
public:
    ManualClock() { Application().SetTickClock(this); }
    ~ManualClock() override { Application().SetTickClock(nullptr); }
    uint32_t GetTickCount() override { return now.load(); }
    std::atomic<uint32_t> now{100000};
};

std::vector<std::string> Lines(const XString& text)
{
    std::vector<std::string> lines;
    const std::string all = text.CStr();
    size_t start = 0;
    for (size_t end = all.find("\r\n"); end != std::string::npos; end = all.find("\r\n", start))
    {
        lines.push_back(all.substr(start, end - start));
        start = end + 2;
    }
    lines.push_back(all.substr(start));
    return lines;
}

class TextTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application();
        root.SetFrameXYWH(0, 0, 300, 200);
        root.SetBackColor(XRGB(220, 220, 220));
        root.Show();
        root.Attach();
    }

    XView root;
};

TEST_F(TextTree, WrappingBreaksAtBlanksWithinTheWidthAndKeepsWhatCannotBreak)
{
    XText text(XRect(0, 0, 100, 60), "");
    const std::string sentence = "The quick brown fox jumps over the lazy dog again and again";
    text.SetWrappedLabel(sentence.c_str());
    const std::vector<std::string> lines = Lines(text.GetLabel());
    ASSERT_GT(lines.size(), 2u);
    std::string joined;
    for (const std::string& line : lines)
    {
        if (line.find(' ') != std::string::npos)
        {
            EXPECT_LE(text.MeasureText(line.c_str()), 100) << line;
        }
        EXPECT_FALSE(line.empty() || line.back() == ' ') << "no trailing blanks: '" << line << "'";
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, sentence);

    struct Case
    {
        const char* text;
        const char* firstLine;
        bool unchanged;
    };
    const Case cases[] = {{"Hi there", "Hi there", true},
                          {"Pneumonoultramicroscopicsilicovolcanoconiosis", nullptr, true},
                          {"Gain\r\nThe quick brown fox jumps over the lazy dog", "Gain", false},
                          {"", "", true}};
    for (const Case& c : cases)
    {
        text.SetWrappedLabel(c.text);
        if (c.unchanged)
        {
            EXPECT_EQ(text.GetLabel(), c.text);
        }
        if (c.firstLine != nullptr)
        {
            EXPECT_EQ(Lines(text.GetLabel()).front(), c.firstLine) << c.text;
        }
    }
}

TEST_F(TextTree, AMultiLineTextWrapsItsChangedLabelWhenShown)
{
    auto* text = new XText(XRect(0, 0, 90, 80), "");
    XMessage block;
    block.AddString("style", "multiline");
    text->ReadAttributes(block);
    root.AddChild(text, true);
    text->SetForeColor(XRGB(0, 0, 0));
    text->SetLabel(XString("Output levels of every channel follow the master"), false);
    EXPECT_FALSE(text->GetLabel().Contains("\r\n"));
    text->Show();
    EXPECT_TRUE(text->GetLabel().Contains("\r\n"));
    GuiTestSupport::TakeScreenshot(root, "XTextWrapped");
}

TEST_F(TextTree, AutoShowAppearsOnAUserChangeForTwoSeconds)
{
    ManualClock clock;
    auto param = MakeParam(0, 10);
    auto* text = new XText(XRect(0, 0, 60, 20), param.get(), XRGB(255, 255, 255), XView::kJustifyLeft);
    XMessage block;
    block.AddString("style", "autoshow");
    text->ReadAttributes(block);
    ASSERT_TRUE(text->IsAutoShow());
    root.AddChild(text);
    EXPECT_FALSE(text->isVisible()) << "hidden until a change";

    param->SetValue(3, true);
    Pump();
    EXPECT_FALSE(text->isVisible()) << "a program change does not show it";

    param->ChangeValue(4, true);
    EXPECT_TRUE(text->isVisible());
    clock.now += XText::kAutoShowMs - 1;
    Pump();
    EXPECT_TRUE(text->isVisible());
    clock.now += 1;
    EXPECT_TRUE(PumpUntil([&] { return !text->isVisible(); }, 5000));

    XText unbound(XRect(0, 0, 60, 20), "label");
    unbound.ReadAttributes(block);
    EXPECT_FALSE(unbound.IsAutoShow()) << "only a bound text shows itself";
}

TEST_F(TextTree, ADisabledTextDimsItsColourOrLightensOneTooDark)
{
    auto disabling = MakeParam(0, 1);
    struct Case
    {
        XRGB colour;
        XRGB drawn;
    };
    const Case cases[] = {{XRGB(200, 100, 50), XRGB(100, 50, 25)},
                          {XRGB(40, 200, 100), XRGB(95, 255, 155)},
                          {XRGB(20, 60, 100), XRGB(120, 160, 200)}};
    for (const Case& c : cases)
    {
        XText text(XRect(0, 0, 60, 20), "Gain", c.colour, XView::kJustifyLeft);
        text.SetDrawShadow(true);
        text.Show();
        JUCECanvas enabled(60, 20);
        text.Draw(enabled);
        EXPECT_EQ(enabled.GetForeColor(), c.colour);
        text.SetDisableParam(disabling.get(), 0);
        JUCECanvas disabled(60, 20);
        text.Draw(disabled);
        EXPECT_EQ(disabled.GetForeColor(), c.drawn);
    }
}

TEST_F(TextTree, TheTextShowsItsLabelOrItsParametersValueText)
{
    auto param = MakeParam(0, 10);
    param->SetValue(7, false);
    auto* label = new XText(XRect(10, 10, 110, 30), "Gain", XRGB(20, 20, 20), XView::kJustifyLeft);
    auto* value = new XText(XRect(10, 40, 110, 60), param.get(), XRGB(200, 30, 30), XView::kJustifyCentred);
    auto* opaque = new XText(XRect(10, 70, 110, 90), "Opaque", XRGB(255, 255, 255), XView::kJustifyRight);
    opaque->SetBackColor(XRGB(0, 0, 120));
    XMessage block;
    block.AddString("style", "nonTransparent");
    block.AddBool("drawShadow", true);
    opaque->ReadAttributes(block);
    for (XText* text : {label, value, opaque})
        root.AddChild(text);
    EXPECT_EQ(label->GetDisplayText(), "Gain");
    EXPECT_EQ(value->GetDisplayText(), Application().GetParamMenuLabel(param.get(), 7));
    EXPECT_FALSE(value->GetDisplayText().IsEmpty());
    EXPECT_TRUE(label->IsTransparent());
    EXPECT_FALSE(label->HasTouch());

    const juce::Image picture = GuiTestSupport::TakeScreenshot(root, "XTextVariants");
    EXPECT_EQ(picture.getPixelAt(12, 72), juce::Colour(0, 0, 120)) << "the opaque text erases its bounds";
}

TEST_F(TextTree, ATrackingTextDragsItsParameterAndAClickAsksForValueEntry)
{
    Recorder entry("h31Entry");
    entry.Bind(XText::kTextClickedMessage);
    auto param = MakeParam(0, 99);
    param->SetValue(50, false);
    auto* text = new XText(XRect(0, 0, 40, 20), param.get(), XRGB(0, 0, 0), XView::kJustifyLeft);
    XMessage block;
    block.AddInt32("trackmouse", 1);
    text->ReadAttributes(block);
    root.AddChild(text);
    EXPECT_TRUE(text->WantsMouse());
    EXPECT_EQ(text->GetCursorTool(XPoint(1, 1)), XViewCursors::kToolUpDownResize);

    EXPECT_TRUE(text->MouseDown(XPoint(5, 10), XView::kButtonLeft));
    text->MouseMoved(XPoint(5, 6), XView::kButtonLeft);
    EXPECT_EQ(param->GetValue(), 60) << "4 pixels up at 100 steps over 40 pixels";
    text->MouseUp(XPoint(5, 6), XView::kButtonNone);
    text->MouseMoved(XPoint(5, 0), XView::kNoButton);
    EXPECT_EQ(param->GetValue(), 60) << "no drag after the release";

    EXPECT_TRUE(text->Click(XPoint(1, 1)));
    ASSERT_TRUE(PumpUntil([&] { return !entry.messages.empty(); }, 5000));
    EXPECT_EQ(entry.messages.front().GetPointer("param"), param.get());
    EXPECT_EQ(entry.messages.front().GetPointer("pView"), &root);

    XText unbound(XRect(0, 0, 40, 20), "label");
    EXPECT_FALSE(unbound.Click(XPoint(1, 1)));
    EXPECT_FALSE(unbound.WantsMouse());
}
} // namespace
