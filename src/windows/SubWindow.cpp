#include "windows/SubWindow.h"

#include "core/IAppDocument.h"
#include "core/IAppServices.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "device/RegionsManager.h"
#include "gui/XPict.h"
#include "gui/XStyle.h"
#include "widgets/QM7Style.h"

namespace
{

bool IsTitleKey(int32_t key)
{
    return key == SubWindow::kCurrentConfigKey || key == SubWindow::kProgramNameKey ||
           key == SubWindow::kCurrentPresetKey;
}
} // namespace

SubWindow::SubWindow(const XString& title, const XString& backgroundImage, int32_t windowParamId)
    : windowParamId(windowParamId)
{
    // A fixed size, with a minimise box (a maximise box needs a sizable window) and no shadow.
    XWindowOptions& options = GetOptions();
    options.horizontallySizable = 0;
    options.verticallySizable = 0;
    options.sizable = 0;
    options.hasMinimizeButton = 1;
    options.hasMaximizeButton = 1;
    SetWindowStyle(GetWindowStyle() & ~kStyleDropShadow);
    // Added to a view as a child, the window stays hidden until it is shown.
    SetAddVisible(false);

    // The picture goes into the content first, so that everything BuildContent adds lies above it;
    // its empty frame at its place takes the image's size.
    background = new XPict(XRect(kBackgroundLeft, kBackgroundTop, kBackgroundLeft, kBackgroundTop), nullptr,
                           backgroundImage.CStr(), true);
    AddChild(background);

    XStyle* style = GetStyle();
    const int32_t titleBarHeight = style != nullptr ? style->GetTitleBarHeight() : kDefaultTitleBarHeight;
    SetFrame(XRect(0, 0, background->GetWidth() + kExtraWidth,
                   background->GetHeight() + titleBarHeight + kExtraHeight));

    SetTitle(title);
    SetLabel(title, false);
    XHandler::SetName(title);
    SetResizable(false);

    // Notifications from other threads must reach the window on the GUI thread: hook it to the
    // application's looper now (the desktop comes with the first Show).
    XView::Attach();
    if (XParam* config = FindParam("%s", QM7Style::kCurrentConfigPath))
        config->AddWatcher(this, kCurrentConfigKey, false);
    if (XParam* programName = FindParam("%s", QM7Style::kProgramNamePath))
        programName->AddWatcher(this, kProgramNameKey, false);
    if (XParam* preset = FindParam("%s", QM7Style::kCurrentPresetPath))
        preset->AddWatcher(this, kCurrentPresetKey, false);
}

SubWindow::~SubWindow()
{
    XParam::ForgetWatcher(this);
}

void SubWindow::Show()
{
    if (!contentBuilt)
    {
        contentBuilt = true;
        BuildContent();
        if (XParam* dirty = FindParam("%s", kDocumentDirtyPath))
            dirty->ChangeValue(0.0, true);
        if (IAppDocument* document = GetAppServices().GetPresetDocument())
            document->SetModified(false);
        RegionsManager::Instance().ApplyPresetLockMode();
    }
    if (!isOnDesktop())
        Attach();
    XPopupWindow::Show();
    SetWindowParam(1.0);
}

void SubWindow::Hide()
{
    XPopupWindow::Hide();
    SetWindowParam(0.0);
}

void SubWindow::SetWindowParam(double value)
{
    if (windowParamId != kNoWindowParam)
        GetAppServices().GetParam(windowParamId)->ChangeValue(value, true);
}

void SubWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    XPopupWindow::ParamChanged(code, param, key);
    if (XMsgCode::IsValueChange(code) && IsTitleKey(key) && isVisible())
        RepaintRect(XRect(0, 0, getWidth(), kTitleRepaintHeight));
}
