#pragma once

#include "core/XSignal.h"
#include "core/XString.h"
#include "core/XThread.h"

#include <cstdint>
#include <vector>

/** The worker that copies or moves the items of a browser's selection into a folder ("CopyThread"):
    for each item it announces the source path and the progress count / (items + 1), copies a file
    (replacing an existing one; a file onto itself is skipped) or copies a folder into the target
    folder (merging with one of the same name), and ends with progress (n + 1) / (n + 1) and the
    done signal, or at the first item that fails with the failed signal; items before it stay done.

    The items are copied from the rows when the thread is made, so a browser that rebuilds its rows
    meanwhile does not matter. The signals are emitted on the thread; the amount, reset and complete
    signals are there for the dialog and never emitted. The owner joins the thread (Join) before
    the dialog it talks to goes. */
class FileCopyThread final : public XThread
{
public:
    static constexpr int32_t kStartPauseMs = 200;

    /** One item of the selection: its path and name, or not a file row at all. */
    struct Item
    {
        XString path;
        XString name;
        bool isFileRow = true;
    };

    FileCopyThread(std::vector<Item> items, const XString& targetFolder, bool move);
    ~FileCopyThread() override;

    void Run() override;
    void Join() { StopAndWait(); }

    XSignal<> failedSignal;
    XSignal<> doneSignal;
    XSignal<const char*> currentFileSignal;
    XSignal<uint32_t, uint32_t> progressSignal;
    XSignal<uint64_t, bool> amountSignal;
    XSignal<> resetSignal;
    XSignal<> completeSignal;

private:
    /** Copies or moves one item; false when it failed. */
    bool TransferItem(const Item& item) const;

    std::vector<Item> items;
    XString targetFolder;
    bool move;
};
