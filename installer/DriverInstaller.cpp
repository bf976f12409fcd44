#include "DriverInstaller.h"

#include <cstdio>
#include <cstring>

DriverInstaller::DriverInstaller(IDriverSetup& setupToUse) : setup(setupToUse) {}

bool DriverInstaller::BuildPackagePath(int argc, const char* const* argv, char (&path)[MAX_PATH])
{
    path[0] = '\0';
    if (argc < 2 || argv[1] == nullptr)
    {
        std::snprintf(path, MAX_PATH, "%s", kPackageFileName);
        return true;
    }
    const std::size_t joinedLength = std::strlen(argv[1]) + 1 + std::strlen(kPackageFileName);
    if (joinedLength + 1 > MAX_PATH)
        return false;
    std::snprintf(path, MAX_PATH, "%s\\%s", argv[1], kPackageFileName);
    return true;
}

uint32_t DriverInstaller::ReportInstallError(const char* packagePath)
{
    using namespace SetupCodes;
    const uint32_t code = setup.GetLastError();
    switch (code)
    {
    case ERROR_SUCCESS:
        std::printf("Driver Install Error: Specified driver no Better\n");
        break;
    case ERROR_FILE_NOT_FOUND:
        std::printf("Driver Install Error: File not found: %s\n", packagePath);
        break;
    case ERROR_INVALID_FLAGS:
        std::printf("Driver Install Error: Invalid Flags\n");
        break;
    case ERROR_IN_WOW64:
        std::printf("Driver Install Error: non-64 bit app\n");
        break;
    case ERROR_NO_SUCH_DEVINST:
        break;
    default:
        // No line feed: whatever is printed next continues this line.
        std::printf("Driver Install Error: Unknown error [%d]", static_cast<int>(static_cast<int32_t>(code)));
        break;
    }
    setup.Sleep(kReportPauseMs);
    return code;
}

bool DriverInstaller::InstallFor(const char* hardwareId, const char* packagePath)
{
    return setup.UpdateDriverForPlugAndPlayDevicesA(nullptr, hardwareId, packagePath,
                                                    SetupCodes::INSTALLFLAG_FORCE,
                                                    nullptr) == SetupCodes::kResultTrue;
}

int DriverInstaller::Run(int argc, const char* const* argv)
{
    constexpr int kExitCode = 0;
    char packagePath[MAX_PATH];
    if (!BuildPackagePath(argc, argv, packagePath))
    {
        std::printf("Driver Install Error: Folder path too long\n");
        setup.Sleep(kReportPauseMs);
        std::printf("Phase 3\n");
        return kExitCode;
    }

    std::printf("Installing %s\n", packagePath);
    // A failure with code 0 means the unit already has a driver at least as good: done.
    if (!InstallFor(kUnitHardwareId, packagePath) &&
        ReportInstallError(packagePath) != SetupCodes::ERROR_SUCCESS)
    {
        if (!InstallFor(kBootloaderHardwareId, packagePath) &&
            ReportInstallError(packagePath) == SetupCodes::ERROR_NO_SUCH_DEVINST)
        {
            // Neither device is attached: leave the package where the system finds it on plug-in.
            setup.SetupCopyOEMInfA(packagePath, nullptr, SetupCodes::SPOST_PATH, 0);
        }
    }
    std::printf("Phase 3\n");
    return kExitCode;
}
