#pragma once

#include "files/XFileNameValidator.h"

/** Checks a new folder's name in its folder: too long, a bad character or an existing folder is
    told in an error box; an empty name is refused silently. After a refusal the view's "TextField"
    is selected and focused. GUI thread. */
class XFolderNameValidator final : public XFileNameValidator
{
public:
    static constexpr const char* kTooLongText =
        "A folder name cannot be longer than 255 characters. Please enter a shorter filename.";
    static constexpr const char* kBadCharacterText =
        "A folder name cannot contain any of the following characters: \\ / : * ? \" < > |\r\nPlease enter a "
        "valid filename.";
    static constexpr const char* kExistsText =
        "A folder named \"%1\" already exists. Please enter a different name.";

    explicit XFolderNameValidator(const XString& folder);

    bool Check(const XString& text, XView* view) override;
};
