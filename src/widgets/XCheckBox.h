#pragma once

#include "gui/IStyledCheckBox.h"
#include "gui/XButton.h"

#include <cstdint>

/** A button drawn as a check box, or with "isRadio" as a radio button ("checkbox"). It behaves as
    the button it derives from (bound parameter, match value, messages); the style draws it
    (XStyle::DrawCheckBox) from the main (unchecked), second (checked) and third (pressed) images,
    which come from the skin unless the description names its own. A skin without the pressed
    picture shows the checked one while pressed. The view keeps the images' height and its own width
    (the label sits beside the box). Images belong to the skin resources. GUI thread only. */
class XCheckBox : public XButton, public virtual IStyledCheckBox
{
public:
    static constexpr const char* kCheckDimImage = "widgets\\checkBoxDim.png";
    static constexpr const char* kCheckLitImage = "widgets\\checkBoxLit.png";
    static constexpr const char* kCheckPressedImage = "widgets\\checkBoxPressed.png";
    static constexpr const char* kRadioDimImage = "widgets\\radioDim.png";
    static constexpr const char* kRadioLitImage = "widgets\\radioLit.png";
    static constexpr const char* kRadioPressedImage = "widgets\\radioPressed.png";

    /** The button, in the named font "checkbox" (else "small", else the view's default). */
    XCheckBox();

    bool IsRadio() const override { return isRadio; }
    virtual void SetRadio(bool radio) { isRadio = radio; }

    /** The parent's back colour, the control's styling, the skin's images when none is set, the
        images' height; transparent. */
    void ApplyStyle() override;
    /** The button's keys, then "isRadio". */
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    void LabelChanged() override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    /** The control's position, not the button's. */
    void SetPosition(int32_t position) override;

private:
    /** Height of the main image, width kept. */
    void ApplyImageHeight();

    bool isRadio = false;
};
