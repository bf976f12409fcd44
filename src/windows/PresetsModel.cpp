#include "windows/PresetsModel.h"

#include "core/IAppServices.h"
#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "device/IDeviceRequests.h"
#include "device/PresetsManager.h"
#include "device/RegionsManager.h"
#include "windows/ListBoxButtonComponent.h"

namespace
{
struct Column
{
    const char* title;
    int id;
    int width;
    int minimum;
    int maximum; // -1: none
};
constexpr Column kColumns[] = {
    {"Locked", PresetsModel::kColumnLocked, 27, 25, 27},
    {"Visible", PresetsModel::kColumnVisible, 34, 25, 34},
    {"Location", PresetsModel::kColumnLocation, 41, 30, -1},
    {"Name", PresetsModel::kColumnName, 255, 30, -1},
    {"Config", PresetsModel::kColumnConfig, 315, 30, -1},
};
} // namespace

void PresetsModel::AddColumns(juce::TableListBox& table)
{
    for (const Column& column : kColumns)
        table.getHeader().addColumn(column.title, column.id, column.width, column.minimum, column.maximum);
}

int PresetsModel::getNumRows()
{
    return PresetsManager::Instance().Count();
}

void PresetsModel::paintCell(juce::Graphics& g, int row, int columnId, int width, int height, bool selected)
{
    PresetsManager::Preset preset(XString(), PresetsManager::kNoConfiguration, 0);
    if (!PresetsManager::Instance().GetEntry(row, &preset))
        return;
    switch (columnId)
    {
    case kColumnLocation:
        PaintCellText(g, XString(PresetsManager::Preset::LocationName(row)), width, height, selected);
        break;
    case kColumnName:
        PaintCellText(g, preset.name, width, height, selected);
        break;
    case kColumnConfig:
        PaintCellText(g, PresetsManager::Preset::ConfigName(preset.configuration), width, height, selected);
        break;
    default:
        break;
    }
}

juce::Component* PresetsModel::refreshComponentForCell(int row, int columnId, bool /*selected*/,
                                                       juce::Component* existing)
{
    if (columnId != kColumnVisible && columnId != kColumnLocked)
    {
        // The table hands over a component it no longer needs: ours to delete.
        delete existing;
        return nullptr;
    }
    auto* button = dynamic_cast<ListBoxButtonComponent*>(existing);
    if (button != nullptr && button->GetColumnId() == columnId)
        button->SetRow(row);
    else
    {
        delete existing;
        button = new ListBoxButtonComponent(this, columnId, row, kBlankImage,
                                            columnId == kColumnLocked ? kLockImage : kVisibleImage);
    }
    PresetsManager::Preset preset(XString(), PresetsManager::kNoConfiguration, 0);
    const int32_t flags = PresetsManager::Instance().GetEntry(row, &preset) ? preset.flags : 0;
    button->SetOn(columnId == kColumnLocked ? (flags & kPresetLocked) != 0 : (flags & kPresetHidden) == 0);
    return button;
}

void PresetsModel::SetCellFlag(int row, int columnId, bool on)
{
    if (columnId == kColumnVisible)
        SetPresetFlag(row, kPresetHidden, !on);
    else if (columnId == kColumnLocked)
        SetPresetFlag(row, kPresetLocked, on);
}

void PresetsModel::SetPresetFlag(int row, int32_t bit, bool set)
{
    PresetsManager& presets = PresetsManager::Instance();
    PresetsManager::Preset preset(XString(), PresetsManager::kNoConfiguration, 0);
    int32_t flags = presets.GetEntry(row, &preset) ? preset.flags : 0;
    flags = set ? flags | bit : flags & ~bit;
    presets.SetEntryFlags(row, flags);

    const int number = row + 1;
    IDeviceRequests& requests = GetDeviceRequests();
    requests.SetPresetFlags(number, flags);
    XParam* current = GetAppServices().GetParam(kCurrentPresetId);
    if (current != nullptr && static_cast<int>(current->GetValue()) == number)
    {
        requests.RequestPresetFlags(number);
        RegionsManager::Instance().ApplyPresetLockMode();
    }
    if (XParam* lockMode = FindParam("%s", kLockModePath))
        lockMode->Notify(static_cast<int32_t>(XMsgCode::kRefresh));
}
