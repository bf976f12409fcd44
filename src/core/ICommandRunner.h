#pragma once

class XMessage;

/** Runs framework commands by name for the application: the message kRunCommand with the string item
    "commandname" reaches the application, which hands the name and the message here. The command
    manager implements it and registers itself with SetCommandRunner for its lifetime; without a
    runner, run requests are dropped. Called on the application's thread. */
class ICommandRunner
{
public:
    virtual ~ICommandRunner() = default;

    /** Runs the command of that name (found without regard to case) with the request as its
        argument when it exists and is enabled for the request; true when it ran. */
    virtual bool RunCommand(const char* name, XMessage& request) = 0;
};

/** Registers the runner (null to unregister); the caller keeps ownership. Thread-safe. */
void SetCommandRunner(ICommandRunner* runner);
/** The registered runner, or null. */
ICommandRunner* GetCommandRunner();
