#pragma once

#include "gui/XButton.h"

/** A button of a channel tab bar (the output equaliser window's tabs): a parameter button in every
    respect, a class of its own so that the tab bar's buttons can be told apart from other buttons.
    GUI thread only. */
class TabButton : public XButton
{
public:
    /** The button bound to param (may be null) with its main, second (lit) and third (pressed)
        images; the frame takes the main image's size. */
    TabButton(const XRect& frame, XParam* param, const char* mainImage, const char* secondImage,
              const char* thirdImage);
    ~TabButton() override;

    void ApplyStyle() override;
};
