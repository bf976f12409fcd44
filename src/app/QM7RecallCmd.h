#pragma once

#include "core/XCommand.h"
#include "device/GlobalParamTables.h"
#include "device/IReceivePresetHandler.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class DeviceCommWatcher;

/** "Recall Preset...": recalls a preset (1..80) of the unit into the unit and the editor. Unsaved
    changes are offered to be stored first; the recall then waits for the unit's data to come back
    (RecallAfterStore). The recall dialog's choice is checked with the unit's information about
    that preset, which the command asks for as the watcher's preset handler: an empty preset is not
    recalled, one of another speaker configuration only after a question. The recall itself runs in
    Prepare, on the message 'cPrf' that the answer posts to the application.

    The command runs on the GUI thread, which waits for the unit's answer for at most
    kPresetInfoTimeoutMs; PresetInfoReceived runs on the connection's reader thread, releases the
    wait (a latched flag under infoLock) and gives up the handler slot. Whenever the command stops
    waiting it leaves the slot, so no later answer runs a recall the user did not ask for. */
class QM7RecallCmd final : public XCommand, public IReceivePresetHandler
{
public:
    static constexpr const char* kName = "recallPresetCmd";
    static constexpr const char* kTitle = "Recall Preset...";
    static constexpr const char* kDialogText = " ";
    static constexpr const char* kStoreFirstTitle = "Store Preset...";
    static constexpr const char* kEmptyPresetTitle = "Empty Preset...";
    static constexpr const char* kEmptyPresetText = "Empty Preset can not be loaded.";
    static constexpr const char* kNoAnswerText = "The unit did not answer the request for the preset.";
    /** Main group ids: the recall and store locations, the unit's current preset. */
    static constexpr int32_t kRecallMemLocationId = GlobalParamTables::kRecallMemLocationId;
    static constexpr int32_t kStoreMemLocationId = GlobalParamTables::kStoreMemLocationId;
    static constexpr int32_t kCurrentPresetId = GlobalParamTables::kCurrentPresetId;
    /** The preset group's programName. */
    static constexpr int32_t kProgramNameId = GlobalParamTables::kProgramNameId;
    /** The unit answers within milliseconds; this long without an answer gives up. */
    static constexpr uint32_t kPresetInfoTimeoutMs = 5000;
    /** The pause after the recall request and after the request for every value. */
    static constexpr uint32_t kSettleMs = 100;

    QM7RecallCmd() = default;
    /** Leaves the watcher's handler slot when it still holds the command. */
    ~QM7RecallCmd() override;

    /** The connection check, the question about unsaved changes, the recall dialog and the request
        for the chosen preset's information. */
    void Execute(XMessage* request) override;
    XString GetTitle() override { return kTitle; }
    bool IsEnabled(XMessage* request) override { return true; }
    /** The recall for a 'cPrf' message ("presetNum", "presetConfig", "presetName"); other
        arguments are ignored. */
    void Prepare(void* argument) override;
    /** After a store that the recall asked for: the recall-after-store mark is cleared and the
        recall dialog runs again. */
    void RecallAfterStore(XMessage* message);

    // IReceivePresetHandler (reader thread) ---------------------------------------------------------

    /** The answer about the requested preset releases the wait, leaves the handler slot and posts
        'cPrf' to the application; an answer about another preset goes on to the application as
        'pInf', as it would without the command. */
    void PresetInfoReceived(int number, int configuration, XString& name) override;
    /** Goes on to the application as 'prfg'. */
    void PresetFlagsReceived(int number, int flags) override;
    void PresetDataReceived() override {}

private:
    /** The recall dialog, then the request for the chosen preset's information and the bounded wait
        for it; a time-out leaves the handler slot and says so. */
    void AskAndRequestPresetInfo();
    /** Installs the command as watcher's preset handler, for the preset number. */
    void BecomeHandler(DeviceCommWatcher* watcher, int32_t number);
    /** Leaves the handler slot of the watcher it was installed in, when the slot still holds it. */
    void LeaveHandlerSlot();
    /** Waits until the answer came; false after kPresetInfoTimeoutMs. */
    bool WaitForPresetInfo();

    std::mutex infoLock; // guards requestedNumber, infoArrived
    std::condition_variable infoSignal;
    int32_t requestedNumber = 0;
    bool infoArrived = false;
    std::atomic<DeviceCommWatcher*> handlerWatcher{nullptr}; // not owned
};
