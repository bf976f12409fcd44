#pragma once

#include "gui/IDocumentFileChooser.h"

/** The document commands' file choice through JUCE's file chooser (a modal loop), for both kinds
    of request; the program installs a chooser of its own that runs the framework's dialogs when a
    command asks for them. */
class JUCEDocumentFileChooser final : public IDocumentFileChooser
{
public:
    bool Choose(Kind kind, bool frameworkDialog, const XString& title, XString& folder, const XString& filter,
                const XString& filterText, XString& path) override;
};
