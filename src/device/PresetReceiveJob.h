#pragma once

#include "device/IDeviceJob.h"
#include "device/IReceivePresetHandler.h"

#include <atomic>
#include <cstdint>
#include <mutex>

class IPresetLink;
class PresetsManager;

/** Refreshes the presets manager from the unit, one preset at a time: it asks for the info and
    flags of preset 1, and every info reply stores that preset and asks for the next, until preset
    80 has come (progress 100). Names beginning with '?' are stored as "?" (an empty slot), others
    without trailing blanks.

    Run executes on the job's thread (the progress window's) and waits in 50 ms steps until all
    presets are in, the link drops, the window asks it to exit (its cancel button), or the unit
    keeps answering preset 0 (the receive is restarted from preset 1 at most kMaxRestarts times).
    The replies arrive on the link's reader thread while the job is the link's preset handler; Run
    takes that slot for its length and gives it back, waiting for a reply being handled, before it
    returns. Entries not received keep their contents. The link and the presets must outlive the
    job. */
class PresetReceiveJob final : public IDeviceJob, public IReceivePresetHandler
{
public:
    enum class Outcome
    {
        kNotRun,
        kComplete,     // every preset received
        kNotConnected, // nothing was asked: the link was down
        kLinkLost,     // the link dropped during the receive
        kCancelled,    // the window asked the job to exit
        kGaveUp        // the unit kept answering preset 0
    };

    static constexpr const char* kTitle = "Receiving Presets";
    /** How long the window waits for the job when it is cancelled. */
    static constexpr int kCancelTimeoutMs = 10000;
    static constexpr const char* kLinkLostText =
        "The connection to the unit was lost while receiving its presets.";
    static constexpr const char* kGaveUpText = "The unit did not list its presets.";

    static constexpr uint32_t kPollMs = 50;
    /** Progress once the last preset is in. */
    static constexpr int32_t kProgressDone = 100;
    /** Restarts from preset 1 allowed for replies about preset 0. */
    static constexpr int32_t kMaxRestarts = 3;

    PresetReceiveJob(IPresetLink& link, PresetsManager& presets);
    ~PresetReceiveJob() override;
    PresetReceiveJob(const PresetReceiveJob&) = delete;
    PresetReceiveJob& operator=(const PresetReceiveJob&) = delete;

    /** "Receiving Presets" with a progress bar and a cancel button. */
    WindowStyle GetWindowStyle() const override;
    /** The receive; see the class comment. progress gets 0.0 .. 1.0 and is asked whether to exit. */
    void Run(IJobProgress& progress) override;
    /** Empty when the receive completed, found no unit or was cancelled; else kLinkLostText or
        kGaveUpText. */
    XString GetFailureText() const override;
    /** How the last Run ended. */
    Outcome GetOutcome() const { return outcome.load(); }
    /** 0..100. */
    int32_t GetProgress() const { return progressPercent.load(); }

    // Replies, on the link's reader thread.
    void PresetInfoReceived(int number, int configuration, XString& name) override;
    void PresetFlagsReceived(int number, int flags) override;
    /** Nothing: the receive asks for no preset data. */
    void PresetDataReceived() override;

    /** The name as stored: "?" when it begins with '?', else without trailing blanks. */
    static XString StoredName(const XString& name);

private:
    /** While a run holds the preset-handler slot: gives it back and waits for a reply being
        handled. */
    void Detach();

    IPresetLink& link;
    PresetsManager& presets;
    std::atomic<int32_t> progressPercent{0};
    std::atomic<int32_t> restarts{0};
    std::atomic<bool> gaveUp{false};
    std::atomic<Outcome> outcome{Outcome::kNotRun};

    std::mutex callbackLock; // held while a reply is handled and while preset 1 is asked for; guards attached
    bool attached = false;   // replies are taken only while set
};
