#include "windows/RegionsModel.h"

#include "core/IAppServices.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "device/IDeviceRequests.h"
#include "device/IParamSendingState.h"
#include "windows/ListBoxButtonComponent.h"
#include "windows/ParametersModel.h"

namespace
{
const RegionsManager::Region* RegionAt(int row)
{
    return RegionsManager::Instance().GetRegion(row);
}
} // namespace

int RegionsModel::getNumRows()
{
    return RegionsManager::Instance().Count();
}

void RegionsModel::paintCell(juce::Graphics& g, int row, int columnId, int width, int height, bool selected)
{
    const RegionsManager::Region* region = RegionAt(row);
    if (region != nullptr && columnId == kColumnName)
        PaintCellText(g, region->GetName(), width, height, selected);
}

juce::Component* RegionsModel::refreshComponentForCell(int row, int columnId, bool /*selected*/,
                                                       juce::Component* existing)
{
    ListBoxButtonComponent* button = CellButton(row, columnId, existing);
    if (button != nullptr)
    {
        const RegionsManager::Region* region = RegionAt(row);
        if (columnId == kColumnLocked)
            button->SetOn(AllFlagged(region, kFlagLocked));
        else if (columnId == kColumnVisible)
            button->SetOn(AllFlagged(region, kFlagHidden));
    }
    return button;
}

void RegionsModel::selectedRowsChanged(int lastRowSelected)
{
    if (parameters == nullptr)
        return;
    parameters->ShowRegion(RegionsManager::Instance().GetRegion(lastRowSelected));
    parameters->UpdateTable();
}

void RegionsModel::SetCellFlag(int row, int columnId, bool on)
{
    const RegionsManager::Region* region = RegionAt(row);
    if (region != nullptr)
    {
        const double value = on ? 1.0 : 0.0;
        if (columnId == kColumnVisible)
        {
            if (XParam* visible = region->GetVisibleParam())
                visible->ChangeValue(value, true);
            ApplyFlag(region, kFlagHidden, !on);
        }
        else if (columnId == kColumnLocked)
        {
            if (XParam* lock = region->GetLockParam())
                lock->ChangeValue(value, true);
            ApplyFlag(region, kFlagLocked, on);
        }
    }
    if (parameters != nullptr)
        parameters->UpdateTable();
}

std::vector<XParam*> RegionsModel::ApplyFlag(const RegionsManager::Region* region, int32_t mask, bool on)
{
    std::vector<XParam*> changed;
    if (region == nullptr)
        return changed;
    IAppServices& services = GetAppServices();
    const bool wasSuspended = IsParamSendingSuspended();
    services.EnableParamSending(false);
    const XParamGroup* group = region->GetGroup();
    for (int32_t at = 0; XParam* param = group->GetParamAt(at); ++at)
    {
        const int32_t before = param->GetFlags();
        const int32_t after = on ? (before | mask) : (before & ~mask);
        param->SetFlags(after);
        param->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
        if (after != before)
            changed.push_back(param);
    }
    services.EnableParamSending(!wasSuspended);

    if (!IsParamSendingSuspended())
    {
        IDeviceRequests& requests = GetDeviceRequests();
        for (XParam* param : changed)
            if (const int32_t wireId = requests.FindLiveWireId(param); wireId >= 0)
                requests.SendParamValue(param, wireId);
    }
    return changed;
}

int32_t RegionsModel::CountFlagged(const RegionsManager::Region* region, int32_t mask)
{
    if (region == nullptr)
        return 0;
    int32_t count = 0;
    const XParamGroup* group = region->GetGroup();
    for (int32_t at = 0; const XParam* param = group->GetParamAt(at); ++at)
        if ((param->GetFlags() & mask) != 0)
            ++count;
    return count;
}

bool RegionsModel::AllFlagged(const RegionsManager::Region* region, int32_t mask)
{
    const int32_t flagged = CountFlagged(region, mask);
    if (mask != kFlagLocked)
        return flagged == 0;
    return region != nullptr && flagged > 0 && flagged == region->GetGroup()->CountParams();
}
