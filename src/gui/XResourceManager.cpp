#include "gui/XResourceManager.h"

#include "core/SystemInfo.h"
#include "core/XMessage.h"
#include "core/XStringConversion.h"
#include "gui/JUCEShutdownHook.h"
#include "gui/XImage.h"
#include "platform/PlatformPathResolver.h"

#include <algorithm>

namespace
{
constexpr const char* kSystemFolderName = "System";
constexpr const char* kSkinsFolderName = "Skins";
constexpr const char* kImagesFolderName = "Images";
constexpr const char* kCursorsFolderName = "Cursors";

/** Lower-cased, with '/' separators: the form in which archive entries are compared. */
XString ArchiveForm(const XString& path)
{
    XString result = path.ToLower();
    result.ReplaceChar('\\', '/');
    return result;
}

/** The path on disk: '/' separators, every component matched regardless of case. */
std::string DiskPath(const XString& path)
{
    return PlatformPathResolver::ResolveIgnoringCase(path.CStr());
}

juce::File DiskFile(const std::string& systemPath)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile(juce::String::fromUTF8(systemPath.c_str()));
}
} // namespace

template <typename T> void XResourceManager::DeleteAll(StringToPtrMap<T>& cache)
{
    for (auto* node = cache.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
        delete StringToPtrMap<T>::GetNodeValue(node);
    cache.RemoveAll();
}

XResourceManager::XResourceManager() = default;

XResourceManager::~XResourceManager()
{
    delete imageReleaseHook;
    delete cursorReleaseHook;
    DeleteAll(imageCache);
    DeleteAll(cursorCache);
}

void XResourceManager::ReleaseImagesAtJUCEShutdown()
{
    if (imageReleaseHook != nullptr)
        return;
    imageReleaseHook = JUCEShutdownHook::Add(
        [this]
        {
            imageReleaseHook = nullptr;
            ClearCaches();
            archiveIndex.clear();
            archive.reset();
        });
}

void XResourceManager::ReleaseCursorsAtJUCEShutdown()
{
    if (cursorReleaseHook != nullptr)
        return;
    cursorReleaseHook = JUCEShutdownHook::Add(
        [this]
        {
            cursorReleaseHook = nullptr;
            DeleteAll(cursorCache);
        });
}

void XResourceManager::SetBaseFolder(const XString& folder)
{
    baseFolder = folder;
}

const XString& XResourceManager::GetBaseFolder()
{
    if (baseFolder.IsEmpty())
        baseFolder = GetSystemFolder();
    if (baseFolder.IsEmpty())
        baseFolder = FindSystemFolder(GetExecutableFolderPath());
    return baseFolder;
}

XString XResourceManager::FindSystemFolder(const XString& startFolder)
{
    if (startFolder.IsEmpty())
        return XString();
    juce::File folder = DiskFile(DiskPath(startFolder));
    for (;;)
    {
        const std::string candidate = DiskPath(ToXString(folder.getFullPathName()) + "/" + kSystemFolderName);
        if (DiskFile(candidate).isDirectory())
            return XString(candidate.c_str());
        const juce::File parent = folder.getParentDirectory();
        if (parent == folder)
            return XString();
        folder = parent;
    }
}

void XResourceManager::AddSkinFolder(const XString& name)
{
    if (!name.IsEmpty())
        skinFolders.Add(name);
}

void XResourceManager::OpenSystemArchive(bool resFromDisk)
{
    archiveIndex.clear();
    archive.reset();
    if (resFromDisk)
        return;
    XString path = GetBaseFolder();
    path.AddTrailingBackslash();
    path += kArchiveName;
    const std::string systemPath = DiskPath(path);
    if (!PlatformPathResolver::IsExistingFile(systemPath))
        return;
    archive = std::make_unique<juce::ZipFile>(DiskFile(systemPath));
    ReleaseImagesAtJUCEShutdown();
    for (int i = 0; i < archive->getNumEntries(); ++i)
    {
        const juce::ZipFile::ZipEntry* entry = archive->getEntry(i);
        if (entry == nullptr)
            continue;
        const XString name = ArchiveForm(ToXString(entry->filename));
        archiveIndex.emplace(name.CStr(), i);
    }
}

std::unique_ptr<juce::InputStream> XResourceManager::OpenArchiveEntry(const XString& path)
{
    if (archive == nullptr || archiveIndex.empty())
        return nullptr;
    XString entryName = ArchiveForm(path);
    const XString folder = ArchiveForm(GetBaseFolder());
    if (!folder.IsEmpty() && entryName.StartsWith(folder.CStr()))
        entryName = entryName.From(folder.Length());
    if (entryName.CharAt(0) == '/')
        entryName = entryName.From(1);
    const auto found = archiveIndex.find(entryName.CStr());
    if (found == archiveIndex.end())
        return nullptr;
    return std::unique_ptr<juce::InputStream>(archive->createStreamForEntry(found->second));
}

XString XResourceManager::SkinPath(int index, bool images)
{
    XString path = GetBaseFolder();
    path += '\\';
    if (index >= 0 && index < skinFolders.GetCount() && !skinFolders.GetAt(index).IsEmpty())
    {
        path += kSkinsFolderName;
        path += '\\';
        path += skinFolders.GetAt(index);
        path += '\\';
    }
    if (images)
    {
        path += kImagesFolderName;
        path += '\\';
    }
    return path;
}

XString XResourceManager::NormaliseImageName(const XString& name)
{
    XString normalised = name.ToLower();
    normalised.ReplaceChar(':', '\\');
    return normalised;
}

bool XResourceManager::GetText(const XString& name, XString& text)
{
    text = XString();
    if (name.IsEmpty())
        return false;
    const XString normalised = NormaliseImageName(name);
    for (int i = 0; i < skinFolders.GetCount(); ++i)
        if (LoadTextFile(SkinPath(i, false) + normalised, text))
            return true;
    text = XString();
    return false;
}

bool XResourceManager::LoadTextFile(const XString& path, XString& text)
{
    text = XString();
    if (path.IsEmpty())
        return false;
    if (auto entry = OpenArchiveEntry(path))
    {
        juce::MemoryBlock data;
        entry->readIntoMemoryBlock(data);
        text = XString(static_cast<const char*>(data.getData()), static_cast<int>(data.getSize()));
        return !text.IsEmpty();
    }
    if (!text.LoadFromFile(DiskPath(path).c_str()))
        text = XString();
    return !text.IsEmpty();
}

std::unique_ptr<XImage> XResourceManager::LoadImageByPath(const XString& path)
{
    auto image = std::make_unique<XImage>();
    if (auto entry = OpenArchiveEntry(path))
        image->LoadFromStream(*entry);
    else
        image->LoadFromFile(path);
    if (!image->HasPicture() || image->GetWidth() <= 0 || image->GetHeight() <= 0)
        return nullptr;
    return image;
}

XImage* XResourceManager::GetImage(const XString& name)
{
    XImage* image = FindImage(name);
    if (image == nullptr)
        NoteImageMiss(name);
    return image;
}

XImage* XResourceManager::FindImage(const XString& name)
{
    if (name.IsEmpty())
        return nullptr;
    const XString key = NormaliseImageName(name);
    if (XImage* cached = imageCache.Find(key.CStr()))
        return cached;
    for (int i = 0; i < skinFolders.GetCount(); ++i)
    {
        XString path = SkinPath(i, true) + key;
        path.ReplaceChar('\\', '/');
        if (auto image = LoadImageByPath(path))
        {
            XImage* kept = image.release();
            imageCache.Add(key.CStr(), kept);
            ReleaseImagesAtJUCEShutdown();
            return kept;
        }
    }
    return nullptr;
}

void XResourceManager::NoteImageMiss(const XString& name)
{
    if (!name.IsEmpty() && !imageMisses.Contains(name, true))
        imageMisses.Add(name);
}

XImage* XResourceManager::GetImageFromAttributes(const XMessage& attributes, int32_t index)
{
    XString name;
    XMessage description;
    const char* text = nullptr;
    if (attributes.FindMessage("imageDesc", description, index) == 0 &&
        description.FindString("imagePath", text) == 0)
        name = text;
    if (name.IsEmpty() && attributes.FindString("imagename", text, index) == 0)
        name = text;
    return GetImage(name);
}

void XResourceManager::LoadImageSequence(const XString& baseName, int32_t count, ObjectArray<XImage>& images)
{
    if (baseName.IsEmpty() || count <= 0)
        return;
    images.RemoveAll();
    // The patterns are probes: only a number that none of them loads counts as missing.
    XString name;
    name.Format("%s%d.png", baseName.CStr(), 0);
    const int32_t first = FindImage(name) != nullptr ? 0 : 1;
    for (int32_t number = first; number < first + count; ++number)
    {
        static const char* const kPatterns[] = {"%s%d.png", "%s%02d.png", "%s%d.bmp"};
        XImage* found = nullptr;
        for (const char* pattern : kPatterns)
        {
            name.Format(pattern, baseName.CStr(), number);
            if ((found = FindImage(name)) != nullptr)
                break;
        }
        if (found == nullptr)
        {
            name.Format(kPatterns[0], baseName.CStr(), number);
            NoteImageMiss(name);
        }
        else if (!images.Contains(found))
        {
            images.Add(found);
        }
    }
}

juce::MouseCursor XResourceManager::GetCursor(const XString& name, int32_t hotSpotX, int32_t hotSpotY)
{
    XString path;
    path.Format("%s\\%s\\%s", GetBaseFolder().CStr(), kCursorsFolderName, name.CStr());
    // Only the cache key is lower-cased: the file is found on disk regardless of case.
    const XString key = path.ToLower();
    if (const juce::MouseCursor* cached = cursorCache.Find(key.CStr()))
        return *cached;

    XImage image;
    if (!name.IsEmpty())
    {
        if (auto entry = OpenArchiveEntry(path))
            image.LoadFromStream(*entry);
        else
            image.LoadFromFile(path);
    }
    if (!image.HasPicture())
        return juce::MouseCursor(juce::MouseCursor::NormalCursor);

    const int x = std::clamp(hotSpotX, 0, image.GetWidth() - 1);
    const int y = std::clamp(hotSpotY, 0, image.GetHeight() - 1);
    auto* cursor = new juce::MouseCursor(*image.GetJuceImage(), x, y);
    cursorCache.Add(key.CStr(), cursor);
    ReleaseCursorsAtJUCEShutdown();
    return *cursor;
}

void XResourceManager::ClearCaches()
{
    DeleteAll(imageCache);
    ++imageGeneration;
}

XResourceManager& GetResourceManager()
{
    static XResourceManager* const manager = []
    {
        auto* created = new XResourceManager();
        SetSkinTextReader(created);
        return created;
    }();
    return *manager;
}
