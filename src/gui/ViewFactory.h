#pragma once

#include "gui/XView.h"

#include <cstdint>
#include <new>

/** A registration step of a layer above the GUI foundation (widgets, lists): registers that layer's
    view type words, or runs a set-up that must follow the description keywords. */
using ViewFactoryStep = void (*)();

/** The view factory's start-up: the type words that window descriptions create views by, the
    description keywords and named constants, and the GUI helpers that every view consults.

    The built-in type words live in one ordered table here and are registered in that order. The
    GUI foundation's rows carry their creators; the layers above it (widgets, lists) provide the
    creators of their rows with ProvideCreator before InitViewFactory runs, and a row that no layer
    provided stays unregistered, so that its word makes a plain XView. Words outside the table
    (panels, panners) are registered by the steps added with AddViewTypeRegistration, which run
    after the table in the order they were added, each once per RegisterViewTypes. GUI thread, at
    start-up. */
class ViewFactory final
{
public:
    static constexpr int32_t kBuiltInTypeCount = 33;

    /** The built-in type words in registration order. */
    static const char* GetBuiltInTypeWord(int32_t index);
    /** The row of a built-in word (compared without regard to case); -1 for any other word. */
    static int32_t FindBuiltInType(const char* word);

    /** A higher layer's creator for a row of the table, replacing an earlier one; false (nothing
        kept) for a word outside the table or a null creator. Called from a step while
        RegisterViewTypes runs, it also registers the word at once. */
    static bool ProvideCreator(const char* word, XView::ViewCreator creator);

    /** Adds a layer's type-word registration; the same step twice is kept once. */
    static void AddViewTypeRegistration(ViewFactoryStep step);
    /** Adds a set-up that runs after the keywords (the on-screen keyboard's text entry). */
    static void AddLateSetupStep(ViewFactoryStep step);
    /** Forgets the added steps and the provided creators; for tests. */
    static void ResetSteps();

    /** The creator of one view class (XView::RegisterViewClass): a new view from its default
        constructor, null when memory runs out. */
    template <typename View> static XView* Create() { return new (std::nothrow) View(); }

    ViewFactory() = delete;
};

/** Registers the built-in type words of the table in its order (those with a creator), then runs
    the added type registrations. */
void RegisterViewTypes();

/** The GUI module set-up, run once before any window is built: RegisterViewTypes, then
    RegisterViewKeywords, then the late set-up steps; installs the GUI helpers as the views'
    services (IViewServices). */
void InitViewFactory();
