#include "windows/FreqResponseWindow.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "core/XProperty.h"
#include "core/XVariant.h"
#include "device/ChannelParamTables.h"
#include "gui/GuiHelpers.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XText.h"
#include "widgets/XEQView.h"
#include "windows/EditorWindows.h"
#include "windows/FreqPanel.h"
#include "windows/LocalParamDesc.h"
#include "windows/OutputParamIds.h"

namespace
{
constexpr int32_t kSourceId = ChannelParamTables::kOutputSourceId;
constexpr const char* kCurrentConfigPath = "preset\\currentconfig";
constexpr const char* kLockPath = "QM7\\lockUIForEditCompare";
constexpr const char* kColourFormat = "preset\\ColorChan%d";
const XRGB kCompareGrey(178, 178, 178, 255);
constexpr int32_t kJustifyTop = 8;
constexpr int32_t kCoverRight = 690;

/** The strips, output 6 at the top: left, top of the first, spacing, right and height. */
constexpr int32_t kPanelLeft = 6;
constexpr int32_t kPanelTop = 3;
constexpr int32_t kPanelStep = 95;
constexpr int32_t kPanelRight = 793;
constexpr int32_t kPanelHeight = 94;

void Describe(FloatParam& param, int32_t type, double min, double max, double value, uint32_t steps)
{
    const XParamDesc desc = LocalParamDesc(nullptr, type, min, max, value, steps);
    param.SetDesc(&desc);
    param.SetValue(value, false);
}

} // namespace

FreqResponseWindow::FreqResponseWindow()
    : SubWindow("Output Frequency Response", "outputFreqRespBg.png", EditorWindows::kFreqResponseParamId)
{
    for (int32_t i = 0; i < kOutputCount; ++i)
        if (XParam* source = OutputParam(i, kSourceId))
            source->AddWatcher(this, i, true);
    if (XParam* config = FindParam("%s", kCurrentConfigPath))
        config->AddWatcher(this, kConfigKey, true);

    Describe(zeroGain, XParamDesc::kTypeGain, -15, 15, 0, 31);
    Describe(bandOn, 0, 0, 1, 0, 2);
    Describe(bandOff, 0, 0, 1, 1, 2);
    Describe(graphicQ, 0, 0.4, 20, kGraphicQ, 197);
    Describe(graphicType, 0, 0, 2, kGraphicType, 3);
    Describe(rangeToggle, XParamDesc::kTypeOnOff, 0, 1, 0, 2);
}

FreqResponseWindow::~FreqResponseWindow()
{
    XParam::ForgetWatcher(this);
}

XEQView* FreqResponseWindow::GetView(int32_t output) const
{
    return output >= 0 && output < kOutputCount ? views[static_cast<size_t>(output)] : nullptr;
}

FreqPanel* FreqResponseWindow::GetPanel(int32_t output) const
{
    return output >= 0 && output < kOutputCount ? panels[static_cast<size_t>(output)] : nullptr;
}

void FreqResponseWindow::SetView(int32_t output, XEQView* view)
{
    if (output >= 0 && output < kOutputCount)
        views[static_cast<size_t>(output)] = view;
}

void FreqResponseWindow::BuildContent()
{
    ShowWaitCursor();
    for (int32_t k = 0; k < kOutputCount; ++k)
    {
        const int32_t output = kOutputCount - 1 - k;
        auto* panel = new FreqPanel(*this, output);
        const int32_t top = kPanelTop + kPanelStep * k;
        panel->SetFrame(XRect(kPanelLeft, top, kPanelRight, top + kPanelHeight));
        AddChild(panel);
        panels[static_cast<size_t>(output)] = panel;
    }
    UpdateCurveColours();

    compareCover = new XText(XRect(1, 1, kCoverRight, getHeight()), " ", kCompareGrey,
                             XFont::GetNamedFont(XString("dialogLabel"), false), kJustifyTop);
    compareCover->SetTransparentWithColor(true, kCompareGrey);
    XParam* lock = FindParam("%s", kLockPath);
    if (lock != nullptr)
        compareCover->SetShowParam(lock, 0);
    compareCover->SetTooltipText(XString("Compare Mode"));
    AddChild(compareCover);
    if (lock != nullptr)
        lock->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
    HideWaitCursor();
}

void FreqResponseWindow::RebindInputBands(int32_t output, int32_t source)
{
    if (GetView(output) != nullptr && GetPanel(output) != nullptr)
        GetPanel(output)->BindInputBands(source);
}

void FreqResponseWindow::UpdateCurveColours()
{
    static constexpr const char* kColourNames[] = {"outputColor1", "outputColor2", "outputColor3",
                                                   "outputColor4", "outputColor5", "outputColor6"};
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        XEQView* view = GetView(i);
        if (view == nullptr)
            continue;
        int32_t colour = 0;
        if (XParam* index = FindParam(kColourFormat, i + 1))
            colour = static_cast<int32_t>(index->GetValue());
        if (colour < 0 || colour >= kOutputCount)
            colour = 0;
        if (XProperty* property = view->FindProperty("EQCurveColor"))
            property->SetFromVariant(XVariant(GetColorDictionary().GetColor(kColourNames[colour])));
        view->Invalidate();
    }
}

void FreqResponseWindow::ApplyRange()
{
    const double range = rangeToggle.GetValue() != 0 ? kNarrowRange : kWideRange;
    for (XEQView* view : views)
        if (view != nullptr)
            view->SetDisplayRange(range);
}

void FreqResponseWindow::InvalidateAllViews()
{
    for (XEQView* view : views)
        if (view != nullptr)
            view->InvalidateAllBands();
}

void FreqResponseWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && XMsgCode::IsValueChange(code))
    {
        if (key == kConfigKey)
            UpdateCurveColours();
        else if (key >= 0 && key < kOutputCount)
            RebindInputBands(key, static_cast<int32_t>(param->GetValue()));
    }
    SubWindow::ParamChanged(code, param, key);
}
