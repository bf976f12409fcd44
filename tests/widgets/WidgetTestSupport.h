#pragma once

#include "gui/ButtonTestSupport.h"
#include "gui/ControlTestSupport.h"
#include "gui/JUCECanvas.h"
#include "gui/XStyle.h"
#include "gui/XView.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

/** Helpers of the slider, fader bar, meter and pot tests. */
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

/** The build's skin made the program's: its images, colours and fonts (ButtonTestSupport); false
    when the skin is not built. */
inline bool UseBuiltSkin()
{
    return ButtonTestSupport::UseBuiltSkin();
}
} // namespace WidgetTest
