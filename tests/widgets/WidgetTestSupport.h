#pragma once

#include "gui/ControlTestSupport.h"
#include "gui/JUCECanvas.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "gui/XView.h"
#include "gui/XViewBuilder.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

/** Helpers of the widget tests. */
namespace WidgetTest
{
/** A shown root view attached to the test application, with a plain style current; the widgets
    added belong to the root. */
class WidgetTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        XStyle::SetCurrentStyle(&style);
        root.SetFrameXYWH(0, 0, 400, 300);
        root.Show();
        root.Attach();
    }

    void TearDown() override { XStyle::SetCurrentStyle(nullptr); }

    template <typename View> View* Add(View* view, const XRect& frame)
    {
        view->SetFrame(frame);
        root.AddChild(view);
        return view;
    }

    XStyle style;
    XView root;
};

/** What the view draws on a canvas of its own size, on white. */
inline juce::Image Render(XView& view)
{
    const int32_t width = std::max(1, view.GetWidth());
    const int32_t height = std::max(1, view.GetHeight());
    JUCECanvas canvas(width, height);
    canvas.FillRectColour(XRect(0, 0, width, height), XRGB(255, 255, 255));
    view.Draw(canvas);
    return canvas.GetImage().createCopy();
}

inline juce::Colour Pixel(const juce::Image& image, int x, int y)
{
    return image.getPixelAt(x, y).withAlpha(static_cast<juce::uint8>(255));
}

inline juce::Colour Colour(const XRGB& colour)
{
    return juce::Colour(colour.r, colour.g, colour.b);
}

/** Builds a window description into view (the first block describes view itself): the file
    named name (compared without regard to case) has text, and any other file the text names comes
    from the skin. */
inline void BuildDescription(XView& view, const char* name, const char* text)
{
    XViewBuilder builder(name);
    builder.SetTextReader(
        [name, text](const XString& file, XString& out)
        {
            if (!file.EqualsNoCase(name))
                return GetResourceManager().GetText(file, out);
            out = text;
            return true;
        });
    builder.BuildInto(&view);
}

/** Puts a view on the screen (under Xvfb in the test run) as a window of its own, shown, attached
    and in front; whether it shows within a generous wait. */
inline bool ShowOnScreen(XView& window)
{
    constexpr int kShowWaitMs = 5000;
    window.addToDesktop(juce::ComponentPeer::windowIsTemporary);
    window.Show();
    window.Attach();
    window.toFront(false);
    return GuiTestSupport::RunLoopUntil([&] { return window.getPeer() != nullptr && window.isShowing(); },
                                        kShowWaitMs);
}

/** The build's skin made the program's: its images, colours and fonts (SkinTestSupport); false
    when the skin is not built. */
inline bool UseBuiltSkin()
{
    return SkinTestSupport::UseBuiltSkin();
}

/** Tests of widgets in a window on the screen (under Xvfb in the test run) drawn in the build's
    skin, with a plain style current; skipped when the skin is not built (a subclass's SetUp checks
    IsSkipped() after this one's). The window leaves the screen afterwards. */
class SkinWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        if (!UseBuiltSkin())
            GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
        XStyle::SetCurrentStyle(&style);
    }

    void TearDown() override
    {
        window.removeFromDesktop();
        XStyle::SetCurrentStyle(nullptr);
    }

    XStyle style;
    XView window;
};
} // namespace WidgetTest
