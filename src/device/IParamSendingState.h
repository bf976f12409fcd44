#pragma once

/** What the global tables ask of the device watcher: whether it exists and has its sending of
    changed parameters switched off (while a bulk transfer runs or a document loads). Changes of the
    unit's edit mode are then taken without asking the user.

    The device watcher implements it and registers itself with SetParamSendingState for its
    lifetime; until then there is no watcher and the answer is false. Called on whatever thread
    changes the parameter. */
class IParamSendingState
{
public:
    virtual ~IParamSendingState() = default;

    /** True when the watcher exists and its sending is switched off. */
    virtual bool IsParamSendingSuspended() = 0;
};

/** Registers the watcher's state (null: none); the caller keeps ownership. Thread-safe. */
void SetParamSendingState(IParamSendingState* state);
/** True when a registered watcher reports its sending switched off; false without one. */
bool IsParamSendingSuspended();
