#include "core/StringParam.h"

#include "core/ParamEdits.h"
#include "core/XMessageCodes.h"

#include <cmath>
#include <cstdlib>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChangedByUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
constexpr int32_t kVetoChange = 1;
/** The word lists of text callbacks are short; a table whose max is beyond this is taken to list
    no more, so that a search never runs for billions of indices. */
constexpr double kMaxWordIndex = 65535.0;

XParamDesc TextDesc()
{
    XParamDesc desc;
    desc.Init();
    desc.id = -1;
    desc.type = XParamDesc::kTypeText;
    return desc;
}

} // namespace

StringParam::StringParam()
{
    const XParamDesc desc = TextDesc();
    SetDesc(&desc);
}

StringParam::StringParam(const XParamDesc& desc)
{
    SetDesc(&desc);
}

StringParam::~StringParam()
{
    Retire();
}

int32_t StringParam::GetType() const
{
    return XParamDesc::kTypeText;
}

XString StringParam::GetDisplayTextOf(double value) const
{
    return ParamEdits::ReduceToDisplayText(GetFormatCallback() != nullptr ? FormatText(value)
                                                                          : ValueToText(value));
}

XString StringParam::GetDisplayText() const
{
    return GetDisplayTextOf(GetValue());
}

double StringParam::IndexToValue(int32_t index) const
{
    return static_cast<double>(static_cast<uint32_t>(index));
}

int32_t StringParam::ValueToIndex(double value) const
{
    return ParamEdits::TruncToInt(value);
}

int32_t StringParam::IndexOfWord(const XString& word) const
{
    const XParamDescExt& ext = Ext();
    const double max = std::fmin(GetMax(), kMaxWordIndex);
    for (int32_t index = 0; max >= index; ++index)
    {
        if (ext.textCallback(Self(), index, ext.textUser).EqualsNoCase(word))
            return index;
    }
    return -1;
}

double StringParam::GetValue() const
{
    const XString stored = GetText();
    if (Ext().textCallback != nullptr)
    {
        const int32_t index = IndexOfWord(stored);
        return index < 0 ? 0.0 : index;
    }
    if (stored.IsInteger() || stored.IsDecimal())
        return std::strtod(stored.CStr(), nullptr);
    return 0.0;
}

XString StringParam::ValueToText(double value) const
{
    if (Ext().textCallback != nullptr)
        return Ext().textCallback(Self(), value, Ext().textUser);
    return GetText();
}

XString StringParam::GetText() const
{
    std::lock_guard<std::mutex> hold(textLock);
    return text;
}

bool StringParam::ApplyEvent(XParamEvent* event)
{
    return false;
}

bool StringParam::ChangeText(const char* typed, bool notify)
{
    const XParamDescExt& ext = Ext();
    if (ext.vetoCallback != nullptr && ext.textCallback != nullptr)
    {
        const int32_t index = IndexOfWord(XString(typed));
        double offered = index;
        if (index >= 0 && !ext.vetoCallback(Self(), &offered, ext.vetoUser, kVetoChange))
            return false;
    }
    const bool changed = SetText(typed, false);
    if (changed && notify)
        Notify(kChangedByUser);
    return changed;
}

bool StringParam::ChangeValue(double value, bool notify)
{
    const XParamDescExt& ext = Ext();
    if (ext.vetoCallback != nullptr && !ext.vetoCallback(Self(), &value, ext.vetoUser, kVetoChange))
        return false;
    const bool changed = SetValue(value, false);
    if (changed && notify)
        Notify(kChangedByUser);
    return changed;
}

bool StringParam::SetText(const char* typed, bool notify)
{
    const XString entered(typed);
    if (Ext().textCallback != nullptr && !entered.IsEmpty() && IndexOfWord(entered) < 0)
        return false;
    {
        std::lock_guard<std::mutex> hold(textLock);
        if (text.EqualsNoCase(entered))
            return false;
        StampChange();
        text = entered;
    }
    if (notify)
        Notify(kValueSet);
    MarkDocument();
    return true;
}

bool StringParam::SetValue(double value, bool notify)
{
    if (!std::isfinite(value))
        return false;
    if (Ext().textCallback != nullptr)
        return SetText(Ext().textCallback(Self(), value, Ext().textUser).CStr(), notify);
    XString number;
    number = value;
    return SetText(number.CStr(), notify);
}

bool StringParam::SetValueNow(double value, bool notify)
{
    return SetValue(value, notify);
}

bool StringParam::ResetToDefault()
{
    if (Ext().textCallback != nullptr)
        return SetText(ValueToText(GetDefault()).CStr(), true);
    return SetText("", true);
}

bool StringParam::StepBy(int32_t steps, bool notify)
{
    return false;
}
