#include "windows/InputChannelRegionsModel.h"

#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "windows/InputChannelParametersModel.h"
#include "windows/ListBoxButtonComponent.h"

InputChannelRegionsModel::InputChannelRegionsModel(int32_t regionIndex, XParam* linkButton)
    : regionIndex(regionIndex), linkButton(linkButton)
{
}

RegionsManager::Region* InputChannelRegionsModel::GetRegion() const
{
    return RegionsManager::Instance().GetRegion(regionIndex);
}

int InputChannelRegionsModel::getNumRows()
{
    return 1;
}

void InputChannelRegionsModel::paintCell(juce::Graphics& g, int /*row*/, int columnId, int width, int height,
                                         bool selected)
{
    const RegionsManager::Region* region = GetRegion();
    if (region != nullptr && columnId == kColumnName)
        PaintCellText(g, region->GetName(), width, height, selected);
}

juce::Component* InputChannelRegionsModel::refreshComponentForCell(int row, int columnId, bool /*selected*/,
                                                                   juce::Component* existing)
{
    ListBoxButtonComponent* button = CellButton(row, columnId, existing);
    if (button != nullptr && columnId == kColumnLink)
    {
        const bool linked = IsLinked(GetRegion());
        button->SetOn(linked);
        SetLinkButton(linked);
    }
    return button;
}

void InputChannelRegionsModel::selectedRowsChanged(int /*lastRowSelected*/)
{
    if (inputParameters == nullptr)
        return;
    inputParameters->ShowRegion(GetRegion());
    inputParameters->UpdateTable();
}

void InputChannelRegionsModel::SetCellFlag(int /*row*/, int columnId, bool on)
{
    const RegionsManager::Region* region = GetRegion();
    if (region != nullptr && columnId == kColumnLink)
    {
        ApplyLinkFlag(region, kFlagLinked, on);
        SetLinkButton(on);
    }
    if (inputParameters != nullptr)
        inputParameters->UpdateTable();
}

void InputChannelRegionsModel::SetLink(bool on)
{
    if (const RegionsManager::Region* region = GetRegion())
    {
        ApplyLinkFlag(region, kFlagLinked, on);
        SetLinkButton(false);
    }
    if (inputParameters != nullptr)
        inputParameters->UpdateTable();
}

void InputChannelRegionsModel::SetLinkButton(bool on)
{
    if (linkButton != nullptr)
        linkButton->ChangeValue(on ? 1.0 : 0.0, true);
}

void InputChannelRegionsModel::ApplyLinkFlag(const RegionsManager::Region* region, int32_t mask, bool on)
{
    if (region == nullptr)
        return;
    const XParamGroup* group = region->GetGroup();
    for (int32_t at = 0; XParam* param = group->GetParamAt(at); ++at)
    {
        const int32_t flags = param->GetFlags();
        param->SetFlags(on ? (flags | mask) : (flags & ~mask));
        if (XParam* partner = OtherInputParam(param))
            partner->SetFlags(param->GetFlags());
    }
}

bool InputChannelRegionsModel::IsLinked(const RegionsManager::Region* region)
{
    if (region == nullptr)
        return false;
    const XParamGroup* group = region->GetGroup();
    const int32_t count = group->CountParams();
    return count > 0 && CountFlagged(region, kFlagLinked) == count;
}
