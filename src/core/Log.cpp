#include "core/Log.h"

#include "core/CpuClock.h"
#include "core/IAppIdentity.h"
#include "core/XFileLog.h"
#include "core/XSmartLock.h"
#include "platform/PlatformFile.h"

#include <atomic>
#include <cstdarg>
#include <mutex>
#include <string>

namespace
{
constexpr int kBootLevelAbove = 2;
constexpr int kStatusLevelAbove = 4;
constexpr int kPrintfLevelFrom = 5;

struct AppLogState
{
    std::mutex lock; // guards log and folder; taken before a log's own lock
    std::unique_ptr<ILog> log;
    XString folder;
};

/** Never destroyed, so that threads and static destructors may log until the process ends. */
AppLogState& State()
{
    static auto* state = new AppLogState;
    return *state;
}

std::atomic<int> logLevel{kDefaultLogLevel};
std::atomic<bool> starting{false};

void WriteToLog(ILog& log, const char* text)
{
    try
    {
        XSmartLock hold(log.GetLock());
        XString line(text);
        line += "\r\n";
        log.GetFile().Write(line.CStr(), line.Length());
        log.CheckFile();
    }
    catch (...)
    {
        // Logging never fails its caller.
    }
}

XString JoinFolder(const XString& folder, const char* name)
{
    XString path = folder;
    const char last = path.LastChar();
    if (!path.IsEmpty() && last != '/' && last != '\\')
        path += "/";
    return path + name;
}

/** The settings folder of the registered application, or the temporary folder without one. */
XString FallbackLogFolder()
{
    IAppIdentity* identity = GetAppIdentity();
    if (identity == nullptr)
        return GetTempFolderPath();
    std::string folder = PlatformSystemInfo::ConfigFolder();
    for (const XString& part : {identity->GetVendorName(), identity->GetAppName()})
        if (!part.IsEmpty())
            folder += std::string("/") + part.CStr();
    return XString(folder.c_str());
}

/** The folder for "log.txt" given the folder set for it (empty: beside the program). */
XString ChooseAppLogFolder(const XString& setFolder)
{
    const XString preferred = setFolder.IsEmpty() ? GetExecutableFolderPath() : setFolder;
    if (!preferred.IsEmpty() && PlatformFile::CanWrite(JoinFolder(preferred, kAppLogFileName).CStr()))
        return preferred;
    return FallbackLogFolder();
}

/** Formats the message and writes "<time stamp> - <kind> : <message>" to the application log (the
    message is not formatted again); returns the message's length, 0 for a null or empty format. */
int WriteStampedLineV(const char* kind, const char* format, va_list args)
{
    if (format == nullptr || *format == '\0')
        return 0;
    XString message;
    message.FormatV(format, args);
    XString line;
    line.Format("%s - %s : %s", LogTimeStampText().CStr(), kind, message.CStr());
    WriteLogLine(nullptr, line.CStr());
    return message.Length();
}
} // namespace

std::unique_ptr<ILog> OpenLogFile(const XString& path, bool fresh)
{
    std::unique_ptr<ILog> log = std::make_unique<XFileLog>(path, fresh);
    const std::string rule(kLogRuleLength, '-');
    LogFormatted(log.get(), "%s", rule.c_str());
    if (IAppIdentity* identity = GetAppIdentity())
        LogFormatted(log.get(), "%s - %s - Version: %s", identity->GetVendorName().CStr(),
                     identity->GetAppName().CStr(), identity->GetVersionString().CStr());
    else
        LogFormatted(log.get(), "%s", "Application");
    LogFormatted(log.get(), "%s", StartedAtText(GetLocalTimeParts()).CStr());
    LogFormatted(log.get(), "%s", rule.c_str());
    return log;
}

void OpenAppLog()
{
    auto& state = State();
    std::lock_guard<std::mutex> hold(state.lock);
    if (state.log)
        return;
    const XString folder = ChooseAppLogFolder(state.folder);
    PlatformSystemInfo::MakeFolders(PlatformFile::ToSystemPath(folder.CStr()));
    state.log = OpenLogFile(JoinFolder(folder, kAppLogFileName), true);
}

void SetAppLog(std::unique_ptr<ILog> log)
{
    std::unique_ptr<ILog> previous;
    {
        auto& state = State();
        std::lock_guard<std::mutex> hold(state.lock);
        previous = std::move(state.log);
        state.log = std::move(log);
    }
    // A writer holds the state lock for the whole line, so nobody still uses the previous log.
    if (previous)
        previous->Close();
}

bool HasAppLog()
{
    auto& state = State();
    std::lock_guard<std::mutex> hold(state.lock);
    return state.log != nullptr;
}

void SetAppLogFolder(const XString& folder)
{
    auto& state = State();
    std::lock_guard<std::mutex> hold(state.lock);
    state.folder = folder;
}

XString GetAppLogPath()
{
    auto& state = State();
    std::lock_guard<std::mutex> hold(state.lock);
    return JoinFolder(ChooseAppLogFolder(state.folder), kAppLogFileName);
}

void WriteLogLine(ILog* log, const char* text)
{
    if (text == nullptr)
        return;
    if (log != nullptr)
    {
        WriteToLog(*log, text);
        return;
    }
    auto& state = State();
    std::lock_guard<std::mutex> hold(state.lock);
    if (state.log)
        WriteToLog(*state.log, text);
}

void LogFormatted(ILog* log, const char* format, ...)
{
    if (format == nullptr || *format == '\0')
        return;
    XString line;
    va_list args;
    va_start(args, format);
    line.FormatV(format, args);
    va_end(args);
    WriteLogLine(log, line.CStr());
}

void LogBoot(const char* format, ...)
{
    if (!IsStarting() || GetLogLevel() <= kBootLevelAbove)
        return;
    va_list args;
    va_start(args, format);
    WriteStampedLineV("BOOT", format, args);
    va_end(args);
}

void LogStatus(const char* format, ...)
{
    if (GetLogLevel() <= kStatusLevelAbove)
        return;
    va_list args;
    va_start(args, format);
    WriteStampedLineV("STATUS", format, args);
    va_end(args);
}

int LogPrintf(const char* format, ...)
{
    if (GetLogLevel() < kPrintfLevelFrom)
        return 0;
    va_list args;
    va_start(args, format);
    const int length = WriteStampedLineV("STATUS", format, args);
    va_end(args);
    return length;
}

XString LogTimeStampText()
{
    XString text;
    text.Format("%.8f", GetElapsedMs() * 0.001);
    return text;
}

XString StartedAtText(const LocalTimeParts& time)
{
    XString text;
    text.Format("Started At:  %d/%d/%d %d:%d.%d", time.monthIndex + 1, time.day, time.year, time.hour,
                time.minute, time.second);
    return text;
}

int GetLogLevel()
{
    return logLevel.load(std::memory_order_relaxed);
}

void SetLogLevel(int level)
{
    logLevel.store(level, std::memory_order_relaxed);
}

bool IsStarting()
{
    return starting.load(std::memory_order_relaxed);
}

void SetStarting(bool isStarting)
{
    starting.store(isStarting, std::memory_order_relaxed);
}
