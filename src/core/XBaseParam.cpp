#include "core/XBaseParam.h"

#include <cmath>

namespace
{
/** Spans beyond this many steps have no meaningful count. */
constexpr double kMaxSpan = 9.0e18;

// Atomic access to descriptor fields that other threads read through the getters.
template <typename T> T LoadField(const T& field)
{
    T value;
    __atomic_load(&field, &value, __ATOMIC_RELAXED);
    return value;
}

template <typename T> void StoreField(T& field, T value)
{
    __atomic_store(&field, &value, __ATOMIC_RELAXED);
}
} // namespace

uint32_t SpanCount(double min, double max)
{
    const double span = max - min + 1.0;
    if (!std::isfinite(span) || std::fabs(span) >= kMaxSpan)
        return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(span)));
}

XBaseParam::XBaseParam()
{
    desc.ext = &ext;
}

void XBaseParam::SetDesc(const XParamDesc* source)
{
    if (source == nullptr)
        return;
    const XParamDescExt* sourceExt = source->ext;
    XParamDescExt copiedExt;
    if (sourceExt != nullptr)
        copiedExt = *sourceExt; // read before the copy below, in case source is the own copy
    desc.Copy(source);
    desc.ext = &ext;
    ext = copiedExt;
    if (desc.type == XParamDesc::kTypeOnOff)
        desc.count = 1;
    else if (desc.type == XParamDesc::kTypeInteger)
        desc.count = SpanCount(desc.min, desc.max);
}

int32_t XBaseParam::GetType() const
{
    return desc.type;
}

const XParamDesc* XBaseParam::GetDesc() const
{
    return &desc;
}

int32_t XBaseParam::GetFlags() const
{
    return LoadField(desc.flags);
}

void XBaseParam::SetFlags(int32_t flags)
{
    StoreField(desc.flags, flags);
}

void* XBaseParam::GetClientData() const
{
    return nullptr;
}

void XBaseParam::SetClientData(void* data) {}

int32_t XBaseParam::GetId() const
{
    return desc.id;
}

void XBaseParam::SetTextCallback(ParamTextCallback callback, int32_t user)
{
    ext.textCallback = callback;
    ext.textUser = user;
}

void XBaseParam::SetVetoCallback(ParamVetoCallback callback, int32_t user)
{
    ext.vetoCallback = callback;
    ext.vetoUser = user;
}

void XBaseParam::SetValueMapCallback(ParamValueMapCallback callback, int32_t user)
{
    ext.valueMapCallback = callback;
    ext.valueMapUser = user;
}

void XBaseParam::SetEventCallback(ParamEventCallback callback, int32_t user)
{
    ext.eventCallback = callback;
    ext.eventUser = user;
}

ParamFormatCallback XBaseParam::GetFormatCallback() const
{
    return formatCallback;
}

void XBaseParam::SetFormatCallback(ParamFormatCallback callback, int32_t user, int32_t extra)
{
    formatCallback = callback;
    formatUser = user;
    formatExtra = extra;
}

XString XBaseParam::FormatText(double value) const
{
    return formatCallback(Self(), value, formatUser, formatExtra);
}

double XBaseParam::GetMin() const
{
    return LoadField(desc.min);
}

double XBaseParam::GetMax() const
{
    return LoadField(desc.max);
}

uint32_t XBaseParam::GetCount() const
{
    return LoadField(desc.count);
}

void XBaseParam::SetMin(double value)
{
    if (!std::isfinite(value))
        return;
    StoreField(desc.min, value);
    StoreField(desc.count, SpanCount(value, GetMax()));
}

void XBaseParam::SetMax(double value)
{
    if (!std::isfinite(value))
        return;
    StoreField(desc.max, value);
    StoreField(desc.count, SpanCount(GetMin(), value));
}

void XBaseParam::SetCount(uint32_t value)
{
    StoreField(desc.count, value);
}

double XBaseParam::GetDefault() const
{
    return desc.def;
}
