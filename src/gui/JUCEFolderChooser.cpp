#include "gui/JUCEFolderChooser.h"

#include "core/XStringConversion.h"
#include "platform/PlatformFile.h"

#include <juce_gui_basics/juce_gui_basics.h>

bool JUCEFolderChooser::ChooseFolder(const XString& title, const XString& wildcard, XString& folder)
{
    const juce::String startFolder =
        juce::String::fromUTF8(PlatformFile::ToSystemPath(folder.CStr()).c_str());
    const juce::File start = juce::File::isAbsolutePath(startFolder) ? juce::File(startFolder) : juce::File();
    juce::FileChooser chooser(ToJuceString(title), start, ToJuceString(wildcard));
    if (!chooser.browseForDirectory())
        return false;
    folder = ToXString(chooser.getResult().getFullPathName());
    return true;
}
