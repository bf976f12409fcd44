#pragma once

/** Process-wide state of the framework that the lowest layers need: the 'shutting down' flag and the
    fatal-error exit. Thread-safe. */

/** True once SetShuttingDown has been called; never cleared. */
bool IsShuttingDown();
/** Marks the process as shutting down, for good. */
void SetShuttingDown();

/** Exit code of a process ended by FatalError. */
constexpr int kFatalErrorExitCode = 1;

/** Ends the process at once with kFatalErrorExitCode after writing the reason to the standard error
    stream. No destructors run. */
[[noreturn]] void FatalError(const char* reason);
