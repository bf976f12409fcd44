#include "files/FileCopyThread.h"

#include "core/ThreadServices.h"
#include "files/FileOperations.h"
#include "platform/PlatformFileSystem.h"

#include <utility>

FileCopyThread::FileCopyThread(std::vector<Item> copiedItems, const XString& folder, bool moveItems)
    : XThread(false, "CopyThread"), items(std::move(copiedItems)), targetFolder(folder), move(moveItems)
{
}

FileCopyThread::~FileCopyThread()
{
    StopAndWait();
}

void FileCopyThread::Run()
{
    if (items.empty())
    {
        // Nothing to do must still end the dialog that waits for this thread.
        doneSignal.Emit();
        return;
    }
    XSleep(kStartPauseMs);
    const auto total = static_cast<uint32_t>(items.size() + 1);
    uint32_t count = 0;
    for (const Item& item : items)
    {
        ++count;
        bool transferred = false;
        try
        {
            if (item.isFileRow)
            {
                currentFileSignal.Emit(item.path.CStr());
                progressSignal.Emit(count, total);
                transferred = TransferItem(item);
            }
        }
        catch (...)
        {
            transferred = false;
        }
        if (!transferred)
        {
            failedSignal.Emit();
            return;
        }
    }
    progressSignal.Emit(total, total);
    doneSignal.Emit();
}

bool FileCopyThread::TransferItem(const Item& item) const
{
    XString target = targetFolder;
    if (!target.EndsWithChar('\\'))
        target += "\\";
    target += item.name;
    const XString& source = item.path;
    if (PlatformFileSystem::FileExists(source.CStr()))
    {
        if (source == target)
            return true;
        return CopyOrMoveFile(source.CStr(), target.CStr(), !move, false) == 0;
    }
    if (PlatformFileSystem::PathIsFolder(source.CStr()))
    {
        XString into = target;
        into.StripLastComponent();
        return ShellCopyOrMove(source.CStr(), into.CStr(), !move, false) == 0;
    }
    return false;
}
