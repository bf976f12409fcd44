#include "app/QM7App.h"

#include "app/AppFirmwareUpdateHost.h"
#include "app/ChannelGroupSet.h"
#include "app/FactoryOutputLabels.h"
#include "app/FirmwareUpdateDialog.h"
#include "app/FrontPanelDisplay.h"
#include "app/QM7MainWindow.h"
#include "app/QM7Panel.h"
#include "app/QM7RecallCmd.h"
#include "app/QM7SaveAllUserPresetCmd.h"
#include "app/QM7StoreCmd.h"
#include "app/SpeakerConfigurations.h"
#include "app/UploadPresetDialog.h"
#include "core/FloatParam.h"
#include "core/Log.h"
#include "core/ParamEdits.h"
#include "core/ParamGroupRegistry.h"
#include "core/ParamRegistry.h"
#include "core/StringParam.h"
#include "core/ThreadServices.h"
#include "core/XCommand.h"
#include "core/XCommandManager.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"
#include "device/ChannelTwinCopy.h"
#include "device/CompareChannelInput.h"
#include "device/CompareChannelOutput.h"
#include "device/DeviceCommWatcher.h"
#include "device/DeviceJobLink.h"
#include "device/FirmwareCommands.h"
#include "device/FlashEngine.h"
#include "device/GlobalParamTables.h"
#include "device/IDeviceRequests.h"
#include "device/ListenModeMananger.h"
#include "device/MasterSlaveGuiThread.h"
#include "device/PresetsManager.h"
#include "device/RegionsManager.h"
#include "device/SendAllParamsJob.h"
#include "device/TWRPCUSBConnection.h"
#include "device/UsbLinkManager.h"
#include "device/WireId.h"
#include "device/XParamDoc.h"
#include "device/ui/DeviceJobWindow.h"
#include "device/ui/FirmwareUpdateWindow.h"
#include "device/ui/PresetReceiveThread.h"
#include "files/FileDialogChooser.h"
#include "files/FileViewTypes.h"
#include "files/XVolumeManager.h"
#include "gui/NewDocumentCmd.h"
#include "gui/OpenDocumentCmd.h"
#include "gui/SaveDocumentAsCmd.h"
#include "gui/SaveDocumentCmd.h"
#include "gui/XButton.h"
#include "gui/XDocumentCmd.h"
#include "gui/XErrorDialog.h"
#include "gui/XImage.h"
#include "gui/XOKCancelDialog.h"
#include "gui/XPict.h"
#include "gui/XResourceManager.h"
#include "gui/XView.h"
#include "platform/PlatformClock.h"
#include "widgets/QM7Style.h"
#include "widgets/WidgetViewTypes.h"
#include "windows/ChannelDelayWindow.h"
#include "windows/ConfigWindow.h"
#include "windows/EditorWindows.h"
#include "windows/FrontPanelWindow.h"
#include "windows/InputDelayWindow.h"
#include "windows/InputPEQWindow.h"
#include "windows/MasterGraphicEqWindow.h"
#include "windows/PresetsWindow.h"
#include "windows/SubWindow.h"
#include "windows/SubWindowRegistry.h"

#include <algorithm>
#include <mutex>
#include <string>

namespace
{
std::atomic<QM7App*> currentApp{nullptr};

constexpr const char* kVersionFormat = "%d.%d.%d";
constexpr const char* kVersionParamName = "VersionStr";
constexpr const char* kPresetGroupName = "preset";
constexpr const char* kComparePresetGroupName = "presetComapreMode";
constexpr const char* kSlaveGroupName = "slave";
constexpr const char* kTempPath = "global\\Temp";
constexpr const char* kTempFahrenheitPath = "QM7\\TempFarenheit";
constexpr const char* kTempCelsiusPath = "QM7\\TempCelcuis";
constexpr const char* kYes = "Yes";
constexpr const char* kNo = "No";
constexpr const char* kOk = "Ok";
constexpr const char* kQuit = "Quit";
constexpr const char* kGlobalDirtyPath = "global\\GlobalDirty";

/** Ids of the channels' parameters the connection's life touches. */
constexpr int32_t kInputMeterId = ChannelParamTables::kInputMeterId;
constexpr int32_t kOutputMeterId = ChannelParamTables::kOutputMeterId;
constexpr int32_t kXoverDelayTimeId = ChannelParamTables::kCrossoverDelayId;
constexpr int32_t kGainReductionId = ChannelParamTables::kGainReductionId;

/** Answers of the connect dialogs: which way the data goes. */
constexpr int32_t kSyncNothing = 0;
constexpr int32_t kSyncFromUnit = 1;
constexpr int32_t kSyncQuit = 2;
constexpr int32_t kSyncToUnit = 3;

constexpr const char* kLabelName = "label";
/** Every output starts the set-up muted by its gain. */
constexpr double kSetUpOutputGain = -100.0;
/** The ids of an output that a standard-edit link copies to its partner (all but linkedChannel and
    outputMute). */
constexpr int32_t kLinkedCopyFirstId = ChannelParamTables::kHipassTypeId;
constexpr int32_t kLinkedCopyLastId = ChannelParamTables::kOutputWireIdLast;

/** Flag bits of a live parameter: its value differs from its compare copy; the unit's two bits. */
constexpr int32_t kCompareDiffersFlag = 0x400;
constexpr int32_t kDeviceFlags = XParamDesc::kFlagDevice4 | XParamDesc::kFlagDevice8;

bool IsValueCode(int32_t code)
{
    const auto what = static_cast<uint32_t>(code);
    return what == XMsgCode::kParamValueSet || what == XMsgCode::kParamChangedByUser;
}

bool IsText(const XParam* param)
{
    return param->GetValueKind() == XParam::kKindText;
}

/** Live and compare values of two groups trade places pair by pair (text parameters skipped); a live
    parameter whose value differed gets kCompareDiffersFlag and is announced, one that matched loses
    it. The live side's change tracking is off meanwhile, so nothing counts as a change for the unit. */
void SwapGroupValues(XParamGroup* live, XParamGroup* compare)
{
    if (live == nullptr || compare == nullptr)
        return;
    const int32_t count = std::min(live->CountParams(), compare->CountParams());
    for (int32_t index = 0; index < count; ++index)
    {
        XParam* liveParam = live->GetParamAt(index);
        XParam* compareParam = compare->GetParamAt(index);
        if (liveParam == nullptr || compareParam == nullptr || IsText(liveParam) || IsText(compareParam))
            continue;
        liveParam->SetChangeTracking(false);
        const double liveValue = liveParam->GetValue();
        const double compareValue = compareParam->GetValue();
        if (liveValue == compareValue)
        {
            liveParam->SetFlags(liveParam->GetFlags() & ~kCompareDiffersFlag);
        }
        else
        {
            liveParam->SetValue(compareValue, false);
            compareParam->SetValue(liveValue, false);
            liveParam->SetFlags(liveParam->GetFlags() | kCompareDiffersFlag);
        }
        liveParam->SetChangeTracking(true);
    }
    for (int32_t index = 0; index < live->CountParams(); ++index)
    {
        XParam* liveParam = live->GetParamAt(index);
        if (liveParam == nullptr || (liveParam->GetFlags() & kCompareDiffersFlag) == 0)
            continue;
        liveParam->SetChangeTracking(false);
        liveParam->Notify(XMsgCode::kParamValueSet);
        liveParam->SetChangeTracking(true);
    }
}

/** Every parameter of the group back to its default, its A/B settings too, without the unit's flags. */
void ResetGroup(XABGroup* group)
{
    if (group == nullptr)
        return;
    group->ResetToDefaults(XParamGroup::kResetFlag);
    group->ResetSnapshots();
    for (int32_t index = 0; index < group->CountParams(); ++index)
    {
        XParam* param = group->GetParamAt(index);
        param->SetFlags(param->GetFlags() & ~kDeviceFlags);
    }
}

void SetOutputValue(ChannelOutput* output, int32_t id, double value)
{
    if (XParam* param = output->GetParam(id))
        param->SetValue(value, true);
}
} // namespace

// Construction ----------------------------------------------------------------------------------

QM7App::QM7App()
    : XGuiApp(kAppName), display(std::make_unique<FrontPanelDisplay>()),
      updateHost(std::make_unique<AppFirmwareUpdateHost>(*this)),
      windows(std::make_unique<SubWindowRegistry>())
{
    EditorWindows::Register(*windows);
    document = std::make_unique<XParamDoc>();
    currentApp.store(this);
    SetAppServices(this);
}

QM7App::~QM7App()
{
    // The windows that quitting left go while everything they watch is still there.
    windows.reset();
    // The lower layers must not reach the application while its parts go.
    SetAppServices(nullptr);
    XParam::ForgetWatcher(this);
    if (sendAllJob != nullptr)
        sendAllJob->Stop();
    sendAllJob.reset();
    if (jobLink != nullptr)
        SetDeviceRequests(nullptr);
    jobLink.reset();
    firmwareCommands.reset();
    updateHost->SetWatcher(nullptr);
    deviceWatcher.reset();
    connection.reset();
    document.reset();
    versionParam.reset();
    channels.reset();
    QM7App* self = this;
    currentApp.compare_exchange_strong(self, nullptr);
}

QM7App* QM7App::GetInstance()
{
    return currentApp.load();
}

// Building --------------------------------------------------------------------------------------

void QM7App::BuildParameterModel()
{
    if (modelBuilt)
        return;
    modelBuilt = true;
    channels = std::make_unique<ChannelGroupSet>();
    channels->AddLiveGroupsTo(*document);
    RegionsManager::Instance().BuildRegions();
    PresetsManager::Instance().FillPlaceholders();
    SetUpParameterTables();
    document->AddGroup(&presetGroup);
    channels->SetSelector(dynamic_cast<FloatParam*>(mainGroup.GetParam(kToolbarABId)));
    document->NotifyAllParams();
}

void QM7App::SetUpParameterTables()
{
    if (tablesLoaded)
        return;
    tablesLoaded = true;
    mainGroup.AddParams(AppStateParamTable, GlobalParamTables::kAppStatePrefix);
    mainGroup.AddParams(UnitSettingsParamTable, GlobalParamTables::kUnitSettingsPrefix);
    mainGroup.AddParams(GlobalSettingsParamTable, GlobalParamTables::kGlobalSettingsPrefix);
    RegisterParamGroup(this, &mainGroup, "%s", GlobalParamTables::kAppStatePrefix);
    RegisterParamGroup(this, &mainGroup, "%s", GlobalParamTables::kGlobalSettingsPrefix);

    presetGroup.AddParams(PresetInfoParamTable, GlobalParamTables::kPresetInfoPrefix);
    presetGroup.SetName(kPresetGroupName);
    comparePresetGroup.AddParams(PresetInfoParamTable, GlobalParamTables::kComparePresetInfoPrefix);
    comparePresetGroup.SetName(kComparePresetGroupName);
    slaveGroup.AddParams(SlaveStatusParamTable, GlobalParamTables::kSlaveStatusPrefix);
    slaveGroup.SetName(kSlaveGroupName);

    XParamDesc versionDesc;
    versionDesc.Init();
    versionDesc.SetName(kVersionParamName);
    versionDesc.type = XParamDesc::kTypeText;
    versionDesc.flags = XParamDesc::kFlagTransient;
    versionParam = std::make_unique<StringParam>(versionDesc);
    versionParam->SetText(GetVersionString().CStr(), true);
    versionParam->SetPath("%s", kVersionParamPath);

    WatchParameters();
}

void QM7App::WatchParameters()
{
    if (XParam* config = presetGroup.GetParam(kCurrentConfigId))
        config->AddWatcher(this, kCurrentConfigKey, false);
    if (XParam* linking = mainGroup.GetParam(kChannelLinkingId))
        linking->AddWatcher(this, kChannelLinkingKey, false);
    if (XParam* temp = FindParam("%s", kTempPath))
    {
        for (const char* path : {kTempFahrenheitPath, kTempCelsiusPath})
            if (XParam* view = FindParam("%s", path))
                temp->AddWatcher(view, 0, true);
    }
    if (XParam* listenMode = mainGroup.GetParam(kListenModeId))
        listenMode->AddWatcher(this, kListenModeKey, true);
    for (int32_t id = EditorWindows::kFirstWindowParamId; id <= EditorWindows::kLastWindowParamId; ++id)
        if (XParam* windowParam = mainGroup.GetParam(id))
            windowParam->AddWatcher(this, kWindowParamKey, false);
    for (int32_t id : {kMasterSlaveModeId, kRS232OrContactsId})
        if (XParam* param = mainGroup.GetParam(id))
            param->AddWatcher(this, kMasterSlaveKey, false);
    for (int32_t input = 0; input < GeqBypassFlags::kInputCount; ++input)
    {
        ChannelInput* group = GetInputChannel(input);
        if (group == nullptr)
            continue;
        for (int32_t band = 0; band < GeqBypassFlags::kBandCount; ++band)
            if (XParam* bandParam = group->GetParam(ChannelParamTables::kGeqBypassFirstId + band))
                bandParam->AddWatcher(this, kGeqBandKeyFirst + GeqBypassFlags::kBandCount * input + band,
                                      false);
    }
}

void QM7App::RegisterCommands()
{
    if (commandsRegistered)
        return;
    commandsRegistered = true;
    const XString docType(kDocType);
    AddCommand("NewDocumentCmd", kFileCommandGroup, new NewDocumentCmd(docType, "New..."), "Ctrl+N");
    AddCommand("OpenDocumentCmd", kFileCommandGroup, new OpenDocumentCmd(docType, "Open..."), "Ctrl+O");
    AddCommand("SaveDocumentCmd", kFileCommandGroup, new SaveDocumentCmd(docType, "Save"), "Ctrl+S");
    AddCommand("SaveDocumentAsCmd", kFileCommandGroup, new SaveDocumentAsCmd(docType, "Save As..."),
               "Ctrl+Shift+S");
    AddCommand(QM7StoreCmd::kName, kFileCommandGroup, new QM7StoreCmd(), "Ctrl+T");
    AddCommand(QM7RecallCmd::kName, kFileCommandGroup, new QM7RecallCmd(), "Ctrl+R");

    // The firmware commands belong to their set, which registers each as RegisterAll does; they are
    // registered one by one to keep the menu order.
    firmwareCommands = std::make_unique<FirmwareCommandSet>(*updateHost, FlashEngine::Instance(),
                                                            UsbLinkManager::Instance());
    const auto registerFirmwareCommand = [this](const char* name)
    {
        if (XCommand* command = firmwareCommands->Find(name))
            command->Register(command->GetName(), FirmwareCommandSet::kContext, "");
    };
    registerFirmwareCommand(FirmwareCommandSet::kEraseUserPresets);
    AddCommand(QM7SaveAllUserPresetCmd::kName, kFileCommandGroup,
               new QM7SaveAllUserPresetCmd(QM7SaveAllUserPresetCmd::DefaultFolder()), "");
    for (const char* name : {FirmwareCommandSet::kEnterBootloader, FirmwareCommandSet::kExitBootloader,
                             FirmwareCommandSet::kEraseFlash, FirmwareCommandSet::kUploadDsp,
                             FirmwareCommandSet::kUploadFactoryPresets,
                             FirmwareCommandSet::kUploadAmplifierTable, FirmwareCommandSet::kUploadAtmel})
        registerFirmwareCommand(name);
}

// Accessors -------------------------------------------------------------------------------------

XParam* QM7App::MissingParam(GroupKind kind, int32_t id)
{
    LogPrintf("QM7App: no parameter of id %d in group %d", id, static_cast<int>(kind));
    XParam* standIn = DetachedParam(kind, id);
    standIn->ResetToDefault();
    return standIn;
}

XParam* QM7App::ParamOf(const XParamGroup& group, GroupKind kind, int32_t id)
{
    XParam* param = group.GetParam(id);
    return param != nullptr ? param : MissingParam(kind, id);
}

XParam* QM7App::GetParam(int32_t id)
{
    return ParamOf(mainGroup, GroupKind::Main, id);
}

XParam* QM7App::GetPresetParam(int32_t id)
{
    return ParamOf(presetGroup, GroupKind::Preset, id);
}

XParam* QM7App::GetComparePresetParam(int32_t id)
{
    return ParamOf(comparePresetGroup, GroupKind::ComparePreset, id);
}

XParam* QM7App::GetSlaveParam(int32_t id)
{
    return ParamOf(slaveGroup, GroupKind::Slave, id);
}

int32_t QM7App::GetCurrentConfig() const
{
    const XParam* config = presetGroup.GetParam(kCurrentConfigId);
    return config != nullptr ? ParamEdits::TruncToInt(config->GetValue()) : kDefaultConfiguration;
}

XParam* QM7App::FindOutputParam(int32_t output, const char* name)
{
    return FindParam("Output%d\\%s", output, name != nullptr ? name : "");
}

XImage* QM7App::GetDisplayImage() const
{
    return display->GetImage();
}

void QM7App::SetDisplayPicture(XView* picture)
{
    displayPicture = picture;
}

XView* QM7App::GetParentView()
{
    return GetMainWindow();
}

void QM7App::SetDeviceWatcher(std::unique_ptr<DeviceCommWatcher> watcher)
{
    if (sendAllJob != nullptr)
        sendAllJob->Stop();
    sendAllJob.reset();
    if (jobLink != nullptr)
        SetDeviceRequests(nullptr);
    jobLink.reset();
    updateHost->SetWatcher(watcher.get());
    deviceWatcher = std::move(watcher);
    if (deviceWatcher == nullptr)
        return;
    AddHandler(deviceWatcher.get());
    jobLink = std::make_unique<DeviceJobLink>(deviceWatcher.get());
    SetDeviceRequests(jobLink.get());
    sendAllJob = std::make_unique<SendAllParamsJob>(jobLink.get());
}

bool QM7App::IsUnitConnected() const
{
    TWRPCUSBConnection* connection = deviceWatcher != nullptr ? deviceWatcher->GetConnection() : nullptr;
    return connection != nullptr && connection->IsConnected();
}

// JUCE and XApplication -------------------------------------------------------------------------

void QM7App::InitCore()
{
    // The widget and list layers give the view factory their creators before it is built.
    static std::once_flag viewTypesInstalled;
    std::call_once(viewTypesInstalled,
                   []
                   {
                       WidgetViewTypes::Install();
                       FileViewTypes::Install();
                   });
    XGuiApp::InitCore();
    SetVolumeUpdater(&XVolumeManager::GetInstance());
    XDocumentCmd::SetFileChooser(&FileDialogChooser::Instance());
}

XString QM7App::GetVendorName()
{
    return kVendorName;
}

XString QM7App::GetAuxText()
{
    return XString();
}

XString QM7App::GetVersionString()
{
    XString version;
    version.Format(kVersionFormat, kVersionMajor, kVersionMinor, kVersionPatch);
    return version;
}

IAppDocument* QM7App::GetDocument()
{
    return document.get();
}

IAppDocument* QM7App::GetPresetDocument()
{
    return document.get();
}

IAppDocument* QM7App::GetDocumentFor(const char* /*type*/)
{
    return document.get();
}

XString QM7App::GetDefaultDocType()
{
    return kDocType;
}

// Messages --------------------------------------------------------------------------------------

// One case per message the application handles, each a call or two, so that the whole dispatch reads
// at a glance; that is why it runs long.
void QM7App::MessageReceived(XMessage& message)
{
    const uint32_t what = message.GetWhat();
    switch (what)
    {
    case kMsgLinkedConfigLeds:
        CopyLinkedConfigLeds();
        break;
    case kMsgConfigLeds:
    {
        int32_t config = 0;
        message.FindInt32("config", config);
        ShowConfigLeds(config);
        break;
    }
    case kMsgRecallPrepare:
        if (XCommand* recall = FindCommandByName(kRecallCommandName))
            recall->Prepare(&message);
        break;
    case DeviceCommWatcher::kMsgAllValuesReceived:
        SyncGeqBypassFlags();
        RefreshFrontPanelWindow();
        ApplyOutputLabels();
        if (IsUnitConnected() && deviceWatcher->IsRecallAfterStore())
            RunRecallAfterStore();
        break;
    case DeviceCommWatcher::kMsgDisplayUpdated:
        RepaintDisplay();
        break;
    case DeviceCommWatcher::kMsgPresetInfo:
        TakePresetInfo(message);
        break;
    case DeviceCommWatcher::kMsgPresetFlags:
        TakePresetFlags(message);
        break;
    case DeviceCommWatcher::kMsgPresetStored:
    {
        int32_t presetNumber = 0;
        if (message.FindInt32("presetNum", presetNumber) == 0)
            RequestPresetInfo(presetNumber);
        break;
    }
    case kMsgSyncCompare:
        SyncCompareGroups(false);
        break;
    case kMsgRunSlaveWait:
        RunSlaveWait();
        break;
    case kMsgRereadConfiguration:
        RereadConfiguration();
        break;
    case kMsgShowCompareButton:
    case kMsgHideCompareButton:
        if (QM7MainWindow* window = GetQM7MainWindow();
            window != nullptr && window->GetCompareButton() != nullptr)
        {
            if (what == kMsgShowCompareButton)
                window->GetCompareButton()->Show();
            else
                window->GetCompareButton()->Hide();
        }
        break;
    case kMsgToggleListenMode:
        ToggleListenMode();
        break;
    case kMsgRepaintFrontPanel:
        frontPanelRepaintPosted.store(false);
        if (auto* window = windows->Find<FrontPanelWindow>(EditorWindows::kFrontPanelAccess))
            window->RepaintParameterRows();
        break;
    case kMsgSyncWindow:
    {
        // The parameter's value now, not at the time of posting: of several quick changes the last
        // one wins, and the window's own write-back finds the window as asked.
        int32_t paramId = 0;
        if (message.FindInt32(kWindowParamItem, paramId) == 0)
            if (XParam* windowParam = GetParam(paramId))
                ShowWindowForParam(paramId, windowParam->GetValue() > 0.0);
        break;
    }
    default:
        if (what >= kMsgShowWindowFirst && what <= kMsgShowWindowLast)
        {
            int32_t channel = 0;
            message.FindInt32("channel", channel);
            ShowEditorWindow(static_cast<int32_t>(what), channel);
        }
        break;
    }
    XGuiApp::MessageReceived(message);
}

// Parameter changes -----------------------------------------------------------------------------

void QM7App::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    XGuiApp::ParamChanged(code, param, key);
    if (!IsValueCode(code) || param == nullptr)
        return;
    const int32_t geqKey = key - kGeqBandKeyFirst;
    if (geqKey >= 0 && geqKey < GeqBypassFlags::kInputCount * GeqBypassFlags::kBandCount)
    {
        geqBypassFlags.BandChanged(geqKey / GeqBypassFlags::kBandCount, geqKey % GeqBypassFlags::kBandCount,
                                   param);
        return;
    }
    switch (key)
    {
    case kMasterSlaveKey:
        OnMasterSlaveChanged();
        break;
    case kListenModeKey:
        OnListenModeChanged(param);
        break;
    case kCurrentConfigKey:
        OnConfigurationChanged(param->GetValue());
        break;
    case kWindowParamKey:
    {
        // Shown from a message, not inside this notification: the notification holds the
        // parameters' lock, and building and showing a window take the looper's and the regions'
        // locks, which other threads hold while they take the parameters' lock.
        XMessage message(kMsgSyncWindow, 0);
        message.AddInt32(kWindowParamItem, param->GetId());
        PostMessage(&message);
        break;
    }
    default:
        break;
    }
}

void QM7App::OnMasterSlaveChanged()
{
    // The progress window waits for the unit, which must be free to change the parameters meanwhile:
    // it runs from a message, outside this notification.
    if (!slaveWaitRunning && IsUnitConnected() && GetParam(kMasterSlaveModeId)->GetValue() == 1.0 &&
        GetParam(kRS232OrContactsId)->GetValue() == 1.0)
        PostCode(kMsgRunSlaveWait);
}

void QM7App::RunSlaveWait()
{
    XParam* masterSlave = GetParam(kMasterSlaveModeId);
    XParam* contacts = GetParam(kRS232OrContactsId);
    if (slaveWaitRunning || !IsUnitConnected() || masterSlave->GetValue() != 1.0 ||
        contacts->GetValue() != 1.0)
        return;
    slaveWaitRunning = true;
    MasterSlaveGuiThread job(jobLink.get());
    masterSlave->AddWatcher(&job, MasterSlaveGuiThread::kWatchKey, false);
    contacts->AddWatcher(&job, MasterSlaveGuiThread::kWatchKey, false);
    DeviceJobWindow::RunJob(job);
    masterSlave->RemoveWatcher(&job);
    contacts->RemoveWatcher(&job);
    slaveWaitRunning = false;
}

void QM7App::OnListenModeChanged(XParam* listenMode)
{
    if (GetParam(kConfirmChangeListenModeId)->GetValue() == 1.0)
        SwapLiveAndCompare();
    GetParam(kCompareEditDisplayButtonId)->SetValue(listenMode->GetValue(), true);
}

// Configuration ---------------------------------------------------------------------------------

void QM7App::OnConfigurationChanged(double config)
{
    if (document->IsBusy())
        return;
    if (IsStartupComplete())
        RefreshDelayWindows();
    if (!syncing)
        ApplyConfiguration(config);

    const int32_t configuration = ParamEdits::TruncToInt(config);
    XParam* editMode = GetParam(kGlobalEditModeId);
    const int editModeWireId = EncodeWireId(WireIdSpace::kMain, 0, kGlobalEditModeId);
    if (configuration != SpeakerConfigurations::kFreeConfiguration)
    {
        editMode->SetValue(0.0, true);
        if (deviceWatcher != nullptr && !syncing)
            deviceWatcher->SendParamValue(editMode, editModeWireId);
    }
    // While the watcher receives everything (its maps built, its sending off), the unit already has
    // the configuration.
    if (deviceWatcher != nullptr && !(deviceWatcher->AreMapsBuilt() && !deviceWatcher->IsSendingEnabled()))
    {
        if (!syncing)
            deviceWatcher->SendParamValue(GetPresetParam(kCurrentConfigId),
                                          EncodeWireId(WireIdSpace::kPreset, 0, kCurrentConfigId));
        if (configuration == SpeakerConfigurations::kFreeConfiguration)
        {
            editMode->SetValue(1.0, true);
            deviceWatcher->SendParamValue(editMode, editModeWireId);
        }
        if (!syncing && IsUnitConnected())
            PostCode(kMsgRereadConfiguration);
    }
    userConfigChange = false;
}

void QM7App::RereadConfiguration()
{
    if (!IsUnitConnected())
        return;
    PlatformClock::Sleep(kConfigurationRereadDelayMs);
    if (IsUnitConnected())
        deviceWatcher->RequestAllParams();
}

void QM7App::ApplyConfiguration(double config)
{
    const int32_t configuration = ParamEdits::TruncToInt(config);
    if (SpeakerConfigurations::Find(configuration, 1) == nullptr)
        return;
    if (userConfigChange)
        ResetChannelsToDefaults();
    const bool linking = IsChannelLinkingEnabled();
    SetChannelLinking(false);
    ApplyOutputLabels();
    ApplyOutputSetups(configuration);
    if (channels != nullptr)
        for (XABGroup* group : channels->LiveGroups())
            group->CopyValuesToSnapshots();
    SetChannelLinking(linking);
}

void QM7App::ApplyOutputSetups(int32_t config)
{
    for (int32_t number = 1; number <= SpeakerConfigurations::kOutputCount; ++number)
    {
        ChannelOutput* output = GetOutputChannel(number - 1);
        const SpeakerConfigurations::Output* setup = SpeakerConfigurations::Find(config, number);
        if (output == nullptr || setup == nullptr)
            continue;
        SetOutputValue(output, ChannelParamTables::kOutputGainId, kSetUpOutputGain);
        SetOutputValue(output, ChannelParamTables::kFilterModeId, setup->filterMode);
        SetOutputValue(output, ChannelParamTables::kHipassTypeId, setup->hipassType);
        SetOutputValue(output, ChannelParamTables::kLopassTypeId, setup->lopassType);
        SetOutputValue(output, ChannelParamTables::kOutputSourceId, setup->source);
        SetOutputValue(output, ChannelParamTables::kHipassFreqId, setup->hipassFreq);
        SetOutputValue(output, ChannelParamTables::kLopassFreqId, setup->lopassFreq);
        SetOutputValue(output, ChannelParamTables::kLinkedChannelId, setup->linkedChannel);
        if (XParam* colour = presetGroup.GetParam(kColorChanFirstId + number - 1))
            colour->SetValue(setup->colour, true);
    }
}

void QM7App::ApplyOutputLabels()
{
    const int32_t preset = ParamEdits::TruncToInt(GetParam(kCurrentPresetId)->GetValue());
    const int32_t config = GetCurrentConfig();
    for (int32_t number = 1; number <= SpeakerConfigurations::kOutputCount; ++number)
    {
        const char* text = nullptr;
        if (preset <= kUserPresetCount)
        {
            const SpeakerConfigurations::Output* setup = SpeakerConfigurations::Find(config, number);
            text = setup != nullptr ? setup->label : nullptr;
        }
        else
        {
            text = FactoryOutputLabels::Find(preset, number);
        }
        XParam* label = FindOutputParam(number, kLabelName);
        if (text == nullptr || label == nullptr)
            continue;
        label->SetText(text, true);
        label->Notify(XMsgCode::kParamValueSet);
    }
    document->SetModified(false);
}

void QM7App::ResetChannelsToDefaults()
{
    const bool linking = IsChannelLinkingEnabled();
    SetChannelLinking(false);
    for (int32_t input = ChannelGroupSet::kInputCount - 1; input >= 0; --input)
        ResetGroup(GetInputChannel(input));
    for (int32_t output = ChannelGroupSet::kOutputCount - 1; output >= 0; --output)
        ResetGroup(GetOutputChannel(output));
    SetChannelLinking(linking);
    RefreshFrontPanelWindow();
}

void QM7App::ApplyStandardEditLinks()
{
    if (!userEditModeChange)
        return;
    userEditModeChange = false;
    CopyInputAToB();
    const int32_t config = GetCurrentConfig();
    for (int32_t number = 1; number <= SpeakerConfigurations::kOutputCount; ++number)
    {
        ChannelOutput* output = GetOutputChannel(number - 1);
        const SpeakerConfigurations::Output* setup = SpeakerConfigurations::Find(config, number);
        if (output != nullptr && setup != nullptr)
            SetOutputValue(output, ChannelParamTables::kOutputSourceId, setup->source);
    }
    for (int32_t number = 1; number <= SpeakerConfigurations::kOutputCount; ++number)
    {
        XParam* linked = FindOutputParam(number, "linkedChannel");
        const int32_t partner = linked != nullptr ? ParamEdits::TruncToInt(linked->GetValue()) : 0;
        if (partner <= number || partner > SpeakerConfigurations::kOutputCount)
            continue;
        CopyLinkedOutput(number, partner);
        PostCode(kMsgLinkedConfigLeds);
    }
}

void QM7App::CopyInputAToB()
{
    ChannelInput* from = GetInputChannel(0);
    ChannelInput* to = GetInputChannel(1);
    if (from == nullptr || to == nullptr)
        return;
    for (int32_t index = 0; index < std::min(from->CountParams(), to->CountParams()); ++index)
    {
        XParam* source = from->GetParamAt(index);
        XParam* target = to->GetParamAt(index);
        if (IsText(source))
            target->ChangeText(source->GetText().CStr(), true);
        else
            target->ChangeValue(source->GetValue(), true);
    }
}

void QM7App::CopyLinkedOutput(int32_t from, int32_t to)
{
    ChannelOutput* source = GetOutputChannel(from - 1);
    ChannelOutput* target = GetOutputChannel(to - 1);
    if (source == nullptr || target == nullptr)
        return;
    for (int32_t id = kLinkedCopyFirstId; id <= kLinkedCopyLastId; ++id)
    {
        if (id == ChannelParamTables::kLinkedChannelId || id == ChannelParamTables::kOutputMuteId)
            continue;
        XParam* value = source->GetParam(id);
        XParam* copy = target->GetParam(id);
        if (value != nullptr && copy != nullptr)
            copy->SetValue(value->GetValue(), true);
    }
}

// Live and compare ------------------------------------------------------------------------------

void QM7App::SwapLiveAndCompare()
{
    if (!IsGlobalDirty() || GetParam(kGetAllFromRecallId)->GetValue() == 1.0)
        return;
    const bool linking = IsChannelLinkingEnabled();
    SetChannelLinking(false);
    EnableParamSending(false);
    syncing = true;
    for (int32_t input = 0; input < ChannelGroupSet::kInputCount; ++input)
        SwapGroupValues(GetInputChannel(input), GetCompareInputChannel(input));
    for (int32_t output = 0; output < ChannelGroupSet::kOutputCount; ++output)
        SwapGroupValues(GetOutputChannel(output), GetCompareOutputChannel(output));
    SwapGroupValues(&presetGroup, &comparePresetGroup);
    syncing = false;
    SetChannelLinking(linking);
    EnableParamSending(true);
}

void QM7App::SyncCompareGroups(bool toLive)
{
    for (int32_t input = 0; input < ChannelGroupSet::kInputCount; ++input)
        CompareChannelInput::SyncWithLive(input, toLive);
    for (int32_t output = 0; output < ChannelGroupSet::kOutputCount; ++output)
        CompareChannelOutput::SyncWithLive(output, toLive);
    ChannelTwinCopy::Sync(&presetGroup, &comparePresetGroup, toLive,
                          ChannelTwinCopy::SaveTracking::Untouched);
    GetParam(kGetAllFromRecallId)->ChangeValue(0.0, true);
}

// Graphic equaliser and display -----------------------------------------------------------------

void QM7App::SyncGeqBypassFlags()
{
    geqBypassFlags.SyncFromBypassParams();
}

void QM7App::DrawDisplayColumn(int32_t row, int32_t x, int32_t bits)
{
    display->DrawColumn(row, x, bits);
}

void QM7App::RepaintDisplay()
{
    display->Publish();
    if (XView* picture = displayPicture.getComponent())
        picture->Invalidate();
}

// Services --------------------------------------------------------------------------------------

bool QM7App::IsGlobalDirty()
{
    return GetParam(kGlobalDirtyId)->GetValue() == 1.0;
}

bool QM7App::IsChannelLinkingEnabled() const
{
    const XParam* linking = mainGroup.GetParam(kChannelLinkingId);
    return linking != nullptr && linking->GetValue() > 0.0;
}

void QM7App::SetChannelLinking(bool on)
{
    GetParam(kChannelLinkingId)->ChangeValue(on ? 1.0 : 0.0, true);
}

void QM7App::EnableParamSending(bool on)
{
    if (deviceWatcher != nullptr)
        deviceWatcher->SetSendingEnabled(on);
}

void QM7App::SendAllParamsIfConnected()
{
    if (sendAllJob != nullptr && IsUnitConnected())
        sendAllJob->Start();
}

bool QM7App::ConfirmConfigurationChange()
{
    if (!userConfigChange)
        return true;
    XOKCancelDialog dialog(XString(kConfigChangeTitle), XString(kConfigChangeText), GetParentView(), nullptr,
                           XString(kYes), XString(kNo));
    return dialog.RunModal(GetParentView(), 0) == XDialog::kOK;
}

bool QM7App::ConfirmEditModeChange()
{
    if (!userEditModeChange || GetCurrentConfig() == SpeakerConfigurations::kFreeConfiguration)
        return true;
    XOKCancelDialog dialog(XString(kEditModeChangeTitle), XString(kEditModeChangeText), GetParentView(),
                           nullptr, XString(kYes), XString(kNo));
    return dialog.RunModal(GetParentView(), 0) == XDialog::kOK;
}

void QM7App::OnCurrentPresetChanged(int32_t /*presetNumber*/) {}

// Editor windows --------------------------------------------------------------------------------

void QM7App::ShowWindowForParam(int32_t paramId, bool show)
{
    if (paramId < EditorWindows::kFirstWindowParamId || paramId > EditorWindows::kLastWindowParamId)
        return;
    // The window sets its parameter when it is shown or hidden, which calls this again: the second
    // call finds the window as asked and does nothing.
    if (show)
    {
        SubWindow* window = windows->Get(paramId);
        if (window != nullptr && !window->IsShown())
            window->Show();
    }
    else if (SubWindow* window = windows->Find(paramId); window != nullptr && window->IsShown())
    {
        window->Hide();
    }
}

void QM7App::ShowEditorWindow(int32_t windowParamId, int32_t channel)
{
    // The input windows first choose the input the message names (out-of-range inputs are ignored).
    if (windowParamId == EditorWindows::kInputPeqParamId)
        if (auto* inputPeq = windows->Get<InputPEQWindow>(EditorWindows::kInputParametricEq))
            inputPeq->SelectChannel(static_cast<uint32_t>(channel));
    if (windowParamId == EditorWindows::kInputGeqParamId)
        if (auto* inputGeq = windows->Get<MasterGraphicEqWindow>(EditorWindows::kInputGraphicEq))
            inputGeq->SelectChannel(static_cast<uint32_t>(channel));
    if (SubWindow* window = windows->Get(windowParamId))
        window->Show();
}

// Main window ------------------------------------------------------------------------------------

QM7MainWindow* QM7App::BuildMainWindow()
{
    if (QM7MainWindow* existing = GetQM7MainWindow())
        return existing;
    GetResourceManager().AddSkinFolder(XString(kSkinFolder));
    if (style == nullptr)
    {
        style = std::make_unique<QM7Style>();
        XStyle::SetCurrentStyle(style.get());
        XStyle::RegisterStyle(style.get(), XString(kStyleName));
    }

    auto* window = new QM7MainWindow(*this);
    window->Attach();
    SetKeyFocusWindow(window);
    document->SetTitleView(window);
    window->BuildContents();
    SetDisplayPicture(window->GetPanel()->GetDisplayPicture());
    window->Show();
    window->CreateWindows();
    return window;
}

QM7MainWindow* QM7App::GetQM7MainWindow()
{
    return dynamic_cast<QM7MainWindow*>(GetMainWindow());
}

XString QM7App::GetStatusPrefix()
{
    XString prefix("Software Rev| ");
    prefix += GetVersionString();
    prefix += "                    Status| ";
    return prefix;
}

void QM7App::SetStatusText(const XString& text)
{
    std::string line = GetStatusPrefix().CStr();
    line += text.CStr();
    std::replace(line.begin(), line.end(), ':', '|');
    GetParam(kStatusId)->ChangeText(line.c_str(), true);
}

void QM7App::ShowCompareButton()
{
    PostCode(kMsgShowCompareButton);
}

void QM7App::HideCompareButton()
{
    PostCode(kMsgHideCompareButton);
}

void QM7App::OnCompareButtonClicked()
{
    PostCode(kMsgToggleListenMode);
}

void QM7App::ToggleListenMode()
{
    if (listenModeSwitching)
        return;
    listenModeSwitching = true;
    XParam* listenMode = GetParam(kListenModeId);
    ListenModeMananger job(jobLink.get());
    listenMode->AddWatcher(&job, ListenModeMananger::kWatchKey, false);
    listenMode->SetChangeTracking(false);
    // The unit gets the other mode; the local value changes only when the unit reports it.
    const double current = listenMode->GetValue();
    listenMode->SetValue(current == 0.0 ? 1.0 : 0.0, false);
    if (deviceWatcher != nullptr)
        deviceWatcher->SendParamValue(listenMode, EncodeWireId(WireIdSpace::kMain, 0, kListenModeId));
    listenMode->SetValue(current, false);
    DeviceJobWindow::RunJob(job);
    listenMode->SetChangeTracking(true);
    listenMode->RemoveWatcher(&job);
    // The button's own click flipped its parameter: it shows the listen mode as it now is.
    GetParam(kCompareEditDisplayButtonId)->SetValue(listenMode->GetValue(), true);
    listenModeSwitching = false;
}

void QM7App::RefreshDelayWindows()
{
    // windows is null only while the application is taken down.
    if (windows == nullptr)
        return;
    if (auto* outputDelay = windows->Find<ChannelDelayWindow>(EditorWindows::kOutputDelay))
        outputDelay->ResetCheckParams();
    if (auto* inputDelay = windows->Find<InputDelayWindow>(EditorWindows::kInputDelay))
        inputDelay->ResyncCheckParam();
}

void QM7App::RefreshFrontPanelWindow()
{
    if (auto* window = windows->Find<FrontPanelWindow>(EditorWindows::kFrontPanelAccess))
        window->RefreshTables();
}

void QM7App::RepaintFrontPanelParam(XParam* param)
{
    if (IsStarting())
        return;
    // The document reports changes on the thread that made them; the windows live on this one.
    const int32_t mainThread = GetThreadId();
    const bool onMainThread =
        mainThread != 0 ? IsCurrentThread(mainThread) : juce::MessageManager::existsAndIsCurrentThread();
    if (!onMainThread)
    {
        if (!frontPanelRepaintPosted.exchange(true))
            PostCode(kMsgRepaintFrontPanel);
        return;
    }
    if (auto* window = windows->Find<FrontPanelWindow>(EditorWindows::kFrontPanelAccess))
        window->RepaintParamRow(param);
}

void QM7App::SwitchListenMode()
{
    ToggleListenMode();
}

void QM7App::ShowConfigLeds(int32_t config)
{
    if (auto* window = windows->Get<ConfigWindow>(EditorWindows::kConfiguration))
        window->ShowConfigLeds(static_cast<uint32_t>(config));
}

void QM7App::CopyLinkedConfigLeds()
{
    if (auto* window = windows->Get<ConfigWindow>(EditorWindows::kConfiguration))
        window->CopyLinkedConfigLeds();
}

void QM7App::TakePresetInfo(XMessage& message)
{
    // The presets window keeps the program's preset list: made here when it is not yet.
    if (auto* window = windows != nullptr ? windows->Get<PresetsWindow>(EditorWindows::kPresets) : nullptr)
        window->HandlePresetInfo(message);
}

void QM7App::TakePresetFlags(XMessage& message)
{
    if (auto* window = windows->Find<FrontPanelWindow>(EditorWindows::kFrontPanelAccess))
        window->HandlePresetFlags(message);
    if (auto* window = windows != nullptr ? windows->Get<PresetsWindow>(EditorWindows::kPresets) : nullptr)
        window->HandlePresetFlags(message);
}

void QM7App::RequestPresetInfo(int32_t presetNumber)
{
    if (auto* window = windows != nullptr ? windows->Get<PresetsWindow>(EditorWindows::kPresets) : nullptr)
        window->RequestPresetInfo(presetNumber);
}

void QM7App::RunRecallAfterStore()
{
    if (auto* recall = dynamic_cast<QM7RecallCmd*>(FindCommandByName(kRecallCommandName)))
        recall->RecallAfterStore(nullptr);
}

void QM7App::ClearPresetList(bool keep)
{
    if (keep)
        return;
    PresetsManager::Instance().FillPlaceholders();
    if (auto* window = windows != nullptr ? windows->Get<PresetsWindow>(EditorWindows::kPresets) : nullptr)
        window->ClearPresetList(keep);
}

// Start-up --------------------------------------------------------------------------------------

bool QM7App::StartApp()
{
    if (!XGuiApp::StartApp())
        return false;
    // The looper is pumped from now on: the start-up's dialogs and progress windows need its turns.
    Run();
    UsbLinkManager& link = UsbLinkManager::Instance();
    link.Open();
    link.SetAutoReconnect(false);
    BuildParameterModel();
    RegisterCommands();
    BuildMainWindow();
    InstallCloseHook();
    SetStatusText(kNoConnectionStatus);
    XParam* config = GetPresetParam(kCurrentConfigId);
    config->ResetToDefault();
    config->Notify(XMsgCode::kParamValueSet);
    if (connection == nullptr)
        connection = std::make_unique<TWRPCUSBConnection>(link);
    connection->Open();
    SetDeviceWatcher(std::make_unique<DeviceCommWatcher>(connection.get()));
    ConnectHandshake();
    link.SetAutoReconnect(true);
    GetParam(kDocumentDirtyId)->SetValue(0.0, true);
    document->SetModified(false);
    SetChannelLinking(true);
    if (!link.IsConnected())
    {
        XErrorDialog dialog{XString(kNoHardwareTitle), XString(kNoHardwareText)};
        dialog.RunModal(GetParentView(), 0);
    }
    return true;
}

// Connect hand-shake ----------------------------------------------------------------------------

void QM7App::ConnectHandshake()
{
    if (handshakeDone)
        return;
    PlatformClock::Sleep(kHandshakeSettleMs);
    DeviceCommWatcher* watcher = deviceWatcher.get();
    const bool connected = IsUnitConnected();
    if (connected)
    {
        watcher->SendCommand3();
        PlatformClock::Sleep(kHandshakeSettleMs);
        watcher->SetAwaitingDeviceInfo(true);
        watcher->RequestDeviceInfo();
        int32_t polls = 0;
        do
        {
            PlatformClock::Sleep(kDeviceInfoPollMs);
            if (++polls > kDeviceInfoMaxPolls && watcher->IsAwaitingDeviceInfo())
            {
                // The pulse offers the update: a unit that never answers counts as out of date.
                watcher->SetNoDeviceAnswer(true);
                return;
            }
        } while (watcher->IsAwaitingDeviceInfo());
    }
    if (!connected || watcher->IsAwaitingDeviceInfo())
    {
        linkLost = true;
        return;
    }
    if (watcher->IsFirmwareOk())
    {
        const int32_t direction = AskSyncDirection(watcher->GetUnitMode());
        GetParam(kConfirmChangeListenModeId)->SetValue(0.0, true);
        if (direction == kSyncFromUnit || direction == kSyncToUnit)
            Synchronise(direction);
        else if (direction == kSyncQuit)
            PostCode(XMsgCode::kQuitApplication);
        ClearPresetList(true);
        handshakeDone = true;
        PostCode(DeviceCommWatcher::kMsgAllValuesReceived);
    }
    GetParam(kUsbActiveId)->SetValue(1.0, true);
}

int32_t QM7App::AskSyncDirection(uint8_t unitMode)
{
    XView* parent = GetParentView();
    switch (unitMode)
    {
    case DeviceCommWatcher::kUnitLockedOut:
    {
        UploadPresetDialog dialog(XString(kConnectTitle), XString(kLockedUnitText), parent, XString(kYes),
                                  XString(kNo));
        return dialog.RunModal(parent, 0) == XDialog::kOK ? kSyncFromUnit : kSyncQuit;
    }
    case DeviceCommWatcher::kUnitSlaved:
    {
        XOKDialog dialog(XString(kConnectTitle), XString(kSlavedUnitText), parent, kQuitDescription,
                         XString(kOk));
        if (dialog.RunModal(parent, 0) == XDialog::kOK)
        {
            // Quits at once, without the question of the close hook.
            XMessage quit(XMsgCode::kQuitApplication);
            MessageReceived(quit);
        }
        return kSyncNothing;
    }
    default:
    {
        UploadPresetDialog dialog(XString(kConnectTitle), XString(kUnitConnectedText), parent,
                                  XString(kQuit));
        return dialog.RunModal(parent, 0);
    }
    }
}

void QM7App::Synchronise(int32_t direction)
{
    DeviceCommWatcher* watcher = deviceWatcher.get();
    if (direction == kSyncFromUnit)
        ResetCrossoverDelays();
    watcher->BuildWireIdMaps(false);
    PlatformClock::Sleep(kHandshakeStepMs);
    watcher->SendCommand12(0);
    watcher->RecallPresetForSaving(0);
    PlatformClock::Sleep(kHandshakeStepMs);
    PresetReceiveThread::ReceiveAllPresets(watcher);
    if (direction == kSyncFromUnit)
    {
        watcher->RequestAllParams();
        return;
    }
    if (XParam* globalDirty = FindParam("%s", kGlobalDirtyPath))
        watcher->SendParamIdCommand(globalDirty);
    if (sendAllJob != nullptr)
        sendAllJob->Start();
}

void QM7App::Reconnect()
{
    handshakeDone = false;
    if (!UsbLinkManager::Instance().IsConnected())
        return;
    SetStatusText(kConnectingStatus);
    ConnectHandshake();
}

void QM7App::ResetCrossoverDelays()
{
    for (int32_t output = 0; output < ChannelGroupSet::kOutputCount; ++output)
        if (ChannelOutput* group = GetOutputChannel(output))
            if (XParam* delay = group->GetParam(kXoverDelayTimeId))
                delay->SetValue(delay->GetDefault(), true);
}

// Idle pulse ------------------------------------------------------------------------------------

bool QM7App::Pulse()
{
    if (pulseGuard)
        return XGuiApp::Pulse();
    pulseGuard = true;
    // The link is watched once the start-up has opened it and made the connection.
    if (IsStartupComplete() && connection != nullptr)
    {
        const uint32_t now = PlatformClock::GetTickCount();
        if (!dirtyCheckStarted)
        {
            dirtyCheckStarted = true;
            lastDirtyCheck = now;
        }
        if (IsUnitConnected())
        {
            if (linkLost)
            {
                linkLost = false;
                Reconnect();
            }
            DeviceCommWatcher* watcher = deviceWatcher.get();
            if (watcher != nullptr &&
                ((deviceCheckPending && !watcher->IsAwaitingDeviceInfo()) || watcher->IsNoDeviceAnswer()))
            {
                watcher->SetNoDeviceAnswer(false);
                deviceCheckPending = false;
                if (!watcher->IsFirmwareOk())
                    OfferFirmwareUpdate();
            }
            if (PlatformClock::TicksSince(lastDirtyCheck, PlatformClock::GetTickCount()) >
                kPresetDirtyCheckMs)
            {
                GetParam(kPresetDirtyId)->SetValue(IsPresetDirty() ? 1.0 : 0.0, true);
                lastDirtyCheck = PlatformClock::GetTickCount();
            }
        }
        if (!UsbLinkManager::Instance().IsAlive())
        {
            DecayMeters();
            if (!linkLost)
            {
                linkLost = true;
                OnConnectionLost();
            }
        }
    }
    pulseGuard = false;
    return XGuiApp::Pulse();
}

void QM7App::OfferFirmwareUpdate()
{
    UsbLinkManager& link = UsbLinkManager::Instance();
    link.SetAutoReconnect(false);
    XView* parent = GetParentView();
    FirmwareUpdateDialog dialog(XString(kFirmwareTitle), XString(kFirmwareText), parent,
                                FirmwareUpdateDialog::kDefaultDescription, XString(kYes), XString(kNo));
    if (dialog.RunModal(parent, 0) == XDialog::kOK)
    {
        FirmwareUpdateWindow window(GetFirmwareUpdateHost(), link);
        window.runThread();
        const bool success = window.IsSuccess();
        const XString errorText = window.GetErrorText();
        if (success)
        {
            Reconnect();
        }
        else
        {
            XString advice(kFirmwareErrorAdvice);
            if (advice.Length() > kFirmwareErrorAdviceMax)
                advice = advice.Left(kFirmwareErrorAdviceMax);
            XErrorDialog error(XString(kFirmwareErrorTitle), errorText + "\n" + advice);
            error.RunModal(parent, 0);
        }
    }
    link.SetAutoReconnect(true);
}

void QM7App::DecayMeters()
{
    const auto fall = [](XParam* meter)
    {
        if (meter != nullptr)
            meter->SetValue(std::max(meter->GetValue() - kMeterDecayStep, meter->GetMin()), true);
    };
    for (int32_t input = 0; input < ChannelGroupSet::kInputCount; ++input)
        if (ChannelInput* group = GetInputChannel(input))
            fall(group->GetParam(kInputMeterId));
    for (int32_t output = 0; output < ChannelGroupSet::kOutputCount; ++output)
    {
        ChannelOutput* group = GetOutputChannel(output);
        if (group == nullptr)
            continue;
        fall(group->GetParam(kOutputMeterId));
        if (XParam* reduction = group->GetParam(kGainReductionId))
        {
            const double risen = reduction->GetValue() + kMeterDecayStep;
            const double max = reduction->GetMax();
            reduction->SetValue(risen > max - kMeterDecayStep ? max : risen, true);
        }
    }
    XParam* load = GetParam(kDSPLoadId);
    load->SetValue(load->GetDefault(), true);
}

bool QM7App::IsPresetDirty() const
{
    for (int32_t row = kDirtyMarkFirstRow; row <= kDirtyMarkLastRow; ++row)
        if (display->GetPixel(kDirtyMarkColumn, row) != FrontPanelDisplay::kDarkColour)
            return true;
    return false;
}

void QM7App::OnConnectionLost()
{
    ClearPresetList(false);
    display->Clear();
    RepaintDisplay();
    if (deviceWatcher != nullptr)
        deviceWatcher->StopWatching();
    deviceCheckPending = true;
    XParam* msState = GetParam(kMSStateId);
    msState->SetValue(msState->GetDefault(), true);
    GetParam(kUsbActiveId)->SetValue(0.0, true);
    GetParam(kRs232ActiveId)->SetValue(0.0, true);
}

// Quit ------------------------------------------------------------------------------------------

void QM7App::InstallCloseHook()
{
    if (closeHookInstalled)
        return;
    closeHookInstalled = AddDelegate(XMsgCode::kQuitApplication, &QM7App::OnCloseRequest, this);
}

void QM7App::OnCloseRequest(void* app, XMessage& /*message*/)
{
    auto* self = static_cast<QM7App*>(app);
    if (!self->QuitRequested())
        return;
    // Past the delegate: the GUI application quits JUCE's application.
    XMessage quit(XMsgCode::kQuitApplication);
    self->MessageReceived(quit);
}

bool QM7App::QuitRequested()
{
    const XString name = GetAppName();
    XOKCancelDialog dialog("Quit " + name + "?", "Are you sure you want to quit " + name + "?",
                           GetParentView(), nullptr, XString(kYes), XString(kNo));
    if (dialog.RunModal(GetParentView(), 0) != XDialog::kOK)
        return false;
    SetStatusText(kQuittingStatus);
    SayGoodbye();
    return true;
}

void QM7App::Quit()
{
    SayGoodbye();
    if (sendAllJob != nullptr)
        sendAllJob->Stop();
    XGuiApp::Quit();
}

void QM7App::SayGoodbye()
{
    if (connection == nullptr)
        return;
    UsbLinkManager& link = UsbLinkManager::Instance();
    if (deviceWatcher != nullptr && link.IsConnected())
    {
        deviceWatcher->SendCommand3();
        PlatformClock::Sleep(kGoodbyeWaitMs);
    }
    CloseLink();
}

void QM7App::CloseLink()
{
    // No reconnect may open the link again behind the goodbye: the reader ends before the link.
    UsbLinkManager& link = UsbLinkManager::Instance();
    link.SetAutoReconnect(false);
    if (connection != nullptr)
        connection->Stop();
    link.Close();
}
