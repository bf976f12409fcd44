#include "windows/FilterPanel.h"

#include "core/BitArray.h"
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
#include "windows/EqBandRules.h"
#include "windows/SharedWindowState.h"

namespace
{
constexpr int32_t kCaptionLeft = 18;
constexpr int32_t kCaptionTop = 26;
constexpr int32_t kCaptionWidth = 106;
constexpr int32_t kCaptionHeight = 14;
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
constexpr const char* kPopupArrow = "widget\\DropDownLong.png";
constexpr const char* kBoxField = "widget\\SpinnerMediumTextField.png";
constexpr const char* kBoxSpinner = "widget\\SpinnerSmall.png";
constexpr const char* kBoxSpinnerUp = "widget\\SpinnerSmallUp.png";
constexpr const char* kBoxSpinnerDown = "widget\\SpinnerSmallDown.png";

enum Row
{
    kTypeRow = 0,
    kGainRow = 1,
    kFrequencyRow = 2,
    kQRow = 3,
};

XRect RowRect(int32_t left, int32_t top, int32_t width, int32_t height, int32_t row)
{
    const int32_t y = top + FilterPanel::kRowPitch * row;
    return XRect(left, y, left + width, y + height);
}
} // namespace

FilterPanel::FilterPanel(int32_t bandIndex, int32_t outputIndex) : band(bandIndex), output(outputIndex)
{
    SetTransparent(true);
}

FilterPanel::~FilterPanel() = default;

XParam* FilterPanel::GetChannelParam(int32_t id) const
{
    ChannelOutput* channel = GetOutputChannel(output);
    return channel != nullptr ? channel->GetParam(id) : nullptr;
}

void FilterPanel::FocusBand()
{
    if (XParam* focus = SharedWindowState::Instance().ChannelEqFocusBand(output))
        focus->ChangeValue(band, true);
}

void FilterPanel::mouseDown(const juce::MouseEvent&)
{
    FocusBand();
}

void FilterPanel::ApplyStyle()
{
    XView::ApplyStyle();
    if (built)
        return;
    built = true;
    SharedWindowState& state = SharedWindowState::Instance();
    XParam* type = GetChannelParam(ChannelEqWindow::kTypeId + band);
    XParam* gain = GetChannelParam(ChannelEqWindow::kGainId + band);
    XParam* frequency = GetChannelParam(ChannelEqWindow::kFreqId + band);
    XParam* q = GetChannelParam(ChannelEqWindow::kQId + band);
    XParam* slope = GetChannelParam(ChannelEqWindow::kSlopeId + band);
    XParam* bypass = GetChannelParam(ChannelEqWindow::kBandBypassId + band);
    XParam* qShown = state.ChannelEqQShown(output, band);

    XString dim;
    XString lit;
    dim.Format("ChannelEq\\Band%dDim.png", band + 1);
    lit.Format("ChannelEq\\Band%dLit.png", band + 1);
    bandButton = new XButton(XRect(kBandButtonAt.x, kBandButtonAt.y, kBandButtonAt.x, kBandButtonAt.y),
                             state.ChannelEqFocusBand(output), dim.CStr(), lit.CStr());
    bandButton->SetMatchValue(static_cast<float>(band));
    AddChild(bandButton);

    using Rules = EqBandRules;
    AddCaption(kTypeRow, "TYPE");
    ShowForTypes(*AddCaption(kGainRow, "GAIN"), {Rules::kLowShelf, Rules::kHighShelf, Rules::kPeaking});
    ShowForTypes(*AddCaption(kGainRow, "SLOPE"), {Rules::kLowPass, Rules::kHighPass});
    AddCaption(kFrequencyRow, "FREQUENCY");
    ShowForTypes(*AddCaption(kQRow, "RESP / Q"), {Rules::kPeaking});
    XText* secondQCaption = AddCaption(kQRow, "RESP / Q");
    if (qShown != nullptr)
        secondQCaption->SetShowParam(qShown, 1);
    ShowForTypes(*AddCaption(kQRow, "SLOPE"), {Rules::kLowShelf, Rules::kHighShelf});

    typePopup = AddPopup(kTypeRow, type);
    gainBox = AddValueBox(kGainRow, gain);
    ShowForTypes(*gainBox, {Rules::kLowShelf, Rules::kHighShelf, Rules::kPeaking});
    passSlopePopup = AddPopup(kGainRow, slope);
    ShowForTypes(*passSlopePopup, {Rules::kLowPass, Rules::kHighPass});
    frequencyBox = AddValueBox(kFrequencyRow, frequency);
    frequencyBox->SetDirectStep(true);
    peakingQBox = AddValueBox(kQRow, q);
    ShowForTypes(*peakingQBox, {Rules::kPeaking});
    secondQBox = AddValueBox(kQRow, q);
    if (qShown != nullptr)
        secondQBox->SetShowParam(qShown, 1);
    shelfSlopePopup = AddPopup(kQRow, slope);
    ShowForTypes(*shelfSlopePopup, {Rules::kLowShelf, Rules::kHighShelf});

    bypassButton = new XButton(XRect(kBypassAt.x, kBypassAt.y, kBypassAt.x, kBypassAt.y), bypass,
                               "buttons\\bypassDim.png", "buttons\\bypassLit.png");
    bypassButton->GetPressStartedSignal().Connect([this] { FocusBand(); });
    AddChild(bypassButton);
}

XText* FilterPanel::AddCaption(int32_t row, const char* text)
{
    auto* caption =
        new XText(RowRect(kCaptionLeft, kCaptionTop, kCaptionWidth, kCaptionHeight, row), text, kCaptionColor,
                  XFont::GetNamedFont("buttonSmall", false), kCaptionJustification);
    caption->SetTransparent(true);
    AddChild(caption);
    captions.push_back(caption);
    return caption;
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
    popup->GetItemChosenSignal().Connect([this](XMenuItem*) { FocusBand(); });
    AddChild(popup);
    return popup;
}

XComboBox* FilterPanel::AddValueBox(int32_t row, XParam* param)
{
    auto* box = new XComboBox(RowRect(kControlLeft, kControlTop, kControlWidth, kControlHeight, row), param,
                              kBoxField, kBoxSpinner, kBoxSpinnerUp, kBoxSpinnerDown);
    box->SetFont(XFont::GetNamedFont("medium", false));
    box->SetBackColor(kValueBoxBack);
    box->SetTextColor(GetColorDictionary().GetColor(kTextColourName));
    box->SetJustification(XView::kJustifyCentred);
    box->Changed().Connect([this] { FocusBand(); });
    // Added once its settings are made: adding it builds its field and spinner.
    AddChild(box);
    return box;
}

void FilterPanel::ShowForTypes(XView& view, std::initializer_list<int32_t> types) const
{
    XParam* type = GetChannelParam(ChannelEqWindow::kTypeId + band);
    if (type == nullptr)
        return;
    BitArray values;
    for (const int32_t value : types)
        values.Set(value, true);
    view.SetShowParam(type, *types.begin());
    view.SetShowValues(values);
}
