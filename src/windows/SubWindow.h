#pragma once

#include "core/XMessageCodes.h"
#include "core/XString.h"
#include "device/ISubWindow.h"
#include "gui/XPopupWindow.h"

#include <cstdint>

class XPict;

/** The base of every editor window: a skinned popup window of a fixed size taken from its background
    picture (picture + 6 wide, picture + the style's title-bar height + 4 high), whose title bar
    shows the unit's current preset, program name and configuration, and whose content is built by
    the first Show (BuildContent, once in the window's life).

    A window that owns a window-open parameter (ids 70..79 of the main group) names it at
    construction: Show sets it to 1 and Hide (also the close box and Escape) to 0, as a user change.
    The application shows and hides the window when that parameter changes, so each side tolerates
    being called back by the other.

    The first Show also marks the preset document clean ("QM7\documentDirty" and the document's
    modified mark) and applies the current preset's lock mode to every region parameter
    (RegionsManager::ApplyPresetLockMode).

    A concrete window watches its parameters under four-character keys, ends its ParamChanged with
    SubWindow::ParamChanged, and calls XParam::ForgetWatcher(this) first thing in its destructor
    when it owns parameters it watches. Added to a view as a child, the window stays hidden until
    shown. GUI thread only; the window is hooked to the application's looper at construction, so
    notifications of other threads arrive on the GUI thread. */
class SubWindow : public XPopupWindow, public ISubWindow
{
public:
    static constexpr int32_t kNoWindowParam = -1;
    /** Where the background picture lies in the content, and what the frame adds to its size. */
    static constexpr int32_t kBackgroundLeft = 2;
    static constexpr int32_t kBackgroundTop = 2;
    static constexpr int32_t kExtraWidth = 6;
    static constexpr int32_t kExtraHeight = 4;
    /** The strip repainted when a parameter shown in the title bar changes. */
    static constexpr int32_t kTitleRepaintHeight = 28;

    /** The keys the window watches the title bar's parameters under (the style's paths). */
    static constexpr int32_t kCurrentConfigKey = static_cast<int32_t>(FourCharCode(" cfg"));
    static constexpr int32_t kProgramNameKey = static_cast<int32_t>(FourCharCode(" psn"));
    static constexpr int32_t kCurrentPresetKey = static_cast<int32_t>(FourCharCode(" cps"));
    /** Marked clean by the first Show. */
    static constexpr const char* kDocumentDirtyPath = "QM7\\documentDirty";

    /** title: the window's title, label and handler name (which also keys its saved position);
        backgroundImage: the skin name of its background picture; windowParamId: its window-open
        parameter (kNoWindowParam: none). The window is hidden, without content. */
    SubWindow(const XString& title, const XString& backgroundImage, int32_t windowParamId = kNoWindowParam);
    /** Stops watching every parameter first. */
    ~SubWindow() override;

    /** Builds the content on the first call (then marks the document clean and applies the lock
        mode), puts the window on the desktop when it is not, shows it in front and sets its
        window-open parameter to 1. */
    void Show() override;
    /** Hides the window and sets its window-open parameter to 0. */
    void Hide() override;
    bool IsShown() const override { return isVisible(); }

    /** The base's show parameter; then, while the window is visible, a value change of a title-bar
        parameter repaints the title bar's strip. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "SubWindow"; }

    bool IsContentBuilt() const { return contentBuilt; }
    int32_t GetWindowParamId() const { return windowParamId; }
    /** The background picture, a child of the content view (its size is the window's content size). */
    XPict* GetBackground() const { return background; }

private:
    /** Sets the window-open parameter, when the window has one, as a user change. */
    void SetWindowParam(double value);

    const int32_t windowParamId;
    XPict* background = nullptr; // child of the content view
    bool contentBuilt = false;
};
