#pragma once

#include <cstdint>
#include <string>

/** Finds attached USB devices by vendor and product id in the kernel's device list
    (/sys/bus/usb/devices, or the folder named by KRX640_SYSFS_USB_DIR). Entries without ids
    (interfaces) or with unreadable or malformed ids are skipped. */
class UsbDeviceLookup final
{
public:
    /** Reads the ids from a hardware identifier of the form "USB\VID_vvvv&PID_pppp" (any case).
        Returns false when either id is missing or not four hexadecimal digits. */
    static bool ParseHardwareId(const char* hardwareId, uint16_t& vendorId, uint16_t& productId);

    /** The device folder of the first attached device with these ids, or "" when none is. */
    static std::string FindDevice(uint16_t vendorId, uint16_t productId);

    /** The folder searched: the override from the environment or the system's. */
    static std::string DevicesFolder();

    UsbDeviceLookup() = delete;
};
