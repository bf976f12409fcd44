#pragma once

#include "core/IAsyncKeyState.h"

#include <atomic>

/** The asynchronous key state read from the toolkit: on the message thread its real-time query
    of the modifier keys and mouse buttons; on other threads the reading last taken on the message
    thread (the toolkit's state may only be polled there). The GUI application installs the
    process-wide instance at start-up (Install) and removes it at exit (Uninstall). */
class JUCEAsyncKeyState final : public IAsyncKeyState
{
public:
    bool IsDown(Key key) override;

    /** Installs the process-wide instance as the asynchronous key state. */
    static void Install();
    /** Removes it again when it is the installed one. */
    static void Uninstall();

private:
    /** The toolkit's modifier flags as last read on the message thread. */
    std::atomic<int> lastReading{0};
};
