#include "app/QM7SlavePanel.h"

#include "core/FloatParam.h"
#include "core/IAppServices.h"
#include "core/XMessageCodes.h"
#include "core/XParamDesc.h"
#include "device/ChannelLists.h"
#include "device/ChannelOutput.h"
#include "device/ChannelParamTables.h"
#include "device/GlobalParamTables.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XPict.h"
#include "gui/XText.h"
#include "widgets/XMeterStick.h"
#include "widgets/XSlider.h"

#include <cmath>

namespace
{
/** Output columns are this far apart; each place below is output 1's. */
constexpr int32_t kColumnStep = 85;
constexpr XPoint kNameBackAt{496, 3};
constexpr XPoint kSlaveTextAt{169, 55};
constexpr XPoint kInputMeterAt{76, 28};
constexpr int32_t kInputMeterStep = 27;
constexpr XRect kOutputMeterFrame{508, 30, 520, 105};
constexpr XRect kFaderFrame{538, 27, 572, 114};
constexpr XPoint kFieldBackAt{538, 121};
constexpr XRect kMuteFrame{499, 121, 531, 143};
/** Texts lie inside their backgrounds by this much. */
constexpr int32_t kTextInset = 2;

/** The value index of a flag that shows the live views, and of one that shows the stand-ins. */
constexpr int32_t kShownWhenSlaved = 1;
constexpr int32_t kShownWhenFree = 0;

const XRGB kBlack(0, 0, 0, 255);
const XRGB kWhite(255, 255, 255, 255);

XRect Offset(const XRect& rect, int32_t dx)
{
    return XRect(rect.left + dx, rect.top, rect.right + dx, rect.bottom);
}

XRect Inset(const XRect& rect, int32_t by)
{
    return XRect(rect.left + by, rect.top + by, rect.right - by, rect.bottom - by);
}

/** A picture of a skin image at a point, sized to the image. */
XPict* PictureAt(const XPoint& at, const char* image)
{
    return new XPict(XRect(at.x, at.y, at.x, at.y), "", image, true);
}

/** A meter stick at a point, sized to its track image. */
XMeterStick* MeterAt(const XPoint& at, XParam* param, const char* dim, const char* lit)
{
    auto* meter = new XMeterStick(XRect(at.x, at.y, at.x, at.y), param, dim, lit);
    if (const XImage* track = meter->GetTrackImage())
        meter->SetFrame(XRect(at.x, at.y, at.x + track->GetWidth(), at.y + track->GetHeight()));
    return meter;
}

XParamDesc SlavedFlagDesc()
{
    XParamDesc desc;
    desc.type = XParamDesc::kTypeOnOff;
    desc.min = 0;
    desc.max = 1;
    desc.def = 0;
    desc.count = 2;
    return desc;
}

XParam* OutputGain(int32_t output)
{
    ChannelOutput* channel = GetOutputChannel(output);
    return channel != nullptr ? channel->GetParam(ChannelParamTables::kOutputGainId) : nullptr;
}
} // namespace

QM7SlavePanel::QM7SlavePanel(const XRect& frame) : XView(frame)
{
    const XParamDesc desc = SlavedFlagDesc();
    for (std::unique_ptr<FloatParam>& flag : flags)
        flag = std::make_unique<FloatParam>(desc);
    GetAppServices()
        .GetSlaveParam(GlobalParamTables::kSlavedChanConfigId)
        ->AddWatcher(this, kSlaveConfigKey, false);
}

QM7SlavePanel::~QM7SlavePanel()
{
    // The children watch the flags: they go first, while the flags still stand.
    while (getNumChildComponents() > 0)
    {
        auto* child = dynamic_cast<XView*>(getChildComponent(0));
        if (child == nullptr)
        {
            removeChildComponent(0);
            continue;
        }
        RemoveChild(child);
        delete child;
    }
}

FloatParam* QM7SlavePanel::GetSlavedFlag(int32_t index) const
{
    return index >= 0 && index < kFlagCount ? flags[index].get() : nullptr;
}

void QM7SlavePanel::SetSlavedChannels(int32_t bits)
{
    for (int32_t index = 0; index < kFlagCount; ++index)
    {
        const double value = (bits >> index & 1) != 0 ? 1.0 : 0.0;
        if (flags[index]->GetValue() != value)
            flags[index]->ChangeValue(value, true);
    }
}

void QM7SlavePanel::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && key == kSlaveConfigKey && IsValueChangeCode(code))
        SetSlavedChannels(static_cast<int32_t>(std::trunc(param->GetValue())));
    XView::ParamChanged(code, param, key);
}

void QM7SlavePanel::AddOutputNames()
{
    for (int32_t output = 0; output < kOutputCount; ++output)
    {
        XPict* back = PictureAt(XPoint(kNameBackAt.x + kColumnStep * output, kNameBackAt.y),
                                "Device\\deviceLableBg.png");
        AddChild(back);
        XString name;
        name.Format("Output %d", static_cast<int>(output + 1));
        auto* text =
            new XText(Inset(back->GetFrame(), kTextInset), name.CStr(), kBlack, XView::kJustifyCentred);
        text->SetBackColor(kWhite);
        AddChild(text);
    }
}

void QM7SlavePanel::AddMeters()
{
    IAppServices& services = GetAppServices();
    XPict* slaveText = PictureAt(kSlaveTextAt, "Device\\SLAVE_text.png");
    slaveText->SetShowParam(services.GetParam(GlobalParamTables::kMSStateId), 0);
    AddChild(slaveText);

    AddChild(MeterAt(kInputMeterAt, services.GetSlaveParam(GlobalParamTables::kSlaveMeterInAId),
                     "Device\\deviceLedMeterDim.png", "Device\\deviceLEdMeterLit.png"));
    AddChild(MeterAt(XPoint(kInputMeterAt.x + kInputMeterStep, kInputMeterAt.y),
                     services.GetSlaveParam(GlobalParamTables::kSlaveMeterInBId),
                     "Device\\deviceLedMeterDim.png", "Device\\deviceLedMeterLit.png"));

    for (int32_t output = 0; output < kOutputCount; ++output)
        AddChild(new XMeterStick(Offset(kOutputMeterFrame, kColumnStep * output),
                                 services.GetSlaveParam(GlobalParamTables::kSlaveMeterOut1Id + output),
                                 "Device\\deviceMeterDim.png", "Device\\deviceMeterLit.png"));
}

void QM7SlavePanel::AddFaders()
{
    for (int32_t output = 0; output < kOutputCount; ++output)
    {
        FloatParam* flag = flags[kFirstOutputFlag + output].get();
        const XRect faderFrame = Offset(kFaderFrame, kColumnStep * output);
        auto* fader =
            new XSlider(faderFrame, "", true, "Device\\deviceFaderBg.png", "Device\\deviceFaderSlider.png");
        fader->SetPot(OutputGain(output));
        fader->SetShowParam(flag, kShownWhenSlaved);
        AddChild(fader);
        auto* disabled = new XSlider(faderFrame, "", true, nullptr, "Device\\deviceFaderSlider_disabled.png");
        disabled->SetShowParam(flag, kShownWhenFree);
        AddChild(disabled);
    }
}

void QM7SlavePanel::AddGainFields()
{
    XFont* const tiny = XFont::FindNamedFont("tiny", false);
    for (int32_t output = 0; output < kOutputCount; ++output)
    {
        FloatParam* flag = flags[kFirstOutputFlag + output].get();
        XPict* back = PictureAt(XPoint(kFieldBackAt.x + kColumnStep * output, kFieldBackAt.y),
                                "Device\\deviceFieldBg.png");
        AddChild(back);
        const XRect textFrame = Inset(back->GetFrame(), kTextInset);
        const XRGB textColour = GetColorDictionary().GetColor("widgetText");
        auto* gain = new XText(textFrame, OutputGain(output), textColour, tiny, XView::kJustifyCentred);
        gain->SetShowParam(flag, kShownWhenSlaved);
        AddChild(gain);
        auto* none = new XText(textFrame, "---", textColour, tiny, XView::kJustifyCentred);
        none->SetShowParam(flag, kShownWhenFree);
        AddChild(none);
    }
}

void QM7SlavePanel::AddMutes()
{
    for (int32_t output = 0; output < kOutputCount; ++output)
    {
        auto* mute = new XPict(Offset(kMuteFrame, kColumnStep * output), "",
                               "Device\\deviceButtonMute_disabled.png", false);
        AddChild(mute);
    }
}

void QM7SlavePanel::ApplyStyle()
{
    XView::ApplyStyle();
    if (built)
        return;
    built = true;

    XPict* unit = PictureAt(XPoint(), "krx640DeviceBg.png");
    AddChild(unit);
    const XRect frame = GetFrame();
    SetFrame(XRect(frame.left, frame.top, frame.left + unit->GetWidth(), frame.top + unit->GetHeight()));

    AddOutputNames();
    AddMeters();
    AddFaders();
    AddGainFields();
    AddMutes();

    for (const std::unique_ptr<FloatParam>& flag : flags)
        flag->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
}
