#pragma once

#include "core/XPoint.h"
#include "core/XString.h"
#include "gui/XControl.h"

#include <cstdint>

class XFont;

/** The static text: a label, or the value text of its bound parameter, drawn in the fore colour,
    optionally word-wrapped to its width ("multiline"), with a shadow ("drawShadow"), shown for two
    seconds on each change by the user ("autoshow"), or dragged up and down to edit its parameter
    ("trackmouse"). Texts are transparent and take no mouse unless they track it.

    GUI thread, as XControl. */
class XText : public XControl
{
public:
    /** The one-shot timer that hides an auto-show text again, and its length. */
    static constexpr int32_t kAutoShowTimerId = static_cast<int32_t>(FourCharCode("txAS"));
    static constexpr int32_t kAutoShowMs = 2000;
    /** Posted to the application by a click on a bound text ("pView", "param"). */
    static constexpr uint32_t kTextClickedMessage = 1004006;
    /** Text-drawing flags: one line centred vertically, or several lines. */
    static constexpr int32_t kSingleLineFlags = 0xA0;
    static constexpr int32_t kMultiLineFlags = 0x8 + 0x100;

    XText();
    XText(const XRect& frame, const char* name);
    XText(const XRect& frame, const char* name, const XRGB& colour, int32_t justify);
    XText(const XRect& frame, const char* name, const XRGB& colour, XFont* font, int32_t justify);
    /** Bound to the parameter, with an empty name: shows the parameter's value text. */
    XText(const XRect& frame, XParam* param, const XRGB& colour, int32_t justify);
    XText(const XRect& frame, XParam* param, const XRGB& colour, XFont* font, int32_t justify);
    ~XText() override;

    /** The label, or the application's label of the bound parameter's current value. */
    XString GetDisplayText() const;
    /** Breaks text into lines no wider than the frame (at blanks and existing "\r\n") and makes it
        the label; a text that fits, or a piece without a break point, is kept as it is. */
    void SetWrappedLabel(const XString& text);

    bool IsMultiLine() const { return multiLine; }
    void SetMultiLine(bool isMultiLine) { multiLine = isMultiLine; }
    bool IsAutoShow() const { return autoShow; }
    bool TracksMouse() const { return trackMouse; }
    void SetTrackMouse(bool track) { trackMouse = track; }
    void SetDrawShadow(bool shadow) { drawShadow = shadow; }

    // XView and XControl -----------------------------------------------------------------------------

    void ApplyStyle() override;
    void ReadAttributes(XMessage& block) override;
    /** A multi-line text whose label changed is wrapped again first. */
    void Show() override;
    /** Tracks the mouse (and is hilited). */
    bool WantsMouse() const override;
    void Draw(XCanvas& canvas) override;
    void LabelChanged() override;
    int32_t GetCursorTool(const XPoint& point) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    bool MouseWheel(const XPoint& point, int32_t steps) override;
    bool Click(const XPoint& point) override;

    // Handler part -------------------------------------------------------------------------------------

    void HandleTimer(int32_t timerId) override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    void InitialiseText();

    bool dragging = false;
    bool trackMouse = false;
    bool multiLine = false;
    bool rewrapPending = false;
    bool autoShow = false;
    bool drawShadow = false;
    XPoint lastMousePoint;
    /** The text as last drawn. */
    XString displayTextCache;
};
