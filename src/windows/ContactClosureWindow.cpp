#include "windows/ContactClosureWindow.h"

#include "core/IAppServices.h"
#include "core/XParam.h"
#include "gui/XButton.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "windows/LocalParamDesc.h"

#include <cmath>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChangedByUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
/** The phase of a veto callback at the end of an edit. */
constexpr int32_t kVetoEnd = 2;

constexpr const char* kBackground = "RS232Configuration\\RS232ConfiguarionBg.png";
constexpr const char* kRadioOff = "widget\\RadioUnchecked2.png";
constexpr const char* kRadioOn = "widget\\RadioChecked2.png";
constexpr const char* kLampClosed = "RS232Configuration\\RS232StateClosed.png";
constexpr const char* kLampOpen = "RS232Configuration\\RS232StateOpen.png";
constexpr const char* kPresetDropDown = "widget\\DropDownExtraLong.png";
constexpr const char* kModeDropDown = "widget\\DropDownLong.png";
constexpr const char* kBoxOff = "widget\\CheckboxUnchecked.png";
constexpr const char* kBoxOn = "widget\\CheckboxChecked.png";
constexpr const char* kBoxCover = "widget\\checkboxDisabledOverlay.png";

const XRGB kCompareColour{178, 178, 178, 255};

XRect Box(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return XRect(x, y, x + width, y + height);
}

/** A frame at x, y that a picture or an imaged button sizes to its image. */
XRect At(int32_t x, int32_t y)
{
    return XRect(x, y, x, y);
}

XRGB SkinColour(const char* name, const XRGB& fallback)
{
    XRGB colour = fallback;
    GetColorDictionary().FindColor(name, colour);
    return colour;
}

int32_t Truncated(double value)
{
    return std::isfinite(value) ? static_cast<int32_t>(value) : 0;
}

XString ContactText(XParam*, double value, int32_t)
{
    return XString(value != 0.0 ? "OPEN" : "CLOSED");
}

/** A slave channel parameter's edit callback (user = channel j): at the end of an edit, bit j of the
    slave mask follows the parameter. Never refuses. */
bool SlaveChannelEdited(XParam* param, double*, int32_t user, int32_t phase)
{
    if (phase != kVetoEnd || param == nullptr || user < 0 || user >= ContactClosureWindow::kSlaveChannelCount)
        return true;
    XParam* mask = GetAppServices().GetParam(ContactClosureWindow::kSlaveMaskId);
    if (mask == nullptr)
        return true;
    const int32_t bit = 1 << user;
    const int32_t current = Truncated(mask->GetValue());
    const int32_t changed = param->GetValue() > 0.0 ? current | bit : current & ~bit;
    if (changed != current)
        mask->ChangeValue(changed, true);
    return true;
}
} // namespace

ContactClosureWindow::ContactClosureWindow() : SubWindow("Contact Closure", kBackground)
{
    const XParamDesc stateDesc = LocalParamDesc(nullptr, XParamDesc::kTypeOnOff, 0, 1, 1, 2);
    for (auto& state : contactStates)
    {
        state = std::make_unique<FloatParam>(stateDesc);
        state->SetTextCallback(&ContactText, 0);
    }

    IAppServices& app = GetAppServices();
    if (XParam* contacts = app.GetParam(kContactsValueId))
        contacts->AddWatcher(this, kContactsKey, false);
    if (XParam* slaveMask = app.GetParam(kSlaveMaskId))
        slaveMask->AddWatcher(this, kSlaveMaskKey, false);
    for (int32_t channel = 0; channel < kSlaveChannelCount; ++channel)
        if (XParam* slave = app.GetSlaveParam(kSlaveChannelFirstId + channel))
            slave->SetVetoCallback(&SlaveChannelEdited, channel);
}

ContactClosureWindow::~ContactClosureWindow()
{
    XParam::ForgetWatcher(this);
    for (auto& state : contactStates)
        state.reset();
}

FloatParam* ContactClosureWindow::GetContactState(int32_t contact) const
{
    return contact >= 0 && contact < kContactCount ? contactStates[static_cast<size_t>(contact)].get()
                                                   : nullptr;
}

void ContactClosureWindow::BuildContent()
{
    IAppServices& app = GetAppServices();
    XParam* serialOrContacts = app.GetParam(kSerialOrContactsId);
    auto* serial = new XButton(At(67, 34), serialOrContacts, kRadioOff, kRadioOn);
    serial->SetMatchValue(1.0f);
    AddChild(serial);
    auto* contacts = new XButton(At(224, 34), serialOrContacts, kRadioOff, kRadioOn);
    contacts->SetMatchValue(0.0f);
    AddChild(contacts);

    for (int32_t contact = 0; contact < kContactCount; ++contact)
    {
        auto* lamp =
            new XButton(At(151, 93 + 29 * contact), GetContactState(contact), kLampClosed, kLampOpen);
        lamp->SetHilite(false);
        AddChild(lamp);
    }
    const XRGB textColour = SkinColour("windowText", XRGB{220, 220, 220, 255});
    for (int32_t contact = 0; contact < kContactCount; ++contact)
        AddChild(new XText(Box(191, 95 + 29 * contact, 60, 18), GetContactState(contact), textColour,
                           XView::kJustifyCentred));

    const XRGB labelColour = SkinColour("windowLabel", textColour);
    const XRGB back = SkinColour("widgetBack", XRGB{245, 245, 245, 255});
    const XRGB fore = SkinColour("widgetText", XRGB{43, 45, 46, 255});
    auto dropDown = [&](const XRect& frame, const char* arrow, XParam* param)
    {
        auto* popup = new XPopupMenu(frame, nullptr, nullptr);
        popup->SetArrowImage(arrow, arrow);
        popup->SetLabelRect(XRect(2, 1, frame.Width() - 20, 17));
        popup->SetTextColors(labelColour, labelColour);
        popup->SetBackColor(back);
        popup->SetForeColor(fore);
        popup->SetTransparent(true);
        AddChild(popup);
        popup->SetPot(param);
        return popup;
    };
    for (int32_t contact = 0; contact < kContactCount; ++contact)
        dropDown(Box(276, 95 + 29 * contact, 190, 18), kPresetDropDown,
                 app.GetParam(kContactPresetFirstId + contact));
    XParam* mode = app.GetParam(kMasterSlaveModeId);
    dropDown(Box(163, 341, 122, 18), kModeDropDown, mode)->SetHilite(false);

    for (int32_t channel = 0; channel < kSlaveChannelCount; ++channel)
    {
        const XRect place = At(42 + 41 * channel, 389);
        AddChild(new XButton(place, app.GetSlaveParam(kSlaveChannelFirstId + channel), kBoxOff, kBoxOn));
        auto* cover = new XPict(place, nullptr, kBoxCover, true);
        AddChild(cover);
        if (mode != nullptr)
            cover->SetShowParam(mode, 0);
    }
    if (mode != nullptr)
        mode->NotifyWatchers(kValueSet, this);

    XView* content = GetContentView();
    const XRect area(1, 1, content->getWidth(), content->getHeight());
    auto* overlay =
        new XText(area, " ", kCompareColour, XFont::GetNamedFont("dialogLabel", false), XCanvas::kJustifyTop);
    overlay->SetTransparentWithColor(true, kCompareColour);
    overlay->SetTooltipText("Compare Mode");
    AddChild(overlay);
    if (XParam* compareLock = app.GetParam(kCompareLockId))
    {
        overlay->SetShowParam(compareLock, 0);
        compareLock->Notify(kValueSet);
    }
}

void ContactClosureWindow::ShowContacts(int32_t mask)
{
    for (int32_t contact = 0; contact < kContactCount; ++contact)
        contactStates[static_cast<size_t>(contact)]->ChangeValue((mask >> contact) & 1 ? 1.0 : 0.0, true);
}

void ContactClosureWindow::ShowSlaveChannels(int32_t mask)
{
    IAppServices& app = GetAppServices();
    for (int32_t channel = 0; channel < kSlaveChannelCount; ++channel)
    {
        XParam* slave = app.GetSlaveParam(kSlaveChannelFirstId + channel);
        const double wanted = (mask >> channel) & 1 ? 1.0 : 0.0;
        if (slave != nullptr && slave->GetValue() != wanted)
            slave->ChangeValue(wanted, true);
    }
}

void ContactClosureWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if ((code == kValueSet || code == kChangedByUser) && param != nullptr)
    {
        if (key == kContactsKey)
            ShowContacts(Truncated(param->GetValue()));
        else if (key == kSlaveMaskKey)
            ShowSlaveChannels(Truncated(param->GetValue()));
    }
    SubWindow::ParamChanged(code, param, key);
}
