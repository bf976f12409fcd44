#include "core/XOperation.h"

#include <juce_core/juce_core.h>

namespace
{
constexpr int64_t kMsPerSecond = 1000;

/** The clock time of now, read to the second. */
int64_t NowToTheSecond()
{
    return juce::Time::currentTimeMillis() / kMsPerSecond * kMsPerSecond;
}
} // namespace

XOperation::XOperation() : creationTime(NowToTheSecond()) {}

int32_t XOperation::GetTypeCode() const
{
    return kOperationType;
}

bool XOperation::IsKindOf(int32_t typeCode) const
{
    return typeCode == kOperationType || typeCode == kAtomType;
}

const char* XOperation::GetClassName() const
{
    return "XOperation";
}

bool XOperation::IsUndoable() const
{
    return flag != 0;
}

void XOperation::SetFlag(uint8_t value)
{
    flag = value;
}
