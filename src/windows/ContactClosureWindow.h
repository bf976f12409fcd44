#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "device/GlobalParamTables.h"
#include "windows/SubWindow.h"

#include <array>
#include <cstdint>
#include <memory>

class XParam;

/** The "Contact Closure" window: serial or contact-closure remote control, the preset each of the
    eight contacts recalls, the contacts' open/closed state as the unit reports it, and the unit's
    master/slave mode with the channels that follow the master.

    From construction, whether or not the window is ever shown, it watches the unit's contact mask
    (ContactsValue, bit i = contact i + 1 open) and slave mask (MSChanConfig, bit j = channel j
    slaved: 0 input A, 1 input B, 2..7 outputs 1..6), and gives each of the application's slave
    channel parameters an edit callback that writes its bit of the slave mask when an edit ends.
    Those callbacks stay on the application's parameters for the life of the program.

    The contact states are the window's own parameters (never sent); pressing a lamp changes only
    what is shown until the unit next reports. The master/slave drop-down and the lamps do not take
    the mouse: they show the unit's state. GUI thread only. */
class ContactClosureWindow final : public SubWindow
{
public:
    static constexpr int32_t kContactCount = 8;
    static constexpr int32_t kSlaveChannelCount = 8;

    /** Main group ids. */
    static constexpr int32_t kSerialOrContactsId = GlobalParamTables::kRS232OrContactsId;
    static constexpr int32_t kContactsValueId = GlobalParamTables::kContactsValueId;
    static constexpr int32_t kContactPresetFirstId = GlobalParamTables::kContactPresetFirstId; // 8 in a row
    static constexpr int32_t kMasterSlaveModeId = GlobalParamTables::kMasterSlaveModeId;
    static constexpr int32_t kSlaveMaskId = GlobalParamTables::kMSChanConfigId;
    static constexpr int32_t kCompareLockId = GlobalParamTables::kEditCompareLockId;
    /** Slave group ids: slavedChanInA, slavedChanInB, slavedChanOut1..6 = 101..108. */
    static constexpr int32_t kSlaveChannelFirstId = GlobalParamTables::kSlavedChanFirstId;

    static constexpr int32_t kContactsKey = static_cast<int32_t>(FourCharCode("ccst"));
    static constexpr int32_t kSlaveMaskKey = static_cast<int32_t>(FourCharCode("slCh"));

    /** Watches the two masks and hooks the slave channel parameters. */
    ContactClosureWindow();
    ~ContactClosureWindow() override;

    /** The state parameter of contact (0..7): 1 open, 0 closed; null outside. */
    FloatParam* GetContactState(int32_t contact) const;

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "ContactClosureWindow"; }

protected:
    void BuildContent() override;

private:
    void ShowContacts(int32_t mask);
    void ShowSlaveChannels(int32_t mask);

    std::array<std::unique_ptr<FloatParam>, kContactCount> contactStates;
};
