#pragma once

#include "app/GeqBypassFlags.h"
#include "core/DefaultAppServices.h"
#include "core/XMessageCodes.h"
#include "core/XParamGroup.h"
#include "device/GlobalParamTables.h"
#include "gui/XGuiApp.h"

#include <atomic>
#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

class AppFirmwareUpdateHost;
class ChannelGroupSet;
class DeviceCommWatcher;
class DeviceJobLink;
class FirmwareCommandSet;
class FrontPanelDisplay;
class QM7MainWindow;
class QM7Style;
class SendAllParamsJob;
class StringParam;
class SubWindowRegistry;
class TWRPCUSBConnection;
class XImage;
class XParamDoc;
class XView;

/** The editor's application object: the JUCE application, the framework's GUI application (a looper
    pumped on the main thread) and the application services that the lower layers reach through
    GetAppServices, at once. It owns what the editor shows and sends: the unit's channel groups and
    their compare twins, the application's parameter groups (main, preset, compare preset, slave),
    the preset document, the front-panel display image and the device watcher.

    It registers itself as the application services in its constructor and clears that in its
    destructor once the editor windows still alive are gone, before anything else it owns goes. One
    per process, constructed, run and destroyed on the main thread; the start-up builds the parameter
    model (BuildParameterModel) once the GUI has started, then the main window (BuildMainWindow).

    Reactions: it watches a few parameters (master/slave, listen mode, the graphic equaliser's band
    bypasses, the speaker configuration, the window-open parameters) and receives the messages of the
    device watcher and of the editor windows. The work that waits (the slave-mode progress window, the
    configuration's re-read from the unit) runs from a message it posts to itself, never inside a
    parameter's notification, so the link's reader thread can go on changing parameters meanwhile.

    The editor windows come from its window registry (GetWindows), each made on first request; its
    watcher's requests are registered for them (SetDeviceRequests) while it has a watcher.

    The main window (QM7MainWindow) carries the status line and the compare button, whose click
    switches the listen mode; the editor windows' own messages are empty here and filled in by the
    windows. */
class QM7App : public XGuiApp, public DefaultAppServices
{
public:
    static constexpr const char* kAppName = "KRX-640 Editor";
    static constexpr const char* kVendorName = "RQ";
    static constexpr int kVersionMajor = 1;
    static constexpr int kVersionMinor = 4;
    static constexpr int kVersionPatch = 0;
    static constexpr const char* kDocType = "qm7";
    static constexpr const char* kVersionParamPath = "global\\VersionStr";

    /** The tables' ids under the names the application's code uses (GlobalParamTables holds them). */
    static constexpr int32_t kMSStateId = GlobalParamTables::kMSStateId;
    static constexpr int32_t kListenModeId = GlobalParamTables::kListenModeId;
    static constexpr int32_t kGlobalEditModeId = GlobalParamTables::kGlobalEditModeId;
    static constexpr int32_t kCurrentPresetId = GlobalParamTables::kCurrentPresetId;
    static constexpr int32_t kRS232OrContactsId = GlobalParamTables::kRS232OrContactsId;
    static constexpr int32_t kMasterSlaveModeId = GlobalParamTables::kMasterSlaveModeId;
    static constexpr int32_t kGlobalDirtyId = GlobalParamTables::kGlobalDirtyId;
    static constexpr int32_t kToolbarABId = GlobalParamTables::kToolbarABId;
    static constexpr int32_t kChannelLinkingId = GlobalParamTables::kChannelLinkingId;
    static constexpr int32_t kDSPLoadId = GlobalParamTables::kDSPLoadId;
    static constexpr int32_t kDocumentDirtyId = GlobalParamTables::kDocumentDirtyId;
    static constexpr int32_t kPresetDirtyId = GlobalParamTables::kPresetDirtyId;
    static constexpr int32_t kUsbActiveId = GlobalParamTables::kUsbActiveId;
    static constexpr int32_t kRs232ActiveId = GlobalParamTables::kRs232ActiveId;
    static constexpr int32_t kCompareEditDisplayButtonId = GlobalParamTables::kCompareEditDisplayButtonId;
    static constexpr int32_t kConfirmChangeListenModeId = GlobalParamTables::kConfirmChangeListenModeId;
    static constexpr int32_t kGetAllFromRecallId = GlobalParamTables::kGetAllFromRecallId;
    static constexpr int32_t kCurrentConfigId = GlobalParamTables::kCurrentConfigId;
    static constexpr int32_t kColorChanFirstId = GlobalParamTables::kColorChanFirstId;
    /** The configuration when preset\CurrentConfig is missing: the free configuration. */
    static constexpr int32_t kDefaultConfiguration = 4;
    static constexpr int32_t kUserPresetCount = 20;

    /** Keys under which the application watches its parameters. */
    static constexpr int32_t kMasterSlaveKey = 0x6D73;    // 'ms'
    static constexpr int32_t kListenModeKey = 0x636C6D;   // 'clm'
    static constexpr int32_t kGeqBandKeyFirst = 0x627073; // 'bps', + 31 x input + band
    static constexpr int32_t kCurrentConfigKey = static_cast<int32_t>(FourCharCode("ccfg"));
    static constexpr int32_t kChannelLinkingKey = static_cast<int32_t>(FourCharCode("lnk "));
    /** The window-open parameters 70..79, told apart by their ids. */
    static constexpr int32_t kWindowParamKey = static_cast<int32_t>(FourCharCode("wnd "));

    /** Messages of the editor windows and the commands. */
    static constexpr uint32_t kMsgLinkedConfigLeds = FourCharCode("LEDk");
    static constexpr uint32_t kMsgConfigLeds = FourCharCode("cLED");
    static constexpr uint32_t kMsgRecallPrepare = FourCharCode("cPrf");
    static constexpr uint32_t kMsgSyncCompare = 0x636D70; // 'cmp'
    /** 71..79 show the window whose window parameter has that id. */
    static constexpr uint32_t kMsgShowWindowFirst = 71;
    static constexpr uint32_t kMsgShowWindowLast = 79;
    static constexpr uint32_t kMsgShowInputPEQ = 73;
    static constexpr uint32_t kMsgShowInputGEQ = 74;
    static constexpr const char* kRecallCommandName = "recallPresetCmd";
    /** The compare button's changes of visibility, handed to the GUI thread. */
    static constexpr uint32_t kMsgShowCompareButton = FourCharCode("cbSh");
    static constexpr uint32_t kMsgHideCompareButton = FourCharCode("cbHd");
    /** The compare button was clicked: the listen mode is switched outside the click. */
    static constexpr uint32_t kMsgToggleListenMode = FourCharCode("tgLm");
    /** The skin folder of the program's images. */
    static constexpr const char* kSkinFolder = "QM7";
    static constexpr const char* kStyleName = "default";
    static constexpr int32_t kStatusId = GlobalParamTables::kStatusId;
    /** The menu group of the document and preset commands. */
    static constexpr const char* kFileCommandGroup = "File";

    /** The connect hand-shake's waits, and how many one-second waits for the device info it makes
        before it gives up (one more than this). */
    static constexpr uint32_t kHandshakeSettleMs = 500;
    static constexpr uint32_t kDeviceInfoPollMs = 1000;
    static constexpr int32_t kDeviceInfoMaxPolls = 50;
    static constexpr uint32_t kHandshakeStepMs = 100;
    /** The goodbye's wait after command 3, before the link closes. */
    static constexpr uint32_t kGoodbyeWaitMs = 1000;
    /** How often the pulse reads the preset-dirty mark off the display. */
    static constexpr uint32_t kPresetDirtyCheckMs = 1000;
    /** The display pixels (column, rows) that are lit while the preset has unsaved changes. */
    static constexpr int32_t kDirtyMarkColumn = 185;
    static constexpr int32_t kDirtyMarkFirstRow = 2;
    static constexpr int32_t kDirtyMarkLastRow = 3;
    /** How far the meters fall (and the gain reductions rise) per pulse while the link is down. */
    static constexpr double kMeterDecayStep = 0.5;

    static constexpr const char* kNoConnectionStatus = "no connection...";
    static constexpr const char* kConnectingStatus = "connecting...";
    static constexpr const char* kQuittingStatus = "quitting QM-Seven...";
    static constexpr const char* kNoHardwareTitle = "USB Connection";
    static constexpr const char* kNoHardwareText = "The hardware was not found. Please check cabling.";
    static constexpr const char* kConnectTitle = "KRX 640 Connect...";
    static constexpr const char* kUploadDescription = "Dialogs\\uploadPresetdialog.txt";
    static constexpr const char* kQuitDescription = "Dialogs\\QuitDialog.txt";
    static constexpr const char* kLockedUnitText =
        "A locked out Unit has been connected.\n\n"
        "The unit's settings can be viewed, but changes will be ignored (except for mutes).\n"
        "Upload unit's data to GUI?";
    static constexpr const char* kSlavedUnitText =
        "A Slaved Unit has been connected.\n\n"
        "The unit's settings can not be viewed and even the changes will be ignored. \n\n"
        "To connect, enter Master mode in the device and restart the application. \n\n";
    static constexpr const char* kUnitConnectedText =
        "A Unit has been connected.\n\nChoose which direction to synchronize data.";
    static constexpr const char* kFirmwareTitle = "New Firmware Available";
    static constexpr const char* kFirmwareText =
        "The firmware running on your unit is not up to date.\nWould you like to update it now?";
    static constexpr const char* kFirmwareErrorTitle = "Error during Firmware Update:";
    static constexpr const char* kFirmwareErrorAdvice =
        "Please power-cycle and reconnect firmware, then relaunch this application";
    /** The advice appended to an update's error text is cut to this many characters. */
    static constexpr int32_t kFirmwareErrorAdviceMax = 128;

    /** After a configuration change, the unit is read again this long after it was told. */
    static constexpr uint32_t kConfigurationRereadDelayMs = 1500;

    static constexpr const char* kConfigChangeTitle = "configuration change";
    static constexpr const char* kConfigChangeText =
        "This action will reset all settings with default values.\n"
        "Any unsaved changes will be lost.\n\nProceed?";
    static constexpr const char* kEditModeChangeTitle = "edit mode change";
    static constexpr const char* kEditModeChangeText =
        "Entering Standard-Edit mode will overwrite all linked inputs and outputs with the values"
        " of the first channel of the link pairs.\n\nProceed?";

    /** Makes the preset document and registers the application services. */
    QM7App();
    /** Unregisters the services, then lets go of the watcher, the document, the groups and the
        channel groups, in that order. */
    ~QM7App() override;

    /** The application object; null before it is made and after it is gone. */
    static QM7App* GetInstance();

    // Building ------------------------------------------------------------------------------------

    /** The start-up's parameter model, in order: the channel groups into the document (their
        twins outside it), the regions and the 80 preset placeholders, the application's tables, the
        preset group into the document, ToolbarAB as every channel's A/B switch, and one announcement
        of every parameter of the document. Once. */
    void BuildParameterModel();
    /** The application's tables into the main, preset, compare preset and slave groups, the main
        group into the preferences, the version text, and the application's watches. */
    void SetUpParameterTables();

    /** The skin folder "QM7", the program's style (current, and registered as "default"), then the
        main window: on the desktop as the key-focus window and the document's title view, its
        contents, the front panel's display picture as the display's, shown, and the editor windows
        with their show commands. Once; later calls return the window made first. GUI thread. */
    QM7MainWindow* BuildMainWindow();
    /** The main window while it exists; null before BuildMainWindow and after quit. */
    QM7MainWindow* GetQM7MainWindow();
    /** The menu commands, in this order: new, open, save, save as, store, recall, erase the user
        presets, save all user presets, and the seven firmware commands; the firmware commands keep
        their own context and have no key. Once. */
    void RegisterCommands();

    // Start-up, connection and quit ------------------------------------------------------------------

    /** The editor's start-up, in order: the GUI, the USB link (its supervision off meanwhile), the
        parameter model, the commands, the main window, the close hook, "no connection...", the
        speaker configuration announced, the connection and its device watcher, the connect
        hand-shake, supervision on, a clean document, channel linking on, and the "USB Connection"
        error when no unit was found. False only when the GUI could not start. */
    bool StartApp() override;
    /** Once per unit found: greets it, waits for its device info, asks the user which way to
        synchronise and does so. Blocks the main thread through its waits and dialogs. Nothing
        when it is done already. */
    void ConnectHandshake();
    /** A new hand-shake ("connecting...") when the link has a unit. */
    void Reconnect();
    /** The clean-up after the link went: presets, display, watcher, usbActive and rs232Active. */
    void OnConnectionLost();
    /** Every output's crossover delay back to its default. */
    void ResetCrossoverDelays();
    /** Watches the link: a new hand-shake when it comes back, the clean-up once when it goes, the
        firmware update offer, the preset-dirty mark once a second; then XGuiApp's pulse. */
    bool Pulse() override;
    /** One step of the meters' fall while the link is down. */
    void DecayMeters();
    /** The display shows the mark of unsaved preset changes. */
    bool IsPresetDirty() const;
    /** "Quit KRX-640 Editor?"; on Yes the goodbye to the unit and the link closed. */
    bool QuitRequested() override;
    /** The goodbye (unless the link is closed already), the link's threads ended, then XGuiApp's. */
    void Quit() override;
    /** Routes the quit request 10000005 through QuitRequested. */
    void InstallCloseHook();
    bool IsHandshakeDone() const { return handshakeDone; }
    /** The connection to the unit (null before the start-up makes it). */
    TWRPCUSBConnection* GetConnection() const { return connection.get(); }

    // Accessors -----------------------------------------------------------------------------------

    /** The parameter of that id in its group; never null: an id the group lacks is logged and
        answered with a detached parameter, reset to its default (0) at each hand-out. */
    XParam* GetParam(int32_t id) override;
    XParam* GetPresetParam(int32_t id) override;
    XParam* GetComparePresetParam(int32_t id);
    XParam* GetSlaveParam(int32_t id) override;
    XParamGroup* GetMainGroup() { return &mainGroup; }
    /** The preset group and its compare twin; null until the tables are loaded. */
    XParamGroup* GetPresetGroup() override { return tablesLoaded ? &presetGroup : nullptr; }
    XParamGroup* GetComparePresetGroup() override { return tablesLoaded ? &comparePresetGroup : nullptr; }
    IAppDocument* GetPresetDocument() override;
    XParamGroup* GetSlaveGroup() { return &slaveGroup; }
    XParamDoc* GetParamDoc() const { return document.get(); }
    /** preset\CurrentConfig as an integer; kDefaultConfiguration when it is missing. */
    int32_t GetCurrentConfig() const;
    /** The parameter at "Output<output>\<name>" (outputs counted from 1); null when there is none. */
    static XParam* FindOutputParam(int32_t output, const char* name);
    /** The 192 x 38 picture of the unit's display, owned by the application; views borrow it. */
    XImage* GetDisplayImage() const;
    FrontPanelDisplay& GetDisplay() const { return *display; }
    /** The view that shows the display image, repainted when new display data has come (null:
        none). Not owned; a view that goes is forgotten. */
    void SetDisplayPicture(XView* picture);
    /** The view every dialog of the application takes as its parent: the main window. */
    XView* GetParentView();
    /** The editor windows, each made on first request. */
    SubWindowRegistry& GetWindows() { return *windows; }

    /** Takes the device watcher, attaches it to the application's looper and makes the jobs' link
        and the send-all job over it. Null lets go of the current one. */
    void SetDeviceWatcher(std::unique_ptr<DeviceCommWatcher> watcher);
    DeviceCommWatcher* GetDeviceWatcher() const { return deviceWatcher.get(); }
    /** The device jobs' way to the unit (null without a watcher). */
    DeviceJobLink* GetDeviceJobLink() const { return jobLink.get(); }
    /** The send-all of every parameter to the unit over that link (null without a watcher). */
    SendAllParamsJob* GetSendAllJob() const { return sendAllJob.get(); }
    /** True when a watcher exists and its connection reports a unit. */
    bool IsUnitConnected() const;
    /** The firmware update's host over the current watcher. */
    AppFirmwareUpdateHost& GetFirmwareUpdateHost() const { return *updateHost; }
    /** The firmware commands; null until RegisterCommands. */
    FirmwareCommandSet* GetFirmwareCommands() const { return firmwareCommands.get(); }

    // JUCE and XApplication -----------------------------------------------------------------------

    bool moreThanOneInstanceAllowed() override { return false; }
    /** The widget and list view types, then XGuiApp's core start (which builds the view factory). */
    void InitCore() override;
    /** The application's messages (see the source), then XGuiApp's. */
    void MessageReceived(XMessage& message) override;
    /** The reactions to the watched parameters' value notices. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    XString GetVendorName() override;
    XString GetAuxText() override;
    /** "1.4.0", by value: any thread may ask. */
    XString GetVersionString() override;
    IAppDocument* GetDocument() override;
    IAppDocument* GetDocumentFor(const char* type) override;
    XString GetDefaultDocType() override;

    // Application services --------------------------------------------------------------------------

    /** QM7\Status := GetStatusPrefix() + text, every ':' as '|'. Any thread: the status bar repaints
        on the GUI thread. */
    void SetStatusText(const XString& text) override;
    /** "Software Rev| <version>", twenty blanks, "Status| ". */
    XString GetStatusPrefix();
    /** Any thread: the change is handed to the GUI thread; the button is never touched here. */
    void ShowCompareButton() override;
    void HideCompareButton() override;
    /** Into the display's bitmap; shown at the next display update ('lcdu'). Any thread. */
    void DrawDisplayColumn(int32_t row, int32_t x, int32_t bits) override;
    /** Each compare input and output copies itself to or from its live group, then the preset group
        and its compare twin, flags included (copies into live groups do not notify); ends by clearing
        CheckSendGetAllIsFromRecall. */
    void SyncCompareGroups(bool toLive) override;
    /** With channel linking off for the time: input B, input A, then outputs 6..1 back to their
        defaults, their A/B settings too, every parameter without flag bits 0x80 and 0x40. */
    void ResetChannelsToDefaults() override;
    void SetChannelLinking(bool on) override;
    /** Makes the window of that window-open parameter when it is to be shown, then shows it unless
        it is shown, or hides it unless it is hidden: the window writes the parameter back, which
        ends here. Ids outside 70..79 and windows not built yet do nothing. */
    void ShowWindowForParam(int32_t paramId, bool show) override;
    void RefreshDelayWindows() override;
    void RefreshFrontPanelWindow() override;
    void RepaintFrontPanelParam(XParam* param) override;
    void OnCurrentPresetChanged(int32_t presetNumber) override;
    /** True at once unless the user's own control changed the mode, or in the free configuration;
        else the user's answer to "edit mode change". */
    bool ConfirmEditModeChange() override;
    /** True at once unless the user's own control changed the configuration; else the user's answer
        to "configuration change". */
    bool ConfirmConfigurationChange() override;
    /** The compare button's switch (ToggleListenMode). */
    void SwitchListenMode() override;
    /** Sends the other listen mode to the unit while the local value stays, then waits in the
        listen-mode job until the unit reports the switch; the compare button then shows the local
        value again. GUI thread; runs a modal progress window. */
    void ToggleListenMode();
    /** The compare button's click: posts kMsgToggleListenMode, so the switch runs after the click. */
    void OnCompareButtonClicked();
    void EnableParamSending(bool on) override;
    void SendAllParamsIfConnected() override;

    // Reactions -------------------------------------------------------------------------------------

    /** Every graphic-equaliser band takes its input's bypass flags; the masks follow. */
    void SyncGeqBypassFlags();
    /** The speaker configuration changed to config: nothing while the document loads or saves;
        otherwise the default set-up (unless live and compare are being swapped), the edit mode, and
        the unit told and read again. */
    void OnConfigurationChanged(double config);
    /** The default set-up of the outputs for config (0..6; others change nothing). */
    void ApplyConfiguration(double config);
    /** The six output labels: the configuration's for a user preset, the factory preset's own for
        presets above 20; the document is clean afterwards. */
    void ApplyOutputLabels();
    /** Only after the user chose standard edit on the configuration window: input B copies input A,
        every output gets the configuration's source, and each output is copied to its later link
        partner, with 'LEDk' posted after each copy. */
    void ApplyStandardEditLinks() override;
    /** While the unit reports unsaved changes and the running receive-all was not a recall's: live
        and compare values trade places for every channel and the preset group; live parameters
        that differ get flag 0x400 and are announced. */
    void SwapLiveAndCompare();
    /** Shows the display data received since the last update. */
    void RepaintDisplay();

    bool IsGlobalDirty();
    bool IsChannelLinkingEnabled() const;
    bool IsSyncing() const { return syncing; }
    /** The configuration window's marks of a change made by the user's own control. */
    void SetUserConfigChange(bool on) override { userConfigChange = on; }
    bool IsUserConfigChange() const { return userConfigChange; }
    void SetUserEditModeChange(bool on) override { userEditModeChange = on; }
    bool IsUserEditModeChange() const { return userEditModeChange; }

protected:
    // Where the main window, the commands and the editor windows plug in; empty here.

    /** Messages 71..79: show the window of that window parameter (made on first use); for 73 and 74
        channel (0 input A, 1 input B) first selects the input. */
    virtual void ShowEditorWindow(int32_t windowParamId, int32_t channel);
    /** 'cLED': the configuration window shows the configuration's LEDs. */
    virtual void ShowConfigLeds(int32_t config);
    /** 'LEDk': the configuration window copies the LEDs of linked outputs. */
    virtual void CopyLinkedConfigLeds();
    /** 'pInf' ("presetNum", "presetConfig", "presetName"): the presets window takes a preset's info. */
    virtual void TakePresetInfo(XMessage& message);
    /** 'prfg' ("presetNum", "presetFlags"): the front-panel access and presets windows take its flags. */
    virtual void TakePresetFlags(XMessage& message);
    /** 'stor': the presets window asks the unit for that preset again. */
    virtual void RequestPresetInfo(int32_t presetNumber);
    /** After all values came back from a recall that stored first: the recall command goes on. */
    virtual void RunRecallAfterStore();
    /** The presets list: keep refreshes it as it is, else every entry becomes a placeholder. */
    virtual void ClearPresetList(bool keep);

private:
    /** Messages the application posts to itself. */
    static constexpr uint32_t kMsgRunSlaveWait = FourCharCode("msWt");
    static constexpr uint32_t kMsgRereadConfiguration = FourCharCode("cfRd");
    /** Parameters changed off the main thread: the front-panel access window repaints its rows. */
    static constexpr uint32_t kMsgRepaintFrontPanel = FourCharCode("fpRp");
    /** Shows or hides the window of the window parameter "paramId" as its value now says. */
    static constexpr uint32_t kMsgSyncWindow = FourCharCode("wSyn");
    static constexpr const char* kWindowParamItem = "paramId";

    /** The detached stand-in of an id its group lacks, logged and reset to its default. */
    XParam* MissingParam(GroupKind kind, int32_t id);
    /** The parameter of id in group, else MissingParam. */
    XParam* ParamOf(const XParamGroup& group, GroupKind kind, int32_t id);
    void WatchParameters();
    void OnMasterSlaveChanged();
    /** Runs the slave-mode progress window while the unit is slaved; from kMsgRunSlaveWait. */
    void RunSlaveWait();
    void OnListenModeChanged(XParam* listenMode);
    /** The default set-up's value writes for every output of config. */
    void ApplyOutputSetups(int32_t config);
    /** Every parameter of input A copied to input B as a user change. */
    void CopyInputAToB();
    /** Output from copied to output to: every parameter of id 2..51 but linkedChannel and outputMute. */
    void CopyLinkedOutput(int32_t from, int32_t to);
    /** The unit is asked for every value after kConfigurationRereadDelayMs; from
        kMsgRereadConfiguration. */
    void RereadConfiguration();
    /** The connect dialog of the unit's mode: 1 take the unit's data, 3 send the editor's, 2 quit,
        0 nothing. */
    int32_t AskSyncDirection(uint8_t unitMode);
    /** Takes the unit's data (1) or sends the editor's (3) after the maps are built. */
    void Synchronise(int32_t direction);
    /** The firmware update offer of the pulse, with link supervision off around it. */
    void OfferFirmwareUpdate();
    /** Command 3 and a second's wait when the link is open, then the link closed and its threads
        ended, so that none outlives the application. */
    void SayGoodbye();
    void CloseLink();
    static void OnCloseRequest(void* app, XMessage& message);

    // The groups come first, so that everything that watches them goes before them.
    XParamGroup mainGroup;
    XParamGroup presetGroup;
    XParamGroup slaveGroup;
    XParamGroup comparePresetGroup;
    std::unique_ptr<ChannelGroupSet> channels;
    std::unique_ptr<StringParam> versionParam; // global\VersionStr
    std::unique_ptr<XParamDoc> document;
    std::unique_ptr<QM7Style> style; // current while the windows exist
    std::unique_ptr<FrontPanelDisplay> display;
    juce::Component::SafePointer<XView> displayPicture;
    std::unique_ptr<TWRPCUSBConnection> connection; // outlives the watcher, which uses it
    std::unique_ptr<DeviceCommWatcher> deviceWatcher;
    std::unique_ptr<DeviceJobLink> jobLink;
    std::unique_ptr<SendAllParamsJob> sendAllJob;
    std::unique_ptr<AppFirmwareUpdateHost> updateHost;
    std::unique_ptr<FirmwareCommandSet> firmwareCommands; // use updateHost
    GeqBypassFlags geqBypassFlags;
    std::unique_ptr<SubWindowRegistry> windows; // deleted first: the windows watch everything above

    bool modelBuilt = false;
    bool commandsRegistered = false;
    bool tablesLoaded = false;
    bool userConfigChange = false;
    bool userEditModeChange = false;
    /** True while live and compare values trade places. */
    bool syncing = false;
    /** True while the slave-mode progress window runs. */
    bool slaveWaitRunning = false;
    /** True while the listen-mode job runs. */
    bool listenModeSwitching = false;

    // The connection's life: the main thread only.
    bool handshakeDone = false;
    bool pulseGuard = false;
    bool linkLost = false;
    /** The firmware is checked once the device info is in. */
    bool deviceCheckPending = true;
    bool dirtyCheckStarted = false;
    uint32_t lastDirtyCheck = 0;
    bool closeHookInstalled = false;
    /** A kMsgRepaintFrontPanel waits: later changes need no message of their own. */
    std::atomic<bool> frontPanelRepaintPosted{false};
};
