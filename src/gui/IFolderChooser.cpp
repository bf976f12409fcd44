#include "gui/IFolderChooser.h"

#include "gui/JUCEFolderChooser.h"

namespace
{
IFolderChooser* installedChooser = nullptr; // not owned; GUI thread
} // namespace

void SetFolderChooser(IFolderChooser* chooser)
{
    installedChooser = chooser;
}

IFolderChooser& GetFolderChooser()
{
    static JUCEFolderChooser systemChooser;
    return installedChooser != nullptr ? *installedChooser : systemChooser;
}
