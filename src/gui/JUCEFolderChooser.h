#pragma once

#include "gui/IFolderChooser.h"

/** The folder choice through JUCE's file chooser (a modal loop). */
class JUCEFolderChooser final : public IFolderChooser
{
public:
    bool ChooseFolder(const XString& title, const XString& wildcard, XString& folder) override;
};
