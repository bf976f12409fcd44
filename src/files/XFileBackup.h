#pragma once

#include "core/XMutex.h"
#include "core/XSignal.h"
#include "core/XString.h"
#include "core/XThread.h"
#include "files/XDiskImage.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <utility>
#include <vector>

class XFileEntry;

/** A backup of files and folders prepared for burning: it collects every file below the entries
    it is given and adds up their sizes (sizing), then deals the files out to as many discs of the
    chosen medium as they need, first fit in decreasing size, one XDiskImage per disc with its index
    file written (assembly). Both jobs run on the backup's own thread ("XFileBackup"), started by
    StartSizing or StartAssembly (usually from a progress dialog's start signal), and end with the
    finished or the failed signal; text and progress are emitted on the way, on that thread.

    The backup owns copies of the entries, the sorted files and the images. The sorted list is
    guarded by sortedLock, held for the whole of either job. The caller joins the thread (Join)
    before it reads the results or destroys the dialog the thread talks to. */
class XFileBackup final : public XThread
{
public:
    static constexpr int32_t kOk = 0;
    static constexpr int32_t kFailed = static_cast<int32_t>(0x80000001);
    static constexpr int32_t kStartPauseMs = 200;
    static constexpr int32_t kModeSizing = 0;
    static constexpr int32_t kModeAssembly = 1;

    explicit XFileBackup(const XString& name);
    ~XFileBackup() override;

    /** Appends a copy of the entry and makes the total stale: 0, or 0x80000001 for a null entry. */
    int32_t AddEntry(const XFileEntry* entry);
    /** Start the sizing or the assembly on the backup's thread at level 3. */
    void StartSizing();
    void StartAssembly();
    /** Waits until the backup's thread has ended (at once when it is not running). */
    void Join() { StopAndWait(); }

    /** 0x80000001 while the total is stale; else 0 and the total in bytes. */
    int32_t GetTotalSize(double& out) const;
    /** 0x80000001 while stale or without files; else 0 and the largest file's size. */
    int32_t GetLargestFileSize(double& out) const;
    /** 0x80000001 without images; else 0 and their number. */
    int32_t GetImageCount(uint32_t& out) const;
    bool IsSizeStale() const { return sizeStale.load(); }
    const std::vector<std::unique_ptr<XDiskImage>>& GetImages() const { return images; }
    const XString& GetName() const { return name; }
    int32_t GetMediaType() const { return mediaType; }
    /** Written before StartAssembly. */
    void SetMediaType(int32_t type) { mediaType = type; }
    /** Deletes every image's index file (the backup is not burnt). */
    void DeleteIndexFiles();

    void Run() override;

    XSignal<> failedSignal;
    XSignal<> finishedSignal;
    XSignal<const char*> textSignal;
    XSignal<float> progressSignal;

private:
    using SortedFile = std::pair<uint64_t, std::unique_ptr<XFileEntry>>;

    void ComputeTotalSize();
    void AssembleDiskImages();
    /** Places the files on discs; false when one cannot fit on an empty disc or an index fails. */
    bool PackAndWrite();
    /** Inserts before the first file whose size is equal or greater. */
    void InsertSorted(std::unique_ptr<XFileEntry> file, uint64_t size);
    static void OnCollectProgress(const XString& folderPath, void* userData);

    XString name;
    std::vector<std::unique_ptr<XFileEntry>> entries;
    mutable XMutex sortedLock;
    std::list<SortedFile> sortedFiles; // guarded by sortedLock; ascending size
    double totalSize = 0.0;            // guarded by sortedLock
    std::atomic<bool> sizeStale{true};
    std::vector<std::unique_ptr<XDiskImage>> images;
    std::atomic<int32_t> mode{kModeSizing};
    int32_t mediaType = XDiskImage::kMediaCD700;
};
