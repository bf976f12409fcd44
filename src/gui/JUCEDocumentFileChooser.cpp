#include "gui/JUCEDocumentFileChooser.h"

#include "core/XStringConversion.h"
#include "platform/PlatformFile.h"

#include <juce_gui_basics/juce_gui_basics.h>

bool JUCEDocumentFileChooser::Choose(Kind kind, bool, const XString& title, XString& folder,
                                     const XString& filter, const XString&, XString& path)
{
    const juce::String startFolder =
        juce::String::fromUTF8(PlatformFile::ToSystemPath(folder.CStr()).c_str());
    const juce::File start = juce::File::isAbsolutePath(startFolder) ? juce::File(startFolder) : juce::File();
    juce::FileChooser chooser(ToJuceString(title), start, ToJuceString(filter));
    const bool chosen =
        kind == Kind::Save ? chooser.browseForFileToSave(true) : chooser.browseForFileToOpen();
    if (!chosen)
        return false;
    const juce::File file = chooser.getResult();
    folder = ToXString(file.getParentDirectory().getFullPathName());
    path = ToXString(file.getFullPathName());
    return true;
}
