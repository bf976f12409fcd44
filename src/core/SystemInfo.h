#pragma once

#include "core/XString.h"
#include "platform/PlatformSystemInfo.h"

/** Process-wide facts about the machine and the program's folders. Paths that come from the system
    use '/'; the framework's backslash helpers accept them. Thread-safe. */

/** Shell folder id of the user's documents folder. */
constexpr int kDocumentsFolderId = 5;
/** The host name used until InitHostName has read the machine's. */
constexpr const char* kDefaultHostName = "localhost";

/** Reads the machine's host name (at most 255 characters); on a failure the default stays. */
void InitHostName();
XString GetHostName();

/** The local time: month - 1, day, year, hour, minute, second. */
using LocalTimeParts = PlatformSystemInfo::LocalTime;
LocalTimeParts GetLocalTimeParts();

/** Whether the system is an embedded edition; never on this system. */
bool IsEmbeddedSystem();

/** The path of a shell folder by id into out; out empty and false for an id this system does not
    have (only kDocumentsFolderId is known). */
bool GetSpecialFolderPath(XString& out, int folderId);
XString GetDocumentsFolderPath();
/** The temporary-files folder, ending with a separator. */
XString GetTempFolderPath();
/** Full path of the running program file. */
XString GetExecutableFilePath();
/** The folder that holds the running program. */
XString GetExecutableFolderPath();

/** The skin's system folder: the root folder, a backslash and "System", set at start-up. */
void SetSystemFolder(const XString& path);
XString GetSystemFolder();
