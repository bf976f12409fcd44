#pragma once

#include "gui/XStyle.h"

/** The program's skin: the framework style with window frames, title bars and their boxes, scroll
    bars and alert boxes drawn from skin images, plain buttons with a gradient face, and the current
    preset, program name and configuration in every title bar that is not a dialog's.

    The main window creates it, makes it current and registers it as "default"; the editor windows
    derive their slider style from it. Images are looked up by name in the skin once for as long as
    the skin's resource manager keeps its images (a missing one is remembered as missing, and the
    drawing falls back to plain fills and the framework's metrics); the title text and scroll-bar
    colours once per process. GUI thread only. */
class QM7Style : public XStyle
{
public:
    /** The window fill behind the frame pieces: 64, 64, 65. */
    static constexpr juce::uint32 kWindowFill = 0xFF404041;
    static constexpr int kTitleBarHeight = 30;
    static constexpr int kFrameInset = 2;
    /** Title-bar boxes and scroll-bar metrics used while the skin lacks their images. */
    static constexpr int32_t kFallbackBoxSize = 20;
    static constexpr int kFallbackScrollbarSize = 15;

    /** The JUCE colour ids that ApplyColours sets besides the popup ones (juce::AlertWindow's and
        juce::ProgressBar's). */
    static constexpr int kAlertBackgroundColourId = 0x1001800;
    static constexpr int kAlertTextColourId = 0x1001810;
    static constexpr int kAlertOutlineColourId = 0x1001820;
    static constexpr int kProgressBackgroundColourId = 0x1001900;
    static constexpr int kProgressForegroundColourId = 0x1001A00;

    // Skin images, relative to the skin folder.
    static constexpr const char* kTitleLeftActive = "subwindow\\TitleBarLeftActive.png";
    static constexpr const char* kTitleMidActive = "subwindow\\TitlebarMidActive.png";
    static constexpr const char* kTitleRightActive = "subwindow\\TitlebarRightActive.png";
    static constexpr const char* kTitleLeftDisabled = "subwindow\\TitleBarLeftDisabled.png";
    static constexpr const char* kTitleMidDisabled = "subwindow\\TitleBarMidDisabled.png";
    static constexpr const char* kTitleRightDisabled = "subwindow\\TitlebarRightDisabled.png";
    static constexpr const char* kContentLeft = "windowPieces\\contentLeft.png";
    static constexpr const char* kContentRight = "windowPieces\\contentRight.png";
    static constexpr const char* kContentBottomLeft = "windowPieces\\contentBottomLeft.png";
    static constexpr const char* kContentBottomRight = "windowPieces\\contentBottomRight.png";
    static constexpr const char* kContentBottomMid = "windowPieces\\contentBottomMid.png";
    static constexpr const char* kCloseActive = "subwindow\\buttonTitleCloseActive.png";
    static constexpr const char* kClosePressed = "subwindow\\buttonTitleClosePressed.png";
    static constexpr const char* kCloseDim = "subwindow\\buttonTitleCloseDim.png";
    static constexpr const char* kMinimizeActive = "subwindow\\ButtonTitleMinimizeActive.png";
    static constexpr const char* kMinimizePressed = "subwindow\\buttonTitleMinimizePressed.png";
    static constexpr const char* kMinimizeDim = "subwindow\\buttonTitleMinimizeDim.png";
    static constexpr const char* kRestoreActive = "subwindow\\buttonTitleRestoreActive.png";
    static constexpr const char* kRestorePressed = "subwindow\\buttonTitleRestorePressed.png";
    static constexpr const char* kRestoreDim = "subwindow\\buttonTitleRestoreDim.png";
    static constexpr const char* kScrollThumbTop = "scrollbars\\vScrollbarSliderTop.png";
    static constexpr const char* kScrollThumbMiddle = "scrollbars\\vScrollbarSliderMiddle.png";
    static constexpr const char* kScrollThumbBottom = "scrollbars\\vScrollbarSliderBottom.png";
    static constexpr const char* kScrollThumbTopPressed = "scrollbars\\vScrollbarSliderTop_Pressed.png";
    static constexpr const char* kScrollThumbMiddlePressed = "scrollbars\\vScrollbarSliderMiddle_Pressed.png";
    static constexpr const char* kScrollThumbBottomPressed = "scrollbars\\vScrollbarSliderBottom_Pressed.png";
    static constexpr const char* kScrollButtonTop = "scrollbars\\vScrollbarButtonTop.png";
    static constexpr const char* kScrollButtonTopPressed = "scrollbars\\vScrollbarButtonTop_Pressed.png";
    static constexpr const char* kScrollButtonBottom = "scrollbars\\vScrollbarButtonBottom.png";
    static constexpr const char* kScrollButtonBottomPressed =
        "scrollbars\\vScrollbarButtonBottom_Pressed.png";

    // Parameters shown in the title bars.
    static constexpr const char* kCurrentPresetPath = "QM7_KOVA\\CurrentPreset";
    static constexpr const char* kProgramNamePath = "preset\\programName";
    static constexpr const char* kCurrentConfigPath = "preset\\CurrentConfig";
    /** Presets above this number are factory presets ("F" and the number less it). */
    static constexpr int kUserPresetCount = 20;

    QM7Style() = default;

    /** Forgets the images and colours looked up for the process, so that the next use reads them
        again; for tests that change the skin. */
    static void ResetSkinCaches();

    /** "U" and two digits for user presets (1..20), "F" and two digits of number - 20 above: 5 gives
        U05, 20 U20, 21 F01. */
    static XString FormatPresetNumber(int presetNumber);
    /** What a window's title bar shows: for a dialog its title; for other windows the title, ": ",
        the current preset ("U01" without the parameter), a blank, the program name and a blank when
        there is one, and "- " with the configuration's text when that parameter exists. */
    static XString ComposeTitle(const XString& title, bool dialog);

    /** The title text colour of an active window ("windowTitlebarText"). */
    virtual juce::Colour GetTitleTextColour();
    /** The title text colour for the window's state: "windowTitlebarText" when active,
        "windowTitlebarTextDim" when not (a missing name is opaque black; JUCE light grey when the
        dictionary has neither). */
    juce::Colour GetTitleTextColourFor(bool active);

    // XStyle ----------------------------------------------------------------------------------------

    /** The framework's colours, then the alert and progress-bar colours of the dictionary. */
    void ApplyColours() override;
    int GetFineWheelKeyMode() override;
    int GetFineDragKeyMode() override;
    int GetTitleBarHeight() override;
    int GetFrameInset() override;
    void GetCloseBoxSize(int32_t& width, int32_t& height) override;
    void GetMinimizeBoxSize(int32_t& width, int32_t& height) override;
    /** 3 inside the inset at the right, 4 below it at the top. */
    void GetCloseBoxRect(const IStyledWindow& window, XRect& rect) override;
    /** Left of the close box (in its place when the window has none). */
    void GetMinimizeBoxRect(const IStyledWindow& window, XRect& rect) override;
    /** The 64, 64, 65 fill, the title-bar and frame pieces and the title. */
    void DrawWindow(juce::Graphics& g, juce::Component& window, const XString& title) override;
    void DrawCloseBox(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit,
                      bool pressed) override;
    void DrawMinimizeBox(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit,
                         bool pressed) override;
    /** Image buttons as the framework draws them; others with a gradient face and a bold label. */
    void DrawButton(IStyledButton* button, const XRect& rect, XCanvas& canvas, bool lit,
                    bool pressed) override;
    /** The track image or nothing (erased unless transparent), then the thumb. */
    void DrawSlider(IStyledSlider* slider, const XRect& trackRect, const XRect& thumbRect, XCanvas& canvas,
                    bool horizontal, bool pressed, bool lit) override;

    // JUCE look-and-feel ----------------------------------------------------------------------------

    /** 15.5-point bold. */
    juce::Font getAlertWindowTitleFont() override;
    /** The alert colours, the kind's icon (a tinted circle with "i" or "?", or a triangle with "!"),
        the title centred above the message and a 1-pixel outline. */
    void drawAlertBox(juce::Graphics& g, juce::AlertWindow& alert, const juce::Rectangle<int>& textArea,
                      juce::TextLayout& textLayout) override;
    void drawScrollbarButton(juce::Graphics& g, juce::ScrollBar& scrollbar, int width, int height,
                             int buttonDirection, bool isScrollbarVertical, bool isMouseOverButton,
                             bool isButtonDown) override;
    void drawScrollbar(juce::Graphics& g, juce::ScrollBar& scrollbar, int x, int y, int width, int height,
                       bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool isMouseOver,
                       bool isMouseDown) override;
    int getMinimumScrollbarThumbSize(juce::ScrollBar& scrollbar) override;
    int getDefaultScrollbarWidth() override;
    int getScrollbarButtonSize(juce::ScrollBar& scrollbar) override;

private:
    /** Draws one of the three images of a title-bar box fitted to the box, sized to it. */
    void DrawTitleBoxImage(IStyledButton* box, const XRect& rect, XCanvas& canvas, bool lit, bool pressed,
                           const char* pressedImage, const char* activeImage, const char* dimImage);
    /** The gradient face of a plain button and its label, on JUCE graphics. */
    void DrawButtonFace(juce::Graphics& g, juce::Rectangle<int> area, const XString& label, bool pressed,
                        bool lit);
};
