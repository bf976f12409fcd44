#pragma once

#include <cstdint>

/** Result codes and flags of the driver setup services, with the values the installer's messages
    are keyed on. */
namespace SetupCodes
{
constexpr uint32_t ERROR_SUCCESS = 0;
constexpr uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr uint32_t ERROR_INVALID_FLAGS = 1004;
constexpr uint32_t ERROR_NO_SUCH_DEVINST = 0xE000020Bu;
constexpr uint32_t ERROR_IN_WOW64 = 0xE0000235u;

constexpr uint32_t INSTALLFLAG_FORCE = 0x1;
constexpr uint32_t INSTALLFLAG_READONLY = 0x2;
constexpr uint32_t INSTALLFLAG_NONINTERACTIVE = 0x4;
constexpr uint32_t kValidInstallFlags = INSTALLFLAG_FORCE | INSTALLFLAG_READONLY | INSTALLFLAG_NONINTERACTIVE;

constexpr uint32_t SPOST_PATH = 1;

constexpr int kResultTrue = 1;
constexpr int kResultFalse = 0;
} // namespace SetupCodes

/** The services the installer needs from the system: installing a driver package for a hardware
    identifier, copying a package into the driver store, the calling thread's last error and a
    pause. Paths are given with backslashes; an implementation converts them where it touches the
    file system. Failures are reported by the result and the last error, never by exceptions. */
class IDriverSetup
{
public:
    virtual ~IDriverSetup() = default;

    /** Installs the package at fullInfPath for the device with hardwareId. Returns exactly
        SetupCodes::kResultTrue on success; on failure sets the last error. rebootRequired, when
        given, receives 0 (no reboot is ever needed). */
    virtual int UpdateDriverForPlugAndPlayDevicesA(void* parentWindow, const char* hardwareId,
                                                   const char* fullInfPath, uint32_t installFlags,
                                                   int* rebootRequired) = 0;

    /** Copies the package into the driver store so that a device attached later finds it; on
        failure returns false and sets the last error. */
    virtual bool SetupCopyOEMInfA(const char* sourceInfFileName, const char* sourceMediaLocation,
                                  uint32_t sourceMediaType, uint32_t copyStyle) = 0;

    virtual uint32_t GetLastError() = 0;

    /** Waits ms milliseconds, through PlatformClock, so the platform's one time scale shortens it in tests.
     */
    virtual void Sleep(uint32_t ms) = 0;
};
