#pragma once

/** The widget set's view type words. ProvideCreators gives the view factory the widgets' creators
    for their rows of its built-in table (ViewFactory::ProvideCreator), one line per class;
    RegisterFollowers registers the words that follow the table, the panels' and then the panners'.
    Install does the first at once and hands the second to the factory's start-up
    (ViewFactory::AddViewTypeRegistration), with the on-screen text entry's set-up
    (TextEntryDialog) and the text fields' reader (TextFieldAccess); the program calls it once before
   InitViewFactory. Register does both as one step, for a caller that hands it in itself. GUI thread, at
   start-up. */
class WidgetViewTypes final
{
public:
    static void ProvideCreators();
    static void RegisterFollowers();
    static void Register();
    static void Install();

    WidgetViewTypes() = delete;
};
