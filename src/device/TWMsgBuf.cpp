#include "device/TWMsgBuf.h"

#include "core/XMemory.h"
#include "core/XResult.h"

namespace
{
constexpr int kPlaceholderLength = 8;
constexpr int kLengthFieldBytes = 4;
} // namespace

TWMsgBuf::TWMsgBuf() : XMemoryIO(nullptr, kReadable | kWritable), buffer(std::make_unique<XMemory>())
{
    SetMemory(buffer.get());
}

TWMsgBuf::~TWMsgBuf() = default;

void TWMsgBuf::BeginFrame()
{
    buffer->Clear();
    SetReadPosition(0);
    SetWritePosition(0);
    WriteInt32(static_cast<int>(kFrameMagic));
    WriteInt32(kPlaceholderLength);
}

int32_t TWMsgBuf::PatchFrameLength()
{
    const int count = buffer->GetLength();
    if (count < kLengthOffset + kLengthFieldBytes)
        return XResult::kFailed;
    uint8_t* length = buffer->GetData() + kLengthOffset;
    for (int i = 0; i < kLengthFieldBytes; ++i)
        length[i] = static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i));
    return 0;
}

int32_t TWMsgBuf::SetContents(const void* data, int count)
{
    buffer->Clear();
    SetReadPosition(0);
    SetWritePosition(0);
    if (count < 0 || (data == nullptr && count > 0))
        return XResult::kFailed;
    if (count > 0 && buffer->Append(data, count) != 0)
    {
        buffer->Clear();
        return XResult::kFailed;
    }
    SetWritePosition(count);
    return 0;
}

int TWMsgBuf::GetByteCount() const
{
    return buffer->GetLength();
}

const uint8_t* TWMsgBuf::GetBytes() const
{
    return buffer->GetData();
}
