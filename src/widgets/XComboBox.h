#pragma once

#include "core/XRect.h"
#include "core/XSignal.h"
#include "core/XString.h"
#include "gui/XView.h"

#include <cstdint>

class XComboBtn;
class XControl;
class XParam;
class XPict;

/** The program's value box for one parameter: a text field showing the parameter's value (editable,
    or a plain text while the box is not editable), an optional picture behind it, and a spinner at
    the right end that steps the value (XComboBtn). The editor windows place them.

    The box builds its children when its style is first applied (when it is added to a parent): set
    the text rectangle, colours, font, justification and the step mode before that. The field takes
    the box's font, justification, back colour and text colour (the dictionary's "widgetBack" and
    "widgetText" unless set); over a picture it is see-through and frameless. The box itself is
    transparent. The parameter is not owned. GUI thread only. */
class XComboBox : public XView
{
public:
    static constexpr const char* kFontName = "small";

    /** bounds: the box's frame; the image names may be null (no picture; a square spinner of the
        box's height). The text rectangle starts as 0, 0, width - height, height. */
    XComboBox(const XRect& bounds, XParam* param, const char* textFieldImage, const char* spinnerImage,
              const char* spinnerUpImage, const char* spinnerDownImage);
    ~XComboBox() override;

    /** Adds the four deltas to the text rectangle's left, top, right and bottom. */
    void InsetTextRect(int32_t dl, int32_t dt, int32_t dr, int32_t db);
    /** Moves the text origin rectangle, where the field's picture lies. */
    void OffsetText(int32_t dx, int32_t dy);
    const XRect& GetTextRect() const { return textRect; }
    const XRect& GetTextOriginRect() const { return textOriginRect; }

    /** True without a parameter, else while the parameter is not locked. */
    bool IsEditable() const;
    /** Off: the field is a plain text even for an unlocked parameter. On by default. */
    void SetEditable(bool on) { editable = on; }
    /** Handed to the spinner (XComboBtn::SetDirectStep); off by default. */
    void SetDirectStep(bool direct);
    bool IsDirectStep() const { return directStep; }

    XParam* GetParam() const { return param; }
    /** The field (an XComboTextEdit, or an XText when not editable); null until built. */
    XControl* GetTextField() const { return textField; }
    /** The picture behind the field; null without one. */
    XPict* GetTextFieldPict() const { return textFieldPict; }
    XComboBtn* GetSpinner() const { return spinner; }

    /** Emitted when the field reports a change of its text and when the spinner is pressed. */
    XSignal<>& Changed() { return changed; }

    /** Becomes transparent and builds the children, once. */
    void ApplyStyle() override;

private:
    void BuildField();
    void BuildSpinner();
    /** The box's own style, when it has one, goes to the child. */
    void PassStyle(XView& child) const;

    XSignal<> changed;
    XParam* param;
    XString spinnerImage;
    XString spinnerUpImage;
    XString spinnerDownImage;
    XString textFieldImage;
    XRect textRect;
    XRect textOriginRect;
    bool editable = true;
    bool directStep = false;
    XPict* textFieldPict = nullptr; // child view
    XControl* textField = nullptr;  // child view
    XComboBtn* spinner = nullptr;   // child view
    int32_t fieldConnection = 0;
    int32_t spinnerConnection = 0;
};
