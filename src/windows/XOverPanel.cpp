#include "windows/XOverPanel.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/XComboBox.h"
#include "widgets/XSlider.h"
#include "widgets/XTextEditView.h"
#include "windows/OutputParamIds.h"

namespace
{
using namespace OutputParamIds;

const XRGB kMenuText(43, 45, 46, 255);
const XRGB kInvertedMenuText(212, 210, 207, 255);
constexpr const char* kDropDownLong = "widget\\DropDownLong.png";
constexpr const char* kDropDownLongInverted = "widget\\DropDownLongInverted.png";
constexpr const char* kSpinner = "widget\\SpinnerSmall.png";
constexpr const char* kSpinnerUp = "widget\\SpinnerSmallUp.png";
constexpr const char* kSpinnerDown = "widget\\SpinnerSmallDown.png";

/** The mirror paths of the delay boxes 1..5 (box 0 is the output's xoverDelayTime). */
constexpr const char* kDelayMirrorFormats[XOverPanel::kDelayUnitCount] = {
    nullptr,
    "crossover\\delayMicrosecCh%d",
    "crossover\\delayFtCh%d",
    "crossover\\delayInCh%d",
    "crossover\\delayMtCh%d",
    "crossover\\delayCmCh%d",
};

constexpr const char* kColourBlocks[XOverPanel::kDelayUnitCount] = {
    "colorblocks\\red.png",     "colorblocks\\yellow.png", "colorblocks\\blue.png",
    "colorblocks\\magenta.png", "colorblocks\\green.png",  "colorblocks\\purple.png",
};

XFont* Font(const char* name)
{
    return XFont::GetNamedFont(XString(name), false);
}

XRGB Colour(const char* name)
{
    return GetColorDictionary().GetColor(name);
}

/** A value box of the strip: the field picture, the small spinner, text inset by one pixel left, right
    and bottom, centred, in the widget colours. */
XComboBox* MakeValueBox(const XRect& frame, XParam* param, const char* fieldImage, const char* font)
{
    auto* box = new XComboBox(frame, param, fieldImage, kSpinner, kSpinnerUp, kSpinnerDown);
    box->InsetTextRect(-1, 0, -1, -1);
    box->SetFont(Font(font));
    box->SetBackColor(Colour("widgetBack"));
    box->SetTextColor(Colour("widgetText"));
    box->SetJustification(XView::kJustifyCentred);
    return box;
}

XPopupMenu* MakeTypeMenu(const XRect& frame, XParam* param)
{
    auto* menu = new XPopupMenu(frame, nullptr, nullptr);
    menu->SetPot(param);
    menu->SetLabelRect(XRect(2, 1, 62, 18));
    menu->SetArrowImage("widget\\DropDownSmall.png", nullptr);
    menu->SetFont(Font("tiny"));
    menu->SetTextColors(kMenuText, kMenuText);
    return menu;
}

XPict* MakeCaption(int32_t left, int32_t top, const char* image)
{
    return new XPict(XRect(left, top, left, top), nullptr, image, true);
}
} // namespace

XOverPanel::XOverPanel(int32_t outputNumberIn) : outputNumber(outputNumberIn)
{
    if (XParam* polarityParam = OutputParam(outputNumber - 1, kOutputPolarity))
        polarityParam->AddWatcher(this, kPolarityKey, true);
    SetTransparent(true);
}

XOverPanel::~XOverPanel()
{
    XParam::ForgetWatcher(this);
}

XComboBox* XOverPanel::GetDelayBox(int32_t unit) const
{
    return unit >= 0 && unit < kDelayUnitCount ? delayBoxes[static_cast<size_t>(unit)] : nullptr;
}

XPict* XOverPanel::GetColourBlock(int32_t colour) const
{
    return colour >= 0 && colour < kDelayUnitCount ? colourBlocks[static_cast<size_t>(colour)] : nullptr;
}

void XOverPanel::ApplyStyle()
{
    XView::ApplyStyle();
    if (!built)
    {
        built = true;
        Build();
    }
}

XParam* XOverPanel::Param(int32_t id) const
{
    return OutputParam(outputNumber - 1, id);
}

void XOverPanel::Build()
{
    label = new XText(XRect(21, 0, 129, 22), Param(kLabel), Colour("windowText"), Font("dialogLabel"),
                      kJustifyCentred);
    AddChild(label);
    AddGainControls();

    muteButton = new XButton(XRect(33, 338, 98, 363), Param(kOutputMute), "buttons\\buttonMute.png",
                             "buttons\\buttonMuteLit.png");
    AddChild(muteButton);

    polarity = new XPopupMenu(XRect(6, 236, 128, 254), nullptr, nullptr);
    polarity->SetPot(Param(kOutputPolarity));
    polarity->SetLabelRect(XRect(0, 0, 99, 18));
    polarity->SetFont(Font("medium"));
    polarity->SetTextColors(Colour("windowLabel"), Colour("windowLabel"));
    polarity->SetArrowImage(kDropDownLong, nullptr);
    AddChild(polarity);

    AddDelayControls();
    AddFilterControls();
    XParam* colour = AddColourBlocks();

    if (colour != nullptr)
        colour->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
    if (XParam* filterMode = Param(kChFilterMode))
        filterMode->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
    ShowPolarity();
}

void XOverPanel::AddGainControls()
{
    gainFader =
        new XSlider(XRect(4, 34, 38, 192), nullptr, true, "xover\\FaderTrack.png", "xover\\faderSlider.png");
    gainFader->SetFocusKnobImage("xover\\faderSlider_focus.png");
    gainFader->SetPot(Param(kOutputGain));
    AddChild(gainFader);

    AddChild(new XPict(XRect(5, 196, 38, 211), nullptr, "widget\\TextFieldShort.png", false));
    gainField = new XTextEditView(XRect(7, 198, 36, 209));
    gainField->SetFont(Font("tiny"));
    gainField->SetBackColor(Colour("widgetBack"));
    gainField->SetTextColor(Colour("widgetText"));
    gainField->SetJustification(kJustifyCentred);
    gainField->SetPot(Param(kOutputGain));
    gainField->SetClickOnlyFocuses(true);
    AddChild(gainField);
}

void XOverPanel::AddDelayControls()
{
    XParam* units = FindParam("%s", "global\\XOverDelayUnits");
    for (int32_t unit = 0; unit < kDelayUnitCount; ++unit)
    {
        XParam* delay =
            unit == 0 ? Param(kXoverDelayTime) : FindParam(kDelayMirrorFormats[unit], outputNumber);
        XComboBox* box =
            MakeValueBox(XRect(6, 271, 130, 290), delay, "widget\\SpinnerMediumTextField.png", "medium");
        if (units != nullptr)
            box->SetShowParam(units, unit);
        AddChild(box);
        delayBoxes[static_cast<size_t>(unit)] = box;
    }

    delayBypass = new XButton(XRect(7, 305, 7, 305), Param(kXoverDelayBypass), "buttons\\bypassDim.png",
                              "buttons\\bypassLit.png");
    AddChild(delayBypass);
}

void XOverPanel::AddFilterControls()
{
    AddChild(MakeCaption(40, 23, "xover\\hipassLabel.png"));
    highPassType = MakeTypeMenu(XRect(46, 59, 128, 83), Param(kHipassTypeQ));
    AddChild(highPassType);
    highPassFreq = MakeValueBox(XRect(46, 95, 130, 114), Param(kHipassFreq),
                                "widget\\SpinnerTextFieldShort.png", "small");
    AddChild(highPassFreq);

    AddChild(MakeCaption(40, 123, "xover\\lopassLabel.png"));
    lowPassType = MakeTypeMenu(XRect(46, 159, 128, 183), Param(kLopassTypeQ));
    AddChild(lowPassType);
    lowPassFreq = MakeValueBox(XRect(46, 195, 130, 214), Param(kLopassFreq),
                               "widget\\SpinnerTextFieldShort.png", "small");
    AddChild(lowPassFreq);
}

XParam* XOverPanel::AddColourBlocks()
{
    XParam* colour = FindParam("preset\\ColorChan%d", outputNumber);
    for (int32_t k = 0; k < kDelayUnitCount; ++k)
    {
        XPict* block = MakeCaption(6, 5, kColourBlocks[k]);
        if (colour != nullptr)
            block->SetShowParam(colour, k);
        AddChild(block);
        colourBlocks[static_cast<size_t>(k)] = block;
    }
    return colour;
}

void XOverPanel::ShowPolarity()
{
    XParam* polarityParam = OutputParam(outputNumber - 1, kOutputPolarity);
    if (polarity == nullptr || polarityParam == nullptr)
        return;
    const bool inverted = polarityParam->GetValue() == 1.0;
    polarity->SetArrowImage(inverted ? kDropDownLongInverted : kDropDownLong, nullptr);
    // The normal face is the skin's dark drop-down: its text is the windows' label colour, as in the
    // other windows' drop-downs on that face.
    const XRGB text = inverted ? kInvertedMenuText : Colour("windowLabel");
    polarity->SetTextColors(text, text);
    polarity->Invalidate();
}

void XOverPanel::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    const auto what = static_cast<uint32_t>(code);
    if (key == kPolarityKey && (what == XMsgCode::kParamValueSet || what == XMsgCode::kParamChangedByUser))
        ShowPolarity();
    XView::ParamChanged(code, param, key);
}
