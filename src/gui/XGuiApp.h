#pragma once

#include "core/XApplication.h"
#include "core/XRect.h"
#include "core/XString.h"
#include "gui/IHotKeyTarget.h"

#include <atomic>
#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>
#include <vector>

class IVolumeUpdater;
class XCommand;
class XCommandManager;
class XDebugConsole;
class XStyle;
class XView;

/** The application object of every windowed program of the framework: JUCE's application (which
    owns the message loop of the main thread), the framework's XApplication (a looper with a port)
    and the key listener of the main window in one object. It fixes the start-up and shutdown order
    of the GUI layer, runs the application looper on the GUI thread, installs the skin's archive,
    colours, style and fonts, finds the program's root folder, turns volume arrivals and removals
    into 'volA' and 'volR', and owns the commands the program adds.

    The program derives from it and overrides StartApp (calling XGuiApp::StartApp first), Quit
    (ending with XGuiApp::Quit) and Pulse. Under JUCE's runner the runner constructs, starts
    (initialise), ends (shutdown) and deletes it; a test may do the same by hand, pumping JUCE's
    message loop in between. One per process (GetApp), made and used on the message thread.

    The looper runs on the GUI thread: JUCE offers no call after every dispatched message, so a
    short JUCE timer and a wake-up sent for every block written to the application's port (the
    looper's wake-up callback: posts, messengers, timers set from other threads) each run one turn
    of the looper without waiting (OnMessageDispatched). Both also run inside JUCE's modal
    loops, so turns nest when a modal loop opens inside a turn. A modal loop opened from a looper
    timer's callback holds that timer until it returns: open modal loops from posted messages. */
class XGuiApp : public juce::JUCEApplication,
                public XApplication,
                public juce::KeyListener,
                public IHotKeyTarget
{
public:
    /** Volume arrivals (or removals) closer together than this post one notice. */
    static constexpr double kDeviceChangeQuietMs = 5000.0;
    /** The pulse refreshes queued controls and flushes the debug console at most this often. */
    static constexpr uint32_t kControlRefreshIntervalMs = 100;
    static constexpr uint32_t kConsoleFlushIntervalMs = 1000;
    static constexpr int kTooltipDelayMs = 700;
    /** The period of the timer that pumps the looper between wake-ups. */
    static constexpr int kLoopPumpIntervalMs = 10;
    /** How often the mount table is compared for volumes that came or went. */
    static constexpr int kVolumePollIntervalMs = 1000;
    /** GetDefaultWindowFrame's rectangle. */
    static constexpr XRect kDefaultWindowFrame{0, 0, 600, 800};
    static constexpr const char* kCustomFontsFormat = "%s\\Custom Fonts";
    static constexpr const char* kGlobalColorsFormat = "%s\\GlobalColors.dat";
    /** The preference under "Prefs" that reads every skin file from disk instead of "System.rsc". */
    static constexpr const char* kResFromDiskValue = "resFromDisk";

    /** The bases (XApplication with that name), a new command manager; becomes the application. */
    explicit XGuiApp(const char* applicationName);
    /** Deletes what shutdown left (commands, tooltip window), the style and the command manager. */
    ~XGuiApp() override;
    XGuiApp(const XGuiApp&) = delete;
    XGuiApp& operator=(const XGuiApp&) = delete;

    /** The application, or null. */
    static XGuiApp* GetApp();

    // JUCE application ----------------------------------------------------------------------------

    /** Stores the command line, readies the display, then XApplication::Startup. */
    void initialise(const juce::String& commandLine) override;
    /** The shutdown sequence: commands and tooltip window deleted, Quit, Exit; see the source. */
    void shutdown() override;
    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    /** Logs "Exception in file: %s, line: %d"; the program goes on. */
    void unhandledException(const std::exception* exception, const juce::String& sourceFile,
                            int lineNumber) override;

    /** One turn of the looper without waiting (nothing while shutting down); false. */
    virtual bool OnMessageDispatched();
    /** Left 0, top 0, right 600, bottom 800. */
    virtual void GetDefaultWindowFrame(XRect& frame);
    /** The command manager's key handling; true when a command was asked to run. */
    bool HandleHotKey(int32_t keyCode, XKeyInfo modifiers) override;
    /** The window given to SetKeyFocusWindow while it exists; else null. */
    virtual XView* GetMainWindow();

    /** Key listener of the main window: HandleHotKey of the framework's form of the key. */
    bool keyPressed(const juce::KeyPress& key, juce::Component* originatingComponent) override;

    // XApplication --------------------------------------------------------------------------------

    /** kQuitApplication and kQuitGuiApplication ask JUCE's application to quit; kDeleteWindow hides and
       deletes the view of the pointer "_window"; kRunCommand gets "pView" = the main window when it has none
       before it runs; 'volA' and 'volR' update the volume list; the rest goes to XApplication. */
    void MessageReceived(XMessage& message) override;
    /** Resets the document, saves window positions, hides the listed windows (the main window
        last), XApplication::Quit, then deletes the main window and every other listed window. */
    void Quit() override;
    /** Records the GUI thread as the looper's thread and starts pumping (the pump timer and the
        wake-up of every write to the port); starts no thread. Once: later calls do nothing. */
    int32_t Run() override;
    /** XApplication::Pulse, then the 100 ms control refresh and the 1000 ms console flush; true. */
    bool Pulse() override;
    /** One looper turn, without the base's pause; the turn's result: false when it ended the loop
        or deleted the looper, which the caller must not touch then. */
    bool LoopOnce(bool wait) override;
    bool HasGui() override;
    /** XApplication::InitCore, the five framework commands in context "Global", the view factory. */
    void InitCore() override;
    /** The GUI start: preferences key, skin archive, named constants, colours, style, custom fonts,
        tooltip window; true. */
    bool StartApp() override;
    /** Logs "Exiting ZUZov...", clears the skin caches, then XApplication::Exit. */
    void Exit() override;
    /** Loads "GlobalColors.dat" of the system folder into the colour dictionary. */
    void LoadGlobalColors() override;
    /** Only when the preferences are dirty: window positions, then XApplication::SaveSystemPrefs. */
    void SaveSystemPrefs() override;
    /** The root folder: up from the program's folder to the first with a "System" sub-folder, which
        becomes the current folder; root gets the current folder. */
    void FindRootFolder(XString& root) override;

    // The GUI application's own -------------------------------------------------------------------

    /** Makes window the main window; the key listener moves from the previous one to it. */
    void SetKeyFocusWindow(XView* window);
    /** Registers the command (XCommand::Register with name, context and hot key) and takes it over;
        nothing for null. The commands are unregistered and deleted at shutdown. */
    void AddCommand(const char* name, const char* context, XCommand* command, const char* hotKey);
    XCommandManager* GetCommandManager() const { return commandManager.get(); }
    /** Each listed window that is visible, or is the main window, saves its position. */
    void SaveOpenWindowPositions();

    /** The command line given to initialise. */
    const XString& GetCommandLineText() const { return commandLineText; }
    juce::TooltipWindow* GetTooltipWindow() const { return tooltipWindow.get(); }
    /** The optional debug console the pulse flushes (not owned; null for none). */
    void SetDebugConsole(XDebugConsole* console) { debugConsole = console; }
    XDebugConsole* GetDebugConsole() const { return debugConsole; }
    /** The list 'volA' and 'volR' refresh (not owned; null for none). */
    void SetVolumeUpdater(IVolumeUpdater* updater) { volumeUpdater = updater; }
    IVolumeUpdater* GetVolumeUpdater() const { return volumeUpdater; }

    /** A volume arrived or went: posts 'volA' (or 'volR') unless the previous one of its kind came
        less than kDeviceChangeQuietMs before. GUI thread. */
    void OnVolumeArrival();
    void OnVolumeRemoval();
    /** The debounce of volume changes: true when nowTick is at least kDeviceChangeQuietMs after
        stamp; stamp becomes nowTick either way. */
    static bool IsDeviceChangeDue(double& stamp, uint32_t nowTick);

    /** Walks up from programFolder (itself first) to the first folder with a "System" sub-folder
        and makes it the current folder; returns the current folder afterwards ("" when it cannot be
        read). Without such a folder the current folder stays. */
    static XString FindRootFolderFrom(const XString& programFolder);
    /** Loads every file of "<systemFolder>\Custom Fonts" whose extension is "ttf" in any case into
        this process (never into a system folder); returns how many loaded. Errors are skipped. */
    static int InstallCustomFonts(const XString& systemFolder);

protected:
    /** The toolkit's quit request (JUCE's systemRequestedQuit), for kQuitApplication and kQuitGuiApplication.
     */
    virtual void RequestToolkitQuit();
    /** Runs in StartApp after the skin archive opens; nothing here. */
    virtual void OnGuiStart();

private:
    class LoopPump;
    class VolumeWatch;
    struct WakeState;

    /** Unregisters and deletes the commands added by AddCommand (first to last), then the framework
        commands. */
    void DeleteCommands();
    void PostVolumeChange(double& stamp, uint32_t code);

    std::vector<std::unique_ptr<XCommand>> commands;          // added by AddCommand; message thread
    std::vector<std::unique_ptr<XCommand>> frameworkCommands; // quit, undo, redo, clear, top undo
    std::unique_ptr<XCommandManager> commandManager;
    juce::Component::SafePointer<XView> mainWindow;
    XDebugConsole* debugConsole = nullptr;
    IVolumeUpdater* volumeUpdater = nullptr;
    std::unique_ptr<juce::TooltipWindow> tooltipWindow;
    std::unique_ptr<XStyle> style;
    XString commandLineText;
    double volumeArrivalStamp = 0.0;
    double volumeRemovalStamp = 0.0;
    uint32_t lastRefreshTick = 0;
    uint32_t lastConsoleFlushTick = 0;
    std::unique_ptr<LoopPump> loopPump;
    std::unique_ptr<VolumeWatch> volumeWatch;
    /** Shared with the wake-ups in JUCE's queue, which may outlive the application. */
    std::shared_ptr<WakeState> wakeState;
};
