#pragma once

#include "IDriverSetup.h"

#include <cstddef>
#include <cstdint>

/** The installer's whole run: builds the package path from the command line, installs the driver
    for the unit, then for its bootloader, and pre-installs the package when neither is attached.
    Prints to stdout with printf; every reported failure is followed by a pause of
    kReportPauseMs. The setup services are borrowed, not owned. */
class DriverInstaller final
{
public:
    static constexpr std::size_t MAX_PATH = 260;
    static constexpr const char* kPackageFileName = "krx640usb.Inf";
    static constexpr const char* kUnitHardwareId = "USB\\Vid_7B3D&PID_A701";
    static constexpr const char* kBootloaderHardwareId = "USB\\Vid_03EB&PID_6124";
    static constexpr uint32_t kReportPauseMs = 4000;

    explicit DriverInstaller(IDriverSetup& setup);

    /** Runs the installation with the program's arguments; returns the exit code, always 0. */
    int Run(int argc, const char* const* argv);

    /** Builds the package path into path: the first argument, '\' and the file name, or the bare
        file name without an argument. Returns false, leaving path empty, when the joined path and
        its terminating zero would not fit. */
    static bool BuildPackagePath(int argc, const char* const* argv, char (&path)[MAX_PATH]);

    /** Prints the message for the last error (packagePath is named by the file-not-found message),
        pauses kReportPauseMs and returns the code. */
    uint32_t ReportInstallError(const char* packagePath);

private:
    bool InstallFor(const char* hardwareId, const char* packagePath);

    IDriverSetup& setup;
};
