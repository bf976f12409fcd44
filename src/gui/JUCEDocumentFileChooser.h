#pragma once

#include "gui/IDocumentFileChooser.h"

/** The document commands' file choice through JUCE's file chooser (a modal loop). The framework's
    own file dialogs are not built yet, so a request for them is served by the same chooser. */
class JUCEDocumentFileChooser final : public IDocumentFileChooser
{
public:
    bool Choose(Kind kind, bool frameworkDialog, const XString& title, XString& folder, const XString& filter,
                const XString& filterText, XString& path) override;
};
