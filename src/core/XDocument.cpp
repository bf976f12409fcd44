#include "core/XDocument.h"

#include "core/Log.h"
#include "core/SystemInfo.h"
#include "core/XMemory.h"
#include "core/XMemoryIO.h"
#include "core/XMessage.h"
#include "core/XResult.h"
#include "platform/PlatformFileSystem.h"

#include <cstring>
#include <exception>

namespace
{
constexpr const char* kFileVersionItem = "fileVersion";
constexpr const char* kFileTypeItem = "fileType";
constexpr const char* kVendorItem = "vendorStr";
constexpr const char* kAppItem = "appStr";
constexpr const char* kAppVersionItem = "appVersion";
constexpr const char* kDefaultBaseName = "Project";
constexpr const char* kUntitledName = "Untitled";
/** Bytes of the int32 that leads the data of a message chunk. */
constexpr int32_t kMessageLengthBytes = 4;

int32_t ReadLittleEndian32(const uint8_t* bytes)
{
    return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                static_cast<uint32_t>(bytes[2]) << 16 |
                                static_cast<uint32_t>(bytes[3]) << 24);
}

bool EndsWithSeparator(const XString& text)
{
    return text.EndsWithChar('\\') || text.EndsWithChar('/');
}

/** The last path component of text without its extension ('/' counts as '\'). */
XString BareName(const char* text)
{
    const XString withBackslashes = XString(text).ReplaceCharCopy('/', '\\');
    XString name;
    withBackslashes.GetLastComponent(name);
    if (name.FindChar('.') >= 0)
        name.StripExtension();
    return name;
}
} // namespace

XDocument::XDocument() = default;

XDocument::XDocument(const char* path) : path(path) {}

XDocument::~XDocument() = default;

XString XDocument::GetFileExtension()
{
    return XString();
}

XString XDocument::GetFileFilter()
{
    return XString();
}

XString XDocument::MakeUntitledPath(const char* folder, const char* extension, const char* baseName)
{
    XString folderText(folder);
    if (folderText.IsEmpty())
        folderText = GetDocumentsFolderPath();
    if (!EndsWithSeparator(folderText))
        folderText.AppendBackslash();

    XString extensionText(extension);
    if (extensionText.IsEmpty() || extensionText.StartsWith("."))
        extensionText = GetFileExtension();
    if (extensionText.StartsWith("."))
        extensionText = extensionText.From(1);

    const XString name = BareName(baseName == nullptr || *baseName == 0 ? kDefaultBaseName : baseName);

    XString candidate;
    for (int number = 1; number <= kMaxUntitledNumber; ++number)
    {
        candidate.Format("%s%s%02d.%s", folderText.CStr(), name.CStr(), number, extensionText.CStr());
        if (!PlatformFileSystem::FileExists(candidate.CStr()))
            return candidate;
    }
    candidate.Format("%s%s.%s", folderText.CStr(), kUntitledName, extensionText.CStr());
    return candidate;
}

int32_t XDocument::New(const char* newPath)
{
    Reset();
    return SaveAs(newPath);
}

bool XDocument::IsModified()
{
    return modifiedFlag.load();
}

int32_t XDocument::Open(const char* newPath)
{
    SetPath(newPath);
    return Load();
}

int32_t XDocument::Load()
{
    if (path.IsEmpty())
        return XResult::kFailed;
    LogPrintf("XDocument: Loading Document: %s", path.CStr());
    if (!file.IsOpen())
    {
        file.SetPath(path);
        const int32_t opened = file.Open(XFile::kRead);
        if (opened != 0)
            return opened;
    }
    file.SetLastError(0);

    LogPrintf("XDocument: about to read file header...");
    const int32_t headerResult = ReadHeader();
    if (headerResult != 0)
    {
        file.Close();
        return headerResult;
    }
    file.SetByteOrder(IDataIO::kNativeOrder);
    const int64_t fileSize = file.GetSize();

    const XString loadedPath = path;
    Reset();
    if (!keepPath)
        SetPath(loadedPath.CStr());
    keepPath = false;

    int32_t id = 0;
    int32_t type = 0;
    int32_t size = 0;
    while (ReadChunkHead(id, type, size))
    {
        if (id < 0 || id > kMaxChunkId || size <= 0)
            break;
        if (static_cast<int64_t>(file.GetPosition()) + size > fileSize)
            break;
        int32_t result = 0;
        try
        {
            result = HandleChunk(id, type, size);
        }
        catch (const std::exception& error)
        {
            LogPrintf("Exception %s : loading the document %s", error.what(), loadedPath.CStr());
        }
        catch (...)
        {
            LogPrintf("An exception occurred trying to load the document %s - Chunk: %d, size = %d",
                      loadedPath.CStr(), id, size);
        }
        if (result != 0)
        {
            LogPrintf("XDocument: An error occurred loading the file. Aborting...");
            file.Close();
            return result;
        }
        if (file.GetLastError() != 0)
            break;
    }
    file.Close();
    LogPrintf("XDocument::Load Complete");
    return 0;
}

bool XDocument::ReadChunkHead(int32_t& id, int32_t& type, int32_t& size)
{
    if (headerVersion >= kHeaderVersion)
    {
        file.ReadInt32(id).ReadInt32(type).ReadInt32(size);
    }
    else
    {
        int16_t shortId = 0;
        int16_t shortType = 0;
        file.ReadInt16(shortId).ReadInt16(shortType).ReadInt32(size);
        id = shortId;
        type = shortType;
    }
    return file.GetLastError() == 0;
}

int32_t XDocument::HandleChunk(int32_t id, int32_t type, int32_t size)
{
    XMemory data;
    if (data.SetSize(size) != 0 || file.Read(data.GetData(), size) != size)
    {
        file.SetLastError(XResult::kShortRead);
        return 0;
    }
    if (type != kMessageChunkType)
        return HandleRawChunk(id, data);

    // The message's own length is trusted only within the chunk.
    const int32_t messageLength =
        size >= kMessageLengthBytes ? ReadLittleEndian32(data.GetData()) : static_cast<int32_t>(-1);
    XMessage message;
    if (messageLength < 0 || messageLength > size - kMessageLengthBytes ||
        message.Unflatten(data.GetData() + kMessageLengthBytes, messageLength) == -1)
    {
        LogPrintf("XDocument: damaged message chunk %d skipped.", id);
        return 0;
    }
    return HandleMsgChunk(id, message);
}

int32_t XDocument::ReadHeader()
{
    const bool openedHere = !file.IsOpen();
    if (openedHere)
    {
        file.SetPath(path);
        const int32_t opened = file.Open(XFile::kRead);
        if (opened != 0)
            return opened;
    }
    headerVersion = kNoHeaderVersion;
    file.SetByteOrder(IDataIO::kNativeOrder);
    oldFormat = false;

    int32_t mark = 0;
    file.ReadInt32(mark);
    if (mark == kHeaderMark)
    {
        file.ReadInt32(headerVersion).ReadInt32(fileVersion);
        file.ReadString(fileType).ReadString(vendorStr).ReadString(appStr).ReadString(appVersion);
    }
    else
    {
        ReadOldHeader();
    }
    if (openedHere)
        file.Close();
    return 0;
}

void XDocument::ReadOldHeader()
{
    oldFormat = true;
    file.SetLastError(0);
    file.Seek(0, 0);
    int16_t id = 0;
    int16_t type = 0;
    int32_t size = 0;
    int32_t messageLength = 0;
    file.ReadInt16(id).ReadInt16(type).ReadInt32(size).ReadInt32(messageLength);
    if (messageLength == 0 || file.GetLastError() != 0)
        return;
    // A length beyond the file is damage: nothing more of the file can be trusted.
    const int64_t bytesLeft = file.GetSize() - file.GetPosition();
    if (messageLength < 0 || messageLength > bytesLeft)
    {
        LogPrintf("XDocument: damaged header chunk ignored.");
        file.Seek(0, 2);
        file.SetLastError(XResult::kShortRead);
        return;
    }
    XMemory data;
    if (data.SetSize(messageLength) != 0 || file.Read(data.GetData(), messageLength) != messageLength)
    {
        file.SetLastError(XResult::kShortRead);
        return;
    }
    XMessage message;
    if (message.Unflatten(data.GetData(), messageLength) == -1)
    {
        LogPrintf("XDocument: damaged header chunk ignored.");
        return;
    }
    fileVersion = message.GetInt32(kFileVersionItem);
    TakeHeaderTexts(message);
}

void XDocument::TakeHeaderTexts(const XMessage& message)
{
    fileType = message.GetString(kFileTypeItem);
    vendorStr = message.GetString(kVendorItem);
    appStr = message.GetString(kAppItem);
    appVersion = message.GetString(kAppVersionItem);
}

int32_t XDocument::WriteHeader(int newFileVersion, const char* newFileType, const char* newVendorStr,
                               const char* newAppStr, const char* newAppVersion)
{
    const bool openedHere = !file.IsOpen();
    if (openedHere)
    {
        file.SetPath(path);
        const int32_t opened = file.Open(XFile::kWrite);
        if (opened != 0)
            return opened;
    }
    // The header is built in memory and written in one piece, so that a short write is seen.
    XMemory header;
    XMemoryIO headerIO(&header, XMemoryIO::kWritable);
    headerIO.WriteInt32(kHeaderMark).WriteInt32(kHeaderVersion).WriteInt32(newFileVersion);
    headerIO.WriteString(newFileType)
        .WriteString(newVendorStr)
        .WriteString(newAppStr)
        .WriteString(newAppVersion);
    file.SetByteOrder(IDataIO::kNativeOrder);
    const int32_t length = header.GetLength();
    int32_t result = 0;
    if (!header.IsValid() || file.Write(header.GetData(), length) != length)
    {
        file.SetLastError(XResult::kWriteRefused);
        result = XResult::kWriteRefused;
    }
    if (openedHere)
        file.Close();
    return result;
}

void XDocument::Reset()
{
    LogPrintf("XDocument: Resetting...");
    SetPath("");
}

int32_t XDocument::SaveAs(const char* newPath)
{
    SetPath(newPath);
    keepPath = false;
    return 0;
}

int32_t XDocument::Save()
{
    if (path.IsEmpty())
        return XResult::kFailed;
    const XString target = path;
    return SaveAs(target.CStr());
}

int32_t XDocument::WriteTo(const char* targetPath)
{
    return 0;
}

int32_t XDocument::HandleMsgChunk(int id, XMessage& message)
{
    if (id == kVersionChunkId)
    {
        LogPrintf("XDocument::HandleMsgChunk: Version.");
        TakeHeaderTexts(message);
    }
    else
    {
        LogPrintf("XDocument::HandleMsgChunk: Unknown message chunk.");
    }
    return 0;
}

int32_t XDocument::HandleRawChunk(int id, XMemory& data)
{
    LogPrintf("XDocument::HandleRawChunk: Unknown raw chunk.");
    return 0;
}

void XDocument::PathChanged() {}

void XDocument::SetPath(const char* newPath)
{
    path = newPath;
    PathChanged();
}

bool XDocument::UsesTemplates()
{
    return false;
}

int32_t XDocument::ExportTo(const char* targetPath)
{
    keepPath = true;
    return SaveAs(targetPath);
}

int32_t XDocument::ImportFrom(const char* sourcePath)
{
    keepPath = true;
    return Open(sourcePath);
}
