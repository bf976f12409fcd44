#include "files/XBackupMediaSelectDialog.h"

#include "core/FloatParam.h"
#include "core/ParamRegistry.h"
#include "core/XParamDesc.h"
#include "files/FileTexts.h"
#include "gui/XButton.h"
#include "gui/XControl.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"

namespace
{
/** The choices, made on the first showing and kept for the rest of the program. */
FloatParam*& MediaTypeParam()
{
    static FloatParam* param = nullptr;
    return param;
}

FloatParam*& VerifyParam()
{
    static FloatParam* param = nullptr;
    return param;
}

void MakeParams()
{
    if (MediaTypeParam() == nullptr)
    {
        XParamDesc desc;
        desc.SetName("mediaType");
        desc.type = XParamDesc::kTypeInteger;
        desc.min = 2.0;
        desc.max = 4.0;
        desc.def = 4.0;
        desc.count = 3;
        MediaTypeParam() = new FloatParam(desc);
        MediaTypeParam()->SetTextCallback(&XBackupMediaSelectDialog::MediaTypeText, 0);
        MediaTypeParam()->SetValue(desc.def, false);
    }
    if (VerifyParam() == nullptr)
    {
        XParamDesc desc;
        desc.SetName("verify");
        desc.type = XParamDesc::kTypeOnOff;
        desc.min = 0.0;
        desc.max = 1.0;
        desc.def = 0.0;
        desc.count = 2;
        VerifyParam() = new FloatParam(desc);
        ParamRegistry::Register(VerifyParam(), XString(XBackupMediaSelectDialog::kVerifyParamPath));
    }
}
} // namespace

XBackupMediaSelectDialog::XBackupMediaSelectDialog(double size)
    : XOKCancelDialog(XString(kTitle), XString(), nullptr, kDescription, XString("OK"), XString("Cancel")),
      sizeInBytes(size)
{
}

XString XBackupMediaSelectDialog::MediaTypeText(XParam*, double value, int32_t)
{
    switch (static_cast<int32_t>(value))
    {
    case 2:
        return XString("CD (700 MB/80 min)");
    case 3:
        return XString("CD (650 MB/74 min)");
    default:
        return XString("DVD (4.7 GB)");
    }
}

void XBackupMediaSelectDialog::InitControls()
{
    XOKCancelDialog::InitControls();
    MakeParams();
    if (auto* menu = dynamic_cast<XPopupMenu*>(FindView("typeSelectPopup")))
        menu->SetPot(MediaTypeParam());
    if (auto* verify = dynamic_cast<XButton*>(FindView("verifyCheckbox")))
        verify->SetPot(VerifyParam());
    if (auto* prompt = dynamic_cast<XText*>(FindView("prompt")))
    {
        XString text;
        text.Format(kPromptFormat, FormatFileSize(sizeInBytes).CStr());
        prompt->SetLabel(text, false);
    }
}

int32_t XBackupMediaSelectDialog::GetMediaType()
{
    return MediaTypeParam() != nullptr ? static_cast<int32_t>(MediaTypeParam()->GetValue())
                                       : kDefaultMediaType;
}

XParam* XBackupMediaSelectDialog::GetMediaTypeParam()
{
    return MediaTypeParam();
}

XParam* XBackupMediaSelectDialog::GetVerifyParam()
{
    return VerifyParam();
}
