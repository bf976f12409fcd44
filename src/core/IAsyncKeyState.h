#pragma once

/** The keyboard and mouse-button state at the moment of the call, whatever window has the focus.
    The GUI layer installs the toolkit's real-time query at start-up; tests install their own.
    Until one is installed, every key and button counts as up. Implementations answer on any
    thread. */
class IAsyncKeyState
{
public:
    enum class Key
    {
        Shift,
        Control,
        Alt,
        LeftButton,
        RightButton
    };

    virtual ~IAsyncKeyState() = default;

    /** True while the key or button is held. */
    virtual bool IsDown(Key key) = 0;
};

/** Installs the query (null uninstalls); the caller keeps ownership and uninstalls it before
    destroying it. Any thread. */
void InstallAsyncKeyState(IAsyncKeyState* state);
/** The installed query, or null. */
IAsyncKeyState* GetInstalledAsyncKeyState();
