#pragma once

#include "core/IAppIdentity.h"
#include "core/IParamHost.h"
#include "core/LongToPtrMap.h"
#include "core/XLooper.h"
#include "core/XMutex.h"
#include "core/XString.h"

#include <atomic>
#include <cstdint>
#include <memory>

class IAppDocument;
class IPrefDocument;
class ITickClock;

/** The framework's application object: a looper whose loop runs on the thread that constructed it
    (the main thread), the owner of the system preferences document, a table that binds message
    codes to the handlers that receive every message of that code, the start-up sequence that
    brings the core up in a fixed order, and the exit sequence. There is one per process; the GUI
    application derives from it.

    Life: construct on the main thread -> Startup (core up, StartApp, and Run when StartApp says
    so) -> Quit (preferences saved, the process marked as shutting down for good) -> Exit (other
    loopers asked to leave their loops and their threads awaited, module exits, ports deleted) ->
    destruction. Quit and the destruction each pause 1000 ms of the platform clock. From
    construction to destruction the object is the process's application (GetApplication), its
    identity for the log (IAppIdentity) and the parameters' host (IParamHost).

    Threads: application messages are handled on the main thread; other threads reach it through
    its port (PostMessage, PostCode, XMessenger). AcceptMessage runs on the posting thread, so the
    code-handler table is guarded by its own lock. A handler bound to a code must be unbound
    (SetCodeHandler(code, nullptr)) before it is destroyed. */
class XApplication : public XLooper, public IAppIdentity, public IParamHost
{
public:
    static constexpr int32_t kReplyPortCapacity = 255;
    static constexpr const char* kReplyPortName = "app_reply";
    /** The framework maker's name: the default vendor and the preferences key's second part. */
    static constexpr const char* kFrameworkVendor = "Tarnwell";
    /** Preferences are saved from the pulse at most this often. */
    static constexpr uint32_t kPrefsSaveIntervalMs = 2000;
    static constexpr uint32_t kQuitPauseMs = 1000;
    static constexpr uint32_t kDestructionPauseMs = 1000;
    /** How long Exit waits for the framework's other threads to end. */
    static constexpr uint32_t kThreadJoinTimeoutMs = 3000;

    /** The calling thread becomes the looper's thread and the process's main thread; makes the
        reply port and registers the object as the application. */
    explicit XApplication(const char* name);
    ~XApplication() override;

    // XHandler and XLooper ------------------------------------------------------------------------

    /** kOpenDocument open, kSaveDocument save, kNewDocument new document (answered with kDocumentReply and
       int32 "result" when a reply is owed), kRunCommand run the command "commandname"; anything else goes to
       XLooper::MessageReceived. */
    void MessageReceived(XMessage& message) override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    /** An echo is accepted; a message whose code is bound to a handler of another looper (or of
        none) is handed to that handler and not queued here when that succeeds. */
    bool AcceptMessage(XMessage* message) override;
    bool QuitRequested() override;
    /** Marks the preferences dirty and saves them, marks the process as shutting down and pauses. */
    void Quit() override;
    /** Runs the loop on the calling thread until the process shuts down; returns the thread's id. */
    int32_t Run() override;
    /** Saves dirty preferences when the last save is more than kPrefsSaveIntervalMs ago; true. */
    bool Pulse() override;
    /** A non-echo message for the application (or no target) goes to the handler bound to its code:
        posted when that belongs to another looper, else dispatched here. Anything else goes to
        XLooper::DispatchMessage. */
    void DispatchMessage(XMessage* message, XHandler* handler) override;
    using XLooper::DispatchMessage;
    /** One looper turn, then a 1 ms pause; true. */
    bool LoopOnce(bool wait) override;

    // Application ---------------------------------------------------------------------------------

    virtual bool HasGui();
    /** The system folder becomes the root folder (FindRootFolder), a backslash and "System". */
    virtual void InitSystemFolder();
    /** Once per process: clock calibration, the log file with its header, the module inits. */
    virtual void InitCore();
    /** Records the calling thread as the looper's thread and creates the preferences key; true. */
    virtual bool StartApp();
    /** The exit sequence; see the class comment. */
    virtual void Exit();
    virtual void LoadGlobalColors();
    virtual void ProcessPendingMessages();
    /** The handler bound to the code, or null. Any thread. */
    virtual XHandler* FindCodeHandler(uint32_t code);
    /** Binds the handler (not owned) to the code; null removes the binding. Any thread. */
    virtual void SetCodeHandler(uint32_t code, XHandler* handler);
    /** The label of an item of a menu section; here the item text itself. */
    virtual XString GetMenuLabel(const char* menu, const char* item);
    /** The "MainMenu" label of the parameter's display text of value; when that is empty and the
        parameter is an on/off one (type 2), the label of its name. Empty for null. */
    virtual XString GetParamMenuLabel(XParam* param, double value);
    /** Opens the settings store for this application when nobody has, and creates the key
        HKEY_LOCAL_MACHINE\SOFTWARE\Tarnwell\<name>\Prefs in it. */
    virtual void CreatePrefsKey();
    /** Saves the preferences document (when there is one) and clears the dirty mark, whatever the
        save gave. */
    virtual void SaveSystemPrefs();
    XString GetVendorName() override;
    XString GetAppName() override;
    virtual XString GetAuxText();
    /** out = the current folder; logs "XApp::Root Folder: %s". */
    virtual void FindRootFolder(XString& out);
    XString GetVersionString() override;
    /** The current document; none here. */
    virtual IAppDocument* GetDocument();
    /** GetDocumentFor of GetDefaultDocType. */
    virtual IAppDocument* GetDefaultDocument();
    virtual IAppDocument* GetDocumentFor(const char* type);
    virtual XString GetDefaultDocType();
    /** False for hidden paths and for files named like "*.sys" or "autoexec.bat" (without regard
        to case); a drive root is judged by IsDriveAllowed; null is refused. */
    virtual bool IsFileAllowed(const char* path);
    virtual bool IsDriveAllowed(const char* path);
    /** The last component of an entry's path (trailing backslashes dropped; '/' counts as '\'),
        "/" for the root folder; "Error" for null. */
    virtual XString GetEntryName(const char* entryPath);
    /** The entry name of a path. */
    virtual XString GetPathName(const char* path);

    /** The start-up sequence; returns after the loop when StartApp let Run start it. */
    void Startup();
    bool IsStartupComplete() const;
    /** True at once while shutting down; else one turn without waiting. */
    bool PumpMessages();
    /** Posts the message to the handler bound to its code; 0x80000001 when none is bound. */
    int32_t SendToCodeHandler(XMessage* message);

    // IParamHost: any thread ----------------------------------------------------------------------

    bool IsShuttingDown() const override;
    /** Marks GetDocument's document modified, when there is one. */
    void MarkDocumentModified() override;

    /** Gives the application its preferences document (owned; null removes it). */
    void SetPrefDocument(std::unique_ptr<IPrefDocument> document);
    IPrefDocument* GetPrefDocument() const { return preferences.get(); }
    /** Set by changed preference parameters; any thread. */
    void SetPrefsDirty(bool dirty) { prefsDirty.store(dirty); }
    bool IsPrefsDirty() const { return prefsDirty.load(); }
    int32_t GetReplyPort() const { return replyPort; }
    /** The clock of the pulse's save interval; null restores the platform clock. Not owned. */
    void SetPulseClock(ITickClock* clock);
    uint32_t GetLastPulseTick() const { return lastPulseTick; }

private:
    /** Answers a document request with kDocumentReply and "result" when it owes a reply. */
    static void AnswerDocumentRequest(XMessage& request, int32_t result);
    int32_t HandleDocumentRequest(XMessage& message);
    /** Asks every other looper to leave its loop and waits, up to kThreadJoinTimeoutMs, until every
        other thread the framework started has ended. No thread is forced to end. */
    void StopFrameworkThreads();

    std::unique_ptr<IPrefDocument> preferences;
    int32_t replyPort = -1;
    LongToPtrMap<XHandler> codeHandlers; // code -> handler, not owned; guarded by codeHandlerLock
    mutable XMutex codeHandlerLock;
    std::atomic<bool> prefsDirty{false};
    const XString name;
    ITickClock* pulseClock;         // the application's thread only
    uint32_t lastPulseTick = 0;     // the application's thread only
    uint32_t lastPrefsSaveTick = 0; // the application's thread only
    bool prefsSavedByPulse = false; // the application's thread only
};

/** The application object, or null. */
XApplication* GetApplication();
/** The application's name; "Error" when there is none. */
XString GetApplicationName();
