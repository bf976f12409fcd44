#include "core/FloatParam.h"

#include "core/GainLaws.h"
#include "core/ParamEdits.h"
#include "core/XMessageCodes.h"
#include "platform/PlatformClock.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChangedByUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
constexpr int32_t kFlagsChanged = static_cast<int32_t>(XMsgCode::kParamFlagsChanged);

constexpr int32_t kVetoBegin = 0;
constexpr int32_t kVetoChange = 1;
constexpr int32_t kVetoEnd = 2;
constexpr int32_t kIndexToValue = 0;
constexpr int32_t kValueToIndex = 1;

/** Text entry tries the texts of the positions only for fewer than this many. */
constexpr uint32_t kMaxTextPositions = 20;
/** Pan index of the centre. */
constexpr int32_t kPanCentre = 50;
constexpr double kKilo = 1000.0;
constexpr double kPercent = 100.0;
/** Relative slack when percent texts truncate: values that passed through single precision sit a
    few units of the last place below the number they stand for (0.29 is stored as 0.2899999...). */
constexpr double kPercentSlack = 1.0e-6;

/** d of the index mappings: count - 1 when count > 1, else count; never 0. */
uint32_t StepDivisor(uint32_t count)
{
    const uint32_t n = count > 1 ? count - 1 : count;
    return n != 0 ? n : 1;
}

bool IsCubicGain(int32_t type, double min, double max)
{
    return type == XParamDesc::kTypeGain && min <= GainLaws::kFloorDb && max == 0.0;
}

/** The number at the start of text (after blanks), as strtod reads it in the C locale; false when
    there is none or it is not finite. */
bool ReadLeadingNumber(const char* text, double& out)
{
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (end == text || !std::isfinite(parsed))
        return false;
    out = parsed;
    return true;
}

/** The value of an integer or decimal text (which XString has checked). */
double NumberOf(const XString& text)
{
    return std::strtod(text.CStr(), nullptr);
}

XString Formatted(const char* format, double value)
{
    XString text;
    text.Format(format, value);
    return text;
}
} // namespace

using ParamEdits::TruncToInt;

FloatParam::FloatParam()
{
    XParamDesc cleared;
    cleared.Init();
    XBaseParam::SetDesc(&cleared);
}

FloatParam::FloatParam(const XParamDesc& desc)
{
    SetDesc(&desc);
}

FloatParam::~FloatParam()
{
    Retire();
}

void FloatParam::SetDesc(const XParamDesc* desc)
{
    XBaseParam::SetDesc(desc);
    if (desc != nullptr && std::isfinite(GetDefault()))
        value.store(GetDefault());
}

void FloatParam::SetFlags(int32_t flags)
{
    if (flags == GetFlags())
        return;
    StampChange();
    XBaseParam::SetFlags(flags);
    Notify(kFlagsChanged);
}

void* FloatParam::GetClientData() const
{
    return clientData.load();
}

void FloatParam::SetClientData(void* data)
{
    clientData.store(data);
}

// Texts -------------------------------------------------------------------------------------------------

XString FloatParam::GetDisplayTextOf(double v) const
{
    XString text = GetFormatCallback() != nullptr ? FormatText(v) : ValueToText(v);
    // Only the part after the last colon is shown; '|' stands for a colon inside it.
    while (text.FindChar(':') >= 0)
        text = text.After(":");
    text.ReplaceChar('|', ':');
    return text;
}

XString FloatParam::GetDisplayText() const
{
    return GetDisplayTextOf(GetValue());
}

XString FloatParam::ValueToText(double v) const
{
    if (Ext().textCallback != nullptr)
        return Ext().textCallback(Self(), v, Ext().textUser);
    return UnitText(v);
}

XString FloatParam::UnitText(double v) const
{
    XString text;
    switch (GetType())
    {
    case XParamDesc::kTypeInteger:
        text.Format("%d", TruncToInt(v));
        return text;
    case XParamDesc::kTypeOnOff:
        return XString(v == 0.0 ? "Off" : "On");
    case XParamDesc::kTypePercent:
    {
        const double percent = v * kPercent;
        const double slack = std::fabs(percent) * kPercentSlack;
        text.Format("%d%%", TruncToInt(percent >= 0.0 ? percent + slack : percent - slack));
        return text;
    }
    case XParamDesc::kTypeSeconds:
        return Formatted("%.2f s", v);
    case XParamDesc::kTypeMilliseconds:
        return Formatted("%.1f ms", v);
    case XParamDesc::kTypeFrequency:
        return v > kKilo ? Formatted("%.2f kHz", v / kKilo) : Formatted("%.2f Hz", v);
    case XParamDesc::kTypeGain:
    case XParamDesc::kTypeFaderGain:
        return v <= GainLaws::kFloorDb ? XString("-oo dB") : Formatted("%.2f dB", v);
    case XParamDesc::kTypePan:
    {
        const int32_t offset = ValueToIndex(v) - kPanCentre;
        if (offset < 0)
            text.Format("L %d", -offset);
        else if (offset > 0)
            text.Format("R %d", offset);
        else
            text = "C";
        return text;
    }
    default:
        return Formatted("%.2f", v);
    }
}

XString FloatParam::GetText() const
{
    return ValueToText(GetValue());
}

// Step mapping ---------------------------------------------------------------------------------------

double FloatParam::IndexToValue(int32_t index) const
{
    if (Ext().indexCallback != nullptr)
    {
        double v = 0.0;
        int32_t i = index;
        Ext().indexCallback(Self(), &v, &i, kIndexToValue);
        return v;
    }
    const auto u = static_cast<uint32_t>(index);
    const uint32_t count = GetCount();
    const double min = GetMin();
    const double max = GetMax();
    const int32_t type = GetType();
    if (IsCubicGain(type, min, max))
    {
        const uint32_t d = (count > 1 && u != count) ? count - 1 : (count != 0 ? count : 1);
        return GainLaws::NormToDbCubic(static_cast<float>(u) / static_cast<float>(d));
    }
    if (type == XParamDesc::kTypeInteger)
        return min + u;
    if (type == XParamDesc::kTypeOnOff)
        return u == 0 ? 0.0 : 1.0;
    if (type == XParamDesc::kTypeFaderGain)
    {
        const float position =
            static_cast<float>(u) * GainLaws::kFaderTopPos / static_cast<float>(StepDivisor(count));
        return GainLaws::FaderPosToDb(position);
    }
    const float step = static_cast<float>(max - min) / static_cast<float>(StepDivisor(count));
    const float v = static_cast<float>(min) + step * static_cast<float>(u);
    return v > max ? max : v;
}

int32_t FloatParam::ValueToIndex(double v) const
{
    if (Ext().indexCallback != nullptr)
    {
        double given = v;
        int32_t index = 0;
        Ext().indexCallback(Self(), &given, &index, kValueToIndex);
        return index;
    }
    const uint32_t count = GetCount();
    const double min = GetMin();
    const double max = GetMax();
    const int32_t type = GetType();
    const auto lastIndex = static_cast<float>(count != 0 ? count - 1 : 0);
    if (IsCubicGain(type, min, max))
        return TruncToInt(GainLaws::DbToNormCubic(static_cast<float>(v)) * lastIndex);
    if (type == XParamDesc::kTypeInteger)
        return TruncToInt(v - min);
    if (type == XParamDesc::kTypeOnOff)
        return v == 0.0 ? 0 : 1;
    if (type == XParamDesc::kTypeFaderGain)
        return TruncToInt(GainLaws::DbToFaderPos(static_cast<float>(v)) / GainLaws::kFaderTopPos * lastIndex);
    const float step = static_cast<float>(max - min) / static_cast<float>(StepDivisor(count));
    if (step == 0.0f)
        return 0;
    return TruncToInt(std::floor(static_cast<float>(v - min) / step + 0.5f));
}

// Values --------------------------------------------------------------------------------------------------

double FloatParam::GetValue() const
{
    const double stored = value.load();
    if (Ext().valueMapCallback != nullptr)
        return Ext().valueMapCallback(Self(), stored, Ext().valueMapUser);
    return stored;
}

bool FloatParam::SetValue(double x, bool notify)
{
    if (!std::isfinite(x) || x == value.load())
        return false;
    StampChange();
    const double max = GetMax();
    const double min = GetMin();
    value.store(x > max ? max : (x < min ? min : x));
    if (notify)
        Notify(kValueSet);
    MarkDocument();
    return true;
}

bool FloatParam::SetValueNow(double x, bool notify)
{
    if (!std::isfinite(x) || x == value.load())
        return false;
    StampChange(true);
    const double max = GetMax();
    const double min = GetMin();
    value.store(x > max ? max : (x < min ? min : x));
    if (notify)
        NotifyWatchersNow(kValueSet);
    return true;
}

bool FloatParam::ChangeValue(double x, bool notify)
{
    if (!std::isfinite(x))
        return false;
    const XParamDescExt& ext = Ext();
    if (ext.eventCallback != nullptr)
    {
        XParamEvent event{XParamEvent::kSetValue, static_cast<float>(x), PlatformClock::GetTickCount(), 0};
        if (!ext.eventCallback(Self(), &event, ext.eventUser))
            return false;
    }
    else if (ext.vetoCallback != nullptr && !ext.vetoCallback(Self(), &x, ext.vetoUser, kVetoChange))
    {
        return false;
    }
    const bool changed = SetValue(x, false);
    if (changed && notify)
        Notify(kChangedByUser);
    return changed;
}

bool FloatParam::ResetToDefault()
{
    return SetValue(GetDefault(), true);
}

// Text entry ------------------------------------------------------------------------------------------

uint32_t FloatParam::TextPositions() const
{
    return GetType() == XParamDesc::kTypeOnOff ? 2 : GetCount();
}

bool FloatParam::SetText(const char* text, bool notify)
{
    if (text == nullptr)
        return false;
    const XString entered(text);
    if (entered.IsInteger())
        return SetValue(NumberOf(entered), notify);
    if (entered.IsDecimal())
        return SetValue(std::trunc(NumberOf(entered)), notify);
    const uint32_t positions = TextPositions();
    if (positions == 0 || positions >= kMaxTextPositions)
        return false;
    for (uint32_t index = 0; index < positions; ++index)
    {
        const double candidate = IndexToValue(static_cast<int32_t>(index));
        if (ValueToText(candidate) == entered)
            return SetValue(candidate, notify);
    }
    return false;
}

bool FloatParam::ChangeText(const char* text, bool notify)
{
    if (text == nullptr)
        return false;
    const XString entered(text);
    if (GetType() == XParamDesc::kTypePercent)
    {
        double number = 0.0;
        if (entered.IsInteger())
            number = NumberOf(entered);
        else if (!ReadLeadingNumber(text, number))
            return false;
        return ChangeValue(number / kPercent, notify);
    }
    if (entered.IsInteger() || entered.IsDecimal())
        return ChangeValue(NumberOf(entered), notify);
    return false;
}

// Edits --------------------------------------------------------------------------------------------------

bool FloatParam::AskEditCallbacks(int32_t vetoPhase, int32_t eventType)
{
    const XParamDescExt& ext = Ext();
    bool answer = false;
    double current = GetValue();
    if (ext.vetoCallback != nullptr)
        answer = ext.vetoCallback(Self(), &current, ext.vetoUser, vetoPhase);
    if (ext.eventCallback != nullptr)
    {
        XParamEvent event{eventType, 0.0f, PlatformClock::GetTickCount(), 0};
        answer = ext.eventCallback(Self(), &event, ext.eventUser);
    }
    return answer;
}

bool FloatParam::BeginEdit()
{
    editing.store(true);
    return AskEditCallbacks(kVetoBegin, XParamEvent::kBeginEdit);
}

bool FloatParam::EndEdit()
{
    const bool answer = AskEditCallbacks(kVetoEnd, XParamEvent::kEndEdit);
    editing.store(false);
    return answer;
}

bool FloatParam::IsEditing() const
{
    return editing.load();
}

bool FloatParam::ApplyEvent(XParamEvent* event)
{
    if (event == nullptr)
        return false;
    const XParamDescExt& ext = Ext();
    if (ext.eventCallback != nullptr && !ext.eventCallback(Self(), event, ext.eventUser))
        return false;
    switch (event->type)
    {
    case XParamEvent::kBeginEdit:
        BeginEdit();
        return false;
    case XParamEvent::kSetValue:
        return ChangeValue(event->value, true);
    case XParamEvent::kSetStepIndex:
        return SetStepIndex(TruncToInt(event->value));
    case XParamEvent::kSetPosition:
    {
        const auto span = static_cast<float>(GetMax() - GetMin());
        return ChangeValue(static_cast<float>(GetMin()) + event->value * span, true);
    }
    case XParamEvent::kAddDelta:
    {
        float v = static_cast<float>(GetValue()) + event->value;
        if (v > GetMax())
            v = static_cast<float>(GetMax());
        else if (v < GetMin())
            v = static_cast<float>(GetMin());
        ChangeValue(v, true);
        return false;
    }
    case XParamEvent::kMoveSteps:
        return MoveBySteps(TruncToInt(event->value));
    case XParamEvent::kEndEdit:
        EndEdit();
        return false;
    default:
        return false;
    }
}

bool FloatParam::WrapsOnStep() const
{
    return GetCount() <= 2 && GetMin() == 0.0 && GetMax() <= 2.0;
}

bool FloatParam::MoveBySteps(int32_t steps)
{
    if (steps == 0)
        return false;
    const auto index = static_cast<uint32_t>(ValueToIndex(GetValue()));
    const uint32_t distance =
        steps > 0 ? static_cast<uint32_t>(steps) : static_cast<uint32_t>(-static_cast<int64_t>(steps));
    // The top index: count - 1, except for on/off, whose count of 1 stands for its two positions.
    const uint32_t count = GetCount();
    const uint32_t top = count > 1 ? count - 1 : count;
    uint32_t target;
    if (steps > 0)
        target = (top < index || top - index < distance) ? (WrapsOnStep() ? 0 : top) : index + distance;
    else
        target = index >= distance ? index - distance : (WrapsOnStep() ? top : 0);
    return ChangeValue(IndexToValue(static_cast<int32_t>(target)), true);
}

bool FloatParam::StepBy(int32_t steps, bool notify)
{
    XParamEvent event{XParamEvent::kMoveSteps, static_cast<float>(steps), PlatformClock::GetTickCount(), 0};
    return ApplyEvent(&event);
}
