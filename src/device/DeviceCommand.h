#pragma once

/** Command numbers of the frames exchanged with the unit (byte 10 of a frame). Where one number is
    used in both directions the name gives the editor's request. */
enum DeviceCommand : int
{
    kCmdRequestDeviceInfo = 1,
    kCmdDeviceInfo = 2,
    kCmdCommand3 = 3,
    kCmdDisplayData = 4,
    kCmdSetParamValue = 5,
    kCmdParamId = 6,
    kCmdRequestAllParams = 7,
    kCmdBulkParamData = 8,
    kCmdRecallPreset = 9,
    kCmdStorePreset = 10,
    kCmdEnterBootloader = 11,
    kCmdCommand12 = 12,
    kCmdPresetInfo = 13,
    kCmdPresetFlags = 14,
    kCmdSetPresetFlags = 15,
    kCmdSlaveStatus = 16,
    kCmdEraseUserPresets = 18,
    kCmdRecallPresetForSaving = 19,
    kCmdFlashCompareData = 20,
    kCmdBulkBracket = 21
};
