#include "app/FirmwareUpdateDialog.h"

#include "core/IAppServices.h"
#include "core/StringParam.h"
#include "core/SystemInfo.h"
#include "device/GlobalParamTables.h"
#include "gui/IFolderChooser.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XText.h"
#include "widgets/XCheckBox.h"

namespace
{
const XRect kCheckBoxFrame(2, 73, 16, 87);
const XRect kLabelFrame(19, 73, 250, 130);
const XRect kPathButtonFrame(19, 93, 65, 120);
const XRect kFolderTextFrame(70, 95, 400, 150);
const XRGB kFolderTextColour(178, 178, 178);
constexpr const char* kLabelFontName = "dialogLabel";
constexpr const char* kLabelColourName = "windowText";
constexpr const char* kFolderFontName = "medium";
/** Left-aligned, from the top. */
constexpr int32_t kTopLeft = 1 | 8;
/** The show index of SaveUserPreset at which the path controls show. */
constexpr int32_t kShownWhenOn = 1;

const char* PathOrDefault(const char* path)
{
    return path != nullptr && path[0] != 0 ? path : FirmwareUpdateDialog::kDefaultDescription;
}
} // namespace

FirmwareUpdateDialog::FirmwareUpdateDialog(const XString& title, const XString& text, XView* parent,
                                           const char* path, const XString& okLabel,
                                           const XString& cancelLabel)
    : XOKCancelDialog(title, text, parent, PathOrDefault(path), kDefaultDescription, okLabel, cancelLabel),
      folderParam(std::make_unique<StringParam>())
{
}

FirmwareUpdateDialog::~FirmwareUpdateDialog() = default;

XString FirmwareUpdateDialog::DefaultPresetFolder()
{
    XString folder = GetExecutableFolderPath();
    if (!folder.IsEmpty() && !folder.EndsWithChar('/'))
        folder += "/";
    folder += kPresetFolderName;
    return folder;
}

XString FirmwareUpdateDialog::GetFolder() const
{
    return folderParam->GetText();
}

void FirmwareUpdateDialog::InitControls()
{
    XOKCancelDialog::InitControls();
    IAppServices& services = GetAppServices();
    XParam* saveUserPreset = services.GetParam(GlobalParamTables::kSaveUserPresetId);

    checkBox = dynamic_cast<XCheckBox*>(FindView(kCheckBoxName));
    if (checkBox == nullptr)
    {
        checkBox = new XCheckBox();
        checkBox->SetFrame(kCheckBoxFrame);
        checkBox->SetImage(kUncheckedImage, kCheckedImage, nullptr);
        AddChild(checkBox);
    }
    checkBox->SetPot(saveUserPreset);

    const XRGB labelColour = GetColorDictionary().GetColor(kLabelColourName);
    AddChild(new XText(kLabelFrame, kLabelText, labelColour, XFont::GetNamedFont(kLabelFontName, false),
                       kTopLeft));

    pathButton = new XButton(kPathButtonFrame, kPathButtonLabel);
    pathButton->GetClickedSignal().Connect([this] { BrowseFolder(); });
    AddChild(pathButton);
    pathButton->SetShowParam(saveUserPreset, kShownWhenOn);

    folderText = new XText(kFolderTextFrame, "", kFolderTextColour,
                           XFont::GetNamedFont(kFolderFontName, false), kTopLeft);
    folderText->SetMultiLine(true);
    AddChild(folderText);
    folderText->SetShowParam(saveUserPreset, kShownWhenOn);

    UseFolder(DefaultPresetFolder());
}

void FirmwareUpdateDialog::BrowseFolder()
{
    XString folder = GetFolder();
    if (!GetFolderChooser().ChooseFolder(kChooserTitle, kChooserWildcard, folder))
        return;
    UseFolder(folder);
}

void FirmwareUpdateDialog::UseFolder(const XString& folder)
{
    folderParam->SetText(folder.CStr(), true);
    if (folderText != nullptr)
        folderText->SetWrappedLabel(folder);
    GetAppServices().GetParam(GlobalParamTables::kSaveUserPresetPathId)->SetText(folder.CStr(), true);
}
