#pragma once

/** What the device's own windows (the factory-preset builder's window, the progress jobs' owners) ask
    of the editor windows' sub-window base, SubWindow: a titled popup window, constructed with its
    title and the file name of its background picture and sized to that picture, that builds its
    content the first time it is shown.

    The editor windows implement it; code below them holds sub-windows only through this interface.
    The flag bit that the input-linking window sets and clears on single input parameters is
    XParamDesc::kFlagCopiedToOtherInput, which the channel behaviours read. Message thread only. */
class ISubWindow
{
public:
    virtual ~ISubWindow() = default;

    /** Shows the window in front; the first call builds its content first (BuildContent). */
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsShown() const = 0;

protected:
    /** Creates the window's views; called once, by the first Show. */
    virtual void BuildContent() = 0;
};
