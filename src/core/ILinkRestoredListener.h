#pragma once

/** What the unit's link tells the application: that the unit can be reached again after it was
    away (a reconnect found it, or it appeared after a start without it), so that the application
    re-runs its connect hand-shake.

    Called on the link's reader thread ("RPCUSB"): an implementation only posts to its own looper
    and returns. The link does not own the listener; unregister it before it goes. */
class ILinkRestoredListener
{
public:
    virtual void LinkRestored() = 0;

protected:
    ~ILinkRestoredListener() = default;
};
