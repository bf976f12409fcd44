#include "gui/XText.h"

#include "core/XApplication.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XViewCursors.h"

#include <algorithm>
#include <string>

namespace
{
constexpr const char* kTextFontName = "medium";
constexpr const char* kTextColourName = "label";
constexpr double kDimPercent = 50.0;
constexpr double kShadowPercent = 40.0;
/** A dimmed colour this dark (red) is lightened instead. */
constexpr int kDarkestDimRed = 30;
constexpr int kLightenBy = 100;
constexpr int kLightenLimit = 155;
constexpr int kFullChannel = 255;
constexpr const char* kLineBreak = "\r\n";

/** The text's font, looked up once found; until then again at each construction. GUI thread. */
XFont* TextFont()
{
    static XFont* font = nullptr;
    if (font == nullptr)
        font = XFont::FindNamedFont(kTextFontName, false);
    return font;
}

/** The colour of a text disabled by its parameter: half as bright, or, when that is too dark, the
    colour itself lightened. */
XRGB DisabledColour(const XRGB& colour)
{
    XRGB dim = colour;
    dim.ScaleBrightness(kDimPercent);
    if (dim.r > kDarkestDimRed)
        return dim;
    const int brightest = std::max({colour.r, colour.g, colour.b});
    const int lift = brightest > kLightenLimit ? kFullChannel - brightest : kLightenBy;
    return XRGB(static_cast<uint8_t>(colour.r + lift), static_cast<uint8_t>(colour.g + lift),
                static_cast<uint8_t>(colour.b + lift), colour.a);
}

XRect Offset(const XRect& rect, int32_t dx, int32_t dy)
{
    return XRect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy);
}
} // namespace

// Construction -----------------------------------------------------------------------------------

XText::XText()
{
    InitialiseText();
}

XText::XText(const XRect& frame, const char* name) : XControl(frame, name, nullptr)
{
    InitialiseText();
}

XText::XText(const XRect& frame, const char* name, const XRGB& colour, int32_t justify)
    : XControl(frame, name, nullptr)
{
    InitialiseText();
    SetForeColor(colour);
    SetJustification(static_cast<uint8_t>(justify));
}

XText::XText(const XRect& frame, const char* name, const XRGB& colour, XFont* font, int32_t justify)
    : XText(frame, name, colour, justify)
{
    SetFont(font);
}

XText::XText(const XRect& frame, XParam* param, const XRGB& colour, int32_t justify)
    : XControl(frame, "", param)
{
    InitialiseText();
    SetForeColor(colour);
    SetJustification(static_cast<uint8_t>(justify));
}

XText::XText(const XRect& frame, XParam* param, const XRGB& colour, XFont* font, int32_t justify)
    : XText(frame, param, colour, justify)
{
    SetFont(font);
}

XText::~XText()
{
    // Before the text's part goes: no parameter may call into it while it is torn down.
    XParam::ForgetWatcher(this);
}

void XText::InitialiseText()
{
    SetTouch(false);
    SetTransparent(true);
    if (XFont* font = TextFont())
        SetFont(font);
    SetForeColor(GetColorDictionary().GetColor(kTextColourName));
}

// Text -------------------------------------------------------------------------------------------

XString XText::GetDisplayText() const
{
    XParam* param = GetPot();
    if (param == nullptr)
        return GetLabel();
    if (XApplication* application = GetApplication())
        return application->GetParamMenuLabel(param, param->GetValue());
    return param->GetDisplayText();
}

void XText::SetWrappedLabel(const XString& text)
{
    const int32_t width = GetWidth();
    if (MeasureText(text.CStr()) <= width)
    {
        SetLabel(text, false);
        return;
    }
    auto wider = [this, width](const std::string& piece) { return MeasureText(piece.c_str()) > width; };
    std::string rest = text.CStr();
    std::string wrapped;
    // Each turn ends one line (and consumes at least one character) or appends the rest and stops.
    for (;;)
    {
        if (MeasureText(rest.c_str()) < width)
            break;
        size_t lastSpace = std::string::npos;
        size_t lineEnd = std::string::npos; // one past the line's last character
        size_t consumed = 0;
        for (size_t from = 0;;)
        {
            const size_t space = rest.find(' ', from);
            const size_t lineBreak = rest.find(kLineBreak, from);
            if (lineBreak != std::string::npos && (space == std::string::npos || lineBreak < space))
            {
                const size_t end = lineBreak + 2;
                if (!wider(rest.substr(0, end)))
                {
                    lineEnd = end;
                    consumed = end;
                    break;
                }
            }
            // The text up to the next break point (or the end) overflows: break after the last blank.
            const size_t next = std::min(space, lineBreak);
            if (wider(rest.substr(0, next)))
            {
                if (lastSpace != std::string::npos)
                {
                    lineEnd = lastSpace;
                    consumed = lastSpace + 1;
                }
                break;
            }
            if (next == std::string::npos || next != space)
                break;
            lastSpace = space;
            from = space + 1;
        }
        if (lineEnd == std::string::npos)
            break;
        std::string line = rest.substr(0, lineEnd);
        if (line.size() < 2 || line.compare(line.size() - 2, 2, kLineBreak) != 0)
        {
            // Trailing blanks go; blanks alone make no line.
            const size_t last = line.find_last_not_of(' ');
            line = last == std::string::npos ? std::string() : line.substr(0, last + 1) + kLineBreak;
        }
        wrapped += line;
        rest.erase(0, consumed);
    }
    wrapped += rest;
    SetLabel(XString(wrapped.c_str()), false);
}

// XView and XControl -----------------------------------------------------------------------------

void XText::ApplyStyle()
{
    XControl::ApplyStyle();
    // An auto-show text appears only when its parameter is changed.
    if (autoShow)
        Hide();
}

void XText::ReadAttributes(XMessage& block)
{
    XControl::ReadAttributes(block);
    bool flag = false;
    if (DescriptionItems::FindFlag(block, "trackmouse", flag))
        trackMouse = flag;
    // "nonTransparent" is the view's own style word.
    const char* styleText = nullptr;
    for (int32_t index = 0; block.FindString("style", styleText, index) == 0; ++index)
    {
        juce::StringArray words;
        words.addTokens(juce::String::fromUTF8(styleText), ",", "");
        words.trim();
        for (const juce::String& word : words)
        {
            if (word.equalsIgnoreCase("autoshow"))
                autoShow = autoShow || GetPot() != nullptr;
            else if (word.equalsIgnoreCase("multiline"))
                multiLine = true;
        }
    }
    if (DescriptionItems::FindFlag(block, "drawShadow", flag))
        drawShadow = flag;
}

void XText::Show()
{
    if (multiLine && rewrapPending)
    {
        SetWrappedLabel(GetLabel());
        rewrapPending = false;
    }
    XControl::Show();
}

bool XText::WantsMouse() const
{
    return trackMouse && IsHilited();
}

void XText::Draw(XCanvas& canvas)
{
    if (!isVisible())
        return;
    displayTextCache = GetDisplayText();
    PrepareCanvas(canvas);
    if (IsDisabledByParam())
        canvas.SetForeColor(DisabledColour(GetForeColor()));
    const XRect bounds = GetBounds();
    if (!IsTransparent())
        canvas.EraseRect(bounds);
    const int32_t flags = GetJustification() + (multiLine ? kMultiLineFlags : kSingleLineFlags);
    if (drawShadow)
    {
        const XRGB textColour = canvas.GetForeColor();
        XRGB shadow = GetForeColor();
        shadow.ScaleBrightness(kShadowPercent);
        canvas.SetForeColor(shadow);
        canvas.DrawText(Offset(bounds, 1, 1), displayTextCache, flags);
        canvas.SetForeColor(textColour);
    }
    canvas.DrawText(bounds, displayTextCache, flags);
}

void XText::LabelChanged()
{
    XControl::LabelChanged();
    rewrapPending = true;
}

int32_t XText::GetCursorTool(const XPoint& point)
{
    if (trackMouse)
        return XViewCursors::kToolUpDownResize;
    if (XView* parent = GetParentView())
        return parent->GetCursorTool(ToParentPoint(point));
    return XViewCursors::kToolNormal;
}

bool XText::MouseDown(const XPoint& point, int32_t button)
{
    if (trackMouse && button == kButtonLeft && IsEnabled())
    {
        lastMousePoint = point;
        dragging = true;
        FocusChanged(true);
        return true;
    }
    return XControl::MouseDown(point, button);
}

bool XText::MouseMoved(const XPoint& point, int32_t button)
{
    if (!dragging || !trackMouse)
        return XControl::MouseMoved(point, button);
    const int32_t dx = point.x - lastMousePoint.x;
    const int32_t dy = point.y - lastMousePoint.y;
    const float scale = GetDragScale();
    XParam* param = GetPot();
    if (param != nullptr)
        param->StepBy(static_cast<int32_t>(-static_cast<float>(dy) * scale), true);
    if (GetHeight() > GetWidth() && dy != 0)
    {
        if (param != nullptr)
            param->StepBy(static_cast<int32_t>(-static_cast<float>(dx) * scale), true);
        else
            MoveBy(dx);
    }
    lastMousePoint = point;
    return true;
}

bool XText::MouseUp(const XPoint& point, int32_t button)
{
    dragging = false;
    return XControl::MouseUp(point, button);
}

bool XText::MouseWheel(const XPoint& point, int32_t steps)
{
    if (trackMouse && IsEnabled())
        return XControl::MouseWheel(point, steps);
    return XView::MouseWheel(point, steps);
}

bool XText::Click(const XPoint&)
{
    XParam* param = GetPot();
    if (param == nullptr)
        return false;
    if (XApplication* application = GetApplication())
    {
        XMessage message(kTextClickedMessage);
        message.AddPointer("pView", GetWindow());
        message.AddPointer("param", param);
        application->PostMessage(&message);
    }
    return true;
}

// Handler part -----------------------------------------------------------------------------------

void XText::HandleTimer(int32_t timerId)
{
    if (timerId != kAutoShowTimerId)
    {
        XControl::HandleTimer(timerId);
        return;
    }
    if (isVisible())
        Hide();
}

void XText::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param == nullptr || param != GetPot() || !IsValueChangeCode(code))
    {
        XControl::ParamChanged(code, param, key);
        return;
    }
    if (IsOutputDisabled())
        return;
    if (autoShow && static_cast<uint32_t>(code) == XMsgCode::kParamChangedByUser)
    {
        if (!isVisible())
            Show();
        StartTimer(kAutoShowTimerId, kAutoShowMs, true);
    }
    if (isVisible() && GetDisplayText() != displayTextCache)
    {
        if (XView* parent = GetParentView())
            parent->RepaintRect(GetFrame());
        else
            Invalidate();
    }
    // The same parameter may also show and hide the text.
    if (param == GetShowParam())
        XView::ParamChanged(code, param, key);
}
