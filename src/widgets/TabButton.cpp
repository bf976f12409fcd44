#include "widgets/TabButton.h"

TabButton::TabButton(const XRect& frame, XParam* param, const char* mainImage, const char* secondImage,
                     const char* thirdImage)
    : XButton(frame, param, mainImage, secondImage, thirdImage)
{
}

TabButton::~TabButton() = default;

void TabButton::ApplyStyle()
{
    XButton::ApplyStyle();
}
