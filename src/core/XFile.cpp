#include "core/XFile.h"

#include "core/XResult.h"

#include <cstdint>
#include <limits>

XFile::XFile() = default;

XFile::XFile(const char* path) : path(path) {}

XFile::XFile(const XString& path) : path(path) {}

XFile::~XFile()
{
    file.Close();
}

int32_t XFile::GetPosition()
{
    const int64_t position = file.Position();
    if (position < 0 || position > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int32_t>(position);
}

int64_t XFile::GetSize()
{
    const int64_t size = IsOpen() ? file.Size() : PlatformFile::SizeOfPath(path.CStr());
    return size < 0 ? 0 : size;
}

int64_t XFile::Seek(int64_t offset, int whence)
{
    constexpr int kFromCurrent = 1;
    constexpr int kBackFromEnd = 2;
    int64_t target = offset;
    bool fits = IsOpen();
    if (fits && whence == kFromCurrent)
        fits = file.Position() >= 0 && !__builtin_add_overflow(file.Position(), offset, &target);
    else if (fits && whence == kBackFromEnd)
        fits = file.Size() >= 0 && !__builtin_sub_overflow(file.Size(), offset, &target);
    if (!fits || !MoveTo(target))
    {
        SetLastError(XResult::kBadSeek);
        return XResult::kBadSeek;
    }
    return 0;
}

int XFile::Read(void* buffer, int count)
{
    if (!IsOpen() || buffer == nullptr || count <= 0 || (openFlags & kRead) == 0)
        return 0;
    const int got = file.Read(buffer, count);
    return got < 0 ? 0 : got;
}

int XFile::Write(const void* buffer, int count)
{
    if (!IsOpen() || buffer == nullptr || count <= 0 || (openFlags & kWrite) == 0)
        return 0;
    const int put = file.Write(buffer, count);
    return put < 0 ? 0 : put;
}

int32_t XFile::Close()
{
    if (!IsOpen() || !file.Close())
    {
        SetLastError(XResult::kFailed);
        return XResult::kFailed;
    }
    return 0;
}

int XFile::ReadAt(int64_t offset, void* buffer, int count)
{
    return MoveTo(offset) ? Read(buffer, count) : 0;
}

int XFile::WriteAt(int64_t offset, const void* buffer, int count)
{
    return MoveTo(offset) ? Write(buffer, count) : 0;
}

int32_t XFile::Open(int flags, bool unbuffered)
{
    if (IsOpen())
        return XResult::kFailed;
    SetLastError(0);
    openFlags = flags;

    using Access = PlatformFile::Access;
    const bool reads = (flags & kRead) != 0;
    const bool writes = (flags & kWrite) != 0;
    const Access access = reads && writes ? Access::ReadWrite
                          : writes        ? Access::Write
                          : reads         ? Access::Read
                                          : Access::None;
    using Disposition = PlatformFile::Disposition;
    const Disposition disposition = (flags & (kCreateAlways | kCreateAlwaysToo)) != 0
                                        ? Disposition::CreateAlways
                                    : (flags & kOpenAlways) != 0 ? Disposition::OpenAlways
                                                                 : Disposition::OpenExisting;

    switch (file.Open(path.CStr(), access, disposition, unbuffered))
    {
    case PlatformFile::OpenResult::Ok:
        return 0;
    case PlatformFile::OpenResult::NotFound:
        SetLastError(XResult::kFileNotFound);
        return XResult::kFileNotFound;
    case PlatformFile::OpenResult::Failed:
        break;
    }
    SetLastError(XResult::kOpenFailed);
    return XResult::kOpenFailed;
}

int32_t XFile::CheckOpen()
{
    return IsOpen() ? 0 : XResult::kFailed;
}

void XFile::SetPath(const XString& newPath)
{
    if (IsOpen())
        Close();
    path = newPath;
}

bool XFile::MoveTo(int64_t offset)
{
    return offset >= 0 && file.Seek(offset, PlatformFile::Origin::Start);
}
