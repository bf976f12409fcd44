#include "core/XCommandManager.h"

#include "core/XApplication.h"
#include "core/XCommand.h"
#include "core/XKeyPressMappingSet.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XMessenger.h"
#include "core/XSmartLock.h"

#include <atomic>

namespace
{
std::atomic<XCommandManager*> processWideManager{nullptr};

/** A press that names one bit of a modifier pair counts as naming both, as converted presses and
    parsed hot keys do. */
XKeyInfo WithWholePairs(XKeyInfo modifiers)
{
    for (const XKeyInfo pair : {XKeyMod::kShift, XKeyMod::kCtrl, XKeyMod::kAlt})
        if ((modifiers & pair) != 0)
            modifiers |= pair;
    return modifiers;
}
} // namespace

XCommandManager::CmdContext::CmdContext(const XString& nameIn)
    : mappings(std::make_unique<XKeyPressMappingSet>()), name(nameIn)
{
}

XCommandManager::CmdContext::~CmdContext() = default;

XCommandManager::XCommandManager()
{
    XCommandManager* none = nullptr;
    if (processWideManager.compare_exchange_strong(none, this))
        SetCommandRunner(this);
}

XCommandManager::~XCommandManager()
{
    XCommandManager* self = this;
    if (processWideManager.compare_exchange_strong(self, nullptr) && GetCommandRunner() == this)
        SetCommandRunner(nullptr);

    XSmartLock hold(tableLock);
    for (int i = 0; i < commands.GetCount(); ++i)
        if (XCommand* command = commands.At(i); command->GetRegisteredWith() == this)
            command->SetRegisteredWith(nullptr);
}

XCommandManager* XCommandManager::GetProcessWide()
{
    return processWideManager.load();
}

void XCommandManager::AddCommand(XCommand* command, const XString& contextName, const XString& hotKey)
{
    if (command == nullptr)
        return;
    if (XCommandManager* previous = command->GetRegisteredWith(); previous != nullptr && previous != this)
        previous->RemoveCommand(command);
    const XString keyText = KeyPressToText(ParseKeyPressText(hotKey));
    // Asked before the lock: a title may consult other locks (the undo history's).
    const XString title = command->GetTitle();

    XSmartLock hold(tableLock);
    commandsByName.Add(command->GetName().ToLower().CStr(), command);
    if (!commands.Contains(command))
        commands.Add(command);
    command->SetHotKeyText(keyText);
    command->SetShortcutText(keyText);
    command->SetContextName(contextName);
    command->SetRegisteredWith(this);

    CmdContext* context = contextsByName.Find(contextName.CStr());
    if (context == nullptr)
    {
        contexts.push_back(std::make_unique<CmdContext>(contextName));
        context = contexts.back().get();
        contextsByName.Add(contextName.CStr(), context);
    }
    context->GetMappings().AddMapping(command, title, contextName, 0, kRegisteredMappingFlags);
    context->GetMappings().UpdateCommandMapping(command);
}

void XCommandManager::RemoveCommand(XCommand* command)
{
    if (command == nullptr)
        return;
    XSmartLock hold(tableLock);
    if (command->GetRegisteredWith() == this)
        command->SetRegisteredWith(nullptr);
    while (commands.Remove(command) == 0)
    {
    }
    std::vector<XString> names;
    for (auto* node = commandsByName.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
        if (StringToPtrMap<XCommand>::GetNodeValue(node) == command)
            names.emplace_back(StringToPtrMapBase::GetNodeText(node));
    for (const XString& name : names)
        commandsByName.Remove(name.CStr());
    for (const auto& context : contexts)
        context->GetMappings().RemoveMappings(command);
}

XCommand* XCommandManager::FindCommand(const XString& name) const
{
    const XString key = name.ToLower();
    XSmartLock hold(tableLock);
    return commandsByName.Find(key.CStr());
}

XCommandManager::CmdContext* XCommandManager::FindContext(const XString& name) const
{
    XSmartLock hold(tableLock);
    return contextsByName.Find(name.CStr());
}

int XCommandManager::GetCommandCount() const
{
    XSmartLock hold(tableLock);
    return commands.GetCount();
}

XCommand* XCommandManager::GetCommandAt(int index) const
{
    XSmartLock hold(tableLock);
    return commands.At(index);
}

bool XCommandManager::HandleKeyPress(int32_t keyCode, XKeyInfo modifiers)
{
    if ((modifiers & XKeyMod::kRepeat) != 0)
        return false;
    const XKeyPress keyPress{keyCode, WithWholePairs(modifiers)};

    XString name;
    bool found = false;
    {
        XSmartLock hold(tableLock);
        for (auto context = contexts.begin(); context != contexts.end() && !found; ++context)
        {
            XCommand* command =
                (*context)->IsActive() ? (*context)->GetMappings().FindCommandForKey(keyPress) : nullptr;
            if (command != nullptr)
            {
                name = command->GetName();
                found = true;
            }
        }
    }
    if (!found)
        return false;

    XApplication* application = GetApplication();
    if (application == nullptr)
        return false;
    XMessage request(XMsgCode::kRunCommand, 0);
    request.AddString(kCommandNameItem, name.CStr());
    return XMessenger(application).SendMessage(&request) == 0;
}

bool XCommandManager::RunCommand(const char* name, XMessage& request)
{
    XCommand* command = FindCommand(name);
    if (command == nullptr || !command->IsEnabled(&request))
        return false;
    command->Execute(&request);
    return true;
}

XCommand* FindCommandByName(const char* name)
{
    XCommandManager* manager = XCommandManager::GetProcessWide();
    return manager != nullptr ? manager->FindCommand(name) : nullptr;
}
