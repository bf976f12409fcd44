#include "files/FileOperations.h"

#include "core/XString.h"
#include "files/FileTexts.h"
#include "files/XFileEntry.h"
#include "platform/PlatformFileSystem.h"
#include "platform/PlatformFileTree.h"

namespace
{
using FS = PlatformFileSystem;
using Tree = PlatformFileTree;

void Notify(const char* path)
{
    if (path != nullptr)
        NotifyFileChanged(XFileEntry(path));
}

void NotifySourceThenTarget(const char* source, const char* target)
{
    Notify(source);
    Notify(target);
}
} // namespace

int32_t DeleteFileAtPath(const char* path)
{
    const int32_t result = FS::DeleteFileAtPath(path);
    // A folder is left alone (also kOk): only a path that has gone was a deleted file.
    if (result == FS::kOk && !Tree::PathExists(path))
        Notify(path);
    return result;
}

int32_t CopyOrMoveFile(const char* source, const char* target, bool copy, bool failIfExists)
{
    const int32_t result = FS::CopyOrMoveFile(source, target, copy, failIfExists);
    if (result == FS::kOk)
        NotifySourceThenTarget(source, target);
    return result;
}

int32_t MoveFolder(const char* source, const char* target, bool replace, bool writeThrough)
{
    if (source == nullptr || target == nullptr || !FS::PathIsFolder(source))
        return FS::kFailed;
    if (!replace && Tree::PathExists(target))
        return FS::kFailed;
    if (Tree::MoveTree(source, target, writeThrough) != FS::kOk)
        return FS::kFailed;
    NotifySourceThenTarget(source, target);
    return FS::kOk;
}

int32_t MoveFileOrFolder(const char* source, const char* target, bool replace)
{
    if (!Tree::PathExists(source))
        return FS::kFailed;
    if (FS::PathIsFolder(source))
        return MoveFolder(source, target, replace, true);
    const int32_t result = CopyOrMoveFile(source, target, false, !replace);
    NotifySourceThenTarget(source, target);
    return result;
}

int32_t ShellCopyOrMove(const char* source, const char* target, bool copy, bool confirm)
{
    if (source == nullptr || target == nullptr)
        return FS::kNullArgument;
    XString destination(target);
    if (FS::PathIsFolder(target))
    {
        XString name;
        XString(source).ReplaceCharCopy('/', '\\').GetLastComponent(name);
        if (name.IsEmpty())
            return FS::kFailed;
        destination.ReplaceChar('/', '\\');
        destination.AddTrailingBackslash();
        destination += name;
    }
    const int32_t result =
        copy ? Tree::CopyTree(source, destination.CStr()) : Tree::MoveTree(source, destination.CStr(), false);
    if (result != FS::kOk)
        return FS::kFailed;
    if (!copy)
        Notify(source);
    Notify(target);
    return FS::kOk;
}

int32_t ShellDelete(const char* path)
{
    if (path == nullptr)
        return FS::kNullArgument;
    if (FS::IsDriveRoot(path) || Tree::DeleteTree(path) != FS::kOk)
        return FS::kFailed;
    Notify(path);
    return FS::kOk;
}

int32_t CreateFolderPath(const char* path)
{
    if (path == nullptr)
        return FS::kFailed;
    XString text(path);
    text.ReplaceChar('/', '\\');
    if (text.CharAt(0) != '\\')
        return FS::kFailed;
    XString growing("\\");
    unsigned position = 1;
    while (position < static_cast<unsigned>(text.Length()))
    {
        const XString component = text.NextToken(position, '\\');
        if (component.IsEmpty())
            continue;
        growing += component;
        growing += '\\';
        if (Tree::MakeFolder(growing.CStr()) != FS::kOk || !FS::PathIsFolder(growing.CStr()))
            return FS::kFailed;
    }
    Notify(GetFolderAbove(growing).CStr());
    return FS::kOk;
}

int32_t EnsureFolder(const char* path)
{
    return FS::PathIsFolder(path) ? FS::kOk : CreateFolderPath(path);
}
