#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/** One end of a unit's FIFO pipe, opened non-blocking. Reads wait a few milliseconds for bytes and
    report "nothing came" as 0; the peer's end of file or an error is a failed read (-1), as is a
    broken pipe on write. SIGPIPE is ignored for the process once any pipe is opened. Paths may use
    '\' as the separator (the link builds them that way); it becomes '/' here. Not thread-safe:
    one thread reads, and writes are single whole-frame writes. */
class PlatformPipe final
{
public:
    enum class Direction
    {
        read,
        write
    };

    PlatformPipe() = default;
    ~PlatformPipe();
    PlatformPipe(const PlatformPipe&) = delete;
    PlatformPipe& operator=(const PlatformPipe&) = delete;

    /** Opens the pipe; 0 on success, else the system's error number (ENXIO: a write end whose
        reader is not there). */
    int Open(const std::string& path, Direction direction);
    void Close();
    bool IsOpen() const { return descriptor >= 0; }

    /** Up to n bytes, waiting at most waitMs for the first; 0 when nothing came, -1 on failure. */
    int Read(void* buffer, size_t n, int waitMs);
    /** Waits at most microseconds (real time) until bytes can be read or the peer's end has gone,
        without taking any; whether either happened. False at once while closed. */
    bool WaitReadable(int64_t microseconds);

    /** Writes all n bytes with one write (n below the pipe's atomic size); the count written,
        or -1 on failure. */
    int Write(const void* buffer, size_t n);

    /** True once the peer's end has gone: a read met end of file, a write met a broken pipe, or a
        look without waiting finds the peer's end closed (for a read end only when no bytes are
        left to read). Reset by Open. Consumes no bytes. */
    bool PeerGone();

private:
    int descriptor = -1;
    bool peerGone = false;
};
