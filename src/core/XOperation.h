#pragma once

#include "core/XAtom.h"
#include "core/XString.h"

#include <cstdint>

class XMessage;

/** An element that stands for a performed action: a name (empty unless a subclass sets one; the
    undo history shows it), a one-byte flag that says whether the action can be undone, and the
    time it was made (milliseconds since 1 January 1970, whole seconds). Type code 31; a kind of
    31 and of 7. Subclasses say how the action is undone and redone and what clients of the undo
    history are told. */
class XOperation : public XAtom
{
public:
    static constexpr int32_t kOperationType = 31;

    XOperation();

    int32_t GetTypeCode() const override;
    /** True for 31 and 7. */
    bool IsKindOf(int32_t typeCode) const override;
    /** "XOperation". */
    const char* GetClassName() const override;

    /** The message to tell the history's clients after the operation was done or redone (undoing
        false) or undone (true); the caller owns it. Null: nothing to tell. */
    virtual XMessage* GetNotification(bool undoing) = 0;
    /** Whether the history keeps the operation for undo: the flag is not 0. */
    virtual bool IsUndoable() const;
    virtual void SetFlag(uint8_t value);
    virtual void Undo() = 0;
    virtual void Redo() = 0;

    const XString& GetOperationName() const { return name; }
    void SetOperationName(const XString& text) { name = text; }
    int64_t GetCreationTime() const { return creationTime; }

private:
    XString name;
    uint8_t flag = 0;
    int64_t creationTime;
};
