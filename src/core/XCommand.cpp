#include "core/XCommand.h"

#include "core/XApplication.h"
#include "core/XCommandManager.h"

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

XCommand::XCommand(const XString& nameIn) : name(nameIn) {}

XCommand::~XCommand()
{
    if (registeredWith != nullptr)
        registeredWith->RemoveCommand(this);
}

XString XCommand::GetContext()
{
    return contextName;
}

XString XCommand::GetMenuLabel()
{
    const XString title = GetTitle();
    XApplication* application = GetApplication();
    return application != nullptr ? application->GetMenuLabel(kMenuSection, title.CStr()) : title;
}

bool XCommand::HasDynamicLabel()
{
    return false;
}

bool XCommand::IsChecked()
{
    return false;
}

void XCommand::Prepare(void* argument) {}

XString XCommand::GetShortcutText()
{
    XString text = shortcutText;
    bool wordStart = true;
    for (int i = 0; i < text.Length(); ++i)
    {
        const char c = text.CharAt(static_cast<unsigned>(i));
        if (wordStart && !IsDigit(c) && c >= 'a' && c <= 'z')
            text.SetCharAt(i, static_cast<char>(c - 'a' + 'A'));
        wordStart = c == ' ' || c == '+';
    }
    return text;
}

XString XCommand::GetHelpText()
{
    return XString();
}

bool XCommand::Register(const XString& nameIn, const XString& context, const XString& hotKey)
{
    name = nameIn.ToLower();
    XCommandManager* manager = XCommandManager::GetProcessWide();
    if (manager == nullptr)
        return false;
    manager->AddCommand(this, context, hotKey);
    return true;
}
