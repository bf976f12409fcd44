#pragma once

#include "core/XCommand.h"
#include "core/XString.h"
#include "gui/XView.h"

/** The command that shows a view when it is hidden and hides it when it is shown; a menu shows it
    ticked while the view is visible. The view is not owned and may be null; once it is deleted
    the command forgets it (and then does nothing, like a command made without one); registering the command
   under a name is the creator's business. GUI thread only. */
class ShowViewCmd : public XCommand
{
public:
    ShowViewCmd(XView* view, const XString& title);

    void Execute(XMessage* request) override;
    XString GetTitle() override { return title; }
    bool HasDynamicLabel() override { return false; }
    bool IsEnabled(XMessage* request) override { return true; }
    bool IsChecked() override;

    XView* GetView() const { return view.getComponent(); }

private:
    juce::Component::SafePointer<XView> view; // not owned
    XString title;
};
