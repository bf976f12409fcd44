#include "windows/FilterPanel.h"

#include "core/XParam.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/XComboBox.h"
#include "windows/ChannelEqWindow.h"
#include "windows/SharedWindowState.h"

namespace
{
constexpr int32_t kCaptionLeft = 18;
// A caption fills the 9 pixels between the row above and its own field (rows are 27 apart, fields
// 18 high): its text, centred in the caption, must end above the field, or a field would cut off
// the captions' lower parts ("RESP / Q" read "RESP / O").
constexpr int32_t kCaptionTop = 24;
constexpr int32_t kCaptionWidth = 106;
constexpr int32_t kCaptionHeight = 13;
constexpr int32_t kControlLeft = 17;
constexpr int32_t kControlTop = 36;
constexpr int32_t kControlWidth = 122;
constexpr int32_t kControlHeight = 18;
const XRGB kCaptionColor{178, 178, 178, 255};
constexpr int32_t kCaptionJustification = XView::kJustifyLeft;
const XRGB kValueBoxBack{245, 245, 245, 255};
const XPoint kBandButtonAt(2, 2);
const XPoint kBypassAt(18, 135);

constexpr const char* kTextColourName = "windowLabel";
// The value boxes show their light background, so their text is the skin's dark field text.
constexpr const char* kBoxTextColourName = "fieldText";
constexpr const char* kPopupArrow = "widget\\DropDownLong.png";
constexpr const char* kBoxField = "widget\\SpinnerMediumTextField.png";
constexpr const char* kBoxSpinner = "widget\\SpinnerSmall.png";
constexpr const char* kBoxSpinnerUp = "widget\\SpinnerSmallUp.png";
constexpr const char* kBoxSpinnerDown = "widget\\SpinnerSmallDown.png";

XRect RowRect(int32_t left, int32_t top, int32_t width, int32_t height, int32_t row)
{
    const int32_t y = top + FilterPanel::kRowPitch * row;
    return XRect(left, y, left + width, y + height);
}
} // namespace

FilterPanel::FilterPanel(int32_t bandIndex, int32_t outputIndex) : EqBandPanel(bandIndex), output(outputIndex)
{
}

FilterPanel::~FilterPanel() = default;

XParam* FilterPanel::GetChannelParam(int32_t id) const
{
    ChannelOutput* channel = GetOutputChannel(output);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}

XParam* FilterPanel::GetFocusParam() const
{
    return SharedWindowState::Instance().ChannelEqFocusBand(output);
}

XParam* FilterPanel::GetTypeParam() const
{
    return GetChannelParam(ChannelEqWindow::kTypeId + band);
}

void FilterPanel::ApplyStyle()
{
    XView::ApplyStyle();
    if (built)
        return;
    built = true;
    SharedWindowState& state = SharedWindowState::Instance();
    XParam* qShown = state.ChannelEqQShown(output, band);

    XString dim;
    XString lit;
    dim.Format("ChannelEq\\Band%dDim.png", band + 1);
    lit.Format("ChannelEq\\Band%dLit.png", band + 1);
    bandButton = new XButton(XRect(kBandButtonAt.x, kBandButtonAt.y, kBandButtonAt.x, kBandButtonAt.y),
                             state.ChannelEqFocusBand(output), dim.CStr(), lit.CStr());
    bandButton->SetMatchValue(static_cast<float>(band));
    AddChild(bandButton);

    BuildCaptions(qShown, "FREQUENCY");
    BuildControls({GetTypeParam(), GetChannelParam(ChannelEqWindow::kGainId + band),
                   GetChannelParam(ChannelEqWindow::kFreqId + band),
                   GetChannelParam(ChannelEqWindow::kQId + band),
                   GetChannelParam(ChannelEqWindow::kSlopeId + band)},
                  qShown);

    AddBypassButton(new XButton(XRect(kBypassAt.x, kBypassAt.y, kBypassAt.x, kBypassAt.y),
                                GetChannelParam(ChannelEqWindow::kBandBypassId + band),
                                "buttons\\bypassDim.png", "buttons\\bypassLit.png"));
}

XText* FilterPanel::AddCaption(int32_t row, const char* text)
{
    return KeepCaption(new XText(RowRect(kCaptionLeft, kCaptionTop, kCaptionWidth, kCaptionHeight, row), text,
                                 kCaptionColor, XFont::GetNamedFont("buttonSmall", false),
                                 kCaptionJustification));
}

XPopupMenu* FilterPanel::AddPopup(int32_t row, XParam* param)
{
    auto* popup = new XPopupMenu(RowRect(kControlLeft, kControlTop, kControlWidth, kControlHeight, row),
                                 nullptr, nullptr);
    const XRGB text = GetColorDictionary().GetColor(kTextColourName);
    popup->SetArrowImage(kPopupArrow, nullptr);
    popup->SetTextColors(text, text);
    popup->SetLabelRect(captionRect);
    popup->SetPot(param);
    return AddFocusingPopup(popup);
}

XComboBox* FilterPanel::AddValueBox(int32_t row, XParam* param)
{
    auto* box = new XComboBox(RowRect(kControlLeft, kControlTop, kControlWidth, kControlHeight, row), param,
                              kBoxField, kBoxSpinner, kBoxSpinnerUp, kBoxSpinnerDown);
    box->SetFont(XFont::GetNamedFont("medium", false));
    box->SetBackColor(kValueBoxBack);
    box->SetTextColor(GetColorDictionary().GetColor(kBoxTextColourName));
    box->SetJustification(XView::kJustifyCentred);
    return AddFocusingBox(box);
}
