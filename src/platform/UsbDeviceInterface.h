#pragma once

#include <string>
#include <vector>

/** This platform's stand-in for the unit's USB device interface. Units appear as sub-folders of one
    device folder, named by KRX640_USB_DIR (default $XDG_RUNTIME_DIR/krx640-usb, or
    /tmp/krx640-usb-<uid> when XDG_RUNTIME_DIR is unset). A sub-folder that holds both FIFOs
    "PIPE00" (editor to unit) and "PIPE01" (unit to editor) is one device path; the unit's side
    creates them. */
class UsbDeviceInterface final
{
public:
    /** The device folder in force now (read from the environment at each call). */
    static std::string DeviceFolder();

    /** Device paths of the units present, sorted by name, at most maxPaths of them. */
    static std::vector<std::string> EnumerateDevicePaths(size_t maxPaths);

    UsbDeviceInterface() = delete;
};
