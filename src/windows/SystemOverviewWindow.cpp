#include "windows/SystemOverviewWindow.h"

#include "core/IAppServices.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "device/ChannelLinking.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"
#include "gui/GuiHelpers.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XText.h"
#include "widgets/XEQView.h"
#include "widgets/XSlider.h"
#include "windows/EditorWindows.h"
#include "windows/OutputParamIds.h"
#include "windows/SingleOutputRoutingPanel.h"
#include "windows/SysOvvChEqPanel.h"
#include "windows/SysOvvChanDelayPanel.h"
#include "windows/SysOvvInputDelayPanel.h"
#include "windows/SysOvvInputPanel.h"
#include "windows/SysOvvMstrGEQPanel.h"
#include "windows/SysOvvMstrPEQPanel.h"
#include "windows/SysOvvOutputLevelsPanel.h"
#include "windows/SysOvvOutputPanel.h"
#include "windows/SysOvvXoverPanel.h"

#include <memory>

namespace
{
using Kind = SysOvvBlockPanel::Kind;

constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kSourceId = ChannelParamTables::kOutputSourceId;
constexpr int32_t kCurrentPresetId = GlobalParamTables::kCurrentPresetId;
constexpr const char* kCurrentConfigPath = "preset\\CurrentConfig";
constexpr const char* kColourFormat = "preset\\ColorChan%d";
constexpr const char* kDocumentDirtyPath = "QM7\\documentDirty";
constexpr const char* kUnitDirtyPath = "global\\GlobalDirty";
constexpr const char* kUsbActivePath = "QM7\\usbActive";
constexpr const char* kProgramNamePath = "preset\\programName";
constexpr const char* kCleanLight = "colorblocks\\green.png";
constexpr const char* kDirtyLight = "colorblocks\\red.png";

/** Rows from the top: outputs 6..1 (13 more pixels between the third and the fourth); inputs B, A. */
constexpr int32_t kOutputRowTop[SystemOverviewWindow::kOutputCount] = {57, 131, 205, 292, 366, 440};
constexpr int32_t kInputRowTop[SystemOverviewWindow::kInputCount] = {440, 57}; // by input index

constexpr const char* kColourNames[] = {"outputColor1", "outputColor2", "outputColor3",
                                        "outputColor4", "outputColor5", "outputColor6"};
constexpr const char* kSpeakers[] = {
    "block\\blockDelaySpeakerred.png",   "block\\blockDelaySpeakeryellow.png",
    "block\\blockDelaySpeakerblue.png",  "block\\blockDelaySpeakermagenta.png",
    "block\\blockDelaySpeakergreen.png", "block\\blockDelaySpeakerpurple.png"};

/** A block class made at (x, y) for a channel. */
template <typename T> SysOvvBlockPanel* Make(int32_t x, int32_t y, int32_t channel, SysOvvShared& shared)
{
    return new T(XPoint(x, y), channel, shared);
}
using Maker = SysOvvBlockPanel* (*)(int32_t, int32_t, int32_t, SysOvvShared&);

/** The columns in the order they are built. */
struct Column
{
    int32_t x;
    bool input;
    Maker make;
};
const Column kColumns[] = {
    {319, false, &Make<SingleOutputRoutingPanel>},
    {395, false, &Make<SysOvvXoverPanel>},
    {470, false, &Make<SysOvvChEqPanel>},
    {548, false, &Make<SysOvvChanDelayPanel>},
    {628, false, &Make<SysOvvOutputLevelsPanel>},
    {703, false, &Make<SysOvvOutputPanel>},
    {86, true, &Make<SysOvvMstrPEQPanel>},
    {163, true, &Make<SysOvvMstrGEQPanel>},
    {9, true, &Make<SysOvvInputPanel>},
    {240, true, &Make<SysOvvInputDelayPanel>},
};
} // namespace

SystemOverviewWindow::SystemOverviewWindow()
    : SubWindow("SYSTEM OVERVIEW", "systemOverviewBg.png", EditorWindows::kOverviewParamId)
{
    if (XParam* config = FindParam("%s", kCurrentConfigPath))
        config->AddWatcher(this, kConfigKey, true);
    // The colours change with the configuration, and on their own too.
    for (int32_t output = 0; output < kOutputCount; ++output)
        if (XParam* colour = FindParam(kColourFormat, output + 1))
            colour->AddWatcher(this, kConfigKey, false);
    for (int32_t output = 0; output < kOutputCount; ++output)
        if (XParam* source = OutputParam(output, kSourceId))
            source->AddWatcher(this, output, true);
}

SystemOverviewWindow::~SystemOverviewWindow()
{
    XParam::ForgetWatcher(this);
}

int32_t SystemOverviewWindow::GetCurrentConfig()
{
    XParam* config = FindParam("%s", kCurrentConfigPath);
    return config != nullptr ? TruncatedValue(config->GetValue()) : kDefaultConfig;
}

SysOvvBlockPanel* SystemOverviewWindow::GetBlock(SysOvvBlockPanel::Kind kind, int32_t channel) const
{
    for (SysOvvBlockPanel* block : blocks)
        if (block->GetKind() == kind && block->GetChannel() == channel)
            return block;
    return nullptr;
}

// Content ---------------------------------------------------------------------------------------------

void SystemOverviewWindow::BuildContent()
{
    ShowWaitCursor();
    BuildBlocks();
    BuildTitleArea();
    ApplyChannelColours(GetCurrentConfig());
    HideWaitCursor();
}

void SystemOverviewWindow::BuildBlocks()
{
    for (const Column& column : kColumns)
    {
        const int32_t count = column.input ? kInputCount : kOutputCount;
        for (int32_t channel = count - 1; channel >= 0; --channel)
        {
            const int32_t y =
                column.input ? kInputRowTop[channel] : kOutputRowTop[kOutputCount - 1 - channel];
            SysOvvBlockPanel* block = column.make(column.x, y, channel, shared);
            AddChild(block);
            blocks.push_back(block);
        }
    }
}

void SystemOverviewWindow::BuildTitleArea()
{
    documentIndicator =
        new XButton(XRect(544, 7, 544, 7), FindParam("%s", kDocumentDirtyPath), kCleanLight, kDirtyLight);
    documentIndicator->SetHilite(false);
    AddChild(documentIndicator);

    XParam* usbActive = FindParam("%s", kUsbActivePath);
    unitIndicator =
        new XButton(XRect(672, 7, 672, 7), FindParam("%s", kUnitDirtyPath), kCleanLight, kDirtyLight);
    unitIndicator->SetHilite(false);
    if (usbActive != nullptr)
        unitIndicator->SetShowParam(usbActive, 1);
    AddChild(unitIndicator);
    if (usbActive != nullptr)
        usbActive->Notify(kValueSet);

    XColorDictionary& colours = GetColorDictionary();
    XFont* font = XFont::GetNamedFont(XString("medium"), false);
    auto* programName = new XText(XRect(327, 6, 453, 23), FindParam("%s", kProgramNamePath),
                                  colours.GetColor("windowText"), font, kJustifyLeft);
    programName->SetTransparent(true);
    AddChild(programName);
    auto* currentPreset = new XText(XRect(99, 6, 225, 23), GetAppServices().GetParam(kCurrentPresetId),
                                    colours.GetColor("windowText"), font, kJustifyLeft);
    currentPreset->SetTransparent(true);
    AddChild(currentPreset);
}

// Reactions -------------------------------------------------------------------------------------------

void SystemOverviewWindow::ApplyChannelColours(int32_t /*config*/)
{
    for (int32_t output = 0; output < kOutputCount; ++output)
    {
        int32_t colour = output;
        if (XParam* index = FindParam(kColourFormat, output + 1))
            colour = TruncatedValue(index->GetValue());
        if (colour < 0 || colour >= kOutputCount)
            colour = 0;
        const XRGB rgb = GetColorDictionary().GetColor(kColourNames[colour]);
        const auto slot = static_cast<size_t>(output);
        for (XEQView* view :
             {shared.crossoverViews[slot], shared.summedViews[slot], shared.outputEqViews[slot]})
        {
            if (view != nullptr)
            {
                view->SetCurveColor(rgb);
                view->Invalidate();
            }
        }
        if (XSlider* slider = shared.delaySliders[slot])
        {
            slider->SetKnobImage(kSpeakers[colour]);
            slider->Invalidate();
        }
    }
}

void SystemOverviewWindow::BindRoutedInputBands(int32_t output, int32_t source)
{
    if (output < 0 || output >= kOutputCount)
        return;
    if (SysOvvOutputPanel* panel = shared.outputPanels[static_cast<size_t>(output)])
        panel->BindInputBands(source);
}

void SystemOverviewWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && XMsgCode::IsValueChange(code))
    {
        if (key == kConfigKey)
            ApplyChannelColours(GetCurrentConfig());
        else if (key >= 0 && key < kOutputCount)
            BindRoutedInputBands(key, TruncatedValue(param->GetValue()));
    }
    SubWindow::ParamChanged(code, param, key);
}
