#pragma once

#include "WidgetTestSupport.h"
#include "gui/XResourceManager.h"
#include "support/TestSupport.h"

#include <juce_core/juce_core.h>
#include <string>

/** Points the program's skin at a temporary folder for the object's life (the folder starts empty,
    so no image is found), then puts the previous base folder back; the image cache is cleared at
    both ends. Copy lets a test give the temporary skin some pictures of the built one. */
class ScopedSkinBase
{
public:
    ScopedSkinBase() : previous(GetResourceManager().GetBaseFolder())
    {
        XResourceManager& resources = GetResourceManager();
        resources.ClearCaches();
        resources.SetBaseFolder(XString(folder.Path().c_str()));
        if (resources.CountSkinFolders() == 0)
            resources.AddSkinFolder(SkinTestSupport::kSkinFolder);
    }
    ~ScopedSkinBase()
    {
        GetResourceManager().ClearCaches();
        GetResourceManager().SetBaseFolder(previous);
    }
    ScopedSkinBase(const ScopedSkinBase&) = delete;
    ScopedSkinBase& operator=(const ScopedSkinBase&) = delete;

    /** Copies an image (lower-case '/' name below the skin's Images folder) from the built skin;
        false when the built skin lacks it. */
    bool Copy(const std::string& image)
    {
        const juce::String relative =
            juce::String("Skins/") + SkinTestSupport::kSkinFolder + "/Images/" + image;
        const juce::File source = SkinTestSupport::BuiltSystemFolder().getChildFile(relative);
        const juce::File target = juce::File(folder.Path()).getChildFile(relative);
        target.getParentDirectory().createDirectory();
        return source.existsAsFile() && source.copyFileTo(target);
    }

private:
    TestSupport::TempFolder folder;
    XString previous;
};
