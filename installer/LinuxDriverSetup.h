#pragma once

#include "IDriverSetup.h"

#include <string>

/** The driver setup services on Linux. Installing for a hardware identifier checks that the
    package file exists (else ERROR_FILE_NOT_FOUND) and that a device with the identifier's vendor
    and product id is attached (else ERROR_NO_SUCH_DEVINST), then gives users access to it with a
    udev rule; a rule that cannot be written leaves the system's error number as the last error.
    The driver store is /var/lib/krx640/driver-store, or the folder named by KRX640_DRIVER_STORE.
    Single-threaded use. */
class LinuxDriverSetup final : public IDriverSetup
{
public:
    int UpdateDriverForPlugAndPlayDevicesA(void* parentWindow, const char* hardwareId,
                                           const char* fullInfPath, uint32_t installFlags,
                                           int* rebootRequired) override;
    bool SetupCopyOEMInfA(const char* sourceInfFileName, const char* sourceMediaLocation,
                          uint32_t sourceMediaType, uint32_t copyStyle) override;
    uint32_t GetLastError() override;
    void Sleep(uint32_t ms) override;

    /** A package path as given (with '\') in the form the file system takes. */
    static std::string ToFileSystemPath(const char* packagePath);

    static std::string DriverStoreFolder();
};
