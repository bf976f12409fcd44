#include "core/XParamDesc.h"

#include <cstring>

namespace
{
/** Names keep the field's last two bytes zero. */
constexpr size_t kMaxNameLength = XParamDesc::kNameSize - 2;
} // namespace

void XParamDesc::Init()
{
    std::memset(name, 0, sizeof name);
    type = 0;
    min = 0.0;
    max = 1.0;
    def = 0.0;
    count = 1;
    flags = 0;
    ext = nullptr;
}

void XParamDesc::Copy(const XParamDesc* other)
{
    if (other != nullptr && other != this)
        *this = *other;
}

void XParamDesc::SetName(const char* text)
{
    std::memset(name, 0, sizeof name);
    if (text != nullptr)
        std::strncpy(name, text, kMaxNameLength);
}
