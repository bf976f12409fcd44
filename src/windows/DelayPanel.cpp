#include "windows/DelayPanel.h"

#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "device/ChannelParamTables.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPict.h"
#include "gui/XText.h"
#include "widgets/XComboBox.h"
#include "windows/DelayTotals.h"
#include "windows/DelayUnitControls.h"

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kSourceId = ChannelParamTables::kOutputSourceId;
constexpr int32_t kLabelId = ChannelParamTables::kOutputLabelId;

constexpr const char* kColourBlocks[] = {"colorblocks\\red.png",   "colorblocks\\yellow.png",
                                         "colorblocks\\blue.png",  "colorblocks\\magenta.png",
                                         "colorblocks\\green.png", "colorblocks\\purple.png"};
constexpr const char* kAssignImages[] = {"OutputDelay\\DelayInputAssignA.png",
                                         "OutputDelay\\DelayInputAssignB.png",
                                         "OutputDelay\\DelayInputAssignAB.png"};
/** The distance mirrors of the units 1..5 (unit 0 is the delay itself). */
constexpr const char* kMirrorFormats[DelayPanel::kUnitCount] = {
    nullptr,
    "OutputDelay\\delayMicrosecCh%d",
    "OutputDelay\\delayFtCh%d",
    "OutputDelay\\delayInCh%d",
    "OutputDelay\\delayMtCh%d",
    "OutputDelay\\delayCmCh%d",
};

XPict* PictAt(int32_t left, int32_t top, const char* image)
{
    return new XPict(XRect(left, top, left, top), nullptr, image, true);
}
} // namespace

DelayPanel::DelayPanel(int32_t outputIn) : output(outputIn)
{
    SetTransparent(true);
}

XComboBox* DelayPanel::GetDelayBox(int32_t unit) const
{
    return unit >= 0 && unit < kUnitCount ? delayBoxes[static_cast<size_t>(unit)] : nullptr;
}

void DelayPanel::ApplyStyle()
{
    XView::ApplyStyle();
    if (!built)
    {
        built = true;
        Build();
    }
}

void DelayPanel::Build()
{
    const int32_t number = output + 1;
    XParam* colour = FindParam("preset\\ColorChan%d", number);
    for (int32_t k = 0; k < kUnitCount; ++k)
    {
        XPict* block = PictAt(8, 6, kColourBlocks[k]);
        if (colour != nullptr)
            block->SetShowParam(colour, k);
        AddChild(block);
    }
    if (colour != nullptr)
        colour->Notify(kValueSet);

    AddChild(new XText(XRect(22, 2, 124, 23), GetOutputParamById(output, kLabelId),
                       GetColorDictionary().GetColor("windowText"),
                       XFont::GetNamedFont(XString("dialogLabel"), false), kJustifyLeft));

    XParam* source = GetOutputParamById(output, kSourceId);
    for (int32_t k = 0; k < 3; ++k)
    {
        XPict* assign = PictAt(8, 31, kAssignImages[k]);
        if (source != nullptr)
            assign->SetShowParam(source, k);
        AddChild(assign);
    }
    if (source != nullptr)
        source->Notify(kValueSet);

    XParam* units = FindParam("%s", "global\\OutDelayUnits");
    for (int32_t unit = 0; unit < kUnitCount; ++unit)
    {
        XParam* param = unit == 0 ? GetOutputDelayParam(output) : FindParam(kMirrorFormats[unit], number);
        auto* box = new XComboBox(XRect(9, 74, 125, 99), param, "widget\\TextFieldLarge.png",
                                  "widget\\SpinnerLarge.png", "widget\\SpinnerLargeUp.png",
                                  "widget\\SpinnerLargeDown.png");
        box->SetFont(XFont::GetNamedFont(XString(unit == 0 ? "small" : "medium"), false));
        box->SetBackColor(GetColorDictionary().GetColor("widgetBack"));
        box->SetTextColor(GetColorDictionary().GetColor("widgetText"));
        if (units != nullptr)
            box->SetShowParam(units, unit);
        AddChild(box);
        WidenDelayFieldToSpinner(*box);
        delayBoxes[static_cast<size_t>(unit)] = box;
    }

    bypass = new XButton(XRect(7, 107, 7, 107), GetOutputParamById(output, DelayTotals::kDelayBypassId),
                         "buttons\\bypassDim.png", "buttons\\bypassLit.png");
    AddChild(bypass);
}
