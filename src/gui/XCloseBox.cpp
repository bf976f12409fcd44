#include "gui/XCloseBox.h"

#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "gui/XColorDictionary.h"
#include "gui/XStyle.h"

namespace
{
constexpr const char* kCloseButtonDimColourName = "closeButtonDim";
constexpr const char* kCloseButtonLitColourName = "closeButtonLit";
} // namespace

XCloseBox::XCloseBox()
{
    Initialise();
}

XCloseBox::XCloseBox(const XRect& frame) : XButton(frame, "")
{
    Initialise();
}

void XCloseBox::Initialise()
{
    XRGB colour;
    if (GetColorDictionary().FindColor(kCloseButtonDimColourName, colour) == XColorDictionary::kResultOk)
        SetDimColor(colour);
    if (GetColorDictionary().FindColor(kCloseButtonLitColourName, colour) == XColorDictionary::kResultOk)
        SetLitColor(colour);
}

void XCloseBox::ApplyStyle()
{
    XButton::ApplyStyle();
    if (GetMessage() != nullptr)
        return;
    XHandler::SetName(XString(kHandlerName));
    SetMessage(new XMessage(XMsgCode::kCloseRequested));
    XView* window = GetWindow();
    SetTarget(window != this ? window : nullptr, nullptr);
    if (GetPot() != nullptr)
        SetPot(nullptr);
}

void XCloseBox::DrawFace(XCanvas& canvas, const XRect& rect, bool lit, bool pressedLook)
{
    if (XStyle* style = GetStyle())
        style->DrawCloseBox(this, rect, canvas, lit, pressedLook);
}
