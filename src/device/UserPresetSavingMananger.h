#pragma once

#include "device/IDeviceJob.h"
#include "device/IReceivePresetHandler.h"

#include <atomic>
#include <cstdint>
#include <mutex>

class IDeviceJobLink;
class XDocument;

/** Saves the unit's user presets to files ("Saving User Presets "): for each of the 20 slots in turn
    it asks the preset's name (command 13); an empty slot is skipped, a filled one is recalled for
    saving (its values come back as a compare answer), copied into the live parameters and written by
    the document as "User Preset _<n>.qm7" into the folder. Afterwards the unit is returned to its edit
    buffer and every value is read again. Progress moves in 5 % steps (95 % during preset 20) and ends
    at 100 %.

    While Run runs the job is the watcher's preset handler; the replies move it on from the link's
    reader thread. Progress, the current number and the activity stamp are atomics; the document, the
    progress sink and the texts are used under callbackLock, which Run takes once more after giving
    the handler slot back, so that no reply is still inside the job when Run returns. A link that
    drops, or a unit that stops answering for kStallTimeoutMs, ends the run early with a failure text;
    files already written stay. The document and the link are not owned. */
class UserPresetSavingMananger final : public IReceivePresetHandler, public IDeviceJob
{
public:
    static constexpr const char* kTitle = "Saving User Presets ";
    static constexpr int kCancelTimeoutMs = 10000;
    static constexpr const char* kFileNameFormat = "User Preset _%d.qm7";
    static constexpr int kUserPresetCount = 20;
    static constexpr int32_t kProgressDone = 100;
    static constexpr uint32_t kWaitStepMs = 50;
    /** The pause after a recall request and after the request for all values. */
    static constexpr uint32_t kSettleMs = 100;
    /** A recall takes about 1.1 s; a unit silent for this long has stopped answering. */
    static constexpr uint32_t kStallTimeoutMs = 15000;
    static constexpr const char* kStalledText =
        "The unit stopped answering while the user presets were saved.";
    static constexpr const char* kLinkLostText = "The unit was lost while the user presets were saved.";
    static constexpr const char* kWriteFailedText = "A user preset file could not be written: ";

    /** folder: where the files go (backslash path). document: writes the preset files (null: none is
        written). link may be null (no watcher). */
    UserPresetSavingMananger(const char* folder, XDocument* document, IDeviceJobLink* link);
    ~UserPresetSavingMananger() override;

    WindowStyle GetWindowStyle() const override;
    void Run(IJobProgress& progress) override;
    XString GetFailureText() const override;

    void PresetInfoReceived(int number, int configuration, XString& name) override;
    void PresetFlagsReceived(int number, int flags) override;
    void PresetDataReceived() override;
    /** One slot done (1..19: progress), 20: back to the edit buffer, 0: read everything again and end. */
    void ProgressStep(int n);

    int32_t GetProgress() const { return progress.load(); }
    int32_t GetCurrentNumber() const { return currentNumber.load(); }
    /** The file name the job gives preset number. */
    static XString FileNameFor(int number);

private:
    /** True while Run runs and the link is up. */
    bool IsActive();
    void NoteActivity();
    void RequestNextAfter(int number);
    void SetFailure(const XString& text);

    const XString folder;
    XDocument* const document;  // not owned; may be null
    IDeviceJobLink* const link; // not owned; may be null

    std::atomic<int32_t> progress{0};
    std::atomic<int32_t> currentNumber{0};
    std::atomic<uint32_t> lastActivityTick{0};
    std::atomic<bool> running{false};

    mutable std::recursive_mutex callbackLock; // guards sink, presetName, finalDocumentPath, failureText
    IJobProgress* sink = nullptr;
    XString presetName{"default"};
    XString finalDocumentPath;
    XString failureText;
};
