#include "windows/PEQFilterPanel.h"

#include "core/XParam.h"
#include "device/ChannelInput.h"
#include "device/ChannelLists.h"
#include "gui/XButton.h"
#include "gui/XFont.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/XComboBox.h"
#include "windows/InputPEQWindow.h"
#include "windows/SharedWindowState.h"

namespace
{
constexpr int32_t kCaptionLeft = 6;
constexpr int32_t kCaptionTop = 24;
constexpr int32_t kCaptionWidth = 106;
constexpr int32_t kCaptionHeight = 11;
const XRGB kCaptionColor{210, 210, 210, 255};

constexpr int32_t kControlLeft = 2;
constexpr int32_t kControlTop = 34;
constexpr int32_t kControlWidth = 72;
constexpr int32_t kControlHeight = 19;
// Value boxes fill the panel's width (at 2 they would lose their right edge).
constexpr int32_t kBoxLeft = 0;
constexpr int32_t kBoxWidth = PEQFilterPanel::kWidth;

const XRGB kPopupTextColor{42, 44, 45, 255};
const XRect kPopupLabelRect(0, 4, 50, 15);
const XRGB kBoxBack{245, 245, 245, 255};
const XRGB kBoxTextColor{41, 43, 44, 255};

constexpr const char* kBandDimFormat = "InputParametricEq\\ParametricBand%dDim.png";
constexpr const char* kBandLitFormat = "InputParametricEq\\ParametricBand%dLit.png";
constexpr const char* kBypassDim = "InputParametricEq\\bypassSmallDim.png";
constexpr const char* kBypassLit = "InputParametricEq\\bypassSmallLit.png";
constexpr const char* kPopupArrow = "widget\\DropDownExtraSmall.png";
constexpr const char* kBoxField = "widget\\SpinnerTextFieldExtraSmall.png";
constexpr const char* kBoxSpinner = "widget\\SpinnerSmall.png";
constexpr const char* kBoxSpinnerUp = "widget\\SpinnerSmallUp.png";
constexpr const char* kBoxSpinnerDown = "widget\\SpinnerSmallDown.png";
const XPoint kBypassAt(0, 140);

XRect RowRect(int32_t left, int32_t top, int32_t width, int32_t height, int32_t row)
{
    const int32_t y = top + PEQFilterPanel::kRowPitch * row;
    return XRect(left, y, left + width, y + height);
}

XString Formatted(const char* format, int32_t number)
{
    XString text;
    text.Format(format, number);
    return text;
}
} // namespace

PEQFilterPanel::PEQFilterPanel(int32_t inputIndex, int32_t bandIndex)
    : EqBandPanel(bandIndex), input(inputIndex)
{
}

PEQFilterPanel::~PEQFilterPanel() = default;

XParam* PEQFilterPanel::GetInputParam(int32_t id) const
{
    ChannelInput* channel = GetInputChannel(input);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}

XParam* PEQFilterPanel::GetFocusParam() const
{
    return SharedWindowState::Instance().InputPeqFocusBand(input);
}

XParam* PEQFilterPanel::GetTypeParam() const
{
    return GetInputParam(InputPEQWindow::kTypeId + band);
}

void PEQFilterPanel::ApplyStyle()
{
    XView::ApplyStyle();
    if (built)
        return;
    built = true;
    SharedWindowState& state = SharedWindowState::Instance();
    XParam* qShown = state.InputPeqQShown(input, band);

    // The high-pass column is band 0: its buttons carry the number 0.
    bandButton = new XButton(XRect(0, 0, 0, 0), state.InputPeqFocusBand(input),
                             Formatted(kBandDimFormat, band).CStr(), Formatted(kBandLitFormat, band).CStr());
    bandButton->SetMatchValue(static_cast<float>(band));
    AddChild(bandButton);

    XParam* slope = GetInputParam(InputPEQWindow::kSlopeId + band);
    BuildControls({GetTypeParam(), GetInputParam(InputPEQWindow::kGainId + band),
                   GetInputParam(InputPEQWindow::kFreqId + band), GetInputParam(InputPEQWindow::kQId + band),
                   slope},
                  qShown);

    AddBypassButton(new XButton(XRect(kBypassAt.x, kBypassAt.y, kBypassAt.x, kBypassAt.y),
                                GetInputParam(InputPEQWindow::kBypassId + band), kBypassDim, kBypassLit));

    BuildCaptions(qShown, "FREQ");
}

XText* PEQFilterPanel::AddCaption(int32_t row, const char* text)
{
    return KeepCaption(new XText(RowRect(kCaptionLeft, kCaptionTop, kCaptionWidth, kCaptionHeight, row), text,
                                 kCaptionColor, XFont::GetNamedFont("buttonTiny", false),
                                 XView::kJustifyLeft));
}

XPopupMenu* PEQFilterPanel::AddPopup(int32_t row, XParam* param)
{
    auto* popup = new XPopupMenu(RowRect(kControlLeft, kControlTop, kControlWidth, kControlHeight, row),
                                 nullptr, nullptr);
    popup->SetFont(XFont::GetNamedFont("tiny", false));
    popup->SetTextColors(kPopupTextColor, kPopupTextColor);
    popup->SetJustification(XView::kJustifyLeft);
    popup->SetLabelRect(kPopupLabelRect);
    popup->SetTransparent(true);
    popup->SetArrowImage(kPopupArrow, nullptr);
    popup->SetPot(param);
    return AddFocusingPopup(popup);
}

XComboBox* PEQFilterPanel::AddValueBox(int32_t row, XParam* param)
{
    auto* box = new XComboBox(RowRect(kBoxLeft, kControlTop, kBoxWidth, kControlHeight, row), param,
                              kBoxField, kBoxSpinner, kBoxSpinnerUp, kBoxSpinnerDown);
    box->SetFont(XFont::GetNamedFont("tiny", false));
    box->SetBackColor(kBoxBack);
    box->SetTextColor(kBoxTextColor);
    box->SetJustification(XView::kJustifyCentred);
    return AddFocusingBox(box);
}
