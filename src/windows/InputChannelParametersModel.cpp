#include "windows/InputChannelParametersModel.h"

#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "windows/InputChannelRegionsModel.h"
#include "windows/ListBoxButtonComponent.h"

int InputChannelParametersModel::getNumRows()
{
    const RegionsManager::Region* region = GetRegion();
    return region != nullptr ? region->GetGroup()->CountParams() / 2 : 0;
}

juce::Component* InputChannelParametersModel::refreshComponentForCell(int row, int columnId,
                                                                      bool /*selected*/,
                                                                      juce::Component* existing)
{
    ListBoxButtonComponent* button = CellButton(row, columnId, existing);
    const XParam* param = ParamAtRow(row);
    if (button != nullptr && param != nullptr && columnId == kColumnLink)
        button->SetOn((param->GetFlags() & kFlagLinked) != 0);
    return button;
}

void InputChannelParametersModel::SetCellFlag(int row, int columnId, bool on)
{
    XParam* param = ParamAtRow(row);
    if (param != nullptr && columnId == kColumnLink)
    {
        const int32_t flags = param->GetFlags();
        param->SetFlags(on ? (flags | kFlagLinked) : (flags & ~kFlagLinked));
        if (XParam* partner = OtherInputParam(param))
            partner->SetFlags(param->GetFlags());
    }
    UpdateTable();
    if (inputRegions != nullptr)
        inputRegions->UpdateTable();
}
