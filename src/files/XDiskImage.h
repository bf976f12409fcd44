#pragma once

#include "core/XString.h"
#include "files/ITask.h"

#include <cstdint>
#include <memory>
#include <vector>

class XFileEntry;

/** One disc of a backup set: the files that go onto it, the folder they came from (origBase, a
    drive root) and where they sit on the disc (imageBase), and the disc's XML index file
    "<temp folder><name>_<NN>.dat" (root `backup` with name, indexInSet and numDisks; one `group`
    with origBase and imageBase; one `file` per file with its relPath, '/' separated).

    As a task it restores the disc: step 0 copies every file from imageBase back below origBase,
    replacing what is there and leaving the copies writable.

    The image owns copies of its file entries. The backup fills and writes it on its own thread; a
    restore reads it on the GUI thread and runs it on a task dialog's worker. One thread at a time,
    except Abort. */
class XDiskImage final : public ITask
{
public:
    /** Media types of GetMediaCapacity. */
    static constexpr int32_t kMediaCD700 = 2;
    static constexpr int32_t kMediaCD650 = 3;
    static constexpr int32_t kMediaDVD = 4;
    /** Index files larger than this are not ours. */
    static constexpr int64_t kMaxIndexBytes = 16 * 1024 * 1024;
    static constexpr const char* kUnknownName = "unknown";

    XDiskImage();
    XDiskImage(const XString& name, int32_t indexInSet);
    ~XDiskImage() override;

    /** Usable bytes of one disc of the type: 734,003,200 (CD 700), 681,574,400 (CD 650),
        4,707,000,000 (DVD), 0 for any other. */
    static double GetMediaCapacity(int32_t mediaType);

    /** Appends a copy of the entry. */
    void AddFile(const XFileEntry& entry);
    /** origBase = the drive root holding the first file; each file's path below it; origBase with
        '/' separators, imageBase "/" (origBase without a drive letter's "X:"). */
    void ComputeBases();
    /** Computes the bases and writes the index into the temporary-files folder, remembering its
        path; emits text and progress while it works. 0, or 0x80000001 when the file could not be
        written (the index path is kept all the same). */
    int32_t WriteIndex(int32_t numDisks);
    /** Reads an index file: 0, or 0x80000001 (the image unchanged) when the file is missing, larger
        than kMaxIndexBytes, carries a document type or a processing instruction after its prolog,
        is not XML, or its root is not `backup` (any case). Only the first `group` counts; without
        one the bases and paths stay as they were. */
    int32_t ReadIndex(const XString& path);

    // ITask --------------------------------------------------------------------------------------

    int32_t GetStepCount() override { return 1; }
    /** Step 0 restores the disc (see the class comment); any other step fails. */
    int32_t RunStep(int32_t step, XString& error) override;

    const XString& GetName() const { return name; }
    int32_t GetIndexInSet() const { return indexInSet; }
    int32_t GetNumDisks() const { return numDisks; }
    const XString& GetIndexPath() const { return indexPath; }
    const XString& GetOrigBase() const { return origBase; }
    void SetOrigBase(const XString& base) { origBase = base; }
    const XString& GetImageBase() const { return imageBase; }
    const std::vector<XString>& GetRelativePaths() const { return relativePaths; }
    const std::vector<std::unique_ptr<XFileEntry>>& GetFiles() const { return files; }

private:
    int32_t RestoreFiles(XString& error);

    std::vector<std::unique_ptr<XFileEntry>> files;
    XString name;
    int32_t indexInSet = -1;
    int32_t numDisks = 0;
    XString indexPath;
    XString origBase;
    XString imageBase;
    std::vector<XString> relativePaths;
};
