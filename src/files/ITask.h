#pragma once

#include "core/XResult.h"
#include "core/XSignal.h"
#include "core/XString.h"

#include <atomic>
#include <cstdint>

/** A unit of work that a worker thread runs step by step under a progress dialog: it tells its
    status line through the text signal and the fraction done (0.0 to 1.0) through the progress
    signal, and stops at its next opportunity once Abort has been called.

    The runner (XTaskDialog) calls Begin once, RunStep for each step from 0 until one fails, then
    End, all on its worker thread; the signals are emitted there. Abort may be called on any thread
    (it only sets the flag). Connections are made and dropped by id (XSignal); whoever connects
    must disconnect, or let the task outlive the receiver. */
class ITask
{
public:
    static constexpr int32_t kOk = XResult::kOk;
    static constexpr int32_t kFailed = XResult::kFailed;

    ITask() = default;
    ITask(const ITask&) = delete;
    ITask& operator=(const ITask&) = delete;
    virtual ~ITask() = default;

    /** Clears the abort flag. */
    virtual void Begin() { abortFlag.store(false); }
    virtual void End() {}
    virtual int32_t GetStepCount() = 0;
    /** 0 when the step succeeded; else a failure whose reason the step wrote into error. */
    virtual int32_t RunStep(int32_t step, XString& error) = 0;

    /** Asks the task to stop before its next piece of work. Any thread. */
    void Abort() { abortFlag.store(true); }
    bool IsAborted() const { return abortFlag.load(); }

    XSignal<const char*>& GetTextSignal() { return textSignal; }
    XSignal<float>& GetProgressSignal() { return progressSignal; }

protected:
    XSignal<const char*> textSignal;
    XSignal<float> progressSignal;

private:
    std::atomic<bool> abortFlag{false};
};
