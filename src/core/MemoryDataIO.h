#pragma once

#include "core/IDataIO.h"

/** The byte stream over a caller's fixed memory, which is never grown or freed here and must
    outlive the stream. Reads and writes stop at the end (0x80000007 / 0x80000008). */
class MemoryDataIO : public IDataIO
{
public:
    MemoryDataIO(void* start, int length);

    int32_t GetPosition() override;
    int64_t GetSize() override;
    /** Accepts targets inside the memory (start <= target < end); returns the new position, or -1
        and 0x80000009. */
    int64_t Seek(int64_t offset, int whence) override;
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int32_t Close() override { return 0; }
    bool IsValid() override { return start != nullptr; }

private:
    /** How many of count bytes fit before the end; stores shortCode when not all do. */
    int Fit(int count, int32_t shortCode);

    uint8_t* start;
    uint8_t* current;
    uint8_t* end;
};
