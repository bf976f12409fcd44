#include "windows/ParametersModel.h"

#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "device/ChannelLinking.h"
#include "device/InputChansLinked.h"
#include "windows/ListBoxButtonComponent.h"
#include "windows/RegionsModel.h"

namespace
{
constexpr const char* kChannelLinkingPath = "QM7\\enableChannelLinking";

bool IsOne(const char* path)
{
    const XParam* param = ParamRegistry::Find(path);
    return param != nullptr && param->GetValue() == 1.0;
}
} // namespace

XParam* ParametersModel::ParamAtRow(int row) const
{
    return region != nullptr ? region->GetGroup()->GetParamAt(row) : nullptr;
}

int ParametersModel::getNumRows()
{
    return region != nullptr ? region->GetGroup()->CountParams() : 0;
}

void ParametersModel::paintCell(juce::Graphics& g, int row, int columnId, int width, int height,
                                bool selected)
{
    const XParam* param = ParamAtRow(row);
    if (param == nullptr)
        return;
    switch (columnId)
    {
    case kColumnChannel:
        PaintCellText(g, ChannelText(param), width, height, selected);
        break;
    case kColumnName:
        PaintCellText(g, param->GetName(), width, height, selected);
        break;
    case kColumnValue:
        PaintCellText(g, param->GetText(), width, height, selected);
        break;
    default:
        break;
    }
}

juce::Component* ParametersModel::refreshComponentForCell(int row, int columnId, bool /*selected*/,
                                                          juce::Component* existing)
{
    ListBoxButtonComponent* button = CellButton(row, columnId, existing);
    const XParam* param = ParamAtRow(row);
    if (button == nullptr || param == nullptr)
        return button;
    const int32_t flags = param->GetFlags();
    if (columnId == kColumnLocked)
        button->SetOn(region->GetLockParam() != nullptr && (flags & kFlagLocked) != 0);
    else if (columnId == kColumnVisible)
        button->SetOn(region->GetVisibleParam() != nullptr && (flags & kFlagHidden) == 0);
    return button;
}

void ParametersModel::SetCellFlag(int row, int columnId, bool on)
{
    XParam* param = ParamAtRow(row);
    if (param == nullptr)
        return;
    int32_t flags = param->GetFlags();
    if (columnId == kColumnVisible)
        flags = on ? (flags & ~kFlagHidden) : (flags | kFlagHidden);
    else if (columnId == kColumnLocked)
        flags = on ? (flags | kFlagLocked) : (flags & ~kFlagLocked);
    param->SetFlags(flags);
    CopyFlagsToLinkedParam(param);
    param->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
    UpdateTable();
    if (regions != nullptr)
        regions->UpdateTable();
}

void ParametersModel::CopyFlagsToLinkedParam(XParam* param)
{
    if (param == nullptr)
        return;
    XParam* partner = nullptr;
    if (param->GetFullPath().StartsWith("Input"))
    {
        if (IsOne(InputChansLinked::kPath) || (param->GetFlags() & kFlagLinked) != 0)
            partner = OtherInputParam(param);
    }
    else if (OutputNumberOfParam(param) > 0 && IsOne(kChannelLinkingPath))
    {
        partner = LinkedOutputParam(param);
    }
    if (partner != nullptr)
        partner->SetFlags(param->GetFlags());
}
