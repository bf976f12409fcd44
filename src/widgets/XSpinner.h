#pragma once

#include "core/XRGB.h"
#include "core/XRect.h"
#include "gui/XControl.h"

#include <cstdint>

class XButton;
class XCanvas;
class XLooper;
class XTextEditView;

/** A numeric box with a plus and a minus button ("spinner"): a text field (a time view for a time
    parameter) beside or between two buttons, the field bound to the spinner's parameter. Each click
    on plus or minus sends 1004001 / 1004002 to the spinner, which steps the parameter by one step.

    Without the four plus/minus skin images the buttons sit stacked at the right end, "buttonwidth"
    wide (half the frame by default); with them ("fancyRender") the minus image is at the left end,
    the plus image at the right and the field between, on a dark bevel. The children are built by
    the first ApplyStyle and owned as child views. GUI thread only. */
class XSpinner : public XControl
{
public:
    static constexpr const char* kLeftImage = "Widgets\\plusMinusBox\\plusMinusBoxLeft.png";
    static constexpr const char* kLeftLitImage = "Widgets\\plusMinusBox\\plusMinusBoxLeftLit.png";
    static constexpr const char* kRightImage = "Widgets\\plusMinusBox\\plusMinusBoxRight.png";
    static constexpr const char* kRightLitImage = "Widgets\\plusMinusBox\\plusMinusBoxRightLit.png";
    static constexpr uint32_t kStepUpMessage = 1004001;
    static constexpr uint32_t kStepDownMessage = 1004002;
    static constexpr int32_t kDefaultSeparatorWidth = 2;

    XSpinner();

    XButton* GetUpButton() const { return upButton; }
    XButton* GetDownButton() const { return downButton; }
    XTextEditView* GetTextField() const { return textField; }
    bool IsFancy() const { return fancyRender; }
    /** "buttonwidth", or half the frame's width when it was not given. */
    int32_t GetButtonWidth() const;
    const XRect& GetTextRect() const { return textRect; }

    /** Passes the target on to both buttons, then takes it itself. */
    int32_t SetTarget(XHandler* handler, XLooper* looper) override;

    void ApplyStyle() override;
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    void MessageReceived(XMessage& message) override;

private:
    /** The description block of one button. */
    void AddButton(bool up, const XRect& frame, const char* image, const char* litImage);
    void AddTextField(const XRect& frame);

    XRGB color1{0, 0, 0, 255};
    XRGB color2{0, 0, 0, 255};
    XRGB color3{0, 0, 0, 255};
    XRGB color4{0, 0, 0, 255};
    XRGB textColor{0, 0, 0, 255};
    XRGB hiliteForeColor{0, 0, 0, 255};
    XRGB hiliteBackColor{0, 0, 0, 255};
    int32_t buttonWidth = -1; // -1: half the frame's width
    int32_t separatorWidth = kDefaultSeparatorWidth;
    bool readOnly = false;
    bool numeric = false;
    XButton* upButton = nullptr;        // owned as a child view
    XButton* downButton = nullptr;      // owned as a child view
    XTextEditView* textField = nullptr; // owned as a child view
    bool fancyRender = false;
    XRect textRect;
};
