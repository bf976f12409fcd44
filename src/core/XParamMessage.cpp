#include "core/XParamMessage.h"

#include "core/XMessageCodes.h"

#include <cstring>

namespace
{
/** The "pd" value: the parameter pointer, then the code and the key. */
constexpr size_t kPointerBytes = sizeof(XParam*);
constexpr size_t kParamDataBytes = kPointerBytes + 2 * sizeof(int32_t);
} // namespace

XParamMessage::XParamMessage(XParam* paramIn, int32_t codeIn, int32_t keyIn)
    : XMessage(XMsgCode::kParamMessage, 0), param(paramIn), code(codeIn), key(keyIn)
{
    uint8_t data[kParamDataBytes];
    std::memcpy(data, &param, kPointerBytes);
    std::memcpy(data + kPointerBytes, &code, sizeof code);
    std::memcpy(data + kPointerBytes + sizeof code, &key, sizeof key);
    AddData(kItemName, kTypeRaw, data, static_cast<int32_t>(kParamDataBytes), true);
}

XParamMessage::XParamMessage(const XMessage& received) : XMessage(received)
{
    const void* data = nullptr;
    int32_t size = 0;
    if (FindData(kItemName, kTypeRaw, data, size) != 0 || size != static_cast<int32_t>(kParamDataBytes))
        return;
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::memcpy(&param, bytes, kPointerBytes);
    std::memcpy(&code, bytes + kPointerBytes, sizeof code);
    std::memcpy(&key, bytes + kPointerBytes + sizeof code, sizeof key);
}
