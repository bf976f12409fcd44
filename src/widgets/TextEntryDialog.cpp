#include "widgets/TextEntryDialog.h"

#include "core/FloatParam.h"
#include "core/Log.h"
#include "core/XMessageCodes.h"
#include "core/XParamDesc.h"
#include "gui/ViewFactory.h"
#include "gui/ViewKeywords.h"

static_assert(TextEntryDialog::kClearCode == static_cast<int32_t>(FourCharCode("txtc")), "'txtc'");
static_assert(TextEntryDialog::kNumberUpCode == static_cast<int32_t>(FourCharCode("numu")), "'numu'");
static_assert(TextEntryDialog::kNumberDownCode == static_cast<int32_t>(FourCharCode("numd")), "'numd'");

namespace
{
FloatParam* capsParam = nullptr;  // created once, kept for the process
FloatParam* shiftParam = nullptr; // created once, kept for the process

FloatParam* MakeKeyboardParam(const char* name, const char* path)
{
    XParamDesc desc;
    desc.id = -1;
    desc.SetName(name);
    desc.type = XParamDesc::kTypeOnOff;
    desc.min = 0;
    desc.max = 1;
    desc.def = 0;
    desc.count = 2;
    desc.flags = 0;
    auto* param = new FloatParam(desc);
    param->SetPath("%s", path);
    return param;
}
} // namespace

void TextEntryDialog::Init()
{
    LogPrintf("TextEntryDialog_Init");
    if (capsParam == nullptr)
        capsParam = MakeKeyboardParam("CapsLock", kCapsPath);
    if (shiftParam == nullptr)
        shiftParam = MakeKeyboardParam("Shift", kShiftPath);
    RegisterNamedConstant("X_TEXTENTRY_CLEAR", kClearCode);
    RegisterNamedConstant("X_NUM_ENTRY_UP", kNumberUpCode);
    RegisterNamedConstant("X_NUM_ENTRY_DOWN", kNumberDownCode);
}

void TextEntryDialog::Install()
{
    ViewFactory::AddLateSetupStep(&TextEntryDialog_Init);
}

FloatParam* TextEntryDialog::GetCapsParam()
{
    return capsParam;
}

FloatParam* TextEntryDialog::GetShiftParam()
{
    return shiftParam;
}

void TextEntryDialog_Init()
{
    TextEntryDialog::Init();
}
