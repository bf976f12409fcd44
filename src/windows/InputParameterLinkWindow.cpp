#include "windows/InputParameterLinkWindow.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "device/ChannelLinking.h"
#include "device/InputChansLinked.h"
#include "windows/CompareOverlay.h"

namespace
{
constexpr const char* kCurrentConfigPath = "preset\\currentconfig";
constexpr const char* kEditModePath = "QM7_KOVA\\globalEditMode";

} // namespace

InputParameterLinkWindow::InputParameterLinkWindow(int32_t regionIndex, XParam* windowParam,
                                                   XParam* linkButton)
    : SubWindow(kTitle, kBackground), regionModel(regionIndex, linkButton), parameterModel(&regionModel),
      windowParam(windowParam)
{
    regionModel.SetInputParametersModel(&parameterModel);
    InputChansLinked::Install();
}

InputParameterLinkWindow::~InputParameterLinkWindow()
{
    XParam::ForgetWatcher(this);
}

void InputParameterLinkWindow::Show()
{
    SubWindow::Show();
    if (windowParam != nullptr)
        windowParam->SetValue(1.0, true);
}

void InputParameterLinkWindow::Hide()
{
    SubWindow::Hide();
    if (windowParam != nullptr)
        windowParam->SetValue(0.0, true);
}

void InputParameterLinkWindow::BuildContent()
{
    regionTable = FPModel::MakeTable(regionModel, kRegionFrame);
    FPModel::AddColumn(*regionTable, "Link", FPModel::kColumnLink);
    FPModel::AddColumn(*regionTable, "Name", FPModel::kColumnName, 320);
    GetContentView()->AddComponent(regionTable.get());

    parameterTable = FPModel::MakeTable(parameterModel, kParametersFrame);
    FPModel::AddColumn(*parameterTable, "Link", FPModel::kColumnLink);
    FPModel::AddColumn(*parameterTable, "Name", FPModel::kColumnName, 100);
    GetContentView()->AddComponent(parameterTable.get());

    CompareOverlay::Add(*this);
    // From now on the region is unlinked whenever the inputs stop being a pair, starting now.
    for (const char* path : {kCurrentConfigPath, kEditModePath})
        if (XParam* source = ParamRegistry::Find(path))
            source->AddWatcher(this, kConfigKey, true);
}

void InputParameterLinkWindow::RefreshTables()
{
    parameterModel.UpdateTable();
    regionModel.UpdateTable();
}

void InputParameterLinkWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param == nullptr)
        return;
    if (XMsgCode::IsValueChange(code) && key == kConfigKey && !AreChannelPairsLinked())
    {
        regionModel.SetLink(false);
        RefreshTables();
    }
    SubWindow::ParamChanged(code, param, key);
}
