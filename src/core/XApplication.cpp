#include "core/XApplication.h"

#include "core/CoreModules.h"
#include "core/CpuClock.h"
#include "core/IAppDocument.h"
#include "core/ICommandRunner.h"
#include "core/IPrefDocument.h"
#include "core/ITickClock.h"
#include "core/Log.h"
#include "core/LongArray.h"
#include "core/ProcessState.h"
#include "core/RegistryAccess.h"
#include "core/SystemInfo.h"
#include "core/ThreadServices.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XMsgPort.h"
#include "core/XParam.h"
#include "core/XResult.h"
#include "core/XSmartLock.h"
#include "platform/PlatformClock.h"
#include "platform/PlatformFileSystem.h"
#include "platform/PlatformRegistry.h"
#include "platform/PlatformThreads.h"

#include <mutex>
#include <vector>

namespace
{
constexpr uint32_t kHkeyLocalMachine = 0x80000002;
constexpr const char* kPrefsKeyFormat = "SOFTWARE\\%s\\%s\\Prefs";
constexpr const char* kSystemFolderName = "System";
constexpr const char* kVersionString = "0.0.000";
constexpr const char* kNoName = "Error";
constexpr const char* kMainMenu = "MainMenu";
constexpr int32_t kOnOffParamType = 2;
/** Files the application never offers: ';'-separated; a pattern with '*' compares the extension. */
constexpr const char* kRefusedFilePatterns = "*.sys;autoexec.bat";
constexpr const char* kEchoItem = "isEcho";
constexpr const char* kDocPathItem = "docPath";
constexpr const char* kDocTypeItem = "docTypeName";
constexpr const char* kResultItem = "result";
constexpr const char* kCommandNameItem = "commandname";
/** The pause of the loop before its first turn, and after each turn. */
constexpr int32_t kRunStartPauseMs = 1;
constexpr int32_t kTurnPauseMs = 1;
/** How often Exit looks whether the other threads have ended. */
constexpr int32_t kThreadJoinPollMs = 10;

std::atomic<XApplication*> currentApplication{nullptr};
std::once_flag coreStarted;
std::once_flag portsDeleted;

/** The ids of the threads the framework started that are still running, the caller left out. */
std::vector<int32_t> RunningFrameworkThreads(int32_t caller)
{
    LongArray running;
    if (ListProcessThreads(PlatformThreads::CurrentProcessId(), running) != 0)
        return {};
    std::vector<int32_t> result;
    auto& registry = GetThreadRegistry();
    XSmartLock hold(registry);
    for (int32_t i = 0; i < registry.GetCount(); ++i)
    {
        const int32_t id = registry.At(i)->threadId;
        if (id == 0 || id == caller)
            continue;
        for (int j = 0; j < running.GetCount(); ++j)
            if (running.GetAt(j) == id)
            {
                result.push_back(id);
                break;
            }
    }
    return result;
}
} // namespace

// Construction and destruction -------------------------------------------------------------------

XApplication::XApplication(const char* nameIn)
    : XLooper(nameIn, kNormalThreadLevel), name(nameIn), pulseClock(&ITickClock::Platform())
{
    RegisterMainThread();
    StartupInit(); // the calling thread is the looper's thread
    replyPort = CreatePort(kReplyPortName, kReplyPortCapacity);
    currentApplication.store(this);
    SetAppIdentity(this);
    SetParamHost(this);
}

XApplication::~XApplication()
{
    SetShuttingDown();
    XSleep(static_cast<int32_t>(kDestructionPauseMs));
    {
        XSmartLock hold(GetLock());
        QuitAllLoopers(this);
        XApplication* self = this;
        currentApplication.compare_exchange_strong(self, nullptr);
    }
    if (GetAppIdentity() == this)
        SetAppIdentity(nullptr);
    if (&GetParamHost() == this)
        SetParamHost(nullptr);
    DeletePort(replyPort);
}

XApplication* GetApplication()
{
    return currentApplication.load();
}

XString GetApplicationName()
{
    XApplication* application = GetApplication();
    return application != nullptr ? application->GetAppName() : XString(kNoName);
}

// Start-up and loop ------------------------------------------------------------------------------

void XApplication::Startup()
{
    SetStarting(true);
    CalibrateClock();
    InitHostName();
    InitSystemFolder();
    InitCore();
    if (StartApp())
        Run();
    SetStarting(false);
}

bool XApplication::IsStartupComplete() const
{
    return !IsStarting();
}

void XApplication::InitSystemFolder()
{
    XString root;
    FindRootFolder(root);
    SetSystemFolder(root + "\\" + kSystemFolderName);
}

void XApplication::InitCore()
{
    std::call_once(coreStarted,
                   []
                   {
                       CalibrateClock();
                       OpenAppLog();
                       if (IsEmbeddedSystem())
                           LogPrintf("--- Running on XP Embedded ---");
                       RunModuleInits();
                   });
}

bool XApplication::StartApp()
{
    StartupInit();
    CreatePrefsKey();
    return true;
}

int32_t XApplication::Run()
{
    XSleep(kRunStartPauseMs);
    bool wait = true;
    {
        XSmartLock hold(GetLock());
        StartupInit();
        wait = !Pulse();
    }
    while (!::IsShuttingDown() && LoopOnce(wait))
    {
    }
    return GetThreadId();
}

bool XApplication::LoopOnce(bool wait)
{
    XLooper::LoopOnce(wait);
    XSleep(kTurnPauseMs);
    return true;
}

void XApplication::ProcessPendingMessages()
{
    LoopOnce(false);
}

bool XApplication::PumpMessages()
{
    if (::IsShuttingDown())
        return true;
    return LoopOnce(false);
}

bool XApplication::Pulse()
{
    const uint32_t now = pulseClock->GetTickCount();
    lastPulseTick = now;
    if (!prefsSavedByPulse || PlatformClock::TicksSince(lastPrefsSaveTick, now) > kPrefsSaveIntervalMs)
    {
        if (IsPrefsDirty())
            SaveSystemPrefs();
        lastPrefsSaveTick = now;
        prefsSavedByPulse = true;
    }
    return true;
}

void XApplication::SetPulseClock(ITickClock* clock)
{
    pulseClock = clock != nullptr ? clock : &ITickClock::Platform();
}

bool XApplication::QuitRequested()
{
    return true;
}

void XApplication::Quit()
{
    SetPrefsDirty(true);
    SaveSystemPrefs();
    LogPrintf("XApplication::SaveSystemPrefs Success");
    SetShuttingDown();
    XSleep(static_cast<int32_t>(kQuitPauseMs));
}

// Exit -------------------------------------------------------------------------------------------

void XApplication::Exit()
{
    const int32_t caller = CurrentThreadId();
    LongArray threads;
    if (ListProcessThreads(PlatformThreads::CurrentProcessId(), threads) == 0)
        for (int i = 0; i < threads.GetCount(); ++i)
            if (threads.GetAt(i) != caller)
                LogPrintf("Killing Thread (%d): id=%d", i, threads.GetAt(i));
    StopFrameworkThreads();
    RunModuleExits();
    LogPrintf("Exiting RIDiza...");
    std::call_once(portsDeleted, [] { DeleteAllPorts(); });
}

void XApplication::StopFrameworkThreads()
{
    QuitAllLoopers(this);
    const int32_t caller = CurrentThreadId();
    const uint32_t start = PlatformClock::GetTickCount();
    std::vector<int32_t> running = RunningFrameworkThreads(caller);
    while (!running.empty() &&
           PlatformClock::TicksSince(start, PlatformClock::GetTickCount()) < kThreadJoinTimeoutMs)
    {
        XSleep(kThreadJoinPollMs);
        running = RunningFrameworkThreads(caller);
    }
    for (const int32_t id : running)
        LogPrintf("XApplication::Exit: thread id=%d is still running", id);
}

// Messages ---------------------------------------------------------------------------------------

bool XApplication::AcceptMessage(XMessage* message)
{
    if (message == nullptr || message->GetBool(kEchoItem))
        return true;
    XHandler* handler = FindCodeHandler(message->GetWhat());
    if (handler == nullptr || handler == this || handler->GetLooper() == this)
        return true;
    return handler->PostMessage(message) != 0;
}

void XApplication::DispatchMessage(XMessage* message, XHandler* handler)
{
    if (message != nullptr && !message->GetBool(kEchoItem) && (handler == nullptr || handler == this))
    {
        if (XHandler* bound = FindCodeHandler(message->GetWhat()))
        {
            XLooper* looper = bound->GetLooper();
            if (looper != nullptr && looper != this)
                bound->PostMessage(message);
            else
                bound->DispatchMessage(message);
            return;
        }
    }
    XLooper::DispatchMessage(message, handler);
}

void XApplication::MessageReceived(XMessage& message)
{
    switch (message.GetWhat())
    {
    case XMsgCode::kOpenDocument:
    case XMsgCode::kSaveDocument:
    case XMsgCode::kNewDocument:
        AnswerDocumentRequest(message, HandleDocumentRequest(message));
        return;
    case XMsgCode::kRunCommand:
        if (ICommandRunner* runner = GetCommandRunner())
            runner->RunCommand(message.GetString(kCommandNameItem), message);
        return;
    default:
        XLooper::MessageReceived(message);
    }
}

int32_t XApplication::HandleDocumentRequest(XMessage& message)
{
    const XString path = message.GetString(kDocPathItem);
    if (message.GetWhat() == XMsgCode::kOpenDocument)
    {
        IAppDocument* document = GetDocumentFor(GetDefaultDocType().CStr());
        if (document == nullptr || path.IsEmpty())
            return XResult::kFailed;
        return document->Open(path.CStr());
    }
    XString type = message.GetString(kDocTypeItem);
    if (type.IsEmpty())
        type = GetDefaultDocType();
    IAppDocument* document = GetDocumentFor(type.CStr());
    if (document == nullptr)
        return XResult::kFailed;
    if (message.GetWhat() == XMsgCode::kSaveDocument)
    {
        const XString target = path.IsEmpty() ? document->GetPath() : path;
        return target.IsEmpty() ? XResult::kFailed : document->SaveAs(target.CStr());
    }
    const int32_t result = document->New(path.CStr());
    if (result != 0)
        document->Reset();
    return result;
}

void XApplication::AnswerDocumentRequest(XMessage& request, int32_t result)
{
    if (!request.IsReplyExpected() && request.GetReplySink() == nullptr)
        return;
    XMessage reply(XMsgCode::kDocumentReply, 0);
    reply.AddInt32(kResultItem, result);
    request.SendReply(&reply);
}

void XApplication::ParamChanged(int32_t code, XParam* param, int32_t key) {}

// Code handlers ----------------------------------------------------------------------------------

XHandler* XApplication::FindCodeHandler(uint32_t code)
{
    XSmartLock hold(codeHandlerLock);
    return codeHandlers.Find(static_cast<int32_t>(code));
}

void XApplication::SetCodeHandler(uint32_t code, XHandler* handler)
{
    XSmartLock hold(codeHandlerLock);
    if (handler == nullptr)
        codeHandlers.Remove(static_cast<int32_t>(code));
    else
        codeHandlers.Add(static_cast<int32_t>(code), handler);
}

int32_t XApplication::SendToCodeHandler(XMessage* message)
{
    if (message == nullptr)
        return XResult::kFailed;
    XHandler* handler = FindCodeHandler(message->GetWhat());
    return handler != nullptr ? handler->PostMessage(message) : XResult::kFailed;
}

// Preferences ------------------------------------------------------------------------------------

void XApplication::SetPrefDocument(std::unique_ptr<IPrefDocument> document)
{
    preferences = std::move(document);
}

void XApplication::SaveSystemPrefs()
{
    if (preferences != nullptr)
        preferences->Save();
    SetPrefsDirty(false);
}

void XApplication::CreatePrefsKey()
{
    if (PlatformRegistry::FilePath().empty())
        RegistryAccess::OpenStore(GetVendorName().CStr(), GetAppName().CStr());
    XString key;
    key.Format(kPrefsKeyFormat, kFrameworkVendor, name.CStr());
    PlatformRegistry::CreateKey(kHkeyLocalMachine, key.CStr());
}

// Identity, labels, documents and files ----------------------------------------------------------

bool XApplication::HasGui()
{
    return false;
}

void XApplication::LoadGlobalColors() {}

XString XApplication::GetMenuLabel(const char* menu, const char* item)
{
    return XString(item);
}

XString XApplication::GetParamMenuLabel(XParam* param, double value)
{
    if (param == nullptr)
        return XString();
    XString label = GetMenuLabel(kMainMenu, param->GetDisplayTextOf(value).CStr());
    if (label.IsEmpty() && param->GetType() == kOnOffParamType)
        label = GetMenuLabel(kMainMenu, param->GetName().CStr());
    return label;
}

bool XApplication::IsShuttingDown() const
{
    return ::IsShuttingDown();
}

void XApplication::MarkDocumentModified()
{
    if (IAppDocument* document = GetDocument())
        document->SetModified(true);
}

XString XApplication::GetVendorName()
{
    return XString(kFrameworkVendor);
}

XString XApplication::GetAppName()
{
    return name;
}

XString XApplication::GetAuxText()
{
    return XString();
}

XString XApplication::GetVersionString()
{
    return XString(kVersionString);
}

void XApplication::FindRootFolder(XString& out)
{
    out = PlatformFileSystem::CurrentFolder().c_str();
    LogPrintf("XApp::Root Folder: %s", out.CStr());
}

IAppDocument* XApplication::GetDocument()
{
    return nullptr;
}

IAppDocument* XApplication::GetDefaultDocument()
{
    return GetDocumentFor(GetDefaultDocType().CStr());
}

IAppDocument* XApplication::GetDocumentFor(const char* type)
{
    return nullptr;
}

XString XApplication::GetDefaultDocType()
{
    return XString();
}

bool XApplication::IsFileAllowed(const char* path)
{
    if (path == nullptr)
        return false;
    if (PlatformFileSystem::IsDriveRoot(path))
        return IsDriveAllowed(path);
    if (PlatformFileSystem::PathIsHidden(path))
        return false;
    const XString fileName = GetEntryName(path);
    XString extension;
    fileName.GetExtension(extension);
    const XString patterns(kRefusedFilePatterns);
    unsigned position = 0;
    while (position < static_cast<unsigned>(patterns.Length()))
    {
        const XString pattern = patterns.NextToken(position, ';');
        XString patternExtension;
        pattern.GetExtension(patternExtension);
        const bool matches = pattern.FindChar('*') >= 0 ? extension.EqualsNoCase(patternExtension)
                                                        : fileName.EqualsNoCase(pattern);
        if (matches)
            return false;
    }
    return true;
}

bool XApplication::IsDriveAllowed(const char* path)
{
    return true;
}

XString XApplication::GetEntryName(const char* entryPath)
{
    if (entryPath == nullptr)
        return XString(kNoName);
    XString path(entryPath);
    path.ReplaceChar('/', '\\');
    XString lastComponent;
    path.GetLastComponent(lastComponent);
    if (lastComponent.IsEmpty() && !path.IsEmpty())
        return XString("/"); // only separators: the root folder
    return lastComponent;
}

XString XApplication::GetPathName(const char* path)
{
    return GetEntryName(path);
}
