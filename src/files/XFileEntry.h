#pragma once

#include "core/GenericList.h"
#include "core/XResult.h"
#include "core/XString.h"

#include <cstdint>

/** One file-system entry: its path, its two date texts (made on first use), whether it is a folder
    and, for a drive, the cached kind of its drive (PlatformFileSystem::DriveKind). A plain value,
    copied freely.

    Paths are 8-bit texts with '\' separators (a '/' given is turned into '\'); the system's drives
    are its mounted volumes, held by their mount point ending in '\' ("\" for the root, whose name
    is "/"). An entry and its copies keep what they learnt: the date texts and the drive kind are
    looked up once. The lazy look-ups write the entry, so one entry belongs to one thread.

    The process-wide list of file-change listeners lives here too: every helper that changes the
    disk tells it the entry it changed (NotifyFileChanged). Its lock is held while listeners are
    called, so a listener removed on one thread is never called afterwards from another. */
class XFileEntry final
{
public:
    /** A listener; its result is ignored. The entry is built after the change, so its folder flag
        tells what the path is now (a deleted folder reads as a file). */
    using NotifyFunction = int32_t (*)(const XFileEntry& changed, void* userData);
    struct NotifyCallback
    {
        NotifyFunction callback;
        void* userData;
    };

    static constexpr int32_t kOk = 0;

    /** An entry without a path (no folder, no drive kind). */
    XFileEntry() = default;
    /** The path with '/' turned into '\', the folder flag read from the disk, no drive kind. */
    explicit XFileEntry(const char* path);
    /** An entry whose folder flag and stored drive kind are known already (a listing's). */
    XFileEntry(const char* path, bool isFolder, int32_t storedDriveKind);

    XString GetPath() const { return path; }
    /** The last component, trailing backslashes dropped: the file's or folder's name, the mount
        point's last name for a drive, "/" for the root. */
    XString GetName() const;
    /** The text after the last "." of the name, "" when there is none. */
    XString GetExtension() const;
    bool IsFolder() const { return isFolder; }
    /** A folder entry: the path is a folder now; a file entry: a file is there now. */
    bool Exists() const;
    /** True for a drive root and for a path with no folder above it. */
    bool IsTopLevel() const;

    /** The creation and last-change texts of the class library's 12-hour clock with seconds, or
        " " for folders and drives; a listing read with dates fills both beforehand. */
    const XString& GetCreatedText() const;
    const XString& GetModifiedText() const;
    /** Sets both date texts from the file's times in local time as a listing shows them
        ("Mar 05, 2010 03:07 PM", FormatListingDate); leaves them as they are when the times
        cannot be read. */
    void ReadListingDates();

    /** A file's size in bytes (0 when missing); a folder's: 0, or with countFolder the total of the
        files directly in it (sub-folders count 0 and are not entered). */
    double GetSize(bool countFolder) const;
    /** A drive's volume label when it has one, else GetName. */
    XString GetDisplayName() const;
    /** The kind of the drive that holds the path, looked up once and kept. */
    int32_t GetDriveKind() const;
    /** The drive kind held now, without looking it up (0 when none was given or looked up). */
    int32_t GetStoredDriveKind() const { return driveKind; }

    /** Appends a listener; XResult::kFailed for a null callback. Duplicates are kept. */
    static int32_t AddNotifyCallback(NotifyFunction callback, void* userData);
    /** Removes the first listener with this callback and user data; XResult::kFailed when none matches. */
    static int32_t RemoveNotifyCallback(NotifyFunction callback, void* userData);

private:
    XString path;
    mutable XString createdText;
    mutable XString modifiedText;
    bool isFolder = false;
    mutable bool driveKindKnown = false;
    mutable int32_t driveKind = 0;
};

/** Calls every listener with the entry, in registration order, on the calling thread. */
void NotifyFileChanged(const XFileEntry& changed);

/** Called with each folder's path before CollectFiles enters it. */
using CollectFolderCallback = void (*)(const XString& folderPath, void* userData);
/** Appends heap copies of files to target: a file entry itself; with recurse, every file below a
    folder entry, depth first in listing order, hidden files too (folder is told each folder first,
    when given). A symbolic link to a folder is never entered; without recurse a folder adds
    nothing. The caller frees the copies (FreeFileEntryList). */
void CollectFiles(const XFileEntry& entry, XList<XFileEntry>& target, CollectFolderCallback folder,
                  void* userData, bool recurse);
/** Deletes every entry of the list and empties it. */
void FreeFileEntryList(XList<XFileEntry>& list);
