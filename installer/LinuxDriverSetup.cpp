#include "LinuxDriverSetup.h"

#include "LastError.h"
#include "UdevRules.h"
#include "UsbDeviceLookup.h"
#include "platform/PlatformClock.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace
{
namespace fs = std::filesystem;

constexpr const char* kSystemDriverStore = "/var/lib/krx640/driver-store";

/** A system error number as a last error. The numbers that mean something else to the caller
    (0 is success, 2 names the package file as missing) become EIO, so that a failure elsewhere
    is neither taken for success nor blamed on the package. */
uint32_t SystemErrorAsLastError(int number)
{
    if (number == 0 || static_cast<uint32_t>(number) == SetupCodes::ERROR_FILE_NOT_FOUND ||
        static_cast<uint32_t>(number) == SetupCodes::ERROR_INVALID_FLAGS)
        return EIO;
    return static_cast<uint32_t>(number);
}

bool PackageExists(const std::string& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

int Fail(uint32_t code)
{
    LastError::Set(code);
    return SetupCodes::kResultFalse;
}
} // namespace

std::string LinuxDriverSetup::ToFileSystemPath(const char* packagePath)
{
    std::string path(packagePath != nullptr ? packagePath : "");
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string LinuxDriverSetup::DriverStoreFolder()
{
    const char* folder = std::getenv("KRX640_DRIVER_STORE");
    return folder != nullptr && folder[0] != '\0' ? folder : kSystemDriverStore;
}

int LinuxDriverSetup::UpdateDriverForPlugAndPlayDevicesA(void* parentWindow, const char* hardwareId,
                                                         const char* fullInfPath, uint32_t installFlags,
                                                         int* rebootRequired)
{
    if (rebootRequired != nullptr)
        *rebootRequired = 0;
    if ((installFlags & ~SetupCodes::kValidInstallFlags) != 0)
        return Fail(SetupCodes::ERROR_INVALID_FLAGS);
    if (fullInfPath == nullptr || !PackageExists(ToFileSystemPath(fullInfPath)))
        return Fail(SetupCodes::ERROR_FILE_NOT_FOUND);

    uint16_t vendorId = 0;
    uint16_t productId = 0;
    if (!UsbDeviceLookup::ParseHardwareId(hardwareId, vendorId, productId))
        return Fail(SetupCodes::ERROR_NO_SUCH_DEVINST);
    const std::string device = UsbDeviceLookup::FindDevice(vendorId, productId);
    if (device.empty())
        return Fail(SetupCodes::ERROR_NO_SUCH_DEVINST);

    if (const int failure = UdevRules::WriteRule(vendorId, productId))
        return Fail(SystemErrorAsLastError(failure));
    UdevRules::ApplyRules(device);
    LastError::Set(SetupCodes::ERROR_SUCCESS);
    return SetupCodes::kResultTrue;
}

bool LinuxDriverSetup::SetupCopyOEMInfA(const char* sourceInfFileName, const char* sourceMediaLocation,
                                        uint32_t sourceMediaType, uint32_t copyStyle)
{
    const std::string source = ToFileSystemPath(sourceInfFileName);
    if (!PackageExists(source))
    {
        LastError::Set(SetupCodes::ERROR_FILE_NOT_FOUND);
        return false;
    }
    const fs::path store(DriverStoreFolder());
    std::error_code error;
    fs::create_directories(store, error);
    const fs::path copy = store / fs::path(source).filename();
    // A package run from the store itself is already in place.
    if (!error && !fs::equivalent(source, copy, error))
        fs::copy_file(source, copy, fs::copy_options::overwrite_existing, error);
    if (error)
    {
        LastError::Set(SystemErrorAsLastError(error.value()));
        return false;
    }
    LastError::Set(SetupCodes::ERROR_SUCCESS);
    return true;
}

uint32_t LinuxDriverSetup::GetLastError()
{
    return LastError::Get();
}

void LinuxDriverSetup::Sleep(uint32_t ms)
{
    PlatformClock::Sleep(ms);
}
