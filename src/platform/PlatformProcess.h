#pragma once

#include <string>

/** Starting another program of ours and leaving it to run on its own, as the interprocess
    connection does with its server. The program is started with no arguments, in a given working
    folder, detached: it is not a child that this process must wait for, and it keeps running when
    this process ends. Descriptors other than standard input, output and error are not passed on.

    Paths may use '\' as the separator; it becomes '/' here. Thread-safe (no state of its own). */
class PlatformProcess final
{
public:
    /** Starts program in workingFolder (empty: the current folder). 0 once the program runs, else
        the system's error number of the step that failed (a missing or non-executable program, a
        working folder that cannot be entered, no process to spare). */
    static int StartDetached(const std::string& program, const std::string& workingFolder);

    /** Makes a write to a pipe or socket whose reader has gone fail with an error instead of
        ending the process; once per process, before the first pipe or socket is written. */
    static void IgnoreBrokenPipes();

    /** The folder that holds the running program; empty when the system cannot tell. */
    static std::string ProgramFolder();

    PlatformProcess() = delete;
};
