#include "windows/PresetsWindow.h"

#include "core/IAppServices.h"
#include "core/ParamRegistry.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "device/IDeviceRequests.h"
#include "device/PresetReceiveJob.h"
#include "device/PresetsManager.h"
#include "device/RegionsManager.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XText.h"

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChangedByUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
constexpr uint32_t kPresetInfoMessage = FourCharCode("pInf");
constexpr uint32_t kPresetFlagsMessage = FourCharCode("prfg");

constexpr const char* kBackground = "PresetsWindow\\PresetsWindowBg.png";
const XRect kTableFrame(25, 22, 25 + 757, 22 + 408);
const XRGB kCompareColour{178, 178, 178, 255};
} // namespace

PresetsWindow::PresetsWindow() : SubWindow("Presets", kBackground)
{
    if (XParam* current = GetAppServices().GetParam(PresetsModel::kCurrentPresetId))
        current->AddWatcher(this, kCurrentPresetKey, false);
    table = FPModel::MakeTable(model, kTableFrame);
    table->setName(kTableName);
    table->setColour(juce::ListBox::outlineColourId, juce::Colour(0xFF000000));
    model.SetTable(nullptr); // handed to the model by BuildContent
    PresetsModel::AddColumns(*table);
}

PresetsWindow::~PresetsWindow()
{
    XParam::ForgetWatcher(this);
    table.reset();
}

void PresetsWindow::BuildContent()
{
    table->setBounds(kTableFrame.left, kTableFrame.top, kTableFrame.Width(), kTableFrame.Height());
    model.SetTable(table.get());
    GetContentView()->AddComponent(table.get());

    XView* content = GetContentView();
    const XRect area(1, 1, content->getWidth(), content->getHeight());
    auto* cover =
        new XText(area, " ", kCompareColour, XFont::GetNamedFont("dialogLabel", false), XCanvas::kJustifyTop);
    cover->SetTransparentWithColor(true, kCompareColour);
    cover->SetTooltipText("Compare Mode");
    AddChild(cover);
    if (XParam* compareLock = GetAppServices().GetParam(kCompareLockId))
    {
        cover->SetShowParam(compareLock, 0);
        compareLock->Notify(kValueSet);
    }
}

void PresetsWindow::ShowList()
{
    table->updateContent();
    table->repaint();
}

void PresetsWindow::RequestPresetInfo(int32_t presetNumber)
{
    IDeviceRequests& requests = GetDeviceRequests();
    if (!requests.IsConnected())
        return;
    requests.RequestPresetInfo(presetNumber);
    requests.RequestPresetFlags(presetNumber);
}

void PresetsWindow::ClearPresetList(bool keep)
{
    if (keep)
        return;
    PresetsManager& presets = PresetsManager::Instance();
    for (int32_t index = 0; index < PresetsManager::kPresetCount; ++index)
        if (presets.SetEntryInfo(index, XString(PresetsManager::kPlaceholderName),
                                 PresetsManager::kNoConfiguration))
            presets.SetEntryFlags(index, 0);
    ShowList();
    if (XParam* current = GetAppServices().GetParam(PresetsModel::kCurrentPresetId))
        current->Notify(kValueSet);
}

void PresetsWindow::HandlePresetInfo(XMessage& message)
{
    IDeviceRequests& requests = GetDeviceRequests();
    int32_t number = 0;
    if (!requests.IsConnected() || message.FindInt32("presetNum", number) != 0)
        return;
    PresetsManager& presets = PresetsManager::Instance();
    if (number < 1 || number > presets.Count())
        return;
    int32_t configuration = PresetsManager::kNoConfiguration;
    message.FindInt32("presetConfig", configuration);
    const char* name = "";
    message.FindString("presetName", name);
    presets.SetEntryInfo(number - 1, PresetReceiveJob::StoredName(XString(name != nullptr ? name : "")),
                         configuration);
    ShowList();
    requests.SetGetAllFromRecall(true);
    requests.RequestAllParams();
}

void PresetsWindow::HandlePresetFlags(XMessage& message)
{
    if (message.GetWhat() != kPresetFlagsMessage)
        return;
    int32_t number = 0;
    int32_t flags = 0;
    if (message.FindInt32("presetNum", number) != 0 || number == 0)
        return;
    message.FindInt32("presetFlags", flags);
    PresetsManager& presets = PresetsManager::Instance();
    if (number < 1 || number > presets.Count())
        return;
    if (presets.SetEntryFlags(number - 1, flags))
        RegionsManager::Instance().ApplyPresetLockMode();
    if (XParam* lockMode = FindParam("%s", PresetsModel::kLockModePath))
        lockMode->Notify(static_cast<int32_t>(XMsgCode::kRefresh));
    table->updateContent();
}

void PresetsWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if ((code == kValueSet || code == kChangedByUser) && key == kCurrentPresetKey)
        table->updateContent();
    SubWindow::ParamChanged(code, param, key);
}
