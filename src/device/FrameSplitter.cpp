#include "device/FrameSplitter.h"

#include "core/XMemory.h"
#include "device/TWMsgBuf.h"

#include <cstring>

namespace
{
constexpr uint8_t kMagicBytes[] = {0xBB, 0x00, 0xAA, 0xFF}; // TWMsgBuf::kFrameMagic, little-endian
constexpr int kMagicSize = static_cast<int>(sizeof kMagicBytes);

/** Offset of the first magic in the bytes, or -1. */
int FindMagic(const uint8_t* bytes, int count)
{
    for (int i = 0; i + kMagicSize <= count; ++i)
        if (std::memcmp(bytes + i, kMagicBytes, kMagicSize) == 0)
            return i;
    return -1;
}
} // namespace

FrameSplitter::FrameSplitter() : pending(std::make_unique<XMemory>()) {}

FrameSplitter::~FrameSplitter() = default;

void FrameSplitter::Feed(const void* bytes, int count)
{
    if (bytes == nullptr || count <= 0)
        return;
    Compact();
    if (pending->Append(bytes, count) != 0)
    {
        // Out of memory: whatever waited cannot be completed any more.
        skippedBytes += GetBufferedBytes() + count;
        Reset();
    }
}

bool FrameSplitter::PopFrame(XMemory& frame)
{
    const uint8_t* data = pending->GetData();
    int waiting = GetBufferedBytes();
    const int magicAt = FindMagic(data + start, waiting);
    if (magicAt < 0)
    {
        // Keep a tail that may be the beginning of a magic cut by the read.
        const int keep = waiting < kMagicSize - 1 ? waiting : kMagicSize - 1;
        Skip(waiting - keep);
        return false;
    }
    Skip(magicAt);
    waiting -= magicAt;
    if (waiting < TWMsgBuf::kHeaderSize)
        return false;
    const int frameSize = TWMsgBuf::kHeaderSize + data[start + TWMsgBuf::kPayloadLengthOffset];
    if (waiting < frameSize)
        return false;
    frame.Clear();
    if (frame.Append(data + start, frameSize) != 0)
        return false;
    start += frameSize;
    return true;
}

void FrameSplitter::Reset()
{
    pending->Clear();
    start = 0;
}

int FrameSplitter::GetBufferedBytes() const
{
    return pending->GetLength() - start;
}

void FrameSplitter::Compact()
{
    const int waiting = GetBufferedBytes();
    if (start > 0 && waiting > 0)
        std::memmove(pending->GetData(), pending->GetData() + start, static_cast<size_t>(waiting));
    pending->SetLength(waiting);
    start = 0;
}

void FrameSplitter::Skip(int count)
{
    start += count;
    skippedBytes += count;
}
