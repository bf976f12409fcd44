#include "files/XFileBackup.h"

#include "core/Log.h"
#include "core/ThreadServices.h"
#include "core/XSmartLock.h"
#include "files/FileOperations.h"
#include "files/FileTexts.h"
#include "files/XFileEntry.h"

#include <deque>

namespace
{
constexpr int32_t kWorkerLevel = 3;
/** The collection's cycling progress, shared by every backup. */
std::atomic<int32_t> collectCounter{0};
constexpr int32_t kCollectCycle = 100;
} // namespace

XFileBackup::XFileBackup(const XString& setName) : XThread(false, "XFileBackup"), name(setName) {}

XFileBackup::~XFileBackup()
{
    StopAndWait();
}

int32_t XFileBackup::AddEntry(const XFileEntry* entry)
{
    if (entry == nullptr)
        return kFailed;
    entries.push_back(std::make_unique<XFileEntry>(*entry));
    sizeStale.store(true);
    return kOk;
}

void XFileBackup::StartSizing()
{
    mode.store(kModeSizing);
    Start(kWorkerLevel, nullptr, nullptr);
}

void XFileBackup::StartAssembly()
{
    mode.store(kModeAssembly);
    Start(kWorkerLevel, nullptr, nullptr);
}

void XFileBackup::Run()
{
    if (mode.load() == kModeSizing)
        ComputeTotalSize();
    else
        AssembleDiskImages();
}

void XFileBackup::OnCollectProgress(const XString&, void* userData)
{
    int32_t count = collectCounter.fetch_add(1) + 1;
    if (count > kCollectCycle)
    {
        collectCounter.store(0);
        count = 0;
    }
    static_cast<XFileBackup*>(userData)->progressSignal.Emit(static_cast<float>(count) / kCollectCycle);
}

void XFileBackup::ComputeTotalSize()
{
    XSleep(kStartPauseMs);
    progressSignal.Emit(0.0f);
    textSignal.Emit("Determining total size...");
    {
        XSmartLock hold(sortedLock);
        sortedFiles.clear();
    }
    if (entries.empty())
    {
        failedSignal.Emit();
        return;
    }
    XList<XFileEntry> collected;
    for (const auto& entry : entries)
        CollectFiles(*entry, collected, &XFileBackup::OnCollectProgress, this, true);
    const int32_t count = collected.GetCount();
    if (count == 0)
    {
        failedSignal.Emit();
        return;
    }

    progressSignal.Emit(0.0f);
    textSignal.Emit("Calculating total size...");
    {
        XSmartLock hold(sortedLock);
        totalSize = 0.0;
        int32_t i = 0;
        for (auto* link = collected.GetHead(); link != nullptr; link = link->next, ++i)
        {
            XString line;
            line.Format("Calculating total size...\t(%s)", FormatFileSize(totalSize).CStr());
            textSignal.Emit(line.CStr());
            progressSignal.Emit(static_cast<float>(i) / static_cast<float>(count));
            auto file = std::unique_ptr<XFileEntry>(XList<XFileEntry>::ItemOf(link));
            const double size = file->GetSize(false);
            totalSize += size;
            InsertSorted(std::move(file), static_cast<uint64_t>(size));
        }
        collected.RemoveAll();
        progressSignal.Emit(1.0f);
        sizeStale.store(false);
    }
    finishedSignal.Emit();
}

void XFileBackup::InsertSorted(std::unique_ptr<XFileEntry> file, uint64_t size)
{
    auto at = sortedFiles.begin();
    while (at != sortedFiles.end() && at->first < size)
        ++at;
    sortedFiles.emplace(at, size, std::move(file));
}

void XFileBackup::AssembleDiskImages()
{
    try
    {
        DeleteIndexFiles();
        images.clear();
        XSleep(kStartPauseMs);
        progressSignal.Emit(0.0f);
        textSignal.Emit("Assembling disk images...");
        XSmartLock hold(sortedLock);
        if (sortedFiles.empty())
        {
            textSignal.Emit("No files to add!");
            failedSignal.Emit();
            return;
        }
        if (!PackAndWrite())
        {
            failedSignal.Emit();
            return;
        }
    }
    catch (...)
    {
        LogStatus("XFileBackup::AssembleDiskImages Exception");
        failedSignal.Emit();
        return;
    }
    finishedSignal.Emit();
}

bool XFileBackup::PackAndWrite()
{
    const double capacity = XDiskImage::GetMediaCapacity(mediaType);
    // The largest file stands last; one that no empty disc takes would make discs without end.
    if (static_cast<double>(sortedFiles.back().first) >= capacity)
        return false;

    std::deque<const SortedFile*> pending;
    for (const SortedFile& file : sortedFiles)
        pending.push_front(&file);
    std::deque<const SortedFile*> deferred;
    double remaining = capacity;
    size_t placed = 0;
    images.push_back(std::make_unique<XDiskImage>(name, 0));
    for (;;)
    {
        if (!pending.empty())
        {
            const SortedFile* file = pending.front();
            pending.pop_front();
            const double size = static_cast<double>(file->first);
            if (size < remaining)
            {
                images.back()->AddFile(*file->second);
                remaining -= size;
                ++placed;
                progressSignal.Emit(static_cast<float>(placed) / static_cast<float>(sortedFiles.size()));
            }
            else
                deferred.push_front(file);
        }
        if (pending.empty())
        {
            if (deferred.empty())
                break;
            images.push_back(std::make_unique<XDiskImage>(name, static_cast<int32_t>(images.size())));
            remaining = capacity;
            while (!deferred.empty())
            {
                pending.push_front(deferred.front());
                deferred.pop_front();
            }
        }
    }
    const auto count = static_cast<int32_t>(images.size());
    for (const auto& image : images)
    {
        const int32_t textId =
            image->GetTextSignal().Connect([this](const char* text) { textSignal.Emit(text); });
        const int32_t progressId =
            image->GetProgressSignal().Connect([this](float fraction) { progressSignal.Emit(fraction); });
        const int32_t written = image->WriteIndex(count);
        image->GetTextSignal().Disconnect(textId);
        image->GetProgressSignal().Disconnect(progressId);
        if (written != kOk)
            return false;
    }
    return true;
}

void XFileBackup::DeleteIndexFiles()
{
    for (const auto& image : images)
    {
        if (!image->GetIndexPath().IsEmpty())
            DeleteFileAtPath(image->GetIndexPath().CStr());
    }
}

int32_t XFileBackup::GetTotalSize(double& out) const
{
    if (sizeStale.load())
        return kFailed;
    XSmartLock hold(sortedLock);
    out = totalSize;
    return kOk;
}

int32_t XFileBackup::GetLargestFileSize(double& out) const
{
    if (sizeStale.load())
        return kFailed;
    XSmartLock hold(sortedLock);
    if (sortedFiles.empty())
        return kFailed;
    out = static_cast<double>(sortedFiles.back().first);
    return kOk;
}

int32_t XFileBackup::GetImageCount(uint32_t& out) const
{
    if (images.empty())
        return kFailed;
    out = static_cast<uint32_t>(images.size());
    return kOk;
}
