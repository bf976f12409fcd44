#include "widgets/QM7Style.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XStringConversion.h"
#include "gui/IStyledButton.h"
#include "gui/IStyledSlider.h"
#include "gui/JUCECanvas.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XDialog.h"
#include "gui/XImage.h"
#include "gui/XPopupWindow.h"
#include "gui/XResourceManager.h"

#include <algorithm>
#include <map>
#include <string>

namespace
{
// Title text.
constexpr const char* kTitleFontFamily = "arial black";
constexpr int kTitleTextIndent = 8;
constexpr int kTitleTextRightGap = 5;

// Title-bar boxes: the close box's right edge lies this far inside the inset, its top this far below
// it; the minimise box keeps this gap to the close box.
constexpr int32_t kCloseBoxRightGap = 3;
constexpr int32_t kCloseBoxTopGap = 4;
constexpr int32_t kTitleBoxGap = 3;

// Plain buttons.
const juce::Colour kButtonBase(82, 82, 84);
constexpr float kButtonLightFactor = 0.4f;
constexpr float kButtonCorner = 2.0f;
constexpr int kButtonFaceInset = 2;
constexpr int kButtonFaceShrink = 6;
constexpr float kLabelPressedAlpha = 0.9f;
constexpr float kBevelLightAlpha = 0.5f;
constexpr float kBevelDarkAlpha = 0.8f;

// Alert boxes.
constexpr int kAlertIconWidth = 80;
constexpr int kAlertIconMaximum = kAlertIconWidth + 50;
constexpr int kAlertIconExtra = 20;
constexpr int kAlertIconTextExtra = 50;
constexpr float kAlertTitleFontHeight = 15.5f;
constexpr int kAlertMessageRaise = 5;
constexpr float kAlertIconLetterShare = 0.9f;
constexpr float kAlertWarningCorner = 5.0f;

// JUCE's scroll-bar button directions.
constexpr int kScrollButtonUp = 0;
constexpr int kScrollButtonDown = 2;

/** Images and colours looked up once per process. GUI thread only; no lock. */
struct SkinCaches
{
    /** Image name to image; null for a name the skin lacks. The images belong to the skin's resource
        manager and live only while its image generation is imageGeneration. */
    std::map<std::string, XImage*> images;
    uint32_t imageGeneration = 0;

    bool titleColoursRead = false;
    juce::Colour titleActive;
    juce::Colour titleInactive;

    bool scrollbarBackRead = false;
    juce::Colour scrollbarBack;
};

SkinCaches& Caches()
{
    static auto* caches = new SkinCaches();
    return *caches;
}

XImage* SkinImage(const char* name)
{
    SkinCaches& caches = Caches();
    auto& images = caches.images;
    // The resource manager deleted the images since they were looked up (a skin reload, the
    // application's exit): forget them, and the misses with them.
    const uint32_t generation = GetResourceManager().GetImageGeneration();
    if (caches.imageGeneration != generation)
    {
        images.clear();
        caches.imageGeneration = generation;
    }
    const auto found = images.find(name);
    if (found != images.end())
        return found->second;
    XImage* image = GetResourceManager().GetImage(XString(name));
    if (image != nullptr && !image->HasPicture())
        image = nullptr;
    images.emplace(name, image);
    return image;
}

/** The dictionary's colour of that name; opaque black when it lacks the name. */
juce::Colour DictionaryColour(const char* name)
{
    return GetColorDictionary().GetColorOr(name, XRGB(0, 0, 0, 255)).ToColour();
}

void DrawImageAt(juce::Graphics& g, const XImage* image, int x, int y)
{
    if (image != nullptr && image->GetJuceImage() != nullptr)
        g.drawImageAt(*image->GetJuceImage(), x, y);
}

/** The whole image stretched into the rectangle. */
void DrawImageInto(juce::Graphics& g, const XImage* image, juce::Rectangle<int> area)
{
    if (image == nullptr || image->GetJuceImage() == nullptr || area.isEmpty())
        return;
    g.drawImage(*image->GetJuceImage(), area.getX(), area.getY(), area.getWidth(), area.getHeight(), 0, 0,
                image->GetWidth(), image->GetHeight());
}

int WidthOf(const XImage* image)
{
    return image != nullptr ? image->GetWidth() : 0;
}

int HeightOf(const XImage* image)
{
    return image != nullptr ? image->GetHeight() : 0;
}

/** The view behind a styled box or button, for the changes the style makes to it. */
XView* ViewOf(IStyledButton* button)
{
    return dynamic_cast<XView*>(button);
}

/** The framework window that holds the view; null for a view outside one. */
XPopupWindow* WindowOf(XView* view)
{
    for (juce::Component* component = view; component != nullptr; component = component->getParentComponent())
        if (auto* window = dynamic_cast<XPopupWindow*>(component))
            return window;
    return nullptr;
}
} // namespace

void QM7Style::ResetSkinCaches()
{
    SkinCaches& caches = Caches();
    caches.images.clear();
    caches.titleColoursRead = false;
    caches.scrollbarBackRead = false;
}

// Titles ---------------------------------------------------------------------------------------------

XString QM7Style::FormatPresetNumber(int presetNumber)
{
    XString text;
    if (presetNumber > kUserPresetCount)
        text.Format("%c%02d", 'F', presetNumber - kUserPresetCount);
    else
        text.Format("%c%02d", 'U', presetNumber);
    return text;
}

XString QM7Style::ComposeTitle(const XString& title, bool dialog)
{
    if (dialog)
        return title;
    XString text = title;
    text += ": ";
    const XParam* preset = FindParam("%s", kCurrentPresetPath);
    text += preset != nullptr ? FormatPresetNumber(static_cast<int>(preset->GetValue())) : XString("U01");
    text += " ";
    if (const XParam* programName = FindParam("%s", kProgramNamePath))
    {
        const XString name = programName->GetText();
        if (!name.IsEmpty())
        {
            text += name;
            text += " ";
        }
    }
    if (const XParam* config = FindParam("%s", kCurrentConfigPath))
    {
        text += "- ";
        text += config->GetDisplayText();
    }
    return text;
}

juce::Colour QM7Style::GetTitleTextColour()
{
    return GetTitleTextColourFor(true);
}

juce::Colour QM7Style::GetTitleTextColourFor(bool active)
{
    SkinCaches& caches = Caches();
    if (!caches.titleColoursRead)
    {
        XColorDictionary& dictionary = GetColorDictionary();
        XRGB colour;
        const bool hasActive =
            dictionary.FindColor("windowTitlebarText", colour) == XColorDictionary::kResultOk;
        caches.titleActive = hasActive ? colour.ToColour() : juce::Colours::black;
        const bool hasInactive =
            dictionary.FindColor("windowTitlebarTextDim", colour) == XColorDictionary::kResultOk;
        caches.titleInactive = hasInactive ? colour.ToColour() : juce::Colours::black;
        if (!hasActive && !hasInactive)
            caches.titleActive = caches.titleInactive = juce::Colours::lightgrey;
        caches.titleColoursRead = true;
    }
    return active ? caches.titleActive : caches.titleInactive;
}

// Colours and metrics -------------------------------------------------------------------------------

void QM7Style::ApplyColours()
{
    XStyle::ApplyColours();
    setColour(kAlertBackgroundColourId, DictionaryColour("windowBackground"));
    setColour(kAlertTextColourId, DictionaryColour("windowText"));
    setColour(kAlertOutlineColourId, juce::Colours::black);
    setColour(kProgressBackgroundColourId, DictionaryColour("progressBarBack"));
    setColour(kProgressForegroundColourId, DictionaryColour("progressBarFore"));
}

int QM7Style::GetFineWheelKeyMode()
{
    return kKeyModeSpecial;
}

int QM7Style::GetFineDragKeyMode()
{
    return kKeyModeSpecial;
}

int QM7Style::GetTitleBarHeight()
{
    return kTitleBarHeight;
}

int QM7Style::GetFrameInset()
{
    return kFrameInset;
}

void QM7Style::GetCloseBoxSize(int32_t& width, int32_t& height)
{
    const XImage* image = SkinImage(kCloseActive);
    width = image != nullptr ? image->GetWidth() : kFallbackBoxSize;
    height = image != nullptr ? image->GetHeight() : kFallbackBoxSize;
}

void QM7Style::GetMinimizeBoxSize(int32_t& width, int32_t& height)
{
    const XImage* image = SkinImage(kMinimizeActive);
    width = image != nullptr ? image->GetWidth() : kFallbackBoxSize;
    height = image != nullptr ? image->GetHeight() : kFallbackBoxSize;
}

void QM7Style::GetCloseBoxRect(const IStyledWindow& window, XRect& rect)
{
    rect = XRect();
    if (!window.HasCloseBox())
        return;
    int32_t width = 0;
    int32_t height = 0;
    GetCloseBoxSize(width, height);
    const XRect bounds = window.GetBounds();
    const int32_t inset = GetFrameInset();
    rect.right = bounds.right - inset - kCloseBoxRightGap;
    rect.left = rect.right - width;
    rect.top = bounds.top + inset + kCloseBoxTopGap;
    rect.bottom = rect.top + height;
}

void QM7Style::GetMinimizeBoxRect(const IStyledWindow& window, XRect& rect)
{
    rect = XRect();
    if (!window.HasMinimizeBox())
        return;
    int32_t closeWidth = 0;
    int32_t closeHeight = 0;
    GetCloseBoxSize(closeWidth, closeHeight);
    const XRect bounds = window.GetBounds();
    const int32_t inset = GetFrameInset();
    // Without a close box the minimise box takes its place.
    int32_t right = bounds.right - inset - kCloseBoxRightGap;
    if (window.HasCloseBox())
        right -= closeWidth + kTitleBoxGap;
    // Its width is its own; its top and bottom are the close box's.
    int32_t width = 0;
    int32_t ownHeight = 0;
    GetMinimizeBoxSize(width, ownHeight);
    rect.right = right;
    rect.left = right - width;
    rect.top = bounds.top + inset + kCloseBoxTopGap;
    rect.bottom = rect.top + closeHeight;
}

// Windows -------------------------------------------------------------------------------------------

void QM7Style::DrawWindow(juce::Graphics& g, juce::Component& window, const XString& title)
{
    const int width = window.getWidth();
    const int height = window.getHeight();
    g.fillAll(juce::Colour(kWindowFill));

    auto* framework = dynamic_cast<XPopupWindow*>(&window);
    const bool active = framework != nullptr && framework->IsActiveWindow();
    XImage* left = SkinImage(active ? kTitleLeftActive : kTitleLeftDisabled);
    XImage* middle = SkinImage(active ? kTitleMidActive : kTitleMidDisabled);
    XImage* right = SkinImage(active ? kTitleRightActive : kTitleRightDisabled);
    if (left == nullptr || middle == nullptr || right == nullptr)
        return;

    // Title bar.
    DrawImageAt(g, left, 0, 0);
    for (int x = left->GetWidth(); x < width - right->GetWidth(); ++x)
        DrawImageAt(g, middle, x, 0);
    DrawImageAt(g, right, width - right->GetWidth(), 0);

    // Sides and bottom.
    XImage* contentLeft = SkinImage(kContentLeft);
    XImage* contentRight = SkinImage(kContentRight);
    XImage* bottomLeft = SkinImage(kContentBottomLeft);
    XImage* bottomRight = SkinImage(kContentBottomRight);
    XImage* bottomMid = SkinImage(kContentBottomMid);
    if (contentLeft != nullptr)
        for (int y = left->GetHeight(); y < height - HeightOf(bottomLeft); ++y)
            DrawImageAt(g, contentLeft, 0, y);
    if (contentRight != nullptr)
        for (int y = left->GetHeight(); y < height - HeightOf(bottomRight); ++y)
            DrawImageAt(g, contentRight, width - contentRight->GetWidth(), y);
    DrawImageAt(g, bottomLeft, 0, height - HeightOf(bottomLeft));
    DrawImageAt(g, bottomRight, width - WidthOf(bottomRight), height - HeightOf(bottomRight));
    if (bottomMid != nullptr)
        for (int x = WidthOf(bottomLeft); x < width - WidthOf(bottomRight); ++x)
            DrawImageAt(g, bottomMid, x, height - bottomMid->GetHeight());

    // Title: left-aligned from the inset, up to the title-bar boxes.
    const int titleHeight = GetTitleBarHeight();
    const int textLeft = GetFrameInset() + kTitleTextIndent;
    const int textRight = framework != nullptr ? GetTitleTextRight(*framework) - kTitleTextRightGap : width;
    const XString text = ComposeTitle(title, dynamic_cast<XDialog*>(&window) != nullptr);
    if (text.IsEmpty() || textRight <= textLeft)
        return;
    // The title stays within the title bar whatever the font's descent.
    g.reduceClipRegion(0, 0, width, titleHeight);
    g.setColour(GetTitleTextColourFor(active));
    g.setFont(juce::Font(kTitleFontFamily, static_cast<float>(titleHeight - 7), juce::Font::plain));
    g.drawText(ToJuceString(text), textLeft, 0, textRight - textLeft, titleHeight,
               juce::Justification::centredLeft, true);
}

void QM7Style::DrawTitleBoxImage(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit,
                                 bool pressed, const char* pressedImage, const char* activeImage,
                                 const char* dimImage)
{
    XView* view = ViewOf(box);
    if (view == nullptr)
        return;
    // The first pass makes the box see-through so the title bar shows round its picture.
    if (!view->IsTransparent())
    {
        view->SetTransparent(true);
        view->Invalidate();
        return;
    }
    const XPopupWindow* window = WindowOf(view);
    const char* name = (pressed || lit)                                  ? pressedImage
                       : (window != nullptr && window->IsActiveWindow()) ? activeImage
                                                                         : dimImage;
    XImage* image = SkinImage(name);
    if (image == nullptr)
        return;
    canvas.DrawImageInRect(image, rect, XCanvas::kRopTransparent);
    const XRect frame = view->GetFrame();
    if (frame.Width() != image->GetWidth() || frame.Height() != image->GetHeight())
        view->SetFrame(
            XRect(frame.left, frame.top, frame.left + image->GetWidth(), frame.top + image->GetHeight()));
}

void QM7Style::DrawCloseBox(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit, bool pressed)
{
    DrawTitleBoxImage(box, rect, canvas, lit, pressed, kClosePressed, kCloseActive, kCloseDim);
}

void QM7Style::DrawMinimizeBox(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit, bool pressed)
{
    const XPopupWindow* window = WindowOf(ViewOf(box));
    if (window != nullptr && window->IsMinimised())
        DrawTitleBoxImage(box, rect, canvas, lit, pressed, kRestorePressed, kRestoreActive, kRestoreDim);
    else
        DrawTitleBoxImage(box, rect, canvas, lit, pressed, kMinimizePressed, kMinimizeActive, kMinimizeDim);
}

// Buttons and sliders ---------------------------------------------------------------------------------

void QM7Style::DrawButton(IStyledButton* button, const XRect& rect, XCanvas& canvas, bool lit, bool pressed)
{
    if (button == nullptr)
        return;
    if (button->GetImage() != nullptr)
    {
        XStyle::DrawButton(button, rect, canvas, lit, pressed);
        return;
    }
    XView* view = ViewOf(button);
    if (view != nullptr && !view->IsTransparent())
    {
        view->SetTransparent(true);
        view->Invalidate();
        return;
    }
    auto* juceCanvas = dynamic_cast<JUCECanvas*>(&canvas);
    if (juceCanvas == nullptr || juceCanvas->GetGraphics() == nullptr)
        return;
    const juce::Rectangle<int> area(rect.left + canvas.GetOffsetX(), rect.top + canvas.GetOffsetY(),
                                    rect.right - rect.left, rect.bottom - rect.top);
    DrawButtonFace(*juceCanvas->GetGraphics(), area, button->GetLabelFor(pressed || lit), pressed, lit);
}

void QM7Style::DrawButtonFace(juce::Graphics& g, juce::Rectangle<int> area, const XString& label,
                              bool pressed, bool lit)
{
    juce::Graphics::ScopedSaveState keep(g);
    const bool down = pressed || lit;
    const int w = area.getWidth();
    const int h = area.getHeight();
    g.setOrigin(area.getPosition() + (pressed ? juce::Point<int>(1, 1) : juce::Point<int>()));

    const juce::Rectangle<float> face(
        static_cast<float>(kButtonFaceInset), static_cast<float>(kButtonFaceInset),
        static_cast<float>(w - kButtonFaceShrink), static_cast<float>(h - kButtonFaceShrink));
    const juce::Colour light = kButtonBase.brighter(kButtonLightFactor);
    const juce::Colour top = down ? light : kButtonBase;
    const juce::Colour bottom = down ? kButtonBase : light;
    g.setGradientFill(juce::ColourGradient(top, 0.0f, 0.0f, bottom, 0.0f, static_cast<float>(h - 2), false));
    g.fillRoundedRectangle(face, kButtonCorner);

    juce::Colour edgeLight = juce::Colours::antiquewhite.withAlpha(kBevelLightAlpha);
    juce::Colour edgeDark = juce::Colours::darkgrey.withAlpha(kBevelDarkAlpha);
    if (down)
        std::swap(edgeLight, edgeDark);
    const int left = kButtonFaceInset;
    const int topEdge = kButtonFaceInset;
    const int right = kButtonFaceInset + w - kButtonFaceShrink - 1;
    const int bottomEdge = kButtonFaceInset + h - kButtonFaceShrink - 1;
    g.setColour(edgeLight);
    g.fillRect(left, topEdge, right - left + 1, 1);
    g.fillRect(left, topEdge, 1, bottomEdge - topEdge + 1);
    g.setColour(edgeDark);
    g.fillRect(left, bottomEdge, right - left + 1, 1);
    g.fillRect(right, topEdge, 1, bottomEdge - topEdge + 1);

    if (label.IsEmpty())
        return;
    g.setFont(juce::Font(static_cast<float>(h) / 2.0f, juce::Font::bold));
    if (down)
    {
        g.setColour(juce::Colours::black.withAlpha(kLabelPressedAlpha));
        g.drawText(ToJuceString(label), 0, 0, w, h, juce::Justification::centred, true);
    }
    else
    {
        g.setColour(juce::Colours::antiquewhite);
        g.drawText(ToJuceString(label), -1, -1, w, h, juce::Justification::centred, true);
    }
}

void QM7Style::DrawSlider(IStyledSlider* slider, const XRect& trackRect, const XRect& thumbRect,
                          XCanvas& canvas, bool horizontal, bool pressed, bool lit)
{
    if (slider == nullptr)
        return;
    if (XImage* track = slider->GetTrackImage())
        canvas.DrawImageInRect(track, trackRect, XCanvas::kRopCopy);
    else if (!slider->IsTransparent())
        canvas.EraseRect(trackRect);
    DrawSliderThumb(slider, thumbRect, canvas, horizontal, pressed, lit);
}

// Alert boxes ------------------------------------------------------------------------------------------

juce::Font QM7Style::getAlertWindowTitleFont()
{
    return juce::Font(kAlertTitleFontHeight, juce::Font::bold);
}

void QM7Style::drawAlertBox(juce::Graphics& g, juce::AlertWindow& alert, const juce::Rectangle<int>& textArea,
                            juce::TextLayout& textLayout)
{
    const juce::Colour background = alert.findColour(juce::AlertWindow::backgroundColourId);
    const juce::Colour textColour = alert.findColour(juce::AlertWindow::textColourId);
    g.fillAll(background);

    int iconSize = std::min(kAlertIconMaximum, alert.getHeight() + kAlertIconExtra);
    if (alert.containsAnyExtraComponents() || alert.getNumButtons() > 2)
        iconSize = std::min(iconSize, textArea.getHeight() + kAlertIconTextExtra);
    const juce::Rectangle<float> iconBox(static_cast<float>(iconSize / -10),
                                         static_cast<float>(iconSize / -10), static_cast<float>(iconSize),
                                         static_cast<float>(iconSize));

    int iconSpace = 0;
    const auto kind = alert.getAlertType();
    if (kind != juce::MessageBoxIconType::NoIcon)
    {
        juce::Path shape;
        juce::Colour tint;
        juce::juce_wchar letter = 'i';
        if (kind == juce::MessageBoxIconType::WarningIcon)
        {
            shape.addTriangle(iconBox.getCentreX(), iconBox.getY(), iconBox.getRight(), iconBox.getBottom(),
                              iconBox.getX(), iconBox.getBottom());
            shape = shape.createPathWithRoundedCorners(kAlertWarningCorner);
            tint = juce::Colours::red.withAlpha(0.2f);
            letter = '!';
        }
        else
        {
            shape.addEllipse(iconBox);
            const bool information = kind == juce::MessageBoxIconType::InfoIcon;
            tint = information ? juce::Colours::blue.withAlpha(0.16f)
                               : juce::Colours::gold.darker(0.4f).withAlpha(0.25f);
            letter = information ? 'i' : '?';
        }
        g.setColour(background.overlaidWith(tint));
        g.fillPath(shape);
        g.setColour(background);
        g.setFont(juce::Font(iconBox.getHeight() * kAlertIconLetterShare, juce::Font::bold));
        g.drawText(juce::String::charToString(letter), iconBox, juce::Justification::centred, false);
        iconSpace = kAlertIconWidth;
    }

    // JUCE lays the title (in getAlertWindowTitleFont) and the message out together, left-aligned
    // beside an icon: the title line is centred over the message there.
    if (iconSpace > 0 && textLayout.getNumLines() > 0)
    {
        juce::TextLayout::Line& title = textLayout.getLine(0);
        const juce::Range<float> extent = title.getLineBoundsX();
        title.lineOrigin.x += (textLayout.getWidth() - extent.getLength()) / 2.0f - extent.getStart();
    }
    g.setColour(textColour);
    textLayout.draw(g, juce::Rectangle<int>(textArea.getX() + iconSpace, textArea.getY() - kAlertMessageRaise,
                                            textArea.getWidth() - iconSpace, textArea.getHeight())
                           .toFloat());

    g.setColour(alert.findColour(juce::AlertWindow::outlineColourId));
    g.drawRect(0, 0, alert.getWidth(), alert.getHeight(), 1);
}

// Scroll bars ------------------------------------------------------------------------------------------

int QM7Style::getDefaultScrollbarWidth()
{
    const XImage* top = SkinImage(kScrollThumbTop);
    return top != nullptr ? top->GetWidth() : kFallbackScrollbarSize;
}

int QM7Style::getScrollbarButtonSize(juce::ScrollBar& scrollbar)
{
    if (scrollbar.getNumChildComponents() == 0)
        return 0;
    const XImage* button = SkinImage(kScrollButtonTop);
    return button != nullptr ? button->GetHeight() : kFallbackScrollbarSize;
}

int QM7Style::getMinimumScrollbarThumbSize(juce::ScrollBar&)
{
    const XImage* top = SkinImage(kScrollThumbTop);
    const XImage* middle = SkinImage(kScrollThumbMiddle);
    const XImage* bottom = SkinImage(kScrollThumbBottom);
    if (top == nullptr || middle == nullptr || bottom == nullptr)
        return kFallbackScrollbarSize;
    return top->GetHeight() + middle->GetHeight() + bottom->GetHeight();
}

void QM7Style::drawScrollbarButton(juce::Graphics& g, juce::ScrollBar& scrollbar, int width, int height,
                                   int buttonDirection, bool isScrollbarVertical, bool isMouseOverButton,
                                   bool isButtonDown)
{
    const char* name = nullptr;
    if (isScrollbarVertical && buttonDirection == kScrollButtonUp)
        name = isButtonDown ? kScrollButtonTopPressed : kScrollButtonTop;
    else if (isScrollbarVertical && buttonDirection == kScrollButtonDown)
        name = isButtonDown ? kScrollButtonBottomPressed : kScrollButtonBottom;
    XImage* image = name != nullptr ? SkinImage(name) : nullptr;
    if (image == nullptr)
    {
        // Without its picture the button keeps the framework's look, so it can still be found.
        LookAndFeel_V2::drawScrollbarButton(g, scrollbar, width, height, buttonDirection, isScrollbarVertical,
                                            isMouseOverButton, isButtonDown);
        return;
    }
    DrawImageAt(g, image, 0, 0);
}

void QM7Style::drawScrollbar(juce::Graphics& g, juce::ScrollBar& scrollbar, int x, int y, int width,
                             int height, bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                             bool isMouseOver, bool isMouseDown)
{
    SkinCaches& caches = Caches();
    if (!caches.scrollbarBackRead)
    {
        caches.scrollbarBack = DictionaryColour("scrollbarBack");
        caches.scrollbarBackRead = true;
    }
    g.setColour(caches.scrollbarBack);
    g.fillRect(x, y, width, height);
    if (!isScrollbarVertical || thumbSize <= 0)
        return;

    XImage* top = SkinImage(kScrollThumbTop);
    XImage* middle = SkinImage(kScrollThumbMiddle);
    XImage* bottom = SkinImage(kScrollThumbBottom);
    if (top == nullptr || middle == nullptr || bottom == nullptr)
    {
        // Without the thumb's pictures the thumb is drawn as the framework draws it.
        LookAndFeel_V2::drawScrollbar(g, scrollbar, x, y, width, height, isScrollbarVertical,
                                      thumbStartPosition, thumbSize, isMouseOver, isMouseDown);
        return;
    }
    // The geometry comes from the normal pictures; the pressed set is drawn in their places.
    const int topHeight = top->GetHeight();
    const int bottomHeight = bottom->GetHeight();
    XImage* drawnTop = top;
    XImage* drawnMiddle = middle;
    XImage* drawnBottom = bottom;
    if (isMouseDown)
    {
        XImage* pressedTop = SkinImage(kScrollThumbTopPressed);
        XImage* pressedMiddle = SkinImage(kScrollThumbMiddlePressed);
        XImage* pressedBottom = SkinImage(kScrollThumbBottomPressed);
        drawnTop = pressedTop != nullptr ? pressedTop : top;
        drawnMiddle = pressedMiddle != nullptr ? pressedMiddle : middle;
        drawnBottom = pressedBottom != nullptr ? pressedBottom : bottom;
    }
    const int middleHeight = thumbSize - topHeight - bottomHeight;
    DrawImageInto(g, drawnMiddle,
                  juce::Rectangle<int>(x, thumbStartPosition + topHeight, middle->GetWidth(), middleHeight));
    DrawImageAt(g, drawnTop, x, thumbStartPosition);
    DrawImageAt(g, drawnBottom, x, thumbStartPosition + thumbSize - bottomHeight);
}
