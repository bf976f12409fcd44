#include "core/XPrefDoc.h"

#include "core/XApplication.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "core/XResult.h"
#include "core/XSmartLock.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr const char* kLineEnd = "\r\n";

bool IsListedKind(const XParam* param)
{
    return (param->GetFlags() & XParamDesc::kFlagPreference) != 0 &&
           param->GetValueKind() != XParam::kKindProxy;
}

/** The value truncated toward zero and held to the int32 range (NaN gives 0). */
int32_t IntegerOf(double value)
{
    if (std::isnan(value))
        return 0;
    const double held = std::min<double>(std::max<double>(value, std::numeric_limits<int32_t>::min()),
                                         std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(held);
}

void AppendValueLine(XString& out, const XString& name, const XString& value)
{
    out += '"';
    out += name;
    out += "\"=";
    out += value;
    out += kLineEnd;
}

XString Quoted(const XString& text)
{
    return XString("\"") + text + "\"";
}

/** The value text of a preference parameter; false for kinds that are not written. */
bool ParamValueText(XParam* param, XString& text)
{
    switch (param->GetType())
    {
    case XParamDesc::kTypeInteger:
        text.Format("%d", IntegerOf(param->GetValue()));
        return true;
    case XParamDesc::kTypeOnOff:
        text = param->GetValue() != 0.0 ? "true" : "false";
        return true;
    case XParamDesc::kTypeText:
        text = Quoted(param->GetText());
        return true;
    default:
        break;
    }
    constexpr int32_t kKindReal = 4; // a numeric kind that only other parameter classes report
    switch (param->GetValueKind())
    {
    case XParam::kKindNumeric:
    case kKindReal:
        text.Format("%f", param->GetValue());
        return true;
    case XParam::kKindTime:
    case XParam::kKindText:
        text = Quoted(param->GetText());
        return true;
    default:
        return false;
    }
}

void AppendCustomLine(XString& out, const CustomPrefNode& entry)
{
    XString value;
    switch (entry.kind)
    {
    case CustomPrefNode::kInt:
        value.Format("%d", entry.intValue);
        break;
    case CustomPrefNode::kText:
        value = Quoted(entry.text);
        break;
    case CustomPrefNode::kBool:
        value = entry.flag ? "true" : "false";
        break;
    case CustomPrefNode::kRect:
        value.Format("%d,%d,%d,%d", entry.rect.left, entry.rect.top, entry.rect.right, entry.rect.bottom);
        break;
    case CustomPrefNode::kPoint:
        value.Format("%d,%d", entry.point.x, entry.point.y);
        break;
    case CustomPrefNode::kColour:
        value.Format("r:%d,g:%d,b:%d,a:%d", entry.colour.r, entry.colour.g, entry.colour.b, entry.colour.a);
        break;
    case CustomPrefNode::kReal:
        value.Format("%f", entry.real);
        break;
    default:
        return;
    }
    AppendValueLine(out, entry.name, value);
}
} // namespace

XPrefDoc::XPrefDoc() : XHandler("PrefDoc") {}

XPrefDoc::~XPrefDoc()
{
    // Change notices may still arrive from other threads until the watches are gone.
    XParam::ForgetWatcher(this);
}

void XPrefDoc::AddGroup(XParamGroup* group)
{
    if (group == nullptr)
        return;
    const int32_t count = group->CountParams();
    for (int32_t i = 0; i < count; ++i)
    {
        XParam* param = group->GetParamAt(i);
        if (param == nullptr || !IsListedKind(param))
            continue;
        {
            XSmartLock hold(GetParamLock());
            params.push_back(param);
        }
        param->AddWatcher(this, kWatchKey, false);
    }
}

void XPrefDoc::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param == nullptr || key != kWatchKey)
    {
        XHandler::ParamChanged(code, param, key);
        return;
    }
    if (code == static_cast<int32_t>(XMsgCode::kParamDestroyed))
    {
        XSmartLock hold(GetParamLock());
        params.erase(std::remove(params.begin(), params.end(), param), params.end());
        return;
    }
    if (IsValueChangeCode(code) && IsListedKind(param))
    {
        dirty.store(true);
        if (XApplication* application = GetApplication())
            application->SetPrefsDirty(true);
        return;
    }
    XHandler::ParamChanged(code, param, key);
}

int32_t XPrefDoc::CountParams() const
{
    XSmartLock hold(GetParamLock());
    return static_cast<int32_t>(params.size());
}

XString XPrefDoc::BuildFileText() const
{
    XString out;
    out.Format("[VERSION]=%d%s", kFormatVersion, kLineEnd);

    out += "[PARAMS]";
    out += kLineEnd;
    {
        XSmartLock hold(GetParamLock());
        for (XParam* param : params)
        {
            XString value;
            if ((param->GetFlags() & XParamDesc::kFlagPreference) != 0 && ParamValueText(param, value))
                AppendValueLine(out, param->GetFullPath(), value);
        }
    }

    if (!customEntries.empty())
    {
        out += "[OTHER]";
        out += kLineEnd;
        for (const CustomPrefNode& entry : customEntries)
            AppendCustomLine(out, entry);
    }
    return out;
}

int32_t XPrefDoc::Save()
{
    if (filePath.IsEmpty())
        return XResult::kFailed;
    if (!BuildFileText().SaveToFile(filePath.CStr()))
        return XResult::kFailed;
    dirty.store(false);
    return 0;
}
