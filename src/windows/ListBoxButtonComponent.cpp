#include "windows/ListBoxButtonComponent.h"

#include "core/XString.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "windows/FPModel.h"

#include <memory>

namespace
{
/** A drawable of the skin image of that name; empty when the skin lacks it (the miss is noted). */
std::unique_ptr<juce::DrawableImage> SkinDrawable(const char* name)
{
    auto drawable = std::make_unique<juce::DrawableImage>();
    if (XImage* image = GetResourceManager().GetImage(XString(name)))
        if (const juce::Image* picture = image->GetJuceImage())
            drawable->setImage(*picture);
    return drawable;
}
} // namespace

ListBoxButtonComponent::ListBoxButtonComponent(FPModel* model, int columnId, int row, const char* offImage,
                                               const char* onImage)
    : button({}, juce::DrawableButton::ImageRaw), row(row), columnId(columnId), model(model)
{
    button.addListener(this);
    button.setClickingTogglesState(true);
    button.setTriggeredOnMouseDown(true);
    // A cell keeps no key focus: a focused button that goes with its row would hand the focus on to
    // a row already half destroyed.
    button.setWantsKeyboardFocus(false);
    button.setMouseClickGrabsKeyboardFocus(false);
    const juce::Colour clear = juce::Colours::transparentBlack;
    button.setColour(juce::DrawableButton::backgroundColourId, clear);
    button.setColour(juce::DrawableButton::backgroundOnColourId, clear);
    // The button keeps copies of the drawables.
    const std::unique_ptr<juce::DrawableImage> off = SkinDrawable(offImage);
    const std::unique_ptr<juce::DrawableImage> on = SkinDrawable(onImage);
    button.setImages(off.get(), nullptr, nullptr, nullptr, on.get());
    addAndMakeVisible(button);
}

ListBoxButtonComponent::~ListBoxButtonComponent()
{
    button.removeListener(this);
}

void ListBoxButtonComponent::SetOn(bool on)
{
    button.setToggleState(on, juce::dontSendNotification);
}

void ListBoxButtonComponent::resized()
{
    button.setBounds(getLocalBounds());
}

void ListBoxButtonComponent::buttonClicked(juce::Button* /*clicked*/)
{
    if (model != nullptr)
        model->SetCellFlag(row, columnId, button.getToggleState());
}
