#include "gui/XGuiApp.h"

#include "core/FrameworkCommands.h"
#include "core/IAppDocument.h"
#include "core/Log.h"
#include "core/ProcessState.h"
#include "core/SystemInfo.h"
#include "core/XCommand.h"
#include "core/XCommandManager.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XRegistrySettings.h"
#include "core/XStringConversion.h"
#include "gui/ControlRefreshQueue.h"
#include "gui/GuiHelpers.h"
#include "gui/IVolumeUpdater.h"
#include "gui/IWindowPosition.h"
#include "gui/JUCEAsyncKeyState.h"
#include "gui/ViewFactory.h"
#include "gui/ViewKeywords.h"
#include "gui/XColorDictionary.h"
#include "gui/XResourceManager.h"
#include "gui/XStyle.h"
#include "gui/XView.h"
#include "gui/XViewExplorer.h"
#include "gui/XWindowList.h"
#include "platform/DisplayPreparer.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformFonts.h"
#include "platform/PlatformMountWatcher.h"
#include "platform/PlatformPathResolver.h"

namespace
{
constexpr const char* kPrefsKey = "Prefs";
constexpr const char* kWindowItem = "_window";
constexpr const char* kViewItem = "pView";
constexpr const char* kFontExtension = ".ttf";
constexpr const char* kToggleFullscreenName = "X_TOGGLE_FULLSCREEN";
constexpr const char* kCloseRequestedName = "X_CLOSE_REQUESTED";

std::atomic<XGuiApp*> currentGuiApp{nullptr};

/** The file-name part of a source path written with either separator. */
juce::String FileNamePart(const juce::String& path)
{
    return path.fromLastOccurrenceOf("/", false, false).fromLastOccurrenceOf("\\", false, false);
}

juce::File DiskFolder(const XString& path)
{
    const std::string resolved = PlatformPathResolver::ResolveIgnoringCase(path.CStr());
    return juce::File::getCurrentWorkingDirectory().getChildFile(juce::String::fromUTF8(resolved.c_str()));
}
} // namespace

/** What a wake-up in JUCE's queue needs; it may run after the application is gone. */
struct XGuiApp::WakeState
{
    /** Posts a wake-up to the message thread unless one is pending. Any thread. */
    static void Wake(const std::shared_ptr<WakeState>& state)
    {
        if (state->pending.exchange(true))
            return;
        const bool posted = juce::MessageManager::callAsync(
            [state]
            {
                // Cleared first: a post made during this turn asks for the next one.
                state->pending.store(false);
                if (state->app != nullptr && state->pumping)
                    state->app->OnMessageDispatched();
            });
        if (!posted)
            state->pending.store(false);
    }

    std::atomic<bool> pending{false};
    /** Null once the application is gone. Message thread only. */
    XGuiApp* app = nullptr;
    /** Set by Run: turns are pumped from then on. Message thread only. */
    bool pumping = false;
};

/** Runs a looper turn between wake-ups, so that the looper's timers fire on time. */
class XGuiApp::LoopPump final : public juce::Timer
{
public:
    explicit LoopPump(XGuiApp& owner) : app(owner) {}
    void timerCallback() override { app.OnMessageDispatched(); }

private:
    XGuiApp& app;
};

/** Compares the mount table now and then and reports volumes that came or went. */
class XGuiApp::VolumeWatch final : public juce::Timer
{
public:
    explicit VolumeWatch(XGuiApp& owner) : app(owner) {}

    void timerCallback() override
    {
        const PlatformMountWatcher::Changes changes = watcher.Poll();
        if (changes.arrivals > 0)
            app.OnVolumeArrival();
        if (changes.removals > 0)
            app.OnVolumeRemoval();
    }

private:
    XGuiApp& app;
    PlatformMountWatcher watcher;
};

// Construction ----------------------------------------------------------------------------------

XGuiApp::XGuiApp(const char* applicationName)
    : XApplication(applicationName), commandManager(std::make_unique<XCommandManager>()),
      wakeState(std::make_shared<WakeState>())
{
    wakeState->app = this;
    currentGuiApp.store(this);
}

XGuiApp::~XGuiApp()
{
    SetWakeCallback(nullptr);
    wakeState->app = nullptr;
    wakeState->pumping = false;
    loopPump.reset();
    volumeWatch.reset();
    if (XView* window = mainWindow.getComponent())
        window->removeKeyListener(this);
    DeleteCommands();
    tooltipWindow.reset();
    if (style != nullptr && XStyle::GetCurrentStyle() == style.get())
        XStyle::SetCurrentStyle(nullptr);
    style.reset();
    commandManager.reset();
    XGuiApp* self = this;
    currentGuiApp.compare_exchange_strong(self, nullptr);
}

XGuiApp* XGuiApp::GetApp()
{
    return currentGuiApp.load();
}

// JUCE application ------------------------------------------------------------------------------

void XGuiApp::initialise(const juce::String& commandLine)
{
    commandLineText = ToXString(commandLine);
    DisplayPreparer::Prepare();
    Startup();
}

void XGuiApp::shutdown()
{
    SetShuttingDown();
    wakeState->pumping = false;
    loopPump.reset();
    volumeWatch.reset();
    ShowWaitCursor();
    DeleteCommands();
    tooltipWindow.reset();
    Quit();
    Exit();
    LogPrintf("All Modules Exited.");
    HideWaitCursor();
}

const juce::String XGuiApp::getApplicationName()
{
    return ToJuceString(GetAppName());
}

const juce::String XGuiApp::getApplicationVersion()
{
    return ToJuceString(GetVersionString());
}

void XGuiApp::unhandledException(const std::exception* exception, const juce::String& sourceFile,
                                 int lineNumber)
{
    LogPrintf("Exception in file: %s, line: %d", FileNamePart(sourceFile).toRawUTF8(), lineNumber);
}

void XGuiApp::RequestToolkitQuit()
{
    systemRequestedQuit();
}

void XGuiApp::OnGuiStart() {}

// Loop ------------------------------------------------------------------------------------------

bool XGuiApp::OnMessageDispatched()
{
    PumpMessages();
    return false;
}

bool XGuiApp::LoopOnce(bool wait)
{
    // XApplication's turn pauses 1 ms after each turn; a turn on the GUI thread must not.
    return XLooper::LoopOnce(wait);
}

int32_t XGuiApp::Run()
{
    // A start-up that pumps the looper early (for its dialogs) has run this already.
    if (wakeState->pumping)
        return GetThreadId();
    Lock();
    StartupInit();
    Unlock();
    wakeState->pumping = true;
    // Captures the shared state only: a wake-up may be written after the application is gone.
    SetWakeCallback([state = wakeState] { WakeState::Wake(state); });
    loopPump = std::make_unique<LoopPump>(*this);
    loopPump->startTimer(kLoopPumpIntervalMs);
    volumeWatch = std::make_unique<VolumeWatch>(*this);
    volumeWatch->startTimer(kVolumePollIntervalMs);
    return GetThreadId();
}

bool XGuiApp::Pulse()
{
    XApplication::Pulse();
    const uint32_t now = PlatformClock::GetTickCount();
    if (PlatformClock::TicksSince(lastRefreshTick, now) > kControlRefreshIntervalMs)
    {
        lastRefreshTick = now;
        ControlRefreshQueue::Get().RefreshQueuedControls();
    }
    if (debugConsole != nullptr &&
        PlatformClock::TicksSince(lastConsoleFlushTick, now) > kConsoleFlushIntervalMs)
    {
        lastConsoleFlushTick = now;
        FlushDebugConsole(debugConsole);
    }
    return true;
}

bool XGuiApp::HasGui()
{
    return true;
}

// Start-up --------------------------------------------------------------------------------------

void XGuiApp::FindRootFolder(XString& root)
{
    LogPrintf("Root Folder: %s", root.CStr());
    const XString current = FindRootFolderFrom(GetExecutableFolderPath());
    if (!current.IsEmpty())
        root = current;
    LogPrintf("Root Folder: %s", root.CStr());
}

XString XGuiApp::FindRootFolderFrom(const XString& programFolder)
{
    const XString systemFolder = XResourceManager::FindSystemFolder(programFolder);
    if (!systemFolder.IsEmpty())
        DiskFolder(systemFolder).getParentDirectory().setAsCurrentWorkingDirectory();
    return ToXString(juce::File::getCurrentWorkingDirectory().getFullPathName());
}

void XGuiApp::InitCore()
{
    XApplication::InitCore();
    if (frameworkCommands.empty())
    {
        const auto add = [this](std::unique_ptr<XCommand> command, const char* hotKey)
        {
            commandManager->AddCommand(command.get(), FrameworkCommands::kFrameworkContext, hotKey);
            frameworkCommands.push_back(std::move(command));
        };
        add(std::make_unique<QuitCommand>(), QuitCommand::kHotKey);
        add(std::make_unique<UndoLastCommand>(), UndoLastCommand::kHotKey);
        add(std::make_unique<RedoLastCommand>(), RedoLastCommand::kHotKey);
        add(std::make_unique<ClearHistoryCommand>(), ClearHistoryCommand::kHotKey);
        add(std::make_unique<TopUndoCommand>(), TopUndoCommand::kHotKey);
    }
    InitViewFactory();
}

bool XGuiApp::StartApp()
{
    XApplication::StartApp();
    JUCEAsyncKeyState::Install();
    XRegistrySettings settings;
    settings.PushKey(kPrefsKey);
    GetResourceManager().OpenSystemArchive(settings.ReadBool(kResFromDiskValue, false));
    OnGuiStart();
    RegisterNamedConstant(kToggleFullscreenName, static_cast<int32_t>(XMsgCode::kToggleFullscreen));
    RegisterNamedConstant(kCloseRequestedName, static_cast<int32_t>(XMsgCode::kCloseRequested));
    LoadGlobalColors();
    auto newStyle = std::make_unique<XStyle>();
    XStyle::SetCurrentStyle(newStyle.get());
    style = std::move(newStyle);
    InstallCustomFonts(GetSystemFolder());
    tooltipWindow = std::make_unique<juce::TooltipWindow>(nullptr, kTooltipDelayMs);
    tooltipWindow->setOpaque(false);
    return true;
}

void XGuiApp::LoadGlobalColors()
{
    XString path;
    path.Format(kGlobalColorsFormat, GetSystemFolder().CStr());
    GetColorDictionary().Load(path);
}

int XGuiApp::InstallCustomFonts(const XString& systemFolder)
{
    PlatformFonts::InstallFallbackFont();
    XString folderPath;
    folderPath.Format(kCustomFontsFormat, systemFolder.CStr());
    const juce::File folder = DiskFolder(folderPath);
    if (!folder.isDirectory())
        return 0;
    int loaded = 0;
    for (const juce::File& file : folder.findChildFiles(juce::File::findFiles, false, "*"))
    {
        if (file.getFileExtension().toLowerCase() != kFontExtension)
            continue;
        if (PlatformFonts::LoadFontFile(file).isNotEmpty())
            ++loaded;
    }
    return loaded;
}

// Windows, keys and commands --------------------------------------------------------------------

void XGuiApp::GetDefaultWindowFrame(XRect& frame)
{
    frame = kDefaultWindowFrame;
}

XView* XGuiApp::GetMainWindow()
{
    return mainWindow.getComponent();
}

void XGuiApp::SetKeyFocusWindow(XView* window)
{
    if (XView* previous = mainWindow.getComponent())
        previous->removeKeyListener(this);
    mainWindow = window;
    if (window != nullptr)
        window->addKeyListener(this);
}

bool XGuiApp::keyPressed(const juce::KeyPress& key, juce::Component* originatingComponent)
{
    int32_t keyCode = 0;
    XKeyInfo modifiers = 0;
    XView::ConvertKeyPress(key, keyCode, modifiers);
    return HandleHotKey(keyCode, modifiers);
}

bool XGuiApp::HandleHotKey(int32_t keyCode, XKeyInfo modifiers)
{
    return commandManager != nullptr && commandManager->HandleKeyPress(keyCode, modifiers);
}

void XGuiApp::AddCommand(const char* name, const char* context, XCommand* command, const char* hotKey)
{
    if (command == nullptr)
        return;
    command->Register(XString(name != nullptr ? name : ""), XString(context != nullptr ? context : ""),
                      XString(hotKey != nullptr ? hotKey : ""));
    commands.emplace_back(command);
}

void XGuiApp::DeleteCommands()
{
    // Unregistered before deletion, so that no name or key of the manager leads to a freed command.
    for (auto* list : {&commands, &frameworkCommands})
    {
        for (auto& command : *list)
        {
            if (XCommandManager* manager = command->GetRegisteredWith())
                manager->RemoveCommand(command.get());
            command.reset();
        }
        list->clear();
    }
}

// Messages --------------------------------------------------------------------------------------

void XGuiApp::MessageReceived(XMessage& message)
{
    switch (message.GetWhat())
    {
    case XMsgCode::kQuitApplication:
    case XMsgCode::kQuitGuiApplication:
        RequestToolkitQuit();
        return;
    case XMsgCode::kDeleteWindow:
        if (auto* window = static_cast<XView*>(message.GetPointer(kWindowItem)))
        {
            window->Hide();
            delete window;
        }
        return;
    case XMsgCode::kRunCommand:
    {
        void* view = nullptr;
        if (message.FindPointer(kViewItem, view) != 0)
            message.AddPointer(kViewItem, GetMainWindow());
        XApplication::MessageReceived(message);
        return;
    }
    case XMsgCode::kVolumeArrived:
    case XMsgCode::kVolumeRemoved:
        if (volumeUpdater != nullptr)
            volumeUpdater->UpdateVolumes();
        return;
    default:
        XApplication::MessageReceived(message);
    }
}

// Volumes ---------------------------------------------------------------------------------------

bool XGuiApp::IsDeviceChangeDue(double& stamp, uint32_t nowTick)
{
    const double now = static_cast<double>(nowTick);
    const bool due = now - stamp >= kDeviceChangeQuietMs;
    stamp = now;
    return due;
}

void XGuiApp::OnVolumeArrival()
{
    PostVolumeChange(volumeArrivalStamp, XMsgCode::kVolumeArrived);
}

void XGuiApp::OnVolumeRemoval()
{
    PostVolumeChange(volumeRemovalStamp, XMsgCode::kVolumeRemoved);
}

void XGuiApp::PostVolumeChange(double& stamp, uint32_t code)
{
    if (IsDeviceChangeDue(stamp, PlatformClock::GetTickCount()))
        PostCode(code);
}

// Quit and exit ---------------------------------------------------------------------------------

void XGuiApp::SaveOpenWindowPositions()
{
    XView* main = GetMainWindow();
    for (int32_t i = 0; i < GetWindowCount(); ++i)
    {
        XView* window = GetWindowAt(i);
        if (window == nullptr || !(window->isVisible() || window == main))
            continue;
        if (auto* position = dynamic_cast<IWindowPosition*>(window))
            position->SaveWindowPos();
    }
}

void XGuiApp::SaveSystemPrefs()
{
    if (!IsPrefsDirty())
        return;
    SaveOpenWindowPositions();
    XApplication::SaveSystemPrefs();
}

void XGuiApp::Quit()
{
    if (IAppDocument* document = GetDocument())
        document->Reset();
    SaveOpenWindowPositions();
    XView* main = GetMainWindow();
    for (int32_t i = GetWindowCount() - 1; i >= 0; --i)
    {
        XView* window = GetWindowAt(i);
        if (window != nullptr && window != main)
            window->Hide();
    }
    if (main != nullptr)
        main->Hide();
    XApplication::Quit();
    if (XView* window = GetMainWindow())
    {
        window->removeKeyListener(this);
        mainWindow = nullptr;
        XWindowList::Remove(window);
        delete window;
    }
    // Each window leaves the list when destroyed; taking it out first keeps one that does not from
    // being deleted twice.
    while (GetWindowCount() > 0)
    {
        XView* window = GetWindowAt(GetWindowCount() - 1);
        XWindowList::Remove(window);
        delete window;
    }
}

void XGuiApp::Exit()
{
    LogPrintf("Exiting ZUZov...");
    GetResourceManager().ClearCaches();
    CloseViewInspector();
    JUCEAsyncKeyState::Uninstall();
    XApplication::Exit();
}
