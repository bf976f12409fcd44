#pragma once

#include "core/IDataIO.h"
#include "core/XResult.h"
#include "core/XString.h"
#include "platform/PlatformFile.h"

/** The framework's file stream: an IDataIO over one file, opened by path with the flags below.

    Construction never touches the file system; the file opens with Open and closes with Close or
    the destructor. Reads need the read flag and writes the write flag of the open; both report
    through their byte counts and never set the last error. Other openers may read and write the
    file at the same time. One XFile must not be used by two threads at once. */
class XFile : public IDataIO
{
public:
    static constexpr int kRead = 0x1;
    static constexpr int kWrite = 0x2;
    /** Open the file, creating it when it does not exist. */
    static constexpr int kOpenAlways = 0x8;
    /** Either bit: create the file, emptying an existing one (wins over kOpenAlways). */
    static constexpr int kCreateAlways = 0x20;
    static constexpr int kCreateAlwaysToo = 0x80;
    /** Flags of a fresh application log and of XString::SaveToFile. */
    static constexpr int kReadWriteCreate = kRead | kWrite | kOpenAlways | kCreateAlwaysToo;
    /** Flags of an application log that appends. */
    static constexpr int kReadWriteOpenAlways = kRead | kWrite | kOpenAlways;

    XFile();
    explicit XFile(const char* path);
    explicit XFile(const XString& path);
    XFile(const XFile&) = delete;
    XFile& operator=(const XFile&) = delete;
    ~XFile() override;

    /** 0 when closed, and when the offset does not fit a non-negative int32. */
    int32_t GetPosition() override;
    /** Open: the open file's size. Closed: the size of the file at the path, 0 when missing. */
    int64_t GetSize() override;
    /** whence 1 from the current position, 2 back from the end, any other value from the start.
        0 on success; 0x80000009 (also stored as the last error) when closed or the target is
        negative. Targets past the end are allowed. */
    int64_t Seek(int64_t offset, int whence) override;
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    /** 0, or 0x80000001 when not open or when the system refused the close (closed all the same). */
    int32_t Close() override;
    bool IsValid() override { return true; }

    /** As Read after moving to offset; 0 when the move fails. */
    virtual int ReadAt(int64_t offset, void* buffer, int count);
    /** As Write after moving to offset; 0 when the move fails. */
    virtual int WriteAt(int64_t offset, const void* buffer, int count);
    /** 0 on success; 0x80000001 when already open (nothing changes), 0x80000005 when the file is
        missing in an existing folder, 0x80000006 for any other failure. unbuffered is a caching
        hint only. */
    virtual int32_t Open(int flags, bool unbuffered = false);
    /** 0 when open, 0x80000001 when closed. */
    virtual int32_t CheckOpen();

    /** Closes an open file, then takes the new path. */
    void SetPath(const XString& newPath);
    const XString& GetPath() const { return path; }
    bool IsOpen() const { return file.IsOpen(); }
    /** The flags of the last Open; 1 before any. */
    int GetOpenFlags() const { return openFlags; }

private:
    bool MoveTo(int64_t offset);

    int openFlags = kRead;
    XString path;
    PlatformFile file;
};
