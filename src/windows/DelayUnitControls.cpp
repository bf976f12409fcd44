#include "windows/DelayUnitControls.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XControl.h"
#include "gui/XFont.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "widgets/XComboBox.h"
#include "widgets/XComboBtn.h"

#include <utility>

namespace
{
constexpr const char* kCelsiusPath = "QM7\\TempCelcuis";
constexpr const char* kFahrenheitPath = "QM7\\TempFarenheit";

XRGB Colour(const char* name)
{
    return GetColorDictionary().GetColor(name);
}
} // namespace

void AddDelayUnitControls(XView& parent, XParam* units, XParam* tempUnits, int32_t tempBoxLeft)
{
    auto* menu = new XPopupMenu(XRect(90, 14, 219, 41), nullptr, nullptr);
    menu->SetPot(units);
    menu->SetTextColors(Colour("windowLabel"), Colour("windowLabel"));
    menu->SetArrowImage("widget\\DropDown.png", nullptr);
    menu->SetTransparent(true);
    parent.AddChild(menu);

    for (const auto& radio : {std::pair<int32_t, int32_t>{692, 1}, std::pair<int32_t, int32_t>{745, 0}})
    {
        auto* button = new XButton(XRect(radio.first, 19, radio.first, 19), tempUnits,
                                   "widget\\RadioUnchecked2.png", "widget\\RadioChecked2.png");
        button->SetMatchValue(static_cast<float>(radio.second));
        parent.AddChild(button);
    }
    for (const auto& temp : {std::pair<const char*, int32_t>{kCelsiusPath, 1},
                             std::pair<const char*, int32_t>{kFahrenheitPath, 0}})
    {
        auto* box = new XComboBox(XRect(tempBoxLeft, 14, tempBoxLeft + 82, 39), FindParam("%s", temp.first),
                                  "widget\\SpinnerTextFieldMediumNarrow.png", "widget\\SpinnerLarge.png",
                                  "widget\\SpinnerLargeUp.png", "widget\\SpinnerLargeDown.png");
        box->SetFont(XFont::GetNamedFont(XString("small"), false));
        box->SetBackColor(Colour("widgetBack"));
        box->SetTextColor(Colour("windowLabel"));
        if (tempUnits != nullptr)
            box->SetShowParam(tempUnits, temp.second);
        parent.AddChild(box);
    }
}

void WidenDelayFieldToSpinner(XComboBox& box)
{
    const XComboBtn* spinner = box.GetSpinner();
    if (spinner == nullptr)
        return;
    const int32_t spinnerLeft = spinner->GetFrame().left;
    const int32_t widen = spinnerLeft - box.GetTextRect().right;
    if (widen <= 0)
        return;
    if (XPict* picture = box.GetTextFieldPict())
    {
        const XRect frame = picture->GetFrame();
        picture->SetFrame(XRect(frame.left, frame.top, frame.right + widen, frame.bottom));
    }
    if (XControl* field = box.GetTextField())
    {
        const XRect frame = field->GetFrame();
        field->SetFrame(XRect(frame.left, frame.top, frame.right + widen, frame.bottom));
    }
    box.InsetTextRect(0, 0, widen, 0);
}
