#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** Operations on whole folders under the framework's file helpers: listing one folder, copying a
    tree into another (merging), moving and deleting trees, making folders and making a file
    writable. Nothing here notifies, logs or shows anything.

    Paths are 8-bit texts that may use '\' or '/' as separator, as PlatformFileSystem takes them;
    results are its codes (kOk, kFailed, kNullArgument). No walk ever follows a symbolic link to a
    folder: a link is copied, moved or deleted as the link it is. Every function is thread-safe (no
    state of its own). */
class PlatformFileTree final
{
public:
    /** One name found in a folder. */
    struct FolderItem
    {
        std::string name;
        /** The name is a folder, or a link to one. */
        bool isFolder = false;
    };
    /** The names in the folder in the order the system gives them, "." and ".." left out; false
        (and nothing) when the folder cannot be read. */
    static bool ListFolder(const char* folder, std::vector<FolderItem>& items);

    /** True when anything is at the path, a dangling symbolic link included. */
    static bool PathExists(const char* path);
    static bool IsSymbolicLink(const char* path);

    /** Copies source (a folder, a file or a link) to target, the full path it gets. A folder merges
        into an existing target folder: its files replace those of the same names, the target's
        other files stay; new folders take the source's permissions, writable by their owner.
        Fails with kFailed, stopping there, when an item of one kind must replace one of another
        (a file where a folder must go, a folder where a link is), when the source holds a pipe,
        socket or device, or when the system refuses; what was copied until then stays. Copying a
        folder onto itself or into a folder inside it fails at once, changing nothing. */
    static int32_t CopyTree(const char* source, const char* target);
    /** Moves source to target: renamed when target is free and on the same volume; otherwise (the
        target on another volume, or an existing folder that the source folder merges into, as
        CopyTree) copied, and the source deleted once all of it is copied, so a failure midway
        leaves the source whole. A file or link replaces an existing file or link. Moving a folder
        into itself fails at once, changing nothing. With syncVolume the target's volume is written
        to disk before the call returns. */
    static int32_t MoveTree(const char* source, const char* target, bool syncVolume);
    /** Deletes a file or link, or a folder with everything in it; folders that deny their owner
        writing are opened up first. The root of a volume is refused, and a volume mounted inside
        is not entered (the delete fails there). Stops at the first failure: kFailed. */
    static int32_t DeleteTree(const char* path);

    /** Makes one folder, with the usual permissions less the process's mask; kOk also when the
        folder exists already. */
    static int32_t MakeFolder(const char* path);
    /** Lets the owner write the file (or folder); kOk or kFailed. */
    static int32_t MakeWritable(const char* path);

    PlatformFileTree() = delete;
};
