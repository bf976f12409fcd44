#include "windows/CompareOverlay.h"

#include "core/IAppServices.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "gui/XFont.h"
#include "gui/XText.h"
#include "windows/SubWindow.h"

namespace
{
/** The cover's text colour and its fill, unseen while it stays transparent. */
constexpr XRGB kCoverColour(178, 178, 178, 255);
/** The cover is shown while the edit lock's value index is 0. */
constexpr int32_t kShownAtIndex = 0;
} // namespace

XText* CompareOverlay::Add(SubWindow& window)
{
    const XRect frame(1, 1, window.GetWidth(), window.GetHeight());
    auto* cover =
        new XText(frame, " ", kCoverColour, XFont::GetNamedFont("dialogLabel", true), XView::kJustifyLeft);
    cover->SetTransparentWithColor(true, kCoverColour);
    XParam* editLock = GetAppServices().GetParam(kEditLockParamId);
    cover->SetShowParam(editLock, kShownAtIndex);
    cover->SetTooltipText(kTooltip);
    window.AddChild(cover);
    editLock->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
    return cover;
}
