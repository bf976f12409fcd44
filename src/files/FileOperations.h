#pragma once

#include <cstdint>

/** The file helpers that change the disk. Each tells the file-change listeners what it changed
    (NotifyFileChanged, after the change, on the calling thread) and never shows or logs anything.
    The tests that only look (FileExists, PathIsFolder, PathIsHidden, IsDriveRoot, GetDriveKind)
    are PlatformFileSystem's.

    Paths are 8-bit texts with '\' or '/'. Results: 0 success; 0x80000001 failure; 0x80000002 a null
    path; CopyOrMoveFile also 0x80000003 and 0x80000005 (PlatformFileSystem's codes). Any thread. */

/** Deletes one file, read-only or not (a link, never its target); a folder is left alone (0).
    Listeners hear of a deleted file. */
int32_t DeleteFileAtPath(const char* path);

/** Copies or moves one file (PlatformFileSystem::CopyOrMoveFile); on success the listeners hear of
    the source, then the target. A folder source gives 0x80000005. */
int32_t CopyOrMoveFile(const char* source, const char* target, bool copy, bool failIfExists);

/** Moves a folder (or a link to one) to target, the full path it gets: refused when target exists
    and replace is clear; an existing target folder is merged into (PlatformFileTree::MoveTree);
    with writeThrough the volume is on disk when it returns. On success the listeners hear of the
    source, then the target. 0 or 0x80000001. */
int32_t MoveFolder(const char* source, const char* target, bool replace, bool writeThrough);

/** A folder: MoveFolder with write-through. A file: CopyOrMoveFile (move, failing on an existing
    target unless replace), after which the listeners hear of source and target whatever it gave.
    0x80000001 when nothing is at the source. */
int32_t MoveFileOrFolder(const char* source, const char* target, bool replace);

/** Copies or moves a folder or file without asking: into target when target is an existing folder
    (target\name, merging with a folder of that name), else as target. A folder is never copied or
    moved into itself or below itself (0x80000001, nothing changed). On success the listeners hear
    of the source (a move only), then target as given. confirm is accepted and asks nothing: callers
    ask before they call. */
int32_t ShellCopyOrMove(const char* source, const char* target, bool copy, bool confirm);

/** Deletes a file, or a folder with everything in it (nothing is kept for undoing); a drive root
    is refused (0x80000001). On success the listeners hear of the path. */
int32_t ShellDelete(const char* path);

/** Makes every missing folder of an absolute path, each level by its full path (the current folder
    is never changed), with the usual permissions less the process's mask; an existing folder is no
    error. On success the listeners hear of the folder above the last one. A relative path, or a
    level that is not a folder afterwards (a file in the way), gives 0x80000001. */
int32_t CreateFolderPath(const char* path);

/** 0 when the path is a folder, else CreateFolderPath. */
int32_t EnsureFolder(const char* path);
