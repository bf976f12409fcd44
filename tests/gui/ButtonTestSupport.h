#pragma once

#include "SkinTestSupport.h"
#include "gui/XResourceManager.h"

/** Helpers of the button and popup window tests. */
namespace ButtonTestSupport
{
/** Loads the built skin's colour and font tables and makes its images the resource manager's;
    false when the tables do not load. */
inline bool UseBuiltSkin()
{
    const juce::File system = SkinTestSupport::BuiltSystemFolder();
    if (!SkinTestSupport::LoadSkinTables(system))
        return false;
    XResourceManager& resources = GetResourceManager();
    resources.SetBaseFolder(system.getFullPathName().toRawUTF8());
    if (resources.CountSkinFolders() == 0)
        resources.AddSkinFolder(SkinTestSupport::kSkinFolder);
    return true;
}
} // namespace ButtonTestSupport
