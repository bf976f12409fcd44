#pragma once

/** A window that keeps its position in the settings store; the GUI application asks each listed
    window that implements it to save at quit and when the preferences are saved. GUI thread. */
class IWindowPosition
{
public:
    virtual ~IWindowPosition() = default;

    /** Writes the window's frame under its name (nothing when the window does not save). */
    virtual void SaveWindowPos() = 0;
};
