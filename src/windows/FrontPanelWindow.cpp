#include "windows/FrontPanelWindow.h"

#include "core/IAppServices.h"
#include "core/ParamEdits.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "device/GlobalParamTables.h"
#include "device/IDeviceRequests.h"
#include "device/IPresetEntries.h"
#include "device/RegionsManager.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XText.h"
#include "windows/CompareOverlay.h"
#include "windows/LocalParamDesc.h"

#include <algorithm>

namespace
{
/** Ids of the watched parameters: main group, preset group. */
constexpr int32_t kCurrentPresetId = GlobalParamTables::kCurrentPresetId;
constexpr int32_t kProgramNameId = GlobalParamTables::kProgramNameId;
constexpr int32_t kCurrentConfigId = GlobalParamTables::kCurrentConfigId;
constexpr int32_t kUserPresetCount = 20;

constexpr int32_t kOnOff = XParamDesc::kTypeOnOff;
constexpr int32_t kEditEnds = 2;
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);

FrontPanelWindow* WindowOf(const XParam* param)
{
    return param != nullptr ? static_cast<FrontPanelWindow*>(param->GetClientData()) : nullptr;
}
} // namespace

FrontPanelWindow::FrontPanelWindow()
    : SubWindow(kTitle, kBackground), regionsModel(&parametersModel), parametersModel(&regionsModel),
      header(LocalParamDesc("header", 0, 0, 1, 0, 1)),
      presetLock(LocalParamDesc("presetLock", kOnOff, 0, 1, 0, 2)),
      presetHidden(LocalParamDesc("presetHidden", kOnOff, 0, 1, 0, 2))
{
    for (FloatParam* flag : {&presetLock, &presetHidden})
    {
        flag->SetClientData(this);
        flag->SetVetoCallback(PresetFlagEdited, 0);
    }
    header.SetClientData(this);
    header.SetTextCallback(HeaderTextOf, 0);

    IAppServices& services = GetAppServices();
    XParam* currentPreset = services.GetParam(kCurrentPresetId);
    presetNumber = ParamEdits::TruncToInt(currentPreset->GetValue());
    currentPreset->AddWatcher(this, kCurrentPresetKey, false);
    services.GetPresetParam(kProgramNameId)->AddWatcher(this, kProgramNameKey, false);
    services.GetPresetParam(kCurrentConfigId)->AddWatcher(this, kConfigKey, false);
    TakeKnownPresetFlags();
}

FrontPanelWindow::~FrontPanelWindow()
{
    XParam::ForgetWatcher(this);
}

XString FrontPanelWindow::HeaderText(int32_t presetNumber)
{
    const bool user = presetNumber <= kUserPresetCount;
    XString label;
    label.Format("%c%02d", user ? 'U' : 'P', user ? presetNumber : presetNumber - kUserPresetCount);
    IAppServices& services = GetAppServices();
    return XString("[") + label + "] " + services.GetPresetParam(kProgramNameId)->GetText() + "  -  " +
           services.GetPresetParam(kCurrentConfigId)->GetDisplayText();
}

XString FrontPanelWindow::HeaderTextOf(XParam* param, double /*value*/, int32_t /*user*/)
{
    const FrontPanelWindow* window = WindowOf(param);
    XString text = HeaderText(window != nullptr ? window->presetNumber : 1);
    // A display text shows only what follows its last ':', and '|' as ':': keep the whole name.
    text.ReplaceChar(':', '|');
    return text;
}

// Page ------------------------------------------------------------------------------------------------

void FrontPanelWindow::BuildContent()
{
    auto* lock = new XButton(kPresetLockFrame, &presetLock, FPModel::kBlankImage, FPModel::kLockImage);
    lock->SetShouldMoveWhenPressed(false);
    AddChild(lock);
    auto* hidden =
        new XButton(kPresetHiddenFrame, &presetHidden, FPModel::kVisibleImage, FPModel::kBlankImage);
    hidden->SetShouldMoveWhenPressed(false);
    AddChild(hidden);
    AddChild(new XText(kHeaderFrame, &header, GetColorDictionary().GetColor("listRowText"),
                       XFont::GetNamedFont("listText", true), XView::kJustifyLeft));

    regionsTable = FPModel::MakeTable(regionsModel, kRegionsFrame);
    FPModel::AddColumn(*regionsTable, "Locked", FPModel::kColumnLocked);
    FPModel::AddColumn(*regionsTable, "Visible", FPModel::kColumnVisible);
    FPModel::AddColumn(*regionsTable, "Name", FPModel::kColumnName, 315);
    GetContentView()->AddComponent(regionsTable.get());

    parametersTable = FPModel::MakeTable(parametersModel, kParametersFrame);
    FPModel::AddColumn(*parametersTable, "Locked", FPModel::kColumnLocked);
    FPModel::AddColumn(*parametersTable, "Visible", FPModel::kColumnVisible);
    FPModel::AddColumn(*parametersTable, "Channel", FPModel::kColumnChannel, 70);
    FPModel::AddColumn(*parametersTable, "Name", FPModel::kColumnName, 120);
    FPModel::AddColumn(*parametersTable, "Value", FPModel::kColumnValue, 100);
    GetContentView()->AddComponent(parametersTable.get());

    CompareOverlay::Add(*this);
}

void FrontPanelWindow::RefreshTables()
{
    regionsModel.UpdateTable();
    parametersModel.UpdateTable();
}

void FrontPanelWindow::RepaintParamRow(XParam* param)
{
    if (!juce::MessageManager::existsAndIsCurrentThread() || !isVisible() || parametersTable == nullptr ||
        regionsTable == nullptr)
        return;
    const int selected = regionsTable->getSelectedRow();
    if (selected < 0 || RegionsManager::Instance().GetRegion(selected) == nullptr)
        return;
    const int first = std::max(0, parametersTable->getRowContainingPosition(0, 0));
    const int last = first + parametersTable->getNumRowsOnScreen() + 1;
    for (int row = first; row <= last; ++row)
        if (parametersModel.ParamAtRow(row) == param)
            if (juce::Component* rowComponent = parametersTable->getComponentForRowNumber(row))
                rowComponent->repaint();
    parametersTable->updateContent();
}

void FrontPanelWindow::RepaintParameterRows()
{
    if (!juce::MessageManager::existsAndIsCurrentThread() || !isVisible() || parametersTable == nullptr)
        return;
    parametersTable->updateContent();
    parametersTable->repaint();
}

// Preset flags ------------------------------------------------------------------------------------------

void FrontPanelWindow::HandlePresetFlags(XMessage& message)
{
    if (message.GetWhat() != kMsgPresetFlags)
        return;
    int32_t number = 0;
    int32_t flags = 0;
    if (message.FindInt32("presetNum", number) != 0 || message.FindInt32("presetFlags", flags) != 0)
        return;
    if (number == presetNumber)
        SetPresetFlagButtons(flags);
}

void FrontPanelWindow::SetPresetFlagButtons(int32_t flags)
{
    presetHidden.SetValue((flags & kPresetHidden) != 0 ? 1.0 : 0.0, true);
    presetLock.SetValue((flags & kPresetLocked) != 0 ? 1.0 : 0.0, true);
}

void FrontPanelWindow::TakeKnownPresetFlags()
{
    int32_t flags = 0;
    if (GetPresetEntry(presetNumber - 1, nullptr, &flags))
        SetPresetFlagButtons(flags);
    GetDeviceRequests().RequestPresetFlags(presetNumber);
}

bool FrontPanelWindow::PresetFlagEdited(XParam* param, double* /*value*/, int32_t /*user*/, int32_t phase)
{
    if (phase == kEditEnds)
        if (FrontPanelWindow* window = WindowOf(param))
            window->SendPresetFlags();
    return true;
}

void FrontPanelWindow::SendPresetFlags()
{
    const int32_t flags = (presetLock.GetValue() != 0.0 ? kPresetLocked : 0) +
                          (presetHidden.GetValue() != 0.0 ? kPresetHidden : 0);
    IDeviceRequests& requests = GetDeviceRequests();
    requests.SetPresetFlags(presetNumber, flags);
    requests.RequestPresetFlags(presetNumber);
    RegionsManager::Instance().ApplyPresetLockMode();
}

// Handler -------------------------------------------------------------------------------------------------

void FrontPanelWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param == nullptr)
        return;
    if (XMsgCode::IsValueChange(code))
    {
        if (key == kConfigKey || key == kProgramNameKey)
        {
            header.Notify(kValueSet);
        }
        else if (key == kCurrentPresetKey)
        {
            presetNumber = ParamEdits::TruncToInt(param->GetValue());
            TakeKnownPresetFlags();
            header.Notify(kValueSet);
            parametersModel.UpdateTable();
        }
    }
    SubWindow::ParamChanged(code, param, key);
}
