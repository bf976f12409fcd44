#pragma once

#include <cstdint>
#include <string>

/** One operating-system file, opened by path with an access mode and a disposition; the platform
    layer under XFile.

    Paths may use '\' or '/' as separator: every '\' becomes '/' when the system is called. Other
    openers may read and write the same file at the same time (no locking). Folders are refused
    by Open. The object owns its descriptor and closes it on destruction; one object must not be
    used by two threads at once. */
class PlatformFile final
{
public:
    enum class Access
    {
        None,
        Read,
        Write,
        ReadWrite
    };

    enum class Disposition
    {
        OpenExisting, // fail when missing
        OpenAlways,   // open, creating the file when missing
        CreateAlways  // create, emptying an existing file
    };

    enum class OpenResult
    {
        Ok,
        /** The file is missing but its folder exists. */
        NotFound,
        /** Any other failure: missing folder, bad name, access denied, a folder, already open. */
        Failed
    };

    PlatformFile() = default;
    ~PlatformFile();
    PlatformFile(const PlatformFile&) = delete;
    PlatformFile& operator=(const PlatformFile&) = delete;

    /** unbuffered asks the system not to keep the data cached (a hint); otherwise the file is
        announced as read in sequence. */
    OpenResult Open(const std::string& path, Access access, Disposition disposition, bool unbuffered);
    bool IsOpen() const { return descriptor >= 0; }
    /** Closed afterwards in every case; false when the system reported a failure or none was open. */
    bool Close();

    /** Reads up to count bytes, fewer only at the end of the file; -1 on a failure. */
    int Read(void* buffer, int count);
    /** Writes count bytes; -1 on a failure (a short write counts as one). */
    int Write(const void* buffer, int count);

    enum class Origin
    {
        Start,
        Current,
        End
    };
    /** Moves to origin + offset; positions past the end are allowed, negative ones are not. */
    bool Seek(int64_t offset, Origin origin);
    /** The current offset, -1 when closed or on a failure. */
    int64_t Position() const;
    /** The size of the open file, -1 when closed or on a failure. */
    int64_t Size() const;

    /** The size of the file at path, 0 for a folder, -1 when the path does not exist. */
    static int64_t SizeOfPath(const std::string& path);
    /** True when the file at path may be written: it exists and is writable, or it is missing and
        its folder exists and is writable. */
    static bool CanWrite(const std::string& path);
    /** path with every '\' turned into '/'. */
    static std::string ToSystemPath(const std::string& path);

private:
    int descriptor = -1;
};
