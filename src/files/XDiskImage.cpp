#include "files/XDiskImage.h"

#include "core/SystemInfo.h"
#include "files/DriveRoots.h"
#include "files/FileOperations.h"
#include "files/XFileEntry.h"
#include "platform/PlatformFile.h"
#include "platform/PlatformFileSystem.h"
#include "platform/PlatformFileTree.h"

#include <juce_core/juce_core.h>

namespace
{
constexpr const char* kRootTag = "backup";
constexpr const char* kGroupTag = "group";
constexpr const char* kFileTag = "file";

juce::File SystemFile(const XString& path)
{
    return juce::File(juce::String::fromUTF8(PlatformFile::ToSystemPath(path.CStr()).c_str()));
}

/** The file's text when it may be an index: not larger than the limit, no document type, and no
    processing instruction after the XML declaration (the class library's reader can loop on one). */
bool ReadCheckedText(const XString& path, juce::String& text)
{
    const juce::File file = SystemFile(path);
    if (!file.existsAsFile() || file.getSize() > XDiskImage::kMaxIndexBytes)
        return false;
    text = file.loadFileAsString();
    if (text.containsIgnoreCase("<!DOCTYPE"))
        return false;
    const int body = text.trimStart().startsWith("<?") ? text.indexOf("?>") : 0;
    return body >= 0 && text.indexOf(body + 1, "<?") < 0;
}

XString WithTrailingBackslash(XString path)
{
    if (!path.EndsWithChar('\\'))
        path += "\\";
    return path;
}

XString LastComponent(const XString& path)
{
    XString name;
    path.GetLastComponent(name);
    return name;
}
} // namespace

XDiskImage::XDiskImage() : name(kUnknownName) {}

XDiskImage::XDiskImage(const XString& setName, int32_t index) : name(setName), indexInSet(index) {}

XDiskImage::~XDiskImage() = default;

double XDiskImage::GetMediaCapacity(int32_t mediaType)
{
    constexpr double kMiB = 1048576.0;
    switch (mediaType)
    {
    case kMediaCD700:
        return 700.0 * kMiB;
    case kMediaCD650:
        return 650.0 * kMiB;
    case kMediaDVD:
        return 4707000000.0;
    default:
        return 0.0;
    }
}

void XDiskImage::AddFile(const XFileEntry& entry)
{
    files.push_back(std::make_unique<XFileEntry>(entry));
}

void XDiskImage::ComputeBases()
{
    relativePaths.clear();
    origBase = files.empty() ? XString() : DriveRootOf(files.front()->GetPath());
    for (const auto& file : files)
    {
        const XString path = file->GetPath();
        relativePaths.push_back(path.Mid(origBase.Length(), path.Length() - origBase.Length()));
    }
    origBase.ReplaceChar('\\', '/');
    const int colon = origBase.FindChar(':');
    imageBase = colon >= 0 ? origBase.Mid(colon + 1, origBase.Length() - colon - 1) : origBase;
    if (!origBase.IsEmpty())
        imageBase = "/";
}

int32_t XDiskImage::WriteIndex(int32_t diskCount)
{
    ComputeBases();
    indexPath.Format("%s%s_%02d.dat", GetTempFolderPath().CStr(), name.CStr(), indexInSet);
    indexPath.ReplaceChar('/', '\\');

    juce::XmlElement root(kRootTag);
    root.setAttribute("name", juce::String::fromUTF8(name.CStr()));
    root.setAttribute("indexInSet", indexInSet);
    root.setAttribute("numDisks", diskCount);
    auto* group = root.createNewChildElement(kGroupTag);
    group->setAttribute("origBase", juce::String::fromUTF8(origBase.CStr()));
    group->setAttribute("imageBase", juce::String::fromUTF8(imageBase.CStr()));

    XString line;
    line.Format("Building Index file for Disk %d", indexInSet + 1);
    textSignal.Emit(line.CStr());
    progressSignal.Emit(0.0f);
    const size_t count = relativePaths.size();
    for (size_t i = 0; i < count; ++i)
    {
        XString relative = relativePaths[i];
        relative.ReplaceChar('\\', '/');
        group->createNewChildElement(kFileTag)->setAttribute("relPath",
                                                             juce::String::fromUTF8(relative.CStr()));
        progressSignal.Emit(static_cast<float>(i + 1) / static_cast<float>(count));
    }
    juce::XmlElement::TextFormat format;
    format.dtd = {};
    format.customEncoding = "UTF-8";
    return root.writeTo(SystemFile(indexPath), format) ? kOk : kFailed;
}

int32_t XDiskImage::ReadIndex(const XString& path)
{
    juce::String text;
    if (!ReadCheckedText(path, text))
        return kFailed;
    const std::unique_ptr<juce::XmlElement> root = juce::XmlDocument::parse(text);
    if (root == nullptr || !root->getTagName().equalsIgnoreCase(kRootTag))
        return kFailed;

    name = root->getStringAttribute("name").toRawUTF8();
    indexInSet = root->getIntAttribute("indexInSet");
    numDisks = root->getIntAttribute("numDisks");
    const juce::XmlElement* group = nullptr;
    for (auto* child : root->getChildIterator())
    {
        if (child->getTagName().equalsIgnoreCase(kGroupTag))
        {
            group = child;
            break;
        }
    }
    if (group == nullptr)
        return kOk;

    relativePaths.clear();
    origBase = group->getStringAttribute("origBase").toRawUTF8();
    origBase.ReplaceChar('/', '\\');
    XString folder = path;
    folder.ReplaceChar('/', '\\');
    folder = folder.Left(folder.FindLast("\\") + 1);
    if (folder.EndsWithChar('\\'))
        folder.SetLength(folder.Length() - 1);
    imageBase = folder;
    imageBase += group->getStringAttribute("imageBase").toRawUTF8();
    imageBase.ReplaceChar('/', '\\');
    for (auto* child : group->getChildIterator())
    {
        if (!child->getTagName().equalsIgnoreCase(kFileTag))
            continue;
        XString relative(child->getStringAttribute("relPath").toRawUTF8());
        relative.ReplaceChar('/', '\\');
        relativePaths.push_back(relative);
    }
    return kOk;
}

int32_t XDiskImage::RunStep(int32_t step, XString& error)
{
    if (step != 0)
    {
        error.Format("The stage %d is unavailable.", step);
        return kFailed;
    }
    try
    {
        return RestoreFiles(error);
    }
    catch (...)
    {
        error = "An exception was encountered.";
        return kFailed;
    }
}

int32_t XDiskImage::RestoreFiles(XString& error)
{
    const XString destinationBase = WithTrailingBackslash(origBase);
    const size_t count = relativePaths.size();
    for (size_t i = 0; i < count; ++i)
    {
        if (IsAborted())
        {
            error = "The user aborted the task.";
            return kFailed;
        }
        XString destination = destinationBase;
        destination += relativePaths[i];
        XString source = imageBase;
        source += relativePaths[i];
        if (destination == source)
            continue;

        const XString sourceName = LastComponent(source);
        XString line;
        line.Format("Copying %s...", sourceName.CStr());
        textSignal.Emit(line.CStr());
        progressSignal.Emit(static_cast<float>(i + 1) / static_cast<float>(count));
        if (!PlatformFileSystem::FileExists(source.CStr()))
        {
            error.Format("Couldn't find file: %s", source.CStr());
            return kFailed;
        }
        XString folder = destination.Left(destination.FindLast("\\"));
        if (!folder.IsEmpty())
            EnsureFolder(folder.CStr());
        const int32_t copied = CopyOrMoveFile(source.CStr(), destination.CStr(), true, false);
        if (copied != 0)
        {
            const char* reason =
                copied == PlatformFileSystem::kSourceMissing      ? "\r\n\r\nThe file was not found."
                : copied == PlatformFileSystem::kSharingViolation ? "\r\n\r\nThe file is currently in use."
                                                                  : "";
            error.Format("Couldn't copy:\r\n\t\t%s\r\nto\r\n\t\t%s.%s", sourceName.CStr(), destination.CStr(),
                         reason);
            return kFailed;
        }
        PlatformFileTree::MakeWritable(destination.CStr());
    }
    return kOk;
}
