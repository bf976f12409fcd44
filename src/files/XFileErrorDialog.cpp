#include "files/XFileErrorDialog.h"

#include "gui/XDocumentCmd.h"

XFileErrorDialog::XFileErrorDialog(int32_t kind, const XString& name) : XErrorDialog(TextFor(kind, name)) {}

XString XFileErrorDialog::TextFor(int32_t kind, const XString& name)
{
    const auto label = [](const char* text) { return XDocumentCmd::GetFileDialogLabel(text); };
    switch (kind)
    {
    case 0:
        return name.IsEmpty() ? label("An error occurred reading the file.")
                              : label("An error occurred reading the file %1.").Arg(name);
    case 1:
        return name.IsEmpty() ? label("An error occurred writing the file.")
                              : label("An error occurred writing the file %1.").Arg(name);
    case 2:
        return label("A filename cannot be longer than 255 characters.");
    case 3:
        return label("A filename cannot contain any of the following characters: \\ / : * ? \" < > |");
    case 4:
        return label("You must specify a filename.");
    case 5:
        return label("Incorrect file extension.");
    case 6:
        return label("The file cannot be opened because the file format is obsolete.");
    default:
        return XString();
    }
}
