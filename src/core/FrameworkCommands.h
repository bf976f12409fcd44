#pragma once

#include "core/UndoableCommand.h"
#include "core/XCommand.h"

#include <memory>

/** The five commands every application of the framework registers, in context "Global" (see
    kFrameworkContext): quit, undo, redo, clear history and the top-level undo marker. Each is
    built with its name; the undo, redo and clear-history commands work on the process-wide undo
    history under its lock and are disabled while there is none. */
namespace FrameworkCommands
{
constexpr const char* kFrameworkContext = "Global";
}

/** "quit" ("Quit", Ctrl+Q): posts the close request kQuitApplication to the application. Always enabled. */
class QuitCommand final : public XCommand
{
public:
    static constexpr const char* kHotKey = "Ctrl+Q";

    QuitCommand();
    void Execute(XMessage* request) override;
    XString GetTitle() override;
    bool IsEnabled(XMessage* request) override;
};

/** "undo" (Ctrl+Z): undoes one step. Titled "Undo" and the name of the entry it would undo. */
class UndoLastCommand final : public XCommand
{
public:
    static constexpr const char* kHotKey = "Ctrl+Z";

    UndoLastCommand();
    void Execute(XMessage* request) override;
    XString GetTitle() override;
    /** The application's label of "Undo", and with a history that of the entry's name. */
    XString GetMenuLabel() override;
    bool HasDynamicLabel() override;
    /** A history exists and its undo list is not empty. */
    bool IsEnabled(XMessage* request) override;
};

/** "redo" (Ctrl+Shift+Z): redoes one step. Titled "Redo" and the name of the entry it would redo. */
class RedoLastCommand final : public XCommand
{
public:
    static constexpr const char* kHotKey = "Ctrl+Shift+Z";

    RedoLastCommand();
    void Execute(XMessage* request) override;
    XString GetTitle() override;
    bool HasDynamicLabel() override;
    /** A history exists and its redo list is not empty. */
    bool IsEnabled(XMessage* request) override;
};

/** "clearhistory" ("Clear History", no hot key): empties the history. */
class ClearHistoryCommand final : public XCommand
{
public:
    static constexpr const char* kHotKey = "";

    ClearHistoryCommand();
    void Execute(XMessage* request) override;
    XString GetTitle() override;
    /** A history exists and one of its lists is not empty. */
    bool IsEnabled(XMessage* request) override;
};

/** "topundo" ("Top Level", no hot key): the marker of the top undo level; never enabled, and its
    operation does nothing. */
class TopUndoCommand final : public UndoableCommand
{
public:
    static constexpr const char* kHotKey = "";

    TopUndoCommand();
    std::unique_ptr<XElement> Clone() const override;
    XString GetTitle() override;
    bool IsEnabled(XMessage* request) override;
    void Undo() override;
    void Redo() override;
    /** False. */
    bool Perform() override;
};
