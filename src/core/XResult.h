#pragma once

#include <cstdint>

/** The framework's shared result codes: 0 for success and the failures every subsystem gives, each
    under one name. Codes that belong to one operation (a semaphore wait's 0..3, a font table's
    malformed key) stay with that operation. The platform layer, below this one, keeps the same
    numbers for its file operations (PlatformFileSystem). */
namespace XResult
{
constexpr int32_t kOk = 0;
/** The general failure: the operation was refused or could not be done, and changed nothing. */
constexpr int32_t kFailed = static_cast<int32_t>(0x80000001);
/** A required argument was null. */
constexpr int32_t kNullArgument = static_cast<int32_t>(0x80000002);
/** The file does not exist (its folder does). */
constexpr int32_t kFileNotFound = static_cast<int32_t>(0x80000005);
/** The file could not be opened for any other reason. */
constexpr int32_t kOpenFailed = static_cast<int32_t>(0x80000006);
/** A stream read fewer bytes than asked. */
constexpr int32_t kShortRead = static_cast<int32_t>(0x80000007);
/** A stream refused a write or wrote fewer bytes than asked. */
constexpr int32_t kWriteRefused = static_cast<int32_t>(0x80000008);
/** A stream was asked to seek outside what it holds. */
constexpr int32_t kBadSeek = static_cast<int32_t>(0x80000009);
} // namespace XResult
