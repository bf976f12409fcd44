#pragma once

#include "core/IDataIO.h"

class XMemory;

/** The byte stream over an XMemory (not owned, must outlive the stream). Reads and writes keep
    separate positions unless the flags ask for one shared position; writes grow the memory.

    Takes no lock: a caller sharing the memory between threads holds the memory's lock. */
class XMemoryIO : public IDataIO
{
public:
    static constexpr int kReadable = 0x1;
    static constexpr int kWritable = 0x2;
    /** Readable, writable, one position for both. */
    static constexpr int kSharedPosition = 0x7;

    XMemoryIO(XMemory* memory, int flags);

    /** The read position when readable, else the write position. */
    int32_t GetPosition() override;
    /** The memory's used length. */
    int64_t GetSize() override;
    /** Returns the new position, or -1 and 0x80000009; a writable stream grows the memory to a
        target beyond its end (used length target + 1). */
    int64_t Seek(int64_t offset, int whence) override;
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int32_t Close() override { return 0; }
    bool IsValid() override;

    XMemory* GetMemory() const { return memory; }
    int GetFlags() const { return flags; }
    int32_t GetReadPosition() const { return readPosition; }
    void SetReadPosition(int32_t position) { readPosition = position; }
    int32_t GetWritePosition() const { return writePosition; }
    void SetWritePosition(int32_t position) { writePosition = position; }

protected:
    void SetMemory(XMemory* newMemory) { memory = newMemory; }

private:
    bool IsReadable() const { return (flags & kReadable) != 0; }
    bool IsWritable() const { return (flags & kWritable) != 0; }

    int flags;
    int32_t readPosition = 0;
    int32_t writePosition = 0;
    XMemory* memory;
};
