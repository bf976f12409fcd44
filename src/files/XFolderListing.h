#pragma once

#include "core/XResult.h"
#include "core/XString.h"

#include <cstdint>
#include <memory>
#include <vector>

class XFileEntry;

/** The entries of one folder, or of the list of drives, as the disk had them when read; nothing
    watches the disk afterwards. The listing owns its entries and keeps them in the order the
    system gave them (the list view sorts).

    Paths use '\' (a '/' given becomes '\'). "Root" (exactly) or an empty path stands for the list
    of drives: "/" and every other mounted volume (PlatformFileSystem::GetDriveRoots), each held by
    its mount point ending in '\', as a folder with its drive kind. A folder that cannot be read
    lists nothing. One listing belongs to one thread. */
class XFolderListing final
{
public:
    static constexpr int32_t kOk = 0;
    static constexpr const char* kRootPath = "Root";

    /** Empty: no path, no entries. */
    XFolderListing();
    /** Stores the path and reads it (Read). */
    XFolderListing(const char* folder, bool includeFolders, const char* pattern, bool readDates);
    /** A folder entry's folder with every folder and file, no dates; a file entry gives an empty
        listing. */
    explicit XFolderListing(const XFileEntry& entry);
    ~XFolderListing();
    XFolderListing(const XFolderListing&) = delete;
    XFolderListing& operator=(const XFolderListing&) = delete;

    /** True when the listing has a path. */
    bool IsValid() const { return !path.IsEmpty(); }
    const XString& GetPath() const { return path; }
    int32_t GetCount() const { return static_cast<int32_t>(entries.size()); }
    /** out = entry index: kOk; XResult::kFailed, out untouched, when index is out of range. */
    int32_t GetEntry(int32_t index, XFileEntry& out) const;

    /** Takes a new path, drops the entries and reads anew. */
    void SetPath(const char* folder, bool includeFolders, const char* pattern, bool readDates);
    /** Drops the entries and reads the stored path anew. */
    void Reload(bool includeFolders, const char* pattern, bool readDates);
    /** Moves to the parent folder, or to "Root" from a drive root or a path without a parent, and
        reads it with every folder and file, no dates. Returns true. */
    bool GoUp();
    void Clear();

    /** Appends the folder's entries:
        - pattern is an extension ("txt", also written ".txt") that files must have, in any case, or
          "" or "*" for every file, names without a dot included;
        - folders are listed only with includeFolders, and then all of them;
        - hidden files are listed, "." and ".." never; names holding '\' cannot be told from paths
          and are left out;
        - with readDates each entry gets both date texts (XFileEntry::ReadListingDates).
        "Root" or "" appends the drives instead, whatever the other arguments. Returns kOk. */
    int32_t Read(const char* folder, bool includeFolders, const char* pattern, bool readDates);

private:
    void ReadDrives();

    XString path;
    std::vector<std::unique_ptr<XFileEntry>> entries;
};
