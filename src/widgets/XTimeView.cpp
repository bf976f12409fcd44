#include "widgets/XTimeView.h"

#include "core/TimeParam.h"
#include "core/Timecode.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "gui/XCanvas.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"

namespace
{
struct FormatWord
{
    const char* word;
    int32_t format;
};
constexpr FormatWord kFormatWords[] = {{"SAMPLES", XTimeView::kFormatSamples},
                                       {"SMPTE", XTimeView::kFormatSmpte},
                                       {"BBT", XTimeView::kFormatBbt}};

/** time converted into format, keeping its sub-frame switch. */
XTimeValue InFormat(const XTimeValue& time, int32_t format, bool showSubFrames)
{
    XTimeValue converted(format);
    converted.Assign(time);
    converted.SetShowSubFrames(showSubFrames);
    return converted;
}
} // namespace

XTimeView::XTimeView()
{
    value.Clear();
}

void XTimeView::ShowValue()
{
    SetTextValue(value.ToString(value.GetType()), false);
}

void XTimeView::SetTimeFormat(int32_t format)
{
    value = InFormat(value, format, value.GetShowSubFrames());
    ShowValue();
}

void XTimeView::SetDisplaySubframes(bool flag)
{
    displaySubframes = flag;
    value.SetShowSubFrames(flag);
    ShowValue();
}

XTimeValue XTimeView::GetTimeValueOf(XParam* param) const
{
    if (param != nullptr && param->GetValueKind() == XParam::kKindTime)
        return static_cast<TimeParam*>(param)->GetTime();
    XTimeValue cleared;
    cleared.Clear();
    return cleared;
}

TimeParam* XTimeView::GetWritableTimeParam() const
{
    XParam* param = GetPot();
    if (param == nullptr || param->GetValueKind() != XParam::kKindTime || IsDisabledByParam())
        return nullptr;
    return static_cast<TimeParam*>(param);
}

bool XTimeView::ReadTime(const XString& text, XTimeValue& out) const
{
    XTimeValue read(value.GetType());
    if (!read.FromString(text.CStr(), value.GetType()))
        return false;
    read.SetShowSubFrames(GetDisplaySubframes());
    out = read;
    return true;
}

void XTimeView::ApplyStyle()
{
    XTextEditView::ApplyStyle();
    if (XTextEdit* edit = GetEditor())
    {
        edit->SetTimeEdit(true);
        edit->SetJustification(kJustifyLeft);
    }
    if (XParam* param = GetPot())
        value = InFormat(GetTimeValueOf(param), value.GetType(), GetDisplaySubframes());
    // Shown without a parameter too, so that a view whose format word was not understood shows 0.
    ShowValue();
    LayoutChildren();
    Invalidate();
}

void XTimeView::ReadAttributes(XMessage& block)
{
    XTextEditView::ReadAttributes(block);
    const char* text = nullptr;
    if (block.FindString("imagename", text) == 0 && text[0] != '\0')
    {
        background = GetResourceManager().GetImage(XString(text));
        if (background != nullptr)
        {
            const XRect frame = GetFrame();
            SetFrame(XRect(frame.left, frame.top, frame.left + background->GetWidth(),
                           frame.top + background->GetHeight()));
        }
    }
    if (block.FindString("timeformat", text) == 0)
    {
        const XString word = XString(text).ToUpper();
        for (const FormatWord& entry : kFormatWords)
        {
            if (word == entry.word)
                SetTimeFormat(entry.format);
        }
    }
    bool subFrames = false;
    if (block.FindBool("displaySubframes", subFrames) == 0)
        SetDisplaySubframes(subFrames);
}

void XTimeView::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    PrepareCanvas(canvas);
    const XRect bounds = GetBounds();
    if (background != nullptr)
        canvas.DrawImageInRect(background, bounds, XCanvas::kRopCopy);
    else if (!IsTransparent())
        canvas.EraseRect(bounds);
    if (GetDrawFrame())
    {
        canvas.SetForeColor(GetForeColor());
        canvas.FrameRect(bounds);
    }
}

void XTimeView::FontChanged()
{
    XTextEditView::FontChanged();
    if (XTextEdit* edit = GetEditor())
        edit->SetFont(GetFont());
}

void XTimeView::CommitText()
{
    XTextEditView::CommitText();
    const int32_t format = value.GetType();
    XString text = GetText();
    if (format == kFormatSmpte && !Timecode::IsValidTimecode(text.CStr()) &&
        Timecode::NormalizeTimecode(text, true) != 0)
    {
        ShowValue();
        Invalidate();
        return;
    }
    XTimeValue read;
    if (ReadTime(text, read))
    {
        read.SetShowSubFrames(value.GetShowSubFrames());
        value = read;
    }
    ShowValue();
    Invalidate();
    if (TimeParam* param = GetWritableTimeParam())
    {
        XTimeValue edited;
        if (ReadTime(GetText(), edited))
            param->SetTime(edited, true);
    }
}

void XTimeView::MessageReceived(XMessage& message)
{
    if (message.GetWhat() != kCommitToParamMessage)
    {
        XTextEditView::MessageReceived(message);
        return;
    }
    XTimeValue read;
    if (ReadTime(GetText(), read) && !read.Equals(value))
    {
        value = read;
        if (TimeParam* param = GetWritableTimeParam())
            param->SetTime(value, true);
    }
    ShowValue();
}

void XTimeView::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    const bool valueCode = code == static_cast<int32_t>(XMsgCode::kParamValueSet) ||
                           code == static_cast<int32_t>(XMsgCode::kParamChangedByUser);
    if (!valueCode || param == nullptr || param != GetPot())
    {
        XTextEditView::ParamChanged(code, param, key);
        return;
    }
    const int32_t format = value.GetType();
    const XTimeValue time = InFormat(GetTimeValueOf(param), format, GetDisplaySubframes());
    XString text = time.ToString(format);
    if (text == GetText())
        return;
    value = time;
    if (format == kFormatSmpte && !displaySubframes && value.GetTimecode().subFrames != 0 &&
        text.Length() > kTimecodeLength)
        text = text.Left(kTimecodeLength);
    SetTextValue(text, false);
}
