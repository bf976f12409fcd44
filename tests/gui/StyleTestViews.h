#pragma once

#include "gui/IStyledCheckBox.h"
#include "gui/IStyledListRow.h"
#include "gui/IStyledPanel.h"
#include "gui/IStyledPopupMenu.h"
#include "gui/IStyledPot.h"
#include "gui/IStyledScaler.h"
#include "gui/IStyledSlider.h"
#include "gui/IStyledWindow.h"
#include "gui/JUCECanvas.h"

#include <functional>
#include <juce_graphics/juce_graphics.h>

/** Stand-ins for the views that the style draws, with public fields the tests set. They derive
    from the style's interfaces the way the real views are meant to: one class answers the common
    IStyledView queries for every kind through virtual inheritance. */
namespace StyleTestViews
{
class View : public virtual IStyledView
{
public:
    bool transparent = false;
    XRGB textColor{0, 0, 0};
    XString label;
    XRect bounds;

    bool IsTransparent() const override { return transparent; }
    XRGB GetTextColor() const override { return textColor; }
    XString GetLabel() const override { return label; }
    XRect GetBounds() const override { return bounds; }
};

class Pot final : public View, public IStyledPot
{
public:
    bool line = true;
    bool DrawsLine() const override { return line; }
};

class PopupMenu final : public View, public IStyledPopupMenu
{
public:
    bool titleShown = true;
    XString displayText;
    bool IsTitleShown() const override { return titleShown; }
    XString GetDisplayText() const override { return displayText; }
};

class Button : public View, public virtual IStyledButton
{
public:
    XImage* image = nullptr;
    XImage* image2 = nullptr;
    XImage* image3 = nullptr;
    bool disabled = false;
    XRect labelRect;
    XString unlitLabel;
    XString litLabel;
    XRGB dimColor{180, 180, 180};
    XRGB litColor{180, 180, 230};
    XRGB labelColor{0, 0, 0};
    XRGB litLabelColor{0, 0, 0};

    XImage* GetImage() const override { return image; }
    XImage* GetImage2() const override { return image2; }
    XImage* GetImage3() const override { return image3; }
    bool IsDisabledByParam() const override { return disabled; }
    XRect GetLabelRect() const override { return labelRect; }
    XString GetLabelFor(bool lit) const override { return lit ? litLabel : unlitLabel; }
    XRGB GetFaceColor(bool lit) const override { return lit ? litColor : dimColor; }
    XRGB GetLabelColor(bool lit) const override { return lit ? litLabelColor : labelColor; }
};

class CheckBox final : public Button, public IStyledCheckBox
{
public:
    bool radio = false;
    bool IsRadio() const override { return radio; }
};

class Scaler final : public View, public IStyledScaler
{
public:
    bool vertical = true;
    bool buttons = true;
    XRect track;
    XRect thumb;
    XRect startArrow;
    XRect endArrow;
    bool startHeld = false;
    bool endHeld = false;

    bool IsVertical() const override { return vertical; }
    bool HasButtons() const override { return buttons; }
    XRect GetTrackRect() const override { return track; }
    XRect GetThumbRect() const override { return thumb; }
    XRect GetStartArrowRect() const override { return startArrow; }
    XRect GetEndArrowRect() const override { return endArrow; }
    bool IsStartArrowHeld() const override { return startHeld; }
    bool IsEndArrowHeld() const override { return endHeld; }
};

class Panel final : public View, public IStyledPanel
{
public:
    bool open = true;
    XRect openClickRect{3, 3, 19, 19};
    bool IsOpen() const override { return open; }
    XRect GetOpenClickRect() const override { return openClickRect; }
};

class Window final : public View, public IStyledWindow
{
public:
    bool closeBox = true;
    bool maximizeBox = true;
    bool minimizeBox = true;
    bool HasCloseBox() const override { return closeBox; }
    bool HasMaximizeBox() const override { return maximizeBox; }
    bool HasMinimizeBox() const override { return minimizeBox; }
};

class Slider final : public View, public IStyledSlider
{
public:
    XImage* track = nullptr;
    XImage* knob = nullptr;
    XImage* pressedKnob = nullptr;
    XImage* GetTrackImage() const override { return track; }
    XImage* GetKnobImage() const override { return knob; }
    XImage* GetPressedKnobImage() const override { return pressedKnob; }
};

class ListRow final : public IStyledListRow
{
public:
    bool separator = false;
    XString text;
    int32_t kind = kCellText;
    bool IsSeparator() const override { return separator; }
    void GetCellText(int32_t, XString& out) const override { out = text; }
    int32_t GetCellKind(int32_t) const override { return kind; }
};

inline juce::Colour ToColour(const XRGB& c)
{
    return juce::Colour(c.r, c.g, c.b, c.a);
}

/** True when the pixel lies within tolerance of the colour on every channel. */
inline bool IsNear(juce::Colour pixel, const XRGB& colour, int tolerance = 6)
{
    return std::abs(pixel.getRed() - colour.r) <= tolerance &&
           std::abs(pixel.getGreen() - colour.g) <= tolerance &&
           std::abs(pixel.getBlue() - colour.b) <= tolerance;
}

/** The bounding box of the pixels in area that isInk accepts; empty when there are none. */
inline juce::Rectangle<int> InkBoundsWhere(const juce::Image& image, const juce::Rectangle<int>& area,
                                           const std::function<bool(juce::Colour pixel)>& isInk)
{
    int left = area.getRight(), top = area.getBottom(), right = area.getX() - 1, bottom = area.getY() - 1;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (isInk(image.getPixelAt(x, y)))
            {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < left)
        return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

/** The bounding box of the pixels in area that differ from colour by more than tolerance; empty
    when there are none. */
inline juce::Rectangle<int> InkBounds(const juce::Image& image, const juce::Rectangle<int>& area,
                                      const XRGB& colour, int tolerance = 40)
{
    return InkBoundsWhere(
        image, area, [&colour, tolerance](juce::Colour pixel) { return !IsNear(pixel, colour, tolerance); });
}

inline bool SameImages(const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt(x, y) != b.getPixelAt(x, y))
                return false;
    return true;
}
} // namespace StyleTestViews
