#include "gui/XMenuItem.h"

#include "core/XApplication.h"
#include "core/XCommand.h"
#include "core/XCommandManager.h"
#include "core/XHandler.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XMessenger.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"

// Parameter items -----------------------------------------------------------------------------------

XString XParamItem::MenuLabelOf(XParam* param, double value)
{
    XApplication* application = GetApplication();
    return application != nullptr ? application->GetParamMenuLabel(param, value)
                                  : param->GetDisplayTextOf(value);
}

XParamItem::XParamItem(XParam* paramIn, double valueIn, const char* labelIn, const char* path, bool fixed)
    : pathText(path != nullptr ? path : ""), param(paramIn), value(valueIn),
      label(labelIn != nullptr ? labelIn : ""), fixedLabel(fixed)
{
}

bool XParamItem::IsOnOffSingle() const
{
    return param->GetType() == XParamDesc::kTypeOnOff && !IsValueItem();
}

int32_t XParamItem::GetCheckStyle()
{
    if (noCheck || param == nullptr)
        return kCheckNone;
    if (!param->IsToggle() || IsValueItem())
        return kCheckOneOfMany;
    return kCheckOnOff;
}

bool XParamItem::IsChecked()
{
    if (GetCheckStyle() == kCheckNone)
        return false;
    return param->GetValue() == value;
}

void XParamItem::SetChecked(bool checked)
{
    if (param == nullptr || (!checked && !param->IsToggle()))
        return;
    param->ChangeValue(value, true);
}

XString XParamItem::GetLabel()
{
    if (param == nullptr)
        label = kNotFoundLabel;
    else if (fixedLabel && IsValueItem())
        return label;
    else if (!IsOnOffSingle())
        label = MenuLabelOf(param, value);
    else if (label.IsEmpty())
        label = MenuLabelOf(param, param->GetValue());
    return label;
}

void XParamItem::Execute(XMessage* message)
{
    if (param == nullptr)
        return;
    if (!IsOnOffSingle())
        param->ChangeValue(value, true);
    else
        param->StepBy(1, true);
}

// Command items ---------------------------------------------------------------------------------------

XCommandItem::XCommandItem(const char* name, const char* labelIn)
    : commandName(name != nullptr ? name : ""), label(labelIn != nullptr ? labelIn : "")
{
}

bool XCommandItem::IsChecked()
{
    XCommand* command = FindCommandByName(commandName.CStr());
    return command != nullptr && command->IsChecked();
}

bool XCommandItem::IsEnabled(XMessage* message)
{
    XCommand* command = FindCommandByName(commandName.CStr());
    return command != nullptr && command->IsEnabled(message);
}

XString XCommandItem::GetLabel()
{
    XCommand* command = FindCommandByName(commandName.CStr());
    if (command != nullptr)
    {
        if (label.IsEmpty() || command->HasDynamicLabel())
            label = command->GetMenuLabel();
    }
    else if (label.IsEmpty())
    {
        label = commandName;
        label += kMissingSuffix;
    }
    return label;
}

XString XCommandItem::GetShortcutText()
{
    XCommand* command = FindCommandByName(commandName.CStr());
    return command != nullptr ? command->GetShortcutText() : XString();
}

void XCommandItem::Execute(XMessage* message)
{
    XMessage ownRequest;
    XMessage* request = message != nullptr ? message : &ownRequest;
    request->SetWhat(XMsgCode::kRunCommand);
    request->AddString(XCommandManager::kCommandNameItem, commandName.CStr());
    XMessenger(GetApplication()).SendMessage(request);
}

// Message, text and sub-menu items ----------------------------------------------------------------

XMessageItem::XMessageItem(const char* labelIn, XMessage* messageIn, XHandler* targetIn)
    : label(labelIn != nullptr ? labelIn : ""), target(targetIn), message(messageIn)
{
}

XMessageItem::~XMessageItem() = default;

void XMessageItem::Execute(XMessage* request)
{
    if (target != nullptr && message != nullptr)
        target->PostMessage(message.get());
}

XTextItem::XTextItem(const char* labelIn, bool checkedIn)
    : label(labelIn != nullptr ? labelIn : ""), checked(checkedIn)
{
}

XSubMenuItem::XSubMenuItem(const char* labelIn, XMenu* menu)
    : subMenu(menu), label(labelIn != nullptr ? labelIn : "")
{
}
