#include "files/XFileEntry.h"

#include "core/XFile.h"
#include "core/XMutex.h"
#include "core/XResult.h"
#include "core/XSmartLock.h"
#include "files/FileTexts.h"
#include "files/XFolderListing.h"
#include "platform/PlatformFile.h"
#include "platform/PlatformFileSystem.h"
#include "platform/PlatformFileTree.h"

#include <juce_core/juce_core.h>
#include <vector>

namespace
{
/** The text of folders' and drives' date columns. */
constexpr char kNoDateText[] = " ";
constexpr char kRootName[] = "/";

/** The process-wide listeners, in registration order, and the recursive lock that guards them and
    is held while they are called. Made on first use and never destroyed, so that helpers running on
    other threads at exit still find them. */
struct Listeners
{
    XMutex lock;
    std::vector<XFileEntry::NotifyCallback> records; // guarded by lock
};

Listeners& GetListeners()
{
    static Listeners* listeners = new Listeners();
    return *listeners;
}

XString WithBackslashes(const char* path)
{
    XString text(path);
    text.ReplaceChar('/', '\\');
    return text;
}

juce::File FileOf(const XString& path)
{
    const std::string systemPath = PlatformFile::ToSystemPath(path.CStr());
    return juce::File::getCurrentWorkingDirectory().getChildFile(juce::String::fromUTF8(systemPath.c_str()));
}
} // namespace

XFileEntry::XFileEntry(const char* path)
    : path(WithBackslashes(path)), isFolder(PlatformFileSystem::PathIsFolder(path))
{
}

XFileEntry::XFileEntry(const char* path, bool isFolder, int32_t storedDriveKind)
    : path(WithBackslashes(path)), isFolder(isFolder), driveKind(storedDriveKind)
{
}

XString XFileEntry::GetName() const
{
    XString name;
    path.GetLastComponent(name);
    if (name.IsEmpty() && !path.IsEmpty())
        return XString(kRootName); // only separators: the root
    return name;
}

XString XFileEntry::GetExtension() const
{
    // The name's, so that a dot in a folder above gives a file no extension.
    XString extension;
    GetName().GetExtension(extension);
    return extension;
}

bool XFileEntry::Exists() const
{
    return isFolder ? PlatformFileSystem::PathIsFolder(path.CStr())
                    : PlatformFileSystem::FileExists(path.CStr());
}

bool XFileEntry::IsTopLevel() const
{
    if (PlatformFileSystem::IsDriveRoot(path.CStr()))
        return true;
    XString parent = path;
    parent.StripLastComponent();
    return parent.Length() == path.Length();
}

const XString& XFileEntry::GetCreatedText() const
{
    if (createdText.IsEmpty())
    {
        if (isFolder || PlatformFileSystem::IsDriveRoot(path.CStr()))
            createdText = kNoDateText;
        else
            createdText = FileOf(path).getCreationTime().toString(true, true, true, false).toRawUTF8();
    }
    return createdText;
}

const XString& XFileEntry::GetModifiedText() const
{
    if (modifiedText.IsEmpty())
    {
        if (isFolder || PlatformFileSystem::IsDriveRoot(path.CStr()))
            modifiedText = kNoDateText;
        else
            modifiedText =
                FileOf(path).getLastModificationTime().toString(true, true, true, false).toRawUTF8();
    }
    return modifiedText;
}

void XFileEntry::ReadListingDates()
{
    const juce::File file = FileOf(path);
    if (!file.exists())
        return;
    const auto text = [](const juce::Time& time)
    {
        constexpr int kFirstMonth = 1;
        return FormatListingDate(time.getYear(), time.getMonth() + kFirstMonth, time.getDayOfMonth(),
                                 time.getHours(), time.getMinutes());
    };
    createdText = text(file.getCreationTime());
    modifiedText = text(file.getLastModificationTime());
}

double XFileEntry::GetSize(bool countFolder) const
{
    if (!isFolder)
    {
        XFile file(path);
        return static_cast<double>(file.GetSize());
    }
    if (!countFolder)
        return 0;
    const XFolderListing listing(path.CStr(), true, "*", false);
    double total = 0;
    XFileEntry entry;
    for (int32_t i = 0; i < listing.GetCount(); ++i)
        if (listing.GetEntry(i, entry) == kOk)
            total += entry.GetSize(false);
    return total;
}

XString XFileEntry::GetDisplayName() const
{
    const std::string label = PlatformFileSystem::GetVolumeLabel(path.CStr());
    return label.empty() ? GetName() : XString(label.c_str());
}

int32_t XFileEntry::GetDriveKind() const
{
    if (!driveKindKnown)
    {
        driveKind = PlatformFileSystem::GetDriveKind(path.CStr());
        driveKindKnown = true;
    }
    return driveKind;
}

int32_t XFileEntry::AddNotifyCallback(NotifyFunction callback, void* userData)
{
    if (callback == nullptr)
        return XResult::kFailed;
    Listeners& listeners = GetListeners();
    XSmartLock hold(listeners.lock);
    listeners.records.push_back({callback, userData});
    return kOk;
}

int32_t XFileEntry::RemoveNotifyCallback(NotifyFunction callback, void* userData)
{
    Listeners& listeners = GetListeners();
    XSmartLock hold(listeners.lock);
    for (auto record = listeners.records.begin(); record != listeners.records.end(); ++record)
    {
        if (record->callback == callback && record->userData == userData)
        {
            listeners.records.erase(record);
            return kOk;
        }
    }
    return XResult::kFailed;
}

void NotifyFileChanged(const XFileEntry& changed)
{
    Listeners& listeners = GetListeners();
    XSmartLock hold(listeners.lock);
    // A listener may add or remove listeners (the lock is recursive): walk a copy, and skip a record
    // that is gone by the time its turn comes.
    const std::vector<XFileEntry::NotifyCallback> records = listeners.records;
    for (const XFileEntry::NotifyCallback& record : records)
    {
        bool registered = false;
        for (const XFileEntry::NotifyCallback& current : listeners.records)
            registered =
                registered || (current.callback == record.callback && current.userData == record.userData);
        if (registered)
            record.callback(changed, record.userData);
    }
}

void CollectFiles(const XFileEntry& entry, XList<XFileEntry>& target, CollectFolderCallback folder,
                  void* userData, bool recurse)
{
    if (!entry.IsFolder())
    {
        target.Add(new XFileEntry(entry));
        return;
    }
    if (!recurse || PlatformFileTree::IsSymbolicLink(entry.GetPath().CStr()))
        return;
    if (folder != nullptr)
        folder(entry.GetPath(), userData);
    const XFolderListing listing(entry.GetPath().CStr(), true, "*", false);
    XFileEntry item;
    for (int32_t i = 0; i < listing.GetCount(); ++i)
        if (listing.GetEntry(i, item) == XFileEntry::kOk)
            CollectFiles(item, target, folder, userData, recurse);
}

void FreeFileEntryList(XList<XFileEntry>& list)
{
    for (GenericList::Link* link = list.GetHead(); link != nullptr; link = link->next)
        delete XList<XFileEntry>::ItemOf(link);
    list.RemoveAll();
}
