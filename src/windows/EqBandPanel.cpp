#include "windows/EqBandPanel.h"

#include "core/BitArray.h"
#include "core/XParam.h"
#include "gui/XButton.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/XComboBox.h"
#include "windows/EqBandRules.h"

using Rules = EqBandRules;

EqBandPanel::EqBandPanel(int32_t bandIndex) : band(bandIndex)
{
    SetTransparent(true);
}

EqBandPanel::~EqBandPanel() = default;

void EqBandPanel::FocusBand()
{
    if (XParam* focus = GetFocusParam())
        focus->ChangeValue(band, true);
}

void EqBandPanel::mouseDown(const juce::MouseEvent&)
{
    FocusBand();
}

void EqBandPanel::BuildCaptions(XParam* qShown, const char* frequencyCaption)
{
    AddCaption(kTypeRow, "TYPE");
    ShowForTypes(*AddCaption(kGainRow, "GAIN"), {Rules::kLowShelf, Rules::kHighShelf, Rules::kPeaking});
    ShowForTypes(*AddCaption(kGainRow, "SLOPE"), {Rules::kLowPass, Rules::kHighPass});
    AddCaption(kFrequencyRow, frequencyCaption);
    ShowForTypes(*AddCaption(kQRow, "RESP / Q"), {Rules::kPeaking});
    XText* secondQCaption = AddCaption(kQRow, "RESP / Q");
    if (qShown != nullptr)
        secondQCaption->SetShowParam(qShown, 1);
    ShowForTypes(*AddCaption(kQRow, "SLOPE"), {Rules::kLowShelf, Rules::kHighShelf});
}

void EqBandPanel::BuildControls(const BandParams& params, XParam* qShown)
{
    typePopup = AddPopup(kTypeRow, params.type);
    gainBox = AddValueBox(kGainRow, params.gain);
    ShowForTypes(*gainBox, {Rules::kLowShelf, Rules::kHighShelf, Rules::kPeaking});
    passSlopePopup = AddPopup(kGainRow, params.slope);
    ShowForTypes(*passSlopePopup, {Rules::kLowPass, Rules::kHighPass});
    frequencyBox = AddValueBox(kFrequencyRow, params.frequency);
    frequencyBox->SetDirectStep(true);
    peakingQBox = AddValueBox(kQRow, params.q);
    ShowForTypes(*peakingQBox, {Rules::kPeaking});
    secondQBox = AddValueBox(kQRow, params.q);
    if (qShown != nullptr)
        secondQBox->SetShowParam(qShown, 1);
    shelfSlopePopup = AddPopup(kQRow, params.slope);
    ShowForTypes(*shelfSlopePopup, {Rules::kLowShelf, Rules::kHighShelf});
}

XText* EqBandPanel::KeepCaption(XText* caption)
{
    caption->SetTransparent(true);
    AddChild(caption);
    captions.push_back(caption);
    return caption;
}

XPopupMenu* EqBandPanel::AddFocusingPopup(XPopupMenu* popup)
{
    popup->GetItemChosenSignal().Connect([this](XMenuItem*) { FocusBand(); });
    AddChild(popup);
    return popup;
}

XComboBox* EqBandPanel::AddFocusingBox(XComboBox* box)
{
    // The field reports the text its parameter shows as well: only the user's own use of the box
    // (typing in its field, pressing its spinner) focuses the band, not a value set from elsewhere.
    // The focus is set once the box's signal has returned: the box emits it also from inside a
    // parameter notification, so changing a parameter from within it would take the locks in turn.
    box->Changed().Connect(
        [this, box]
        {
            if (!box->hasKeyboardFocus(true) && !box->isMouseButtonDown(true))
                return;
            juce::MessageManager::callAsync(
                [self = juce::Component::SafePointer<EqBandPanel>(this)]
                {
                    if (self != nullptr)
                        self->FocusBand();
                });
        });
    // Added once its settings are made: adding it builds its field and spinner.
    AddChild(box);
    return box;
}

void EqBandPanel::AddBypassButton(XButton* button)
{
    bypassButton = button;
    bypassButton->GetPressStartedSignal().Connect([this] { FocusBand(); });
    AddChild(bypassButton);
}

void EqBandPanel::ShowForTypes(XView& view, std::initializer_list<int32_t> types) const
{
    XParam* type = GetTypeParam();
    if (type == nullptr)
        return;
    BitArray values;
    for (const int32_t value : types)
        values.Set(value, true);
    view.SetShowParam(type, *types.begin());
    view.SetShowValues(values);
}
