#pragma once

#include "core/XCommand.h"
#include "core/XOperation.h"

#include <cstdint>

class XMessage;

/** A command whose runs are operations of the undo history. Running it performs a fresh clone
    (Clone) with the run request; a clone that reports it is not finished (Perform false) goes to
    the process-wide history when there is one and is deleted otherwise.

    Subclasses give Clone, Perform, Undo, Redo and the command's GetTitle and IsEnabled. The run
    request is only valid while Perform runs: the clone forgets it afterwards. */
class UndoableCommand : public XOperation, public XCommand
{
public:
    static constexpr int32_t kUndoableCommandType = 30;

    explicit UndoableCommand(const XString& name);

    int32_t GetTypeCode() const override;
    /** True for 30, 31 and 7. */
    bool IsKindOf(int32_t typeCode) const override;
    /** "UndoableCommand". */
    const char* GetClassName() const override;
    /** Null: nothing to tell the history's clients. */
    XMessage* GetNotification(bool undoing) override;
    /** True. */
    bool IsUndoable() const override;
    /** Performs the action; true means finished and not to be recorded. */
    virtual bool Perform() = 0;

    /** Runs a clone as described in the class comment, when IsEnabled agrees. */
    void Execute(XMessage* request) override;

    /** The run request while Perform runs; null otherwise. */
    XMessage* GetRequest() const { return request; }

private:
    XMessage* request = nullptr; // not owned
};
