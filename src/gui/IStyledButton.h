#pragma once

#include "gui/IStyledView.h"

class XImage;

/** What the style reads from a push button (XStyle::DrawButton and the title-bar boxes). Images
    belong to the skin resource manager; any of them may be null. */
class IStyledButton : public virtual IStyledView
{
public:
    /** The main image; a button with one is drawn from images, else from colours. */
    virtual XImage* GetImage() const = 0;
    /** The second and third images, null when the button has none. */
    virtual XImage* GetImage2() const = 0;
    virtual XImage* GetImage3() const = 0;
    /** True while the button's disable parameter holds one of its disabling values. */
    virtual bool IsDisabledByParam() const = 0;
    /** Where the label goes (the button's drawing frame when it sets none). */
    virtual XRect GetLabelRect() const = 0;
    /** The label shown in the lit or unlit state; empty draws no label. */
    virtual XString GetLabelFor(bool lit) const = 0;
    /** The face colour: "hiliteforecolor" (alias "color2") when lit, else "color1". */
    virtual XRGB GetFaceColor(bool lit) const = 0;
    /** The label colour: "textlitcolor" (alias "color4") when lit, else "textcolor" ("color3"). */
    virtual XRGB GetLabelColor(bool lit) const = 0;
};
