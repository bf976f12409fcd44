#pragma once

#include <cstdint>
#include <string>

/** Safe removal of a removable volume, in the three steps the volume manager reports: find the
    block device mounted at a folder, release the file system (unmount), and power the device off
    so that it can be pulled out. The system's ejector runs "udisksctl"; a refusal is kFailed and a
    missing tool kNoTool, never a crash. Tests install their own ejector in the volume manager.
    One ejection at a time; any thread. */
class PlatformVolumeEjector
{
public:
    static constexpr int32_t kOk = 0;
    static constexpr int32_t kFailed = static_cast<int32_t>(0x80000001);
    /** The tool could not be started: no use trying again. */
    static constexpr int32_t kNoTool = static_cast<int32_t>(0x80000003);

    virtual ~PlatformVolumeEjector() = default;

    /** device = the block device mounted at mountPoint ('\' or '/' separators, with or without a
        trailing separator); kFailed when nothing is mounted there. */
    virtual int32_t FindDevice(const std::string& mountPoint, std::string& device);
    /** Unmounts the device's file system; kFailed while it is in use (the caller retries), kNoTool
        when the tool cannot be run. */
    virtual int32_t Unmount(const std::string& device);
    /** Powers the device (or the disk that carries the partition) off; kFailed or kNoTool. */
    virtual int32_t PowerOff(const std::string& device);

    /** The system's ejector. */
    static PlatformVolumeEjector& System();

    /** Runs program with the arguments, waits for it and returns its exit status; -1 when it could
        not be started. Its output is discarded. */
    static int RunTool(const char* program, const char* firstArgument, const char* secondArgument,
                       const char* thirdArgument);
};
