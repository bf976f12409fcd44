#pragma once

#include "core/XString.h"

#include <cstdint>

/** Where a device job shows how far it is: its progress window, or a test's recorder. Any thread may
    call it (the unit's replies move a job on from the link's reader thread). */
class IJobProgress
{
public:
    virtual ~IJobProgress() = default;

    /** The bar's position, 0..1. */
    virtual void SetProgress(double fraction) = 0;
    /** The line of text in the window. */
    virtual void SetStatusMessage(const XString& text) = 0;
    /** True once the job should end early (its window is going away). */
    virtual bool ShouldExit() = 0;
};

/** A long exchange with the unit that runs on a thread of its own behind a modal progress window
    (switching the listen mode, saving the user presets, waiting while the unit is slaved). The job's
    logic lives here, headless; the window is a thin wrapper that calls Run on its thread.

    Run returns once the job is done, has given up, or its progress asks it to exit; every wait in it
    is bounded. It returns at once when there is no device watcher or no connection. */
class IDeviceJob
{
public:
    /** How the job's progress window looks. */
    struct WindowStyle
    {
        const char* title;
        bool hasProgressBar;
        bool hasCancelButton;
        int cancelTimeoutMs; // how long the window waits for the thread when it is closed
    };

    virtual ~IDeviceJob() = default;

    virtual WindowStyle GetWindowStyle() const = 0;
    /** The job's body, on the window's thread. */
    virtual void Run(IJobProgress& progress) = 0;
    /** After Run: empty when the job did its work or found no unit; else what went wrong, for the
        user. */
    virtual XString GetFailureText() const = 0;
};
