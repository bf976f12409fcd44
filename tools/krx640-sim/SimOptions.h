#pragma once

#include "SimBootloader.h"
#include "SimResponder.h"

#include <cstdint>
#include <string>
#include <vector>

/** The simulated unit's command line:
    krx640-sim [--dir DIR] [--name NAME] [--mode normal|locked|slave] [--firmware-version HEX]
               [--meters] [--log FILE] [--fail-at STEP:N:KIND]... [--flash-dump FILE]
    Each option with a value also takes the form --option=value. */
struct SimOptions
{
    std::string deviceFolder; // empty: the default device folder
    std::string unitName = "unit0";
    SimUnitMode mode = SimUnitMode::normal;
    uint32_t firmwareVersion = SimResponder::kDefaultFirmwareVersion;
    bool meters = false;
    std::string logPath;
    /** Faults the bootloader injects. */
    std::vector<SimFlashFault> faults;
    /** Where the flash model is written whenever the bootloader is left; empty: nowhere. */
    std::string flashDumpPath;
    bool helpRequested = false;

    /** Parses argv; false with a reason for a bad command line. */
    bool Parse(int argc, const char* const* argv, std::string& error);

    static const char* Usage();
};
