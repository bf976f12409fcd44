#include "gui/XStyle.h"

#include "core/StringToPtrMap.h"
#include "core/SystemInfo.h"
#include "core/XMath.h"
#include "core/XStringConversion.h"
#include "gui/IStyledButton.h"
#include "gui/IStyledCheckBox.h"
#include "gui/IStyledListRow.h"
#include "gui/IStyledPanel.h"
#include "gui/IStyledPopupMenu.h"
#include "gui/IStyledPot.h"
#include "gui/IStyledScaler.h"
#include "gui/IStyledSlider.h"
#include "gui/IStyledWindow.h"
#include "gui/JUCEShutdownHook.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "platform/PlatformFonts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace
{
const XRGB kBlack(0, 0, 0, 255);
const XRGB kWhite(255, 255, 255, 255);
/** Disabled black text and boxes are drawn in this grey instead of a darker black. */
const XRGB kDisabledBlack(80, 80, 80, 255);
/** The shade laid over a disabled image button, and its opacity. */
const XRGB kDisabledShade(50, 50, 50, 255);
constexpr uint8_t kDisabledShadeAlpha = 100;
const XRGB kSeparatorColour(60, 60, 60, 255);
constexpr int kDimPercent = 50;

/** The height counted for a canvas without a font. */
constexpr int32_t kNoFontHeight = 10;
/** Directions of XCanvas::DrawTriangle. */
constexpr int32_t kArrowUp = 0;
constexpr int32_t kArrowDown = 1;
constexpr int32_t kArrowRight = 2;
constexpr int32_t kArrowLeft = 3;

// Popup colours: dictionary names, defaults and the alpha each is returned with.
constexpr uint8_t kPopupBackgroundAlpha = 220;
struct PopupColourEntry
{
    const char* name;
    XRGB fallback;
    uint8_t alpha;
};
const PopupColourEntry kPopupColourEntries[] = {
    {"popupText", XRGB(240, 240, 240), 255},
    {"popupBackground", XRGB(80, 80, 80), kPopupBackgroundAlpha},
    {"popupTextHighlight", XRGB(240, 240, 240), 255},
    {"popupBackgroundHighlight", XRGB(80, 80, 240), 255},
};
constexpr int kPopupColourCount = 4;

// Fonts.
constexpr const char* kFontTableFormat = "%s\\GlobalFonts.dat";
constexpr const char* kDefaultFamily = "arial";
constexpr int32_t kFallbackFontSize = 10;
struct DefaultNamedFont
{
    const char* name;
    int32_t size;
};
const DefaultNamedFont kDefaultNamedFonts[] = {{"small", 12}, {"medium", 13}, {"large", 18}};

// Tooltips.
constexpr float kTooltipFontHeight = 12.0f;
constexpr float kTooltipMaxWidth = 400.0f;
constexpr int kTooltipExtraWidth = 14;
constexpr int kTooltipExtraHeight = 10;
constexpr float kTooltipCorner = 3.0f;

// Window frame drawing.
constexpr float kTitleFontHeight = 14.0f;
constexpr float kTitleMinimumHorizontalScale = 0.7f;
constexpr int32_t kTitleBoxSize = 20;

// List drawing.
constexpr int32_t kListCellIndent = 3;
constexpr int32_t kSortArrowInset = 10;
constexpr int32_t kSortArrowClearance = 10;

/** The list colours of the colour dictionary with their defaults. */
struct ListColours
{
    XRGB back;
    XRGB fore;
    XRGB headerBack;
    XRGB headerText;
    XRGB rowBack;
    XRGB rowAltBack;
    XRGB rowSelected;
    XRGB rowText;
    XRGB rowTextSelected;
};

/** What every style shares for the life of the process. GUI thread only; no lock. The fonts are
    forgotten when JUCE shuts down: the menu font is a JUCE object, and the list font belongs to
    the font cache, which goes then. */
struct StyleGlobals
{
    /** Upper-cased name to style; the styles are not owned. */
    StringToPtrMap<XStyle> registry;
    XStyle* current = nullptr;
    bool fontsLoaded = false;

    bool popupColoursRead = false;
    XRGB popupColours[kPopupColourCount];

    bool windowColoursRead = false;
    bool hasWindowBackground = false;
    XRGB windowBackground;
    bool hasTitleBar = false;
    XRGB titleBar;

    bool listColoursRead = false;
    ListColours list;

    bool menuFontRead = false;
    std::optional<juce::Font> menuFont;
    bool listFontRead = false;
    XFont* listFont = nullptr;
};

StyleGlobals& Globals()
{
    static auto* globals = []
    {
        auto* made = new StyleGlobals();
        JUCEShutdownHook::Add(
            [made]
            {
                made->menuFontRead = false;
                made->menuFont.reset();
                made->listFontRead = false;
                made->listFont = nullptr;
            });
        return made;
    }();
    return *globals;
}

/** The colour of a dictionary name, or the fallback when the dictionary lacks it. */
XRGB DictionaryColour(const char* name, const XRGB& fallback)
{
    XRGB colour;
    return GetColorDictionary().FindColor(name, colour) == XColorDictionary::kResultOk ? colour : fallback;
}

/** Red, green and blue moved together by delta, limited so that none leaves 0..255 (hue kept). */
XRGB Shifted(XRGB colour, int delta)
{
    colour.ShiftBrightness(static_cast<int16_t>(delta));
    return colour;
}

XRGB Mix(const XRGB& from, const XRGB& to, double fraction)
{
    XRGB out;
    BlendColour(out, from, to, fraction);
    return out;
}

int32_t WidthOf(const XRect& rect)
{
    return std::abs(rect.right - rect.left);
}

int32_t HeightOf(const XRect& rect)
{
    return std::abs(rect.bottom - rect.top);
}

bool IsEmptyRect(const XRect& rect)
{
    return !(rect.left < rect.right && rect.top < rect.bottom);
}

XRect Inset(const XRect& rect, int32_t by)
{
    return XRect(rect.left + by, rect.top + by, rect.right - by, rect.bottom - by);
}

XRect Offset(const XRect& rect, int32_t dx, int32_t dy)
{
    return XRect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy);
}

int32_t FontHeightOf(const XCanvas& canvas)
{
    return canvas.GetFont() != nullptr ? canvas.GetFont()->GetHeight() : kNoFontHeight;
}

/** Puts back the canvas colours, pen width and font that a drawing operation changes. */
class CanvasStateKeeper final
{
public:
    explicit CanvasStateKeeper(XCanvas& canvasIn)
        : canvas(canvasIn), fore(canvas.GetForeColor()), back(canvas.GetBackColor()),
          penWidth(canvas.GetPenWidth()), font(canvas.GetFont())
    {
    }
    ~CanvasStateKeeper()
    {
        canvas.SetForeColor(fore);
        canvas.SetBackColor(back);
        canvas.SetPenWidth(penWidth);
        canvas.SetFont(font);
    }
    CanvasStateKeeper(const CanvasStateKeeper&) = delete;
    CanvasStateKeeper& operator=(const CanvasStateKeeper&) = delete;

private:
    XCanvas& canvas;
    const XRGB fore;
    const XRGB back;
    const int32_t penWidth;
    XFont* const font;
};

void Line(XCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    canvas.DrawLine(x1, y1, x2, y2, 1, 1);
}

/** The largest circle in the rectangle's top-left square, filled in the colour. */
void FillDisc(XCanvas& canvas, const XRect& rect, const XRGB& colour)
{
    const int32_t radius = std::min(WidthOf(rect), HeightOf(rect)) / 2;
    // A rectangle inset past its middle (a tiny pot) has no disc.
    if (IsEmptyRect(rect) || radius <= 0)
        return;
    canvas.SetForeColor(colour);
    canvas.FillCircle(rect.left + radius, rect.top + radius, radius);
}

/** The colour of text and boxes of a disabled control. */
XRGB DisabledColour(const XRGB& colour)
{
    return colour == kBlack ? kDisabledBlack : XRGB::Scaled(colour, kDimPercent);
}

const ListColours& GetListColours()
{
    StyleGlobals& globals = Globals();
    if (!globals.listColoursRead)
    {
        ListColours& c = globals.list;
        c.back = DictionaryColour("listBack", XRGB(234, 238, 240));
        c.fore = DictionaryColour("listFore", XRGB(34, 38, 40));
        c.headerBack = DictionaryColour("listHeaderBack", XRGB::Scaled(c.back, 70));
        c.headerText = DictionaryColour("listHeaderText", kBlack);
        c.rowBack = DictionaryColour("listRowBack", XRGB(234, 238, 240));
        c.rowAltBack = DictionaryColour("listRowAltBack", XRGB::Scaled(c.rowBack, 95));
        c.rowSelected = DictionaryColour("listRowSelected", XRGB(60, 60, 240));
        c.rowText = DictionaryColour("listRowText", kBlack);
        c.rowTextSelected = DictionaryColour("listRowTextSelected", kWhite);
        globals.listColoursRead = true;
    }
    return globals.list;
}

XFont* GetListFont()
{
    StyleGlobals& globals = Globals();
    if (!globals.listFontRead)
    {
        globals.listFont = XFont::FindNamedFont("listText", false);
        if (globals.listFont == nullptr)
            globals.listFont = XFont::GetFont(kDefaultFamily, kFallbackFontSize, false, false, false);
        globals.listFontRead = true;
    }
    return globals.listFont;
}

void ReadWindowColours()
{
    StyleGlobals& globals = Globals();
    if (globals.windowColoursRead)
        return;
    auto& dictionary = GetColorDictionary();
    globals.hasWindowBackground =
        dictionary.FindColor("windowBackground", globals.windowBackground) == XColorDictionary::kResultOk;
    globals.hasTitleBar =
        dictionary.FindColor("windowTitlebar", globals.titleBar) == XColorDictionary::kResultOk;
    globals.windowColoursRead = true;
}

// Title-bar boxes: each right of the next, 3 below the frame inset.
constexpr int32_t kTitleBoxTop = 3;
/** The close box's right edge lies this far inside the inset, the others' edges start 3 inside. */
constexpr int32_t kCloseBoxGap = 6;
constexpr int32_t kTitleBoxGap = 3;
constexpr int32_t kGlyphPenWidth = 2;
constexpr int32_t kGlyphInset = 4;

/** A title-bar box of that size whose right edge lies rightGap inside the bounds' right less the
    inset. */
XRect TitleBox(const XRect& bounds, int32_t inset, int32_t rightGap, int32_t width, int32_t height)
{
    const int32_t right = bounds.right - inset - rightGap;
    const int32_t top = bounds.top + inset + kTitleBoxTop;
    return XRect(right - width, top, right, top + height);
}

/** The room that a box takes on the title bar: its width and a gap, 0 for no box. */
int32_t SpaceOf(const XRect& box)
{
    return IsEmptyRect(box) ? 0 : WidthOf(box) + kTitleBoxGap;
}

struct TitleBoxRects
{
    XRect rects[3];
    const XRect* begin() const { return rects; }
    const XRect* end() const { return rects + 3; }
};

/** The minimise, maximise and close boxes of the window, as the style places them. */
TitleBoxRects TitleBoxes(XStyle& style, const IStyledWindow& window)
{
    TitleBoxRects boxes;
    style.GetMinimizeBoxRect(window, boxes.rects[0]);
    style.GetMaximizeBoxRect(window, boxes.rects[1]);
    style.GetCloseBoxRect(window, boxes.rects[2]);
    return boxes;
}

/** A title-bar box: the box drawn as a button, then its glyph in the style's glyph colour with a
    2-pixel pen inside the rectangle less 4, moved 1, 1 when pressed. */
template <typename DrawGlyph>
void DrawTitleBox(XStyle& style, IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit,
                  bool pressed, DrawGlyph drawGlyph)
{
    style.DrawButton(box, rect, canvas, lit, pressed);
    CanvasStateKeeper keeper(canvas);
    canvas.SetForeColor(style.GetGlyphColor());
    canvas.SetPenWidth(kGlyphPenWidth);
    const int32_t shift = pressed ? 1 : 0;
    drawGlyph(Offset(Inset(rect, kGlyphInset), shift, shift));
}

/** One step button of a scaler: erased, raised unless held, with its arrow in the fore colour. */
void DrawScalerButton(XCanvas& canvas, const XRect& rect, bool held, int32_t direction)
{
    if (IsEmptyRect(rect))
        return;
    constexpr int kShadowShift = -50;
    constexpr int kLightShift = 100;
    const XRGB arrow = canvas.GetForeColor();
    const XRGB back = canvas.GetBackColor();
    canvas.EraseRect(rect);
    if (!held)
    {
        const int32_t right = rect.right - 1;
        const int32_t bottom = rect.bottom - 1;
        canvas.SetForeColor(Shifted(back, kShadowShift));
        canvas.FrameRect(rect);
        Line(canvas, right - 1, rect.top + 1, right - 1, bottom - 1);
        Line(canvas, rect.left + 1, bottom - 1, right - 1, bottom - 1);
        canvas.SetForeColor(Shifted(back, kLightShift));
        Line(canvas, rect.left + 1, rect.top + 1, right - 2, rect.top + 1);
        Line(canvas, rect.left + 1, rect.top + 1, rect.left + 1, bottom - 2);
    }
    canvas.SetForeColor(arrow);
    canvas.DrawTriangle(rect.left + WidthOf(rect) / 2, rect.top + HeightOf(rect) / 2,
                        std::min(WidthOf(rect), HeightOf(rect)) / 3, direction);
}

/** A groove half: a colour ramp across it, vertical for a horizontal slider. */
void FillGrooveHalf(XCanvas& canvas, const XRect& half, const XRGB& from, const XRGB& to, bool horizontal)
{
    if (!IsEmptyRect(half))
        canvas.FillGradientRect(half, from, to, horizontal);
}
} // namespace

// ---------------------------------------------------------------------------------------------------
// Construction, registry and current style

XStyle::XStyle() = default;

XStyle::~XStyle()
{
    StyleGlobals& globals = Globals();
    std::vector<XString> names;
    for (auto* node = globals.registry.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
        if (StringToPtrMap<XStyle>::GetNodeValue(node) == this)
            names.emplace_back(StringToPtrMapBase::GetNodeText(node));
    for (const auto& name : names)
        globals.registry.Remove(name.CStr());
    if (globals.current == this)
    {
        globals.current = nullptr;
        juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
    }
}

void XStyle::RegisterStyle(XStyle* style, const XString& name)
{
    if (name.IsEmpty())
        return;
    const XString key = name.ToUpper();
    if (style == nullptr)
    {
        Globals().registry.Remove(key.CStr());
        return;
    }
    Globals().registry.Add(key.CStr(), style);
    style->ApplyColours();
    style->LoadFonts();
}

XStyle* XStyle::FindStyle(const XString& name)
{
    if (name.IsEmpty())
        return nullptr;
    return Globals().registry.Find(name.ToUpper().CStr());
}

void XStyle::SetCurrentStyle(XStyle* style)
{
    Globals().current = style;
    if (style != nullptr)
    {
        style->LoadFonts();
        style->ApplyColours();
    }
    juce::LookAndFeel::setDefaultLookAndFeel(style);
}

XStyle* XStyle::GetCurrentStyle()
{
    return Globals().current;
}

void XStyle::ResetGlobalCaches()
{
    StyleGlobals& globals = Globals();
    globals.fontsLoaded = false;
    globals.popupColoursRead = false;
    globals.windowColoursRead = false;
    globals.listColoursRead = false;
    globals.menuFontRead = false;
    globals.listFontRead = false;
    globals.listFont = nullptr;
}

// ---------------------------------------------------------------------------------------------------
// JUCE look-and-feel

void XStyle::drawPopupMenuBackground(juce::Graphics& g, int width, int height)
{
    const juce::Colour background = findColour(kPopupBackgroundColourId);
    g.fillAll(background);
    g.setColour(background.contrasting(0.1f));
    g.drawRect(0, 0, width, height, 1);
}

juce::Font XStyle::getPopupMenuFont()
{
    StyleGlobals& globals = Globals();
    if (!globals.menuFontRead)
    {
        XFont* font = XFont::FindNamedFont("menuItem", false);
        if (font == nullptr)
            font = XFont::GetFont(kDefaultFamily, kFallbackFontSize, false, false, false);
        globals.menuFont = font != nullptr ? font->GetJuceFont() : juce::Font();
        globals.menuFontRead = true;
    }
    return *globals.menuFont;
}

void XStyle::getTooltipSize(const juce::String& text, int& width, int& height)
{
    juce::AttributedString attributed;
    attributed.setJustification(juce::Justification::centred);
    attributed.append(text, juce::Font(kTooltipFontHeight), juce::Colours::black);
    juce::TextLayout layout;
    layout.createLayout(attributed, kTooltipMaxWidth);
    width = static_cast<int>(layout.getWidth()) + kTooltipExtraWidth;
    height = static_cast<int>(layout.getHeight()) + kTooltipExtraHeight;
}

juce::Rectangle<int> XStyle::getTooltipBounds(const juce::String& text, juce::Point<int> screenPosition,
                                              juce::Rectangle<int> parentArea)
{
    // Beside the pointer, on the side of the area where there is more room.
    constexpr int kGapLeft = 12;
    constexpr int kGapRight = 24;
    constexpr int kGapVertical = 6;
    int width = 0;
    int height = 0;
    getTooltipSize(text, width, height);
    const int x = screenPosition.x > parentArea.getCentreX() ? screenPosition.x - (width + kGapLeft)
                                                             : screenPosition.x + kGapRight;
    const int y = screenPosition.y > parentArea.getCentreY() ? screenPosition.y - (height + kGapVertical)
                                                             : screenPosition.y + kGapVertical;
    return juce::Rectangle<int>(x, y, width, height).constrainedWithin(parentArea);
}

void XStyle::drawTooltip(juce::Graphics& g, const juce::String& text, int width, int height)
{
    const auto area = juce::Rectangle<float>(static_cast<float>(width), static_cast<float>(height));
    g.setColour(juce::Colours::darkgrey.darker(0.4f));
    g.fillRoundedRectangle(area, kTooltipCorner);
    g.setColour(juce::Colours::darkgrey);
    g.drawRoundedRectangle(area, kTooltipCorner, 1.0f);

    juce::AttributedString attributed;
    attributed.setJustification(juce::Justification::centred);
    attributed.append(text, juce::Font(kTooltipFontHeight), juce::Colours::antiquewhite);
    juce::TextLayout layout;
    layout.createLayout(attributed, static_cast<float>(width - kTooltipExtraWidth));
    layout.draw(g, area);
}

juce::Typeface::Ptr XStyle::getTypefaceForFont(const juce::Font& font)
{
    if (auto loaded =
            PlatformFonts::FindLoadedTypeface(font.getTypefaceName(), font.isBold(), font.isItalic()))
        return loaded;
    return juce::LookAndFeel_V2::getTypefaceForFont(font);
}

// ---------------------------------------------------------------------------------------------------
// Colours, metrics and fonts

void XStyle::ApplyColours()
{
    XRGB text;
    XRGB background;
    XRGB highlightedText;
    XRGB highlightedBackground;
    GetPopupColours(text, background, highlightedText, highlightedBackground);
    setColour(kPopupTextColourId, text.ToColour());
    setColour(kPopupBackgroundColourId, background.ToColour());
    setColour(kPopupHighlightedTextColourId, highlightedText.ToColour());
    setColour(kPopupHighlightedBackgroundColourId, highlightedBackground.ToColour());
    glyphColor = kBlack;
}

void XStyle::AdjustView(XView*) {}

int XStyle::GetResetKeyMode()
{
    return kKeyModeCtrl;
}

int XStyle::GetFineWheelKeyMode()
{
    return kKeyModeAlt;
}

int XStyle::GetFineDragKeyMode()
{
    return kKeyModeShift;
}

XString XStyle::GetDisplayText(const XString& text)
{
    return text;
}

int XStyle::GetPanelTitleHeight()
{
    return 20;
}

int XStyle::GetPanelBorder()
{
    return 2;
}

int XStyle::GetTitleBarHeight()
{
    return 24;
}

int XStyle::GetFrameInset()
{
    return 1;
}

juce::Colour XStyle::GetWindowBackgroundColour()
{
    ReadWindowColours();
    const StyleGlobals& globals = Globals();
    return globals.hasWindowBackground ? globals.windowBackground.ToColour()
                                       : juce::Colours::grey.brighter(0.4f).withAlpha(1.0f);
}

juce::Colour XStyle::GetTitleBarColour()
{
    ReadWindowColours();
    const StyleGlobals& globals = Globals();
    return globals.hasTitleBar ? globals.titleBar.ToColour() : juce::Colours::lightgrey;
}

void XStyle::GetPopupColours(XRGB& text, XRGB& background, XRGB& highlightedText, XRGB& highlightedBackground)
{
    StyleGlobals& globals = Globals();
    if (!globals.popupColoursRead)
    {
        for (int i = 0; i < kPopupColourCount; ++i)
        {
            const PopupColourEntry& entry = kPopupColourEntries[i];
            XRGB colour = DictionaryColour(entry.name, entry.fallback);
            colour.a = entry.alpha;
            globals.popupColours[i] = colour;
        }
        globals.popupColoursRead = true;
    }
    text = globals.popupColours[0];
    background = globals.popupColours[1];
    highlightedText = globals.popupColours[2];
    highlightedBackground = globals.popupColours[3];
}

void XStyle::LoadFonts()
{
    StyleGlobals& globals = Globals();
    if (globals.fontsLoaded)
        return;
    globals.fontsLoaded = true;

    XString path;
    path.Format(kFontTableFormat, GetSystemFolder().CStr());
    if (XFont::LoadFontTable(path) == XFont::kResultOk)
        return;
    for (const auto& named : kDefaultNamedFonts)
    {
        XFontDescriptor description;
        description.family = kDefaultFamily;
        description.size = named.size;
        XFont::DefineNamedFont(named.name, description);
    }
}

// ---------------------------------------------------------------------------------------------------
// Title-bar boxes

void XStyle::GetCloseBoxRect(const IStyledWindow& window, XRect& rect)
{
    rect = XRect();
    if (!window.HasCloseBox())
        return;
    int32_t width = 0;
    int32_t height = 0;
    GetCloseBoxSize(width, height);
    rect = TitleBox(window.GetBounds(), GetFrameInset(), kCloseBoxGap, width, height);
}

void XStyle::GetCloseBoxSize(int32_t& width, int32_t& height)
{
    width = kTitleBoxSize;
    height = kTitleBoxSize;
}

void XStyle::GetMaximizeBoxRect(const IStyledWindow& window, XRect& rect)
{
    rect = XRect();
    if (!window.HasMaximizeBox())
        return;
    XRect closeBox;
    GetCloseBoxRect(window, closeBox);
    int32_t width = 0;
    int32_t height = 0;
    GetMaximizeBoxSize(width, height);
    rect = TitleBox(window.GetBounds(), GetFrameInset(), kTitleBoxGap + SpaceOf(closeBox), width, height);
}

void XStyle::GetMaximizeBoxSize(int32_t& width, int32_t& height)
{
    width = kTitleBoxSize;
    height = kTitleBoxSize;
}

void XStyle::GetMinimizeBoxRect(const IStyledWindow& window, XRect& rect)
{
    rect = XRect();
    if (!window.HasMinimizeBox())
        return;
    XRect closeBox;
    GetCloseBoxRect(window, closeBox);
    XRect maximizeBox;
    GetMaximizeBoxRect(window, maximizeBox);
    int32_t width = 0;
    int32_t height = 0;
    GetMinimizeBoxSize(width, height);
    rect = TitleBox(window.GetBounds(), GetFrameInset(),
                    kTitleBoxGap + SpaceOf(closeBox) + SpaceOf(maximizeBox), width, height);
}

void XStyle::GetMinimizeBoxSize(int32_t& width, int32_t& height)
{
    width = kTitleBoxSize;
    height = kTitleBoxSize;
}

int32_t XStyle::GetTitleTextRight(const IStyledWindow& window)
{
    int32_t right = window.GetBounds().right - GetFrameInset();
    for (const XRect& box : TitleBoxes(*this, window))
        if (!IsEmptyRect(box))
            right = std::min(right, box.left);
    return right;
}

int32_t XStyle::GetTitleTextLeft(const IStyledWindow& window)
{
    int32_t left = GetFrameInset();
    for (const XRect& box : TitleBoxes(*this, window))
        if (!IsEmptyRect(box))
            left = std::max(left, box.right);
    return left;
}

void XStyle::DrawCloseBox(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit, bool pressed)
{
    DrawTitleBox(*this, box, rect, canvas, lit, pressed,
                 [&canvas](const XRect& glyph)
                 {
                     Line(canvas, glyph.left, glyph.top + 1, glyph.right, glyph.bottom - 1);
                     Line(canvas, glyph.left, glyph.bottom - 1, glyph.right, glyph.top + 1);
                 });
}

void XStyle::DrawMaximizeBox(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit, bool pressed)
{
    DrawTitleBox(*this, box, rect, canvas, lit, pressed,
                 [&canvas](const XRect& glyph)
                 {
                     const int32_t centreX = glyph.left + WidthOf(glyph) / 2;
                     const int32_t centreY = glyph.top + HeightOf(glyph) / 2;
                     Line(canvas, centreX, glyph.top, centreX, glyph.bottom);
                     Line(canvas, glyph.left, centreY, glyph.right, centreY);
                 });
}

void XStyle::DrawMinimizeBox(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit, bool pressed)
{
    DrawTitleBox(*this, box, rect, canvas, lit, pressed,
                 [&canvas](const XRect& glyph)
                 { Line(canvas, glyph.left, glyph.bottom, glyph.right, glyph.bottom); });
}

// ---------------------------------------------------------------------------------------------------
// Controls

void XStyle::DrawPot(IStyledPot* pot, double value, const XRect& rect, XCanvas& canvas)
{
    constexpr double kSweepDegrees = 316.0;
    constexpr double kStartDegrees = 22.0;
    constexpr int32_t kPointerShort = 4;
    if (pot == nullptr)
        return;
    value = std::clamp(value, 0.0, 1.0);
    CanvasStateKeeper keeper(canvas);
    if (!pot->IsTransparent())
        canvas.EraseRect(rect);

    const XRGB fore = canvas.GetForeColor();
    const int32_t centre = std::min(WidthOf(rect), HeightOf(rect)) / 2;
    const int32_t length = centre - kPointerShort;
    FillDisc(canvas, rect, canvas.GetBackColor());
    FillDisc(canvas, Inset(rect, 1), Mix(kBlack, fore, 0.0));
    FillDisc(canvas, Inset(rect, 2), Mix(kBlack, fore, 0.5));
    FillDisc(canvas, Inset(rect, 3), Mix(kBlack, fore, 0.8));
    FillDisc(canvas, Inset(rect, 4), fore);
    if (!pot->DrawsLine() || length <= 0)
        return;

    // Angle 0 points straight down; the pointer turns clockwise with the value. It starts at the
    // centre of the discs, wherever the rectangle lies.
    const auto degrees = static_cast<int32_t>(value * kSweepDegrees + kStartDegrees);
    const double radians = degrees * XMath::kPi / 180.0;
    const int32_t x0 = rect.left + centre;
    const int32_t y0 = rect.top + centre;
    const int32_t x1 = x0 - static_cast<int32_t>(length * std::sin(radians));
    const int32_t y1 = y0 + static_cast<int32_t>(length * std::cos(radians));
    canvas.SetForeColor(pot->GetTextColor());
    canvas.SetPenWidth(1);
    Line(canvas, x0, y0, x1, y1);
    Line(canvas, x0 + 1, y0, x1 + 1, y1);
}

void XStyle::DrawPopupMenu(IStyledPopupMenu* menu, const XRect& rect, XCanvas& canvas, bool pressed,
                           bool dimmed)
{
    constexpr int32_t kArrowInset = 3;
    constexpr int32_t kArrowShrink = 6;
    constexpr int32_t kTextGap = 2;
    CanvasStateKeeper keeper(canvas);
    canvas.EraseRect(rect);

    const XRect inner = Inset(rect, kArrowInset);
    const int32_t side = HeightOf(inner);
    const XRect arrowBox(inner.right - side, inner.top, inner.right, inner.bottom);
    if (menu == nullptr || menu->IsArrowShown())
        canvas.DrawTriangle(arrowBox.left + side / 2, arrowBox.top + side / 2,
                            FontHeightOf(canvas) - kArrowShrink, kArrowDown);

    XRect textArea = rect;
    textArea.right = arrowBox.left - kTextGap;
    if (pressed)
        textArea = Offset(textArea, 1, 1);
    if (menu != nullptr && menu->IsTitleShown())
    {
        const XString text = menu->GetDisplayText();
        if (!text.IsEmpty())
        {
            const XRGB fore = canvas.GetForeColor();
            if (dimmed)
                canvas.SetForeColor(XRGB::Scaled(fore, kDimPercent));
            canvas.DrawText(textArea, text, kTextCentredOneLine);
            canvas.SetForeColor(fore);
        }
    }
    if (menu == nullptr || menu->IsFrameShown())
        canvas.FrameRect(rect);
}

void XStyle::DrawWindowFrame(IStyledView* frame, const XRect& rect, XCanvas& canvas)
{
    constexpr int32_t kStripTop = 3;
    constexpr int32_t kStripExtra = 5;
    constexpr int32_t kLineIndent = 5;
    if (frame == nullptr)
        return;
    CanvasStateKeeper keeper(canvas);
    if (!frame->IsTransparent())
        canvas.EraseRect(rect);

    const XRect strip(rect.left, rect.top + kStripTop, rect.right,
                      rect.top + kStripTop + FontHeightOf(canvas) + kStripExtra);
    canvas.FillRectColour(strip, XRGB::Scaled(canvas.GetBackColor(), 85));
    canvas.SetPenWidth(1);
    canvas.SetForeColor(XRGB::Scaled(frame->GetTextColor(), 80));
    Line(canvas, rect.left + kLineIndent, strip.bottom, rect.right - kLineIndent, strip.bottom);

    const XString label = frame->GetLabel();
    if (!label.IsEmpty())
    {
        canvas.SetForeColor(frame->GetTextColor());
        canvas.DrawText(strip, label, kTextCentredOneLine);
    }
    canvas.SetForeColor(kBlack);
    canvas.FrameRect(rect);
}

void XStyle::DrawButton(IStyledButton* button, const XRect& rect, XCanvas& canvas, bool lit, bool pressed)
{
    if (button == nullptr)
        return;
    if (button->GetImage() != nullptr)
        DrawImageButton(button, rect, canvas, lit, pressed);
    else
        DrawTextButton(button, rect, canvas, pressed, lit);
}

void XStyle::DrawImageButton(IStyledButton* button, const XRect& rect, XCanvas& canvas, bool lit,
                             bool pressed)
{
    constexpr int32_t kShadeInset = 3;
    if (button == nullptr)
        return;
    XImage* image = pressed ? button->GetImage2() : nullptr;
    if (image == nullptr && lit)
        image = button->GetImage3();
    if (image == nullptr)
        image = button->GetImage();
    canvas.DrawImageInRect(image, rect, XCanvas::kRopCopy);

    if (button->IsDisabledByParam())
    {
        CanvasStateKeeper keeper(canvas);
        canvas.SetForeColor(kDisabledShade);
        canvas.FillRectAlpha(Inset(rect, kShadeInset), kDisabledShadeAlpha);
    }
    DrawButtonLabel(button, button->GetLabelRect(), canvas, pressed || lit);
}

void XStyle::DrawTextButton(IStyledButton* button, const XRect& rect, XCanvas& canvas, bool pressed, bool lit)
{
    constexpr int32_t kBevelMinimum = 20;
    constexpr double kBevelMix = 0.6;
    if (button == nullptr)
        return;
    if (!button->IsTransparent())
        canvas.EraseRect(rect);

    const XRGB face = button->GetFaceColor(pressed || lit);
    canvas.FillRectColour(rect, kBlack);
    if (WidthOf(rect) > kBevelMinimum && HeightOf(rect) > kBevelMinimum)
    {
        canvas.FillRectColour(Inset(rect, 1), Mix(kBlack, face, kBevelMix));
        canvas.FillRectColour(Inset(rect, 2), face);
    }
    else
    {
        canvas.FillRectColour(Inset(rect, 1), face);
    }
    DrawButtonLabel(button, button->GetLabelRect(), canvas, pressed || lit);
}

void XStyle::DrawButtonLabel(IStyledButton* button, const XRect& rect, XCanvas& canvas, bool lit)
{
    if (button == nullptr)
        return;
    const XString text = button->GetLabelFor(lit);
    if (text.IsEmpty())
        return;
    XRGB colour = button->GetLabelColor(lit);
    if (button->IsDisabledByParam())
        colour = DisabledColour(colour);
    CanvasStateKeeper keeper(canvas);
    canvas.SetForeColor(colour);
    canvas.DrawText(lit ? Offset(rect, 1, 1) : rect, text, kTextCentredOneLine);
}

void XStyle::DrawCheckBox(IStyledCheckBox* checkBox, const XRect& rect, XCanvas& canvas, bool checked,
                          bool pressed)
{
    constexpr int32_t kDotInset = 3;
    constexpr int32_t kLabelGap = 8;
    if (checkBox == nullptr)
        return;
    CanvasStateKeeper keeper(canvas);
    if (checkBox->IsDisabledByParam())
        canvas.SetForeColor(DisabledColour(canvas.GetForeColor()));

    XRect box;
    if (XImage* main = checkBox->GetImage())
    {
        box = XRect(rect.left, rect.top, rect.left + main->GetWidth(), rect.top + main->GetHeight());
        // Main image unchecked, second checked, third pressed (a missing one falls back).
        XImage* image = nullptr;
        if (pressed)
            image = checkBox->GetImage3() != nullptr ? checkBox->GetImage3() : checkBox->GetImage2();
        else if (checked)
            image = checkBox->GetImage2();
        if (image == nullptr)
            image = main;
        canvas.DrawImageInRect(image, box, XCanvas::kRopTransparent);
    }
    else
    {
        box.left = rect.left + 1;
        box.top = rect.top + 1;
        box.bottom = rect.bottom - 1;
        box.right = box.left + (box.bottom - box.top);
        const int32_t side = WidthOf(box);
        if (checkBox->IsRadio())
        {
            const int32_t radius = side / 2;
            canvas.FrameCircle(box.left + radius, box.top + radius, radius);
            if (checked || pressed)
            {
                const int32_t dot = std::max(0, radius - kDotInset);
                canvas.FillCircle(box.left + radius, box.top + radius, dot);
            }
        }
        else
        {
            canvas.FrameRect(box);
            if (checked || pressed)
            {
                // The cross runs between the outline's own pixels.
                const int32_t l = box.left;
                const int32_t t = box.top;
                const int32_t r = box.right - 1;
                const int32_t b = box.bottom - 1;
                Line(canvas, l, t, r, b);
                Line(canvas, l, b - 1, r, t - 1);
                Line(canvas, l, t + 1, r, b - 1);
                Line(canvas, l, b - 2, r, t);
            }
        }
    }

    const XString label = checkBox->GetLabel();
    if (!label.IsEmpty())
        canvas.DrawText(XRect(box.right + kLabelGap, rect.top, rect.right, rect.bottom), label,
                        kTextLeftOneLine);
}

void XStyle::DrawFrame(IStyledView* frame, const XRect& rect, XCanvas& canvas, int32_t lineCount)
{
    constexpr int32_t kLabelIndent = 20;
    constexpr int32_t kLabelGap = 10;
    if (frame == nullptr)
        return;
    CanvasStateKeeper keeper(canvas);
    if (!frame->IsTransparent())
        canvas.EraseRect(rect);
    canvas.SetPenWidth(1);

    const XString label = frame->GetLabel();
    if (label.IsEmpty())
    {
        for (int32_t i = 0; i < lineCount && !IsEmptyRect(Inset(rect, i)); ++i)
            canvas.FrameRect(Inset(rect, i));
        return;
    }

    const int32_t fontHeight = FontHeightOf(canvas);
    const int32_t labelWidth = canvas.GetFont() != nullptr ? canvas.GetFont()->GetStringWidth(label) : 0;
    const XRect labelBox(rect.left + kLabelIndent, rect.top, rect.left + kLabelIndent + labelWidth,
                         rect.top + fontHeight);
    const XRGB lineColour = canvas.GetForeColor();
    canvas.SetForeColor(frame->GetTextColor());
    canvas.DrawText(labelBox, label, kTextCentredOneLine);
    canvas.SetForeColor(lineColour);

    const int32_t gapStart = labelBox.left - kLabelGap;
    const int32_t gapEnd = labelBox.right + kLabelGap;
    int32_t left = rect.left;
    int32_t top = rect.top + fontHeight / 2;
    int32_t right = rect.right - 1;
    int32_t bottom = rect.bottom - 1;
    // Rings that no longer fit inside the rectangle are left out.
    for (int32_t i = 0; i < lineCount && left <= right && top <= bottom; ++i)
    {
        Line(canvas, left, top, gapStart, top);
        Line(canvas, gapEnd, top, right, top);
        Line(canvas, right, top, right, bottom);
        Line(canvas, left, bottom, right, bottom);
        Line(canvas, left, top, left, bottom);
        ++left;
        --right;
        --bottom;
        ++top;
    }
}

void XStyle::DrawScaler(IStyledScaler* scaler, const XRect& rect, XCanvas& canvas)
{
    constexpr int kThumbPercent = 70;
    constexpr int kHighlightShift = 50;
    if (scaler == nullptr)
        return;
    CanvasStateKeeper keeper(canvas);
    canvas.SetPenWidth(1);
    const XRGB arrowColour = canvas.GetForeColor();
    const XRGB back = canvas.GetBackColor();
    canvas.FillRectColour(scaler->GetTrackRect(), back);

    const XRect thumb = scaler->GetThumbRect();
    if (!IsEmptyRect(thumb))
    {
        canvas.FillRectColour(thumb, XRGB::Scaled(back, kThumbPercent));
        canvas.SetForeColor(Shifted(back, kHighlightShift));
        Line(canvas, thumb.left + 1, thumb.top + 1, thumb.right - 2, thumb.top + 1);
        Line(canvas, thumb.left + 1, thumb.top + 1, thumb.left + 1, thumb.bottom - 2);
        canvas.SetForeColor(kBlack);
        canvas.FrameRect(thumb);
        canvas.SetForeColor(arrowColour);
    }
    if (!scaler->HasButtons())
        return;
    const bool vertical = scaler->IsVertical();
    DrawScalerButton(canvas, scaler->GetStartArrowRect(), scaler->IsStartArrowHeld(),
                     vertical ? kArrowUp : kArrowLeft);
    DrawScalerButton(canvas, scaler->GetEndArrowRect(), scaler->IsEndArrowHeld(),
                     vertical ? kArrowDown : kArrowRight);
}

void XStyle::DrawSlider(IStyledSlider* slider, const XRect& trackRect, const XRect& thumbRect,
                        XCanvas& canvas, bool horizontal, bool pressed, bool lit)
{
    constexpr int32_t kGrooveHalf = 2;
    constexpr int kGrooveDarkPercent = 30;
    if (slider == nullptr)
        return;
    CanvasStateKeeper keeper(canvas);
    canvas.SetPenWidth(1);

    if (XImage* track = slider->GetTrackImage())
    {
        canvas.DrawImageInRect(track, trackRect, XCanvas::kRopCopy);
    }
    else
    {
        if (!slider->IsTransparent())
            canvas.EraseRect(trackRect);
        // A groove along the centre line, darkest in its middle, short of the ends by a fifth of
        // the knob's length.
        const XRGB back = canvas.GetBackColor();
        const XRGB dark = XRGB::Scaled(back, kGrooveDarkPercent);
        if (horizontal)
        {
            const int32_t inset = WidthOf(thumbRect) / 5;
            const int32_t centre = trackRect.top + HeightOf(trackRect) / 2;
            const int32_t left = trackRect.left + inset;
            const int32_t right = trackRect.right - inset;
            FillGrooveHalf(canvas, XRect(left, centre - kGrooveHalf, right, centre), back, dark, true);
            FillGrooveHalf(canvas, XRect(left, centre, right, centre + kGrooveHalf), dark, back, true);
        }
        else
        {
            const int32_t inset = HeightOf(thumbRect) / 5;
            const int32_t centre = trackRect.left + WidthOf(trackRect) / 2;
            const int32_t top = trackRect.top + inset;
            const int32_t bottom = trackRect.bottom - inset;
            FillGrooveHalf(canvas, XRect(centre - kGrooveHalf, top, centre, bottom), back, dark, false);
            FillGrooveHalf(canvas, XRect(centre, top, centre + kGrooveHalf, bottom), dark, back, false);
        }
    }

    DrawSliderThumb(slider, thumbRect, canvas, horizontal, pressed, lit);
}

void XStyle::DrawSliderThumb(IStyledSlider* slider, const XRect& thumbRect, XCanvas& canvas, bool horizontal,
                             bool pressed, bool lit)
{
    constexpr int kShadeShift = -100;
    constexpr int kLightShift = 150;
    constexpr int kGripLightPercent = 200;
    if (slider == nullptr)
        return;
    CanvasStateKeeper keeper(canvas);
    canvas.SetPenWidth(1);
    XImage* knob = slider->GetKnobImage();
    if ((pressed || lit) && slider->GetPressedKnobImage() != nullptr)
        knob = slider->GetPressedKnobImage();
    if (knob != nullptr)
    {
        canvas.DrawImageInRect(knob, thumbRect, XCanvas::kRopCopy);
        return;
    }
    const XRGB fore = canvas.GetForeColor();
    XRGB shade = Shifted(fore, kShadeShift);
    if (shade == fore)
        shade = Shifted(fore, kLightShift);
    canvas.FillRect(thumbRect);
    canvas.SetForeColor(shade);
    canvas.FrameRect(thumbRect);
    if (horizontal)
    {
        const int32_t x = thumbRect.left + WidthOf(thumbRect) / 2;
        Line(canvas, x, thumbRect.top + 2, x, thumbRect.bottom - 2);
        canvas.SetForeColor(XRGB::Scaled(shade, kGripLightPercent));
        Line(canvas, x + 1, thumbRect.top + 3, x + 1, thumbRect.bottom - 3);
    }
    else
    {
        const int32_t y = thumbRect.top + HeightOf(thumbRect) / 2;
        Line(canvas, thumbRect.left + 2, y, thumbRect.right - 2, y);
        canvas.SetForeColor(XRGB::Scaled(shade, kGripLightPercent));
        Line(canvas, thumbRect.left + 3, y + 1, thumbRect.right - 3, y + 1);
    }
}

void XStyle::FillBackground(const XRect& rect, XCanvas& canvas)
{
    canvas.FillRect(rect);
}

void XStyle::EraseBackground(const XRect& rect, XCanvas& canvas)
{
    canvas.EraseRect(rect);
}

void XStyle::DrawPanel(IStyledPanel* panel, XCanvas& canvas)
{
    constexpr int32_t kLabelGap = 5;
    constexpr int32_t kLabelDrop = 4;
    constexpr int32_t kTopAligned = 8;
    if (panel == nullptr)
        return;
    const XRect box = panel->GetOpenClickRect();
    canvas.DrawTriangle(box.left + WidthOf(box) / 2, box.top + HeightOf(box) / 2,
                        std::min(WidthOf(box), HeightOf(box)) / 2,
                        panel->IsOpen() ? kArrowDown : kArrowRight);
    const XString label = panel->GetLabel();
    if (!label.IsEmpty())
        canvas.DrawText(Offset(panel->GetBounds(), box.right + kLabelGap, kLabelDrop), label, kTopAligned);
}

// ---------------------------------------------------------------------------------------------------
// Lists

void XStyle::DrawListBackground(XCanvas& canvas, const XRect& rect)
{
    const ListColours& colours = GetListColours();
    canvas.FillRectColour(rect, colours.fore);
    canvas.FillRectColour(Inset(rect, 1), colours.back);
}

void XStyle::DrawListColumn(XCanvas& canvas, const XRect& rect, bool alternate)
{
    const ListColours& colours = GetListColours();
    canvas.FillRectColour(rect, alternate ? colours.rowAltBack : colours.rowBack);
}

void XStyle::DrawListHeader(XCanvas& canvas, const XString& title, const XRect& rect, bool sorted,
                            int32_t state, bool descending)
{
    constexpr int32_t kStatePressed = 2;
    constexpr int32_t kStateFlat = 3;
    constexpr int32_t kCentredHorizontally = 4;
    const ListColours& colours = GetListColours();
    CanvasStateKeeper keeper(canvas);
    XRGB light = XRGB::Scaled(colours.headerBack, 130);
    XRGB dark = XRGB::Scaled(colours.headerBack, 70);
    if (state == kStatePressed)
        std::swap(light, dark);
    else if (state == kStateFlat)
        light = dark = XRGB::Scaled(colours.headerBack, 90);

    canvas.FillRectColour(rect, colours.headerBack);
    canvas.SetPenWidth(1);
    const int32_t right = rect.right - 1;
    const int32_t bottom = rect.bottom - 1;
    canvas.SetForeColor(light);
    Line(canvas, rect.left, rect.top, right, rect.top);
    Line(canvas, right - 1, bottom - 3, right - 1, rect.top + 3);
    canvas.SetForeColor(dark);
    Line(canvas, rect.left, bottom, right, bottom);
    Line(canvas, right, bottom - 3, right, rect.top + 3);

    canvas.SetForeColor(colours.headerText);
    canvas.DrawText(rect, title, kCentredHorizontally);
    if (!sorted)
        return;
    const int32_t half = FontHeightOf(canvas) / 2 - 1;
    const int32_t centreX = rect.right - kSortArrowInset - half;
    const int32_t arrowLeft = centreX - half;
    const int32_t titleWidth = canvas.GetFont() != nullptr ? canvas.GetFont()->GetStringWidth(title) : 0;
    const int32_t titleRight = rect.left + (WidthOf(rect) + titleWidth) / 2;
    if (arrowLeft > titleRight + kSortArrowClearance && arrowLeft >= rect.left)
        canvas.DrawTriangle(centreX, rect.top + HeightOf(rect) / 2, 2 * half,
                            descending ? kArrowDown : kArrowUp);
}

void XStyle::DrawListCell(IStyledListRow* row, const XRect& rect, XCanvas& canvas, int32_t column,
                          bool selected, bool, bool focused, bool, bool alternate, bool)
{
    constexpr int kSelectedTopPercent = 120;
    constexpr int kUnfocusedTopPercent = 50;
    constexpr int kUnfocusedSecondPercent = 60;
    const ListColours& colours = GetListColours();
    CanvasStateKeeper keeper(canvas);
    canvas.SetFont(GetListFont());
    canvas.SetPenWidth(1);

    if (selected)
    {
        // Two ramps meeting in the middle: from the lighter selection colour to the plain one and back.
        XRGB outer = XRGB::Scaled(colours.rowSelected, kSelectedTopPercent);
        XRGB middle = colours.rowSelected;
        if (!focused)
        {
            outer = XRGB::Scaled(outer, kUnfocusedTopPercent);
            middle = XRGB::Scaled(middle, kUnfocusedSecondPercent);
        }
        const int32_t split = rect.top + HeightOf(rect) / 2;
        canvas.FillGradientRect(XRect(rect.left, rect.top, rect.right, split), outer, middle, true);
        canvas.FillGradientRect(XRect(rect.left, split, rect.right, rect.bottom), middle, outer, true);
    }
    else
    {
        canvas.FillRectColour(rect, alternate ? colours.rowAltBack : colours.rowBack);
    }
    if (row == nullptr)
        return;

    const int32_t centreX = rect.left + WidthOf(rect) / 2;
    const int32_t centreY = rect.top + HeightOf(rect) / 2;
    if (row->IsSeparator())
    {
        canvas.SetForeColor(kSeparatorColour);
        Line(canvas, rect.left, centreY, rect.right - 1, centreY);
        return;
    }

    XString text;
    row->GetCellText(column, text);
    const int32_t kind = row->GetCellKind(column);
    canvas.SetForeColor(selected ? colours.rowTextSelected : colours.rowText);
    if (kind == IStyledListRow::kCellImage)
    {
        if (XImage* image = GetResourceManager().GetImage(text))
        {
            const int32_t left = centreX - image->GetWidth() / 2;
            const int32_t top = centreY - image->GetHeight() / 2;
            canvas.DrawImageInRect(image,
                                   XRect(left, top, left + image->GetWidth(), top + image->GetHeight()),
                                   XCanvas::kRopTransparent);
        }
        return;
    }
    if (kind == IStyledListRow::kCellMark && (text == ".renderCircle" || text == ".renderArrow"))
    {
        const int32_t markSize = std::min(WidthOf(rect), HeightOf(rect)) / 2;
        if (text == ".renderCircle")
            canvas.FillCircle(centreX, centreY, markSize / 2);
        else
            canvas.DrawTriangle(centreX, centreY, markSize, kArrowRight);
        return;
    }
    canvas.DrawText(XRect(rect.left + kListCellIndent, rect.top, rect.right - kListCellIndent, rect.bottom),
                    text, kTextLeftOneLine);
}

// ---------------------------------------------------------------------------------------------------
// Windows

void XStyle::DrawWindow(juce::Graphics& g, juce::Component& window, const XString& title)
{
    const int width = window.getWidth();
    const int height = window.getHeight();
    const int titleHeight = GetTitleBarHeight();
    const int inset = GetFrameInset();
    const juce::Colour titleColour = GetTitleBarColour();

    // The window's area that no opaque child covers.
    juce::RectangleList<int> visible(window.getLocalBounds());
    for (auto* child : window.getChildren())
        if (child->isVisible() && child->isOpaque())
            visible.subtract(child->getBounds());
    g.setColour(GetWindowBackgroundColour());
    g.fillRectList(visible);

    g.setColour(juce::Colours::black);
    g.drawRect(0, 0, width, height, 1);

    const juce::Rectangle<float> bar(static_cast<float>(inset), static_cast<float>(inset),
                                     static_cast<float>(width - 2 * inset),
                                     static_cast<float>(titleHeight - inset));
    g.setGradientFill(juce::ColourGradient(titleColour.darker(0.1f), static_cast<float>(width) / 2.0f, 0.0f,
                                           titleColour, 0.0f, static_cast<float>(titleHeight - inset), true));
    g.fillRoundedRectangle(bar, 1.0f);

    g.setColour(titleColour.brighter(0.5f));
    g.drawHorizontalLine(inset + 1, static_cast<float>(inset + 1), static_cast<float>(width - 2 * inset - 2));
    g.setColour(titleColour.darker(0.3f));
    g.drawHorizontalLine(titleHeight - 2 * inset, static_cast<float>(inset + 1),
                         static_cast<float>(width - 2 * inset));
    g.setColour(titleColour.darker(0.6f));
    g.drawHorizontalLine(titleHeight, static_cast<float>(inset + 1), static_cast<float>(width - 2 * inset));

    g.setColour(juce::Colours::black);
    g.drawRoundedRectangle(bar, 1.0f, 0.5f);

    g.setColour(titleColour.contrasting(1.0f));
    g.setFont(juce::Font(kTitleFontHeight, juce::Font::bold));
    g.drawFittedText(ToJuceString(title), 0, inset, width, titleHeight - 2, juce::Justification::centred, 1,
                     kTitleMinimumHorizontalScale);
}
