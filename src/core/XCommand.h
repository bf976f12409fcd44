#pragma once

#include "core/XString.h"

class XCommandManager;
class XMessage;

/** A named action that menus, hot keys, buttons and program code run by name. Nobody calls
    Execute directly: a run request is the application message kRunCommand with the string item
    "commandname"; the application finds the command, asks IsEnabled with that message and then
    calls Execute with it.

    Whoever creates a command owns it; the command manager only points to it. A command that is
    destroyed while registered takes itself out of its manager first, so that no name or key
    leads to freed memory. Commands are registered and run on the main thread; GetShortcutText and
    the name may be read from any thread while nobody registers. */
class XCommand
{
public:
    /** The menu section whose labels GetMenuLabel asks the application for. */
    static constexpr const char* kMenuSection = "MainMenu";

    XCommand() = default;
    explicit XCommand(const XString& name);
    XCommand(const XCommand&) = delete;
    XCommand& operator=(const XCommand&) = delete;
    virtual ~XCommand();

    /** Runs the command; request is the run request (may carry arguments; may be null). */
    virtual void Execute(XMessage* request) = 0;
    /** The human title, such as "Quit". */
    virtual XString GetTitle() = 0;
    /** The name of the context whose key map holds the command. */
    virtual XString GetContext();
    /** The application's "MainMenu" label of the title; the title itself without an application. */
    virtual XString GetMenuLabel();
    /** True when menus must ask GetMenuLabel again each time they show the command. */
    virtual bool HasDynamicLabel();
    /** Asked before every execution and by menu items. */
    virtual bool IsEnabled(XMessage* request) = 0;
    /** A menu item shows a check mark when true. */
    virtual bool IsChecked();
    /** A hook for the owner's use; does nothing here. */
    virtual void Prepare(void* argument);
    /** The shortcut text with the first character of every word that is not a digit upper-cased:
        "ctrl + shift + Z" gives "Ctrl + Shift + Z". */
    virtual XString GetShortcutText();
    /** Empty here. */
    virtual XString GetHelpText();

    /** Sets the name (lower-cased) and, when a process-wide command manager exists, registers the
        command there under the context with the hot key; false (nothing registered) otherwise. */
    bool Register(const XString& name, const XString& context, const XString& hotKey);

    const XString& GetName() const { return name; }
    /** The normalised key text ("ctrl + Q"), empty without a key. */
    const XString& GetRawShortcutText() const { return shortcutText; }
    /** The key text the context's key map is rebuilt from. */
    const XString& GetHotKeyText() const { return hotKeyText; }

    // Written by the command manager and the key maps ------------------------------------------------

    void SetShortcutText(const XString& text) { shortcutText = text; }
    void SetHotKeyText(const XString& text) { hotKeyText = text; }
    void SetContextName(const XString& text) { contextName = text; }
    /** The manager that holds the command; null when none. */
    void SetRegisteredWith(XCommandManager* manager) { registeredWith = manager; }
    XCommandManager* GetRegisteredWith() const { return registeredWith; }

private:
    XString name;
    XString shortcutText;
    XString contextName;
    XString hotKeyText;
    XCommandManager* registeredWith = nullptr; // not owned
};
