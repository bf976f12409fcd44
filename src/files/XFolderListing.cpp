#include "files/XFolderListing.h"

#include "core/XResult.h"
#include "files/FileTexts.h"
#include "files/XFileEntry.h"
#include "platform/PlatformFileSystem.h"
#include "platform/PlatformFileTree.h"

namespace
{
constexpr char kAllFiles[] = "*";

XString WithBackslashes(const char* path)
{
    XString text(path);
    text.ReplaceChar('/', '\\');
    return text;
}

bool IsDriveList(const XString& folder)
{
    return folder.IsEmpty() || folder == XFolderListing::kRootPath;
}

/** The folder above path: "Root" above a drive root and above a path without a parent. */
XString ParentOf(const XString& path)
{
    if (IsDriveList(path) || PlatformFileSystem::IsDriveRoot(path.CStr()))
        return XString(XFolderListing::kRootPath);
    const XString parent = GetFolderAbove(path);
    if (parent.IsEmpty() || parent.Length() == path.Length())
        return XString(XFolderListing::kRootPath);
    return parent;
}
} // namespace

XFolderListing::XFolderListing() = default;

XFolderListing::XFolderListing(const char* folder, bool includeFolders, const char* pattern, bool readDates)
    : path(WithBackslashes(folder))
{
    Read(path.CStr(), includeFolders, pattern, readDates);
}

XFolderListing::XFolderListing(const XFileEntry& entry)
{
    if (!entry.IsFolder())
        return;
    path = entry.GetPath();
    Read(path.CStr(), true, kAllFiles, false);
}

XFolderListing::~XFolderListing() = default;

int32_t XFolderListing::GetEntry(int32_t index, XFileEntry& out) const
{
    if (index < 0 || index >= GetCount() || entries[static_cast<size_t>(index)] == nullptr)
        return XResult::kFailed;
    out = *entries[static_cast<size_t>(index)];
    return kOk;
}

void XFolderListing::SetPath(const char* folder, bool includeFolders, const char* pattern, bool readDates)
{
    path = WithBackslashes(folder);
    Clear();
    Read(path.CStr(), includeFolders, pattern, readDates);
}

void XFolderListing::Reload(bool includeFolders, const char* pattern, bool readDates)
{
    Clear();
    Read(path.CStr(), includeFolders, pattern, readDates);
}

bool XFolderListing::GoUp()
{
    path = ParentOf(path);
    Clear();
    Read(path.CStr(), true, kAllFiles, false);
    return true;
}

void XFolderListing::Clear()
{
    entries.clear();
}

int32_t XFolderListing::Read(const char* folder, bool includeFolders, const char* pattern, bool readDates)
{
    const XString folderText = WithBackslashes(folder);
    if (IsDriveList(folderText))
    {
        ReadDrives();
        return kOk;
    }
    XString extension(pattern);
    if (extension.CharAt(0) == '.')
        extension = extension.From(1);
    const bool everyFile = extension.IsEmpty() || extension == kAllFiles;

    std::vector<PlatformFileTree::FolderItem> items;
    PlatformFileTree::ListFolder(folderText.CStr(), items);
    XString prefix = folderText;
    prefix.AddTrailingBackslash();
    for (const PlatformFileTree::FolderItem& item : items)
    {
        if (item.name.find('\\') != std::string::npos || (item.isFolder && !includeFolders))
            continue;
        auto entry = std::make_unique<XFileEntry>((prefix + item.name.c_str()).CStr(), item.isFolder, 0);
        if (!item.isFolder && !everyFile && !entry->GetExtension().EqualsNoCase(extension))
            continue;
        if (readDates)
            entry->ReadListingDates();
        entries.push_back(std::move(entry));
    }
    return kOk;
}

void XFolderListing::ReadDrives()
{
    for (const PlatformFileSystem::DriveRoot& root : PlatformFileSystem::GetDriveRoots())
    {
        XString rootPath = WithBackslashes(root.mountPoint.c_str());
        rootPath.AddTrailingBackslash();
        entries.push_back(std::make_unique<XFileEntry>(rootPath.CStr(), true, root.kind));
    }
}
