#pragma once

#include <new>

class XView;

/** A registration step of a layer above the GUI foundation (widgets, lists): registers that layer's
    view type words, or runs a set-up that must follow the description keywords. */
using ViewFactoryStep = void (*)();

/** The view factory's start-up: the type words that window descriptions create views by, the
    description keywords and named constants, and the GUI helpers that every view consults.

    The GUI foundation registers its own type words; the layers above it (widgets, lists) hand in
    their registrations with AddViewTypeRegistration before InitViewFactory runs, so that each
    class is registered by one line next to its own code. Steps run in the order they were added,
    each once per RegisterViewTypes. GUI thread, at start-up. */
class ViewFactory final
{
public:
    /** Adds a layer's type-word registration; the same step twice is kept once. */
    static void AddViewTypeRegistration(ViewFactoryStep step);
    /** Adds a set-up that runs after the keywords (the on-screen keyboard's text entry). */
    static void AddLateSetupStep(ViewFactoryStep step);
    /** Forgets the added steps; for tests. */
    static void ResetSteps();

    /** The creator of one view class (XView::RegisterViewClass): a new view from its default
        constructor, null when memory runs out. */
    template <typename View> static XView* Create() { return new (std::nothrow) View(); }

    ViewFactory() = delete;
};

/** Registers the GUI foundation's built-in type words, then runs the added type registrations. */
void RegisterViewTypes();

/** The GUI module set-up, run once before any window is built: RegisterViewTypes, then
    RegisterViewKeywords, then the late set-up steps; installs the GUI helpers as the views'
    services (IViewServices). */
void InitViewFactory();
