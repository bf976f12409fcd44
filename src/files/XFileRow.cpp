#include "files/XFileRow.h"

#include "core/XApplication.h"
#include "files/XFileEntry.h"

namespace
{
constexpr char kGenericFileIcon[] = "FileDialog\\genericFileSmall3.png";
constexpr char kTextFileIcon[] = "FileDialog\\genericFileSmall2.png";
constexpr char kMediaIcon[] = "FileDialog\\media.png";
constexpr char kFolderIcon[] = "FileDialog\\folderSmall.png";

/** Drive icons by drive kind (PlatformFileSystem::DriveKind, 1..6); kind 4 is never produced and
    would be an optical drive. */
constexpr const char* kDriveIcons[] = {
    "FileDialog\\hd.png", "FileDialog\\network.png", "FileDialog\\cd.png",
    "FileDialog\\cd.png", "FileDialog\\floppy.png",  "FileDialog\\usb.png",
};
constexpr int32_t kDriveIconCount = static_cast<int32_t>(sizeof(kDriveIcons) / sizeof(kDriveIcons[0]));

constexpr const char* kMediaExtensions[] = {"wav", "wave", "mp3", "aif", "aiff", "mid", "midi"};
constexpr char kTextExtension[] = "txt";
} // namespace

XFileRow::XFileRow(const XFileEntry* fileEntry, int32_t identifier)
    : XListRow(identifier), entry(fileEntry != nullptr ? std::make_unique<XFileEntry>(*fileEntry) : nullptr)
{
}

XFileRow::~XFileRow() = default;

bool XFileRow::IsFolder() const
{
    return entry != nullptr && entry->IsFolder();
}

bool XFileRow::Exists() const
{
    return entry != nullptr && entry->Exists();
}

XString XFileRow::GetPath() const
{
    return entry != nullptr ? entry->GetPath() : XString();
}

XString XFileRow::GetName() const
{
    return entry != nullptr ? entry->GetName() : XString();
}

XString XFileRow::GetIconName() const
{
    if (entry == nullptr)
        return XString();
    const int32_t driveKind = entry->GetStoredDriveKind();
    if (driveKind > 0 && driveKind <= kDriveIconCount)
        return XString(kDriveIcons[driveKind - 1]);
    if (entry->IsFolder())
        return XString(kFolderIcon);
    const XString extension = entry->GetExtension();
    if (extension.EqualsNoCase(kTextExtension))
        return XString(kTextFileIcon);
    for (const char* media : kMediaExtensions)
        if (extension.EqualsNoCase(media))
            return XString(kMediaIcon);
    return XString(kGenericFileIcon);
}

void XFileRow::GetCellText(int32_t column, XString& out) const
{
    if (entry == nullptr)
    {
        out = kNotAvailable;
        return;
    }
    switch (column)
    {
    case kIconColumn:
        out = GetIconName();
        break;
    case kNameColumn:
        // The application may present names its own way; without one the entry's name stands.
        out = GetApplication() != nullptr ? GetApplication()->GetEntryName(entry->GetPath().CStr())
                                          : entry->GetName();
        break;
    case kModifiedColumn:
        out = entry->GetModifiedText();
        break;
    case kExtensionColumn:
        out = entry->GetExtension();
        break;
    case kCreatedColumn:
        out = entry->GetCreatedText();
        break;
    default:
        out = kNotAvailable;
        break;
    }
}

int32_t XFileRow::GetCellKind(int32_t column) const
{
    return column == kIconColumn ? kCellImage : kCellText;
}

int16_t XFileRow::Compare(XListRow* other, int32_t column)
{
    return other != nullptr ? CompareCellTexts(*other, column) : 0;
}
