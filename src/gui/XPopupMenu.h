#pragma once

#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XSignal.h"
#include "core/XString.h"
#include "gui/IStyledPopupMenu.h"
#include "gui/XControl.h"

#include <cstdint>
#include <memory>

class XImage;
class XMenu;
class XMenuItem;
class XMessage;
class XParam;

/** The drop-down chooser: a parameter-bound control that shows the text of its parameter's value and,
    when clicked, opens a menu (XMenu) of the parameter's values under itself; a choice sets the
    parameter and relabels the control. It draws from one or two skin images with its own text, or
    through the style (XStyle::DrawPopupMenu) without images.

    The menu is built from the bound parameter once the control sits in a window (never before), or
    attached with SetContextMenu; the control owns it. A choice runs as: the parameter takes the
    value, the control begins an edit and re-emits the item, the menu closes, the control ends the
    edit it began (only that one) and relabels. Images belong to the skin resource manager. GUI
    thread only; the menu runs modally inside the mouse press. */
class XPopupMenu : public XControl, public virtual IStyledPopupMenu
{
public:
    /** Selects the constructor that takes image names. */
    struct ImageNames
    {
    };

    /** Colour defaults. */
    static constexpr XRGB kDefaultColor1{223, 224, 225, 255};
    static constexpr XRGB kDefaultColor2{255, 255, 100, 255};
    static constexpr XRGB kDefaultTextColor{0, 0, 0, 255};
    static constexpr const char* kTextColourName = "popupText";
    static constexpr const char* kHighlightTextColourName = "popupTextHighlight";
    /** Background of the text of a disabled control. */
    static constexpr XRGB kDisabledBack{229, 229, 229, 255};
    /** Text flags of the image drawing: centred, one line. */
    static constexpr int32_t kImageTextFlags = 164;

    XPopupMenu();
    /** The form the editor windows use (name and label may be null); the label is translated. */
    XPopupMenu(const XRect& frame, const char* name, const char* label);
    /** The image form: the main image and the second (pressed or open) image by skin name. */
    XPopupMenu(ImageNames, const XRect& frame, const char* imageName, const char* arrowImageName);
    ~XPopupMenu() override;

    /** The main image and the image drawn while pressed or open (null or missing: the main one). */
    void SetArrowImage(const char* mainImageName, const char* secondImageName);
    void SetTextColors(const XRGB& text, const XRGB& highlightText);
    /** Makes the default menu of the bound parameter and attaches it; nothing without one. */
    void BuildMenu();
    /** Recomputes the shown text: the parameter's menu label, else the attached menu's selected
        item, else the label (the name when the label is empty). */
    void UpdateDisplayText();
    /** Marks the control pressed and pops the attached menu up under it (modal). */
    virtual void ShowMenu();

    XMenu* GetMenu() const { return menu.get(); }
    XSignal<>& GetPressedSignal() { return pressedSignal; }
    XSignal<XMenuItem*>& GetItemChosenSignal() { return itemChosenSignal; }

    void SetLabelRect(const XRect& rect) { labelRect = rect; }
    const XRect& GetLabelRect() const { return labelRect; }
    int32_t GetTitleMargin() const { return titleMargin; }
    XImage* GetMainImage() const { return mainImage; }
    XImage* GetSecondImage() const { return secondImage; }
    bool IsPressed() const { return pressed; }
    bool IsMenuOpen() const { return menuOpen; }
    bool IsFancyRender() const { return fancyRender; }
    bool IsNoDraw() const { return noDraw; }
    bool GetUseDisplayProc() const { return useDisplayProc; }
    bool GetStripValueTreeLabels() const { return stripValueTreeLabels; }
    const XRGB& GetColor1() const { return color1; }
    const XRGB& GetColor2() const { return color2; }
    const XRGB& GetPopupTextColor() const { return textColour; }
    const XRGB& GetHighlightTextColor() const { return highlightTextColour; }
    /** The text box of the image drawing for the current font and state. */
    XRect GetTextBox() const;

    // IStyledPopupMenu ----------------------------------------------------------------------------------

    bool IsTitleShown() const override { return titleShown; }
    XString GetDisplayText() const override { return displayText; }
    bool IsArrowShown() const override { return arrowShown; }
    bool IsFrameShown() const override { return frameShown; }

    // XControl / XView -----------------------------------------------------------------------------------

    /** Attaches the menu if it is an XMenu (owned from now on, the old one deleted). */
    void SetContextMenu(IContextMenu* contextMenu) override;
    void ApplyStyle() override;
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    /** A parameter bound while the control sits in a window gets its menu. */
    void PotChanged(XParam* param) override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    void InitialiseColours();
    void OnMenuClosed();
    void OnItemChosen(XMenuItem* item);
    void DetachMenu();
    bool IsInWindow();
    void DrawWithImages(XCanvas& canvas, const XRect& bounds);

    XSignal<> pressedSignal;
    XSignal<XMenuItem*> itemChosenSignal;
    XString displayText;
    XRGB color1 = kDefaultColor1;
    XRGB color2 = kDefaultColor2;
    XRGB textColour = kDefaultTextColor;
    XRGB highlightTextColour = kDefaultTextColor;
    XRect labelRect{0, 0, 0, 0};
    XImage* mainImage = nullptr;   // the skin's
    XImage* secondImage = nullptr; // the skin's
    int32_t titleMargin = 0;
    bool pressed = false;
    bool menuOpen = false;
    bool titleShown = true;
    bool frameShown = true;
    bool arrowShown = true;
    bool fancyRender = false;
    bool noDraw = false;
    bool useDisplayProc = false;
    bool stripValueTreeLabels = false;
    /** The control began the parameter edit that the menu's closing ends. */
    bool editBegun = false;
    /** The description block that created the control; handed to the menu it builds. */
    std::unique_ptr<XMessage> description;
    std::unique_ptr<XMenu> menu;
    int32_t closedConnection = 0;
    int32_t chosenConnection = 0;
};
