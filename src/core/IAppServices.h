#pragma once

#include "core/XString.h"

#include <cstdint>

class IAppDocument;
class XParam;
class XParamGroup;

/** What the lower layers (the parameter tables, the device link, the GUI foundation and the editor
    windows) ask of this program's application object: its parameter groups, the status bar and the
    toolbar's compare button, the front-panel display picture, the editor windows bound to
    parameters, confirmations asked of the user, and a few program-wide actions.

    The application object implements it and registers itself with SetAppServices for its
    lifetime; until then, and in headless programs, GetAppServices answers with safe defaults
    (DefaultAppServices): no groups, nothing shown, every confirmation given. The services are
    called from the main thread unless an operation says otherwise; an implementation must outlive
    every call (unregister it only while no parameter is being changed). */
class IAppServices
{
public:
    virtual ~IAppServices() = default;

    // Parameter groups ----------------------------------------------------------------------------

    /** The parameter of that id in the main group (program state, unit settings and global
        settings). Never null: when absent, a detached parameter that the services own. */
    virtual XParam* GetParam(int32_t id) = 0;
    /** The parameter of that id in the preset group; never null, as GetParam. */
    virtual XParam* GetPresetParam(int32_t id) = 0;
    /** The parameter of that id in the slave group (93..100 meters, 101..108 slaved flags, 109
        slavedChanConfig); never null, as GetParam. */
    virtual XParam* GetSlaveParam(int32_t id) = 0;
    /** The preset group (prefix "preset"); null before it is built. */
    virtual XParamGroup* GetPresetGroup() = 0;
    /** The compare-mode twin of the preset group (prefix "presetComapreMode"); null before it is
        built. */
    virtual XParamGroup* GetComparePresetGroup() = 0;
    /** The preset document (its modified mark is what "unsaved changes" means); null when there is
        none. */
    virtual IAppDocument* GetPresetDocument() = 0;

    // Status bar, toolbar and display ---------------------------------------------------------------

    /** Sets the status-bar text parameter Status (id 61) to a prefix plus text, every ':' replaced by
        '|', with notification. Any thread may call it. */
    virtual void SetStatusText(const XString& text) = 0;
    /** Show or hide the toolbar's compare button (hidden while all parameters travel). */
    virtual void ShowCompareButton() = 0;
    virtual void HideCompareButton() = 0;
    /** Plots the 8 bits of one front-panel display byte into the display picture, bit 7 at x. */
    virtual void DrawDisplayColumn(int32_t row, int32_t x, int32_t bits) = 0;

    // Channels and compare mode ---------------------------------------------------------------------

    /** Copies every channel group and the preset group to (false) or from (true) their compare
        twins, flags included; copies into the live groups do not notify. */
    virtual void SyncCompareGroups(bool toLive) = 0;
    /** With channel linking off for the time, resets every channel group to its defaults and clears
        the parameters' flag bits 0x40 and 0x80. */
    virtual void ResetChannelsToDefaults() = 0;
    /** Sets enableChannelLinking to 1 or 0 as a user change, with notification. */
    virtual void SetChannelLinking(bool on) = 0;

    // Windows ---------------------------------------------------------------------------------------

    /** Shows or hides the editor window bound to window parameters 70..79; other ids do nothing. */
    virtual void ShowWindowForParam(int32_t paramId, bool show) = 0;
    /** Resets the delay windows' own helper parameters after a load or a new document. */
    virtual void RefreshDelayWindows() = 0;
    /** Updates both tables of the front-panel access window. */
    virtual void RefreshFrontPanelWindow() = 0;
    /** Repaints that parameter's row in the front-panel access window (nothing during start-up). */
    virtual void RepaintFrontPanelParam(XParam* param) = 0;

    // Hooks and confirmations -----------------------------------------------------------------------

    /** Called when CurrentPreset is changed to presetNumber. */
    virtual void OnCurrentPresetChanged(int32_t presetNumber) = 0;
    /** True when the change to standard edit mode may proceed; asks the user only when the change
        came from the user's own control. */
    virtual bool ConfirmEditModeChange() = 0;
    /** True when the configuration change may proceed; asks the user only when the change came
        from the user's own control. */
    virtual bool ConfirmConfigurationChange() = 0;
    /** Marks the next configuration change as made by the user's own control (or clears it). */
    virtual void SetUserConfigChange(bool on) = 0;
    /** Marks the next edit-mode change as made by the user's own control (or clears it). */
    virtual void SetUserEditModeChange(bool on) = 0;
    /** After the user chose standard edit (the edit-mode mark), clears the mark and brings the
        linked inputs and outputs in line with their first channel; nothing without the mark. */
    virtual void ApplyStandardEditLinks() = 0;

    // The unit --------------------------------------------------------------------------------------

    /** Switches the unit's listen mode to global\ListenMode, waiting in a progress window. */
    virtual void SwitchListenMode() = 0;
    /** Switches the device link's sender of changed parameters on or off; nothing without a link. */
    virtual void EnableParamSending(bool on) = 0;
    /** Starts sending every parameter to the unit when a unit is connected. */
    virtual void SendAllParamsIfConnected() = 0;
};

/** Registers the application's services (null: back to the defaults); the caller keeps ownership.
    Thread-safe. */
void SetAppServices(IAppServices* services);
/** The registered services, or the defaults; never null. */
IAppServices& GetAppServices();

/** True when a preset name marks an empty preset slot: exactly "?" or "?" followed by blanks only. */
bool IsEmptyPresetName(const XString& name);
