#pragma once

#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XString.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>

class IStyledButton;
class IStyledCheckBox;
class IStyledListRow;
class IStyledPanel;
class IStyledPopupMenu;
class IStyledPot;
class IStyledScaler;
class IStyledSlider;
class IStyledView;
class IStyledWindow;
class XCanvas;
class XView;

/** The skin's look-and-feel: JUCE's own components (popup menus, tooltips, scroll bars, alert
    windows) draw through it as a juce::LookAndFeel, and every framework view asks it, through the
    virtual operations below, to draw the view or to give a metric. Derived styles (the program's
    own) replace some of them.

    Styles are kept in a process-wide registry by name (ignoring case) and one of them is current,
    which is also JUCE's default look-and-feel. The registry and the current style do not own the
    styles; a style that is destroyed leaves both. The colours come from the colour dictionary and
    are read once per process, the named fonts from "GlobalFonts.dat" of the system folder, once per
    process: the dictionary must be loaded before the first style is registered or made current.

    Drawing operations take the view as the interface of its kind (IStyledButton, IStyledPot, ...)
    and draw on the canvas in the colours and font the view has prepared on it (fore, back, font);
    canvas state they change for a moment is restored. Rectangles are left, top, right, bottom with
    right and bottom exclusive, as the canvas takes them. Everything runs on the GUI thread; the
    registry and the caches have no lock. */
class XStyle : public juce::LookAndFeel_V2
{
public:
    /** The numbers the key-mode operations return. */
    static constexpr int kKeyModeCtrl = 0;
    static constexpr int kKeyModeAlt = 1;
    static constexpr int kKeyModeShift = 2;
    /** Fine wheel: Alt not held; fine drag: never; reset: none of Ctrl, Alt, Shift held. */
    static constexpr int kKeyModeSpecial = 3;

    /** Text flags: centred both ways on one line, and left-aligned vertically centred on one line. */
    static constexpr int32_t kTextCentredOneLine = 0xA4;
    static constexpr int32_t kTextLeftOneLine = 0xA1;

    /** The JUCE colour ids that ApplyColours sets (juce::PopupMenu's). */
    static constexpr int kPopupTextColourId = 0x1000600;
    static constexpr int kPopupBackgroundColourId = 0x1000700;
    static constexpr int kPopupHighlightedTextColourId = 0x1000800;
    static constexpr int kPopupHighlightedBackgroundColourId = 0x1000900;

    XStyle();
    XStyle(const XStyle&) = delete;
    XStyle& operator=(const XStyle&) = delete;
    /** Leaves the registry and, when current, stops being the current style. */
    ~XStyle() override;

    // Registry and current style ----------------------------------------------------------------

    /** Stores the style under the upper-cased name, replacing an earlier entry (null removes it);
        nothing for an empty name. A style that is not null then gets ApplyColours and LoadFonts. */
    static void RegisterStyle(XStyle* style, const XString& name);
    /** The style registered under the name regardless of case; null for an empty or unknown name. */
    static XStyle* FindStyle(const XString& name);
    /** Makes the style current (null allowed): LoadFonts and ApplyColours when not null, then
        installs it, or JUCE's own when null, as JUCE's default look-and-feel. */
    static void SetCurrentStyle(XStyle* style);
    static XStyle* GetCurrentStyle();
    /** Forgets the colours, fonts and the fonts-loaded flag that the styles keep for the process,
        so that they are read again; for tests. */
    static void ResetGlobalCaches();

    // JUCE look-and-feel ------------------------------------------------------------------------

    /** Popup background colour, outlined one pixel in its contrasting(0.1) colour. */
    void drawPopupMenuBackground(juce::Graphics& g, int width, int height) override;
    /** The named font "menuItem", else arial 10; looked up once per process. */
    juce::Font getPopupMenuFont() override;
    /** The text laid out in a 12-point font within 400 pixels, plus 14 wide and 10 high. */
    virtual void getTooltipSize(const juce::String& text, int& width, int& height);
    /** A tooltip of getTooltipSize beside the pointer, kept inside the parent area. */
    juce::Rectangle<int> getTooltipBounds(const juce::String& text, juce::Point<int> screenPosition,
                                          juce::Rectangle<int> parentArea) override;
    void drawTooltip(juce::Graphics& g, const juce::String& text, int width, int height) override;
    /** Fonts loaded by the program from the skin first, then JUCE's lookup. */
    juce::Typeface::Ptr getTypefaceForFont(const juce::Font& font) override;

    // The style's own operations, in slot order -------------------------------------------------

    /** Puts the popup colours into JUCE's popup colour ids; the glyph colour becomes opaque black. */
    virtual void ApplyColours();
    /** Hook run when a view applies its style; nothing here. */
    virtual void AdjustView(XView* view);
    virtual int GetResetKeyMode();
    virtual int GetFineWheelKeyMode();
    virtual int GetFineDragKeyMode();
    /** A knob of five discs with a pointer line for value 0..1 (clamped). */
    virtual void DrawPot(IStyledPot* pot, double value, const XRect& rect, XCanvas& canvas);
    /** A frame with a title strip and the view's label; nothing for a null view. */
    virtual void DrawWindowFrame(IStyledView* frame, const XRect& rect, XCanvas& canvas);
    /** DrawImageButton for a button with a main image, else DrawTextButton. */
    virtual void DrawButton(IStyledButton* button, const XRect& rect, XCanvas& canvas, bool lit,
                            bool pressed);
    virtual void DrawCheckBox(IStyledCheckBox* checkBox, const XRect& rect, XCanvas& canvas, bool checked,
                              bool pressed);
    /** The value text, a down arrow at the right end and an outline. */
    virtual void DrawPopupMenu(IStyledPopupMenu* menu, const XRect& rect, XCanvas& canvas, bool pressed,
                               bool dimmed);
    /** Track, thumb and, when the scaler has them, its two step buttons. */
    virtual void DrawScaler(IStyledScaler* scaler, const XRect& rect, XCanvas& canvas);
    /** lineCount nested outlines, broken at the top for the view's label when it has one. */
    virtual void DrawFrame(IStyledView* frame, const XRect& rect, XCanvas& canvas, int32_t lineCount);
    /** The slider's track and knob. The flag is set for a horizontal slider (sliders pass their
        horizontal flag here); pressed or lit show the pressed knob image. */
    virtual void DrawSlider(IStyledSlider* slider, const XRect& trackRect, const XRect& thumbRect,
                            XCanvas& canvas, bool horizontal, bool pressed, bool lit);
    /** A list's background: a 1-pixel frame in "listFore" round "listBack". */
    virtual void DrawListBackground(XCanvas& canvas, const XRect& rect);
    /** One cell of a row: its background (a ramp when selected), then a separator line, the skin
        image, a mark or the text of the cell in the named font "listText". */
    virtual void DrawListCell(IStyledListRow* row, const XRect& rect, XCanvas& canvas, int32_t column,
                              bool selected, bool selectionToggle, bool focused, bool dividers,
                              bool alternate, bool rowFlag);
    /** One header cell with its bevel, title and, on the sort column, the sort arrow. state 2 is the
        pressed look and 3 the flat filler right of the last column. */
    virtual void DrawListHeader(XCanvas& canvas, const XString& title, const XRect& rect, bool sorted,
                                int32_t state, bool descending);
    /** The band of an empty row position in a column. */
    virtual void DrawListColumn(XCanvas& canvas, const XRect& rect, bool alternate);
    /** Fills the rectangle with the canvas fore colour. */
    virtual void FillBackground(const XRect& rect, XCanvas& canvas);
    /** Fills the rectangle with the canvas back colour. */
    virtual void EraseBackground(const XRect& rect, XCanvas& canvas);
    virtual XString GetDisplayText(const XString& text);
    virtual int GetPanelTitleHeight();
    virtual int GetPanelBorder();
    /** The panel's disclosure triangle and label. */
    virtual void DrawPanel(IStyledPanel* panel, XCanvas& canvas);
    virtual int GetTitleBarHeight();
    virtual int GetFrameInset();
    /** "windowBackground", else JUCE grey brightened by 0.4 (164, 164, 164). */
    virtual juce::Colour GetWindowBackgroundColour();
    /** "windowTitlebar", else JUCE light grey (211, 211, 211). */
    virtual juce::Colour GetTitleBarColour();
    /** Background, outline, title bar and title of a framed window, in its own coordinates. */
    virtual void DrawWindow(juce::Graphics& g, juce::Component& window, const XString& title);
    /** The close box's place in the window's bounds; empty when the window has none. */
    virtual void GetCloseBoxRect(const IStyledWindow& window, XRect& rect);
    virtual void GetCloseBoxSize(int32_t& width, int32_t& height);
    /** The box drawn as a button with a cross on it. */
    virtual void DrawCloseBox(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit, bool pressed);
    virtual void GetMaximizeBoxRect(const IStyledWindow& window, XRect& rect);
    virtual void GetMaximizeBoxSize(int32_t& width, int32_t& height);
    /** The box drawn as a button with a plus on it. */
    virtual void DrawMaximizeBox(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit,
                                 bool pressed);
    virtual void GetMinimizeBoxRect(const IStyledWindow& window, XRect& rect);
    virtual void GetMinimizeBoxSize(int32_t& width, int32_t& height);
    /** The box drawn as a button with a bar along its bottom. */
    virtual void DrawMinimizeBox(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit,
                                 bool pressed);
    /** The right end of the title text: left of every title-bar box. */
    virtual int32_t GetTitleTextRight(const IStyledWindow& window);
    /** The left end of the title text: right of every title-bar box. */
    virtual int32_t GetTitleTextLeft(const IStyledWindow& window);
    /** The popup colours of the colour dictionary (read once per process), with their defaults. */
    virtual void GetPopupColours(XRGB& text, XRGB& background, XRGB& highlightedText,
                                 XRGB& highlightedBackground);
    /** Reads "GlobalFonts.dat" of the system folder into the named fonts, once per process; when it
        is missing, empty or malformed, defines "small", "medium" and "large" instead. */
    virtual void LoadFonts();
    /** The image for the state drawn into the rectangle, a shade when disabled, then the label. */
    virtual void DrawImageButton(IStyledButton* button, const XRect& rect, XCanvas& canvas, bool lit,
                                 bool pressed);
    /** A black-edged face in the button's colour, then the label. */
    virtual void DrawTextButton(IStyledButton* button, const XRect& rect, XCanvas& canvas, bool pressed,
                                bool lit);
    /** The label for the state, dimmed when the button is disabled, moved 1, 1 when lit. */
    virtual void DrawButtonLabel(IStyledButton* button, const XRect& rect, XCanvas& canvas, bool lit);

    /** The colour of the glyphs on the title-bar boxes. */
    const XRGB& GetGlyphColor() const { return glyphColor; }

protected:
    /** The slider's knob image (the pressed one when pressed or lit and there is one) drawn into the
        thumb rectangle; without an image, a face in the fore colour with an edge and a grip of two
        lines across its middle. */
    void DrawSliderThumb(IStyledSlider* slider, const XRect& thumbRect, XCanvas& canvas, bool horizontal,
                         bool pressed, bool lit);

private:
    XRGB glyphColor;
};
