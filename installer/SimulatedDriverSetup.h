#pragma once

#include "IDriverSetup.h"

#include <cstdio>
#include <map>
#include <string>

/** Setup services that touch no device, for tests. The scenario file (named by KRX640_SETUP_SIM)
    gives per hardware identifier the result of installing for it, one "<identifier> <result>"
    per line, where the result is "ok" or the error code to fail with (decimal or 0x hex); '#'
    starts a comment. An identifier not listed fails with ERROR_NO_SUCH_DEVINST; copying into the
    driver store always succeeds. Each call is appended as a line to the call log named by
    KRX640_SETUP_SIM_LOG, if any, and flushed at once. Pauses really sleep, scaled. */
class SimulatedDriverSetup final : public IDriverSetup
{
public:
    SimulatedDriverSetup() = default;
    ~SimulatedDriverSetup() override;
    SimulatedDriverSetup(const SimulatedDriverSetup&) = delete;
    SimulatedDriverSetup& operator=(const SimulatedDriverSetup&) = delete;

    /** Reads the scenario and opens the call log (either may be null). Returns false with a
        description in problem when the scenario cannot be read or has a malformed line. */
    bool Load(const char* scenarioFile, const char* callLogFile, std::string& problem);

    int UpdateDriverForPlugAndPlayDevicesA(void* parentWindow, const char* hardwareId,
                                           const char* fullInfPath, uint32_t installFlags,
                                           int* rebootRequired) override;
    bool SetupCopyOEMInfA(const char* sourceInfFileName, const char* sourceMediaLocation,
                          uint32_t sourceMediaType, uint32_t copyStyle) override;
    uint32_t GetLastError() override;
    void Sleep(uint32_t ms) override;

private:
    struct Outcome
    {
        bool succeeds = false;
        uint32_t errorCode = 0;
    };

    void Record(const std::string& line);

    std::map<std::string, Outcome> outcomeByUpperCaseId;
    std::FILE* callLog = nullptr;
};
