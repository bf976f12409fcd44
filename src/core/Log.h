#pragma once

#include "core/SystemInfo.h"
#include "core/XString.h"

#include <memory>

class ILog;

/** The process-wide log: the application log "log.txt", the level that gates the framework's
    formatted log calls, and the 'starting' flag ('shutting down' lives in ProcessState.h).

    Every function here may be called from any thread; lines never interleave. Failures while
    writing are swallowed: logging never fails its caller. */

/** The level the program runs at; LogBoot writes above 2, LogStatus above 4, LogPrintf from 5. */
constexpr int kDefaultLogLevel = 2;
/** Characters of the header's ruling lines. */
constexpr int kLogRuleLength = 72;
constexpr const char* kAppLogFileName = "log.txt";

/** Opens the file log (fresh: emptied) and writes its four-line header. The log's writes do
    nothing when the file cannot be opened. */
std::unique_ptr<ILog> OpenLogFile(const XString& path, bool fresh);
/** When there is no application log yet, opens "log.txt" fresh as the application log: in the log
    folder when one was set, else beside the program; when that place is not writable, in the
    settings folder of the application (<config>/<vendor>/<application>), or in the temporary
    folder when no application is registered. */
void OpenAppLog();
/** Makes log the application log, closing and deleting the previous one; null just closes it. */
void SetAppLog(std::unique_ptr<ILog> log);
/** Whether an application log is open. */
bool HasAppLog();
/** Where OpenAppLog puts "log.txt"; empty means beside the program. For tests and tools. */
void SetAppLogFolder(const XString& folder);
/** The path OpenAppLog would open now. */
XString GetAppLogPath();

/** Writes text and CR LF as one line; a null log means the application log (nothing when none). */
void WriteLogLine(ILog* log, const char* text);
/** Formats (printf rules) and writes one line; nothing for a null or empty format. */
void LogFormatted(ILog* log, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
/** While starting and above level 2: "<time stamp> - BOOT : <message>" to the application log. */
void LogBoot(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
/** Above level 4: "<time stamp> - STATUS : <message>" to the application log. */
void LogStatus(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
/** From level 5: the message as a STATUS line; returns its length, 0 when nothing was written. */
int LogPrintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

/** Seconds since the clock's calibration, "%.8f". */
XString LogTimeStampText();
/** The header's third line for a local time: "Started At:  M/D/YYYY h:m.s", no zero padding. */
XString StartedAtText(const LocalTimeParts& time);

int GetLogLevel();
/** The program never changes the level; tests raise it to see the gated lines. */
void SetLogLevel(int level);

bool IsStarting();
void SetStarting(bool starting);
