#pragma once

#include "core/ICommandRunner.h"
#include "core/ObjectArray.h"
#include "core/StringToPtrMap.h"
#include "core/XKeyPress.h"
#include "core/XMutex.h"
#include "core/XString.h"

#include <cstdint>
#include <memory>
#include <vector>

class XCommand;
class XKeyPressMappingSet;

/** The registry of commands by name and context that turns key presses into run requests.

    Commands are found by name without regard to case. Each context (created on first use, searched
    in creation order while active) has a key map; a key press that a context binds becomes the
    application message kRunCommand with "commandname", posted to the application, which decides
    whether the command is enabled and runs it.

    The first manager constructed becomes the process-wide one (GetProcessWide, FindCommandByName)
    and the application's command runner until it is destroyed; later ones do not replace it. The
    manager does not own its commands: whoever registers a command deletes it (and a command
    leaves its manager when destroyed). Registration and key presses happen on the main thread;
    look-ups may come from any thread, and all tables are guarded by one lock (tableLock). */
class XCommandManager final : public ICommandRunner
{
public:
    /** One context: its key map and whether key presses search it. */
    class CmdContext
    {
    public:
        explicit CmdContext(const XString& name);
        ~CmdContext();
        CmdContext(const CmdContext&) = delete;
        CmdContext& operator=(const CmdContext&) = delete;

        const XString& GetName() const { return name; }
        bool IsActive() const { return active; }
        void SetActive(bool on) { active = on; }
        XKeyPressMappingSet& GetMappings() { return *mappings; }

    private:
        std::unique_ptr<XKeyPressMappingSet> mappings;
        bool active = true;
        XString name;
    };

    /** The item of the run request (kRunCommand) that names the command. */
    static constexpr const char* kCommandNameItem = "commandname";
    /** Flag bits of the mapping a registration adds: of the three, only the second. */
    static constexpr uint8_t kRegisteredMappingFlags = 0x2;

    XCommandManager();
    ~XCommandManager() override;
    XCommandManager(const XCommandManager&) = delete;
    XCommandManager& operator=(const XCommandManager&) = delete;

    /** The process-wide manager, or null. Any thread. */
    static XCommandManager* GetProcessWide();

    /** Registers the command (null is ignored): entered by its lower-cased name, listed once, its
        hot-key and shortcut texts set to the normalised text of hotKey ("ctrl + shift + Z"; empty
        for an empty hot key), its context set (the context is created when new), a mapping added
        to the context's key map and the key bound there (an empty hot key binds nothing). */
    void AddCommand(XCommand* command, const XString& contextName, const XString& hotKey);
    /** Takes the command out of every table and key map; nothing when it is not registered here. */
    void RemoveCommand(XCommand* command);
    /** The command of that name, found without regard to case; null when absent. Any thread. */
    XCommand* FindCommand(const XString& name) const;
    /** The context of that name (case counts), null when none. */
    CmdContext* FindContext(const XString& name) const;
    /** Registered commands in registration order. */
    int GetCommandCount() const;
    XCommand* GetCommandAt(int index) const;

    /** Maps a key press to a command of the first active context that binds it, and posts the run
        request for it to the application. False at once for a repeated key (modifier bit 0x80),
        when no context binds the key, or when there is no application to post to; true when the
        request was posted, whether or not the command turns out to be enabled. */
    bool HandleKeyPress(int32_t keyCode, XKeyInfo modifiers);

    /** ICommandRunner: the command of that name runs with the request when it is enabled for it. */
    bool RunCommand(const char* name, XMessage& request) override;

private:
    std::vector<std::unique_ptr<CmdContext>> contexts; // creation order; guarded by tableLock
    StringToPtrMap<CmdContext> contextsByName;         // guarded by tableLock
    ObjectArray<XCommand> commands;                    // not owned; guarded by tableLock
    StringToPtrMap<XCommand> commandsByName;           // lower-cased names; guarded by tableLock
    mutable XMutex tableLock;
};

/** XCommandManager::FindCommand of the process-wide manager; null without one. Any thread. */
XCommand* FindCommandByName(const char* name);
