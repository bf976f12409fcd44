#pragma once

/** The widget set's view type words. Register adds them to the view factory (XView::
    RegisterViewClass), one line per class; Install hands Register to the factory's start-up
    (ViewFactory::AddViewTypeRegistration), which runs it after the GUI foundation's own words.
    Install also hands in the on-screen text entry's set-up (TextEntryDialog). The program calls
    Install once before InitViewFactory. GUI thread, at start-up. */
class WidgetViewTypes final
{
public:
    static void Register();
    static void Install();

    WidgetViewTypes() = delete;
};
