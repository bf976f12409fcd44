#include "SimulatedDriverSetup.h"

#include "LastError.h"
#include "platform/PlatformClock.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace
{
constexpr const char* kSuccessWord = "ok";
constexpr unsigned long long kLargestCode = 0xFFFFFFFFull;

std::string UpperCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool ParseCode(const std::string& text, uint32_t& code)
{
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])))
        return false;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    if (*end != '\0' || value > kLargestCode)
        return false;
    code = static_cast<uint32_t>(value);
    return true;
}

std::string Text(const char* text)
{
    return text != nullptr ? text : "(null)";
}
} // namespace

SimulatedDriverSetup::~SimulatedDriverSetup()
{
    if (callLog != nullptr)
        std::fclose(callLog);
}

bool SimulatedDriverSetup::Load(const char* scenarioFile, const char* callLogFile, std::string& problem)
{
    if (scenarioFile != nullptr && scenarioFile[0] != '\0')
    {
        std::FILE* scenario = std::fopen(scenarioFile, "rb");
        if (scenario == nullptr)
        {
            problem = std::string("cannot read the scenario file ") + scenarioFile;
            return false;
        }
        std::string content;
        char chunk[4096];
        for (std::size_t length; (length = std::fread(chunk, 1, sizeof chunk, scenario)) > 0;)
            content.append(chunk, length);
        std::fclose(scenario);

        std::istringstream lines(content);
        std::string line;
        for (int lineNumber = 1; std::getline(lines, line); ++lineNumber)
        {
            line = line.substr(0, line.find('#'));
            std::istringstream words(line);
            std::string identifier, result, extra;
            if (!(words >> identifier))
                continue;
            const bool twoWords = (words >> result) && !(words >> extra);
            Outcome outcome;
            outcome.succeeds = result == kSuccessWord;
            if (!twoWords || (!outcome.succeeds && !ParseCode(result, outcome.errorCode)))
            {
                problem = std::string(scenarioFile) + ":" + std::to_string(lineNumber) +
                          ": expected \"<identifier> ok\" or \"<identifier> <error code>\"";
                return false;
            }
            outcomeByUpperCaseId[UpperCase(identifier)] = outcome;
        }
    }
    if (callLogFile != nullptr && callLogFile[0] != '\0')
    {
        callLog = std::fopen(callLogFile, "ab");
        if (callLog == nullptr)
        {
            problem = std::string("cannot write the call log ") + callLogFile;
            return false;
        }
    }
    return true;
}

void SimulatedDriverSetup::Record(const std::string& line)
{
    if (callLog == nullptr)
        return;
    std::fputs((line + "\n").c_str(), callLog);
    std::fflush(callLog);
}

int SimulatedDriverSetup::UpdateDriverForPlugAndPlayDevicesA(void* parentWindow, const char* hardwareId,
                                                             const char* fullInfPath, uint32_t installFlags,
                                                             int* rebootRequired)
{
    Record("UpdateDriverForPlugAndPlayDevicesA " + Text(hardwareId) + " " + Text(fullInfPath) + " " +
           std::to_string(installFlags));
    if (rebootRequired != nullptr)
        *rebootRequired = 0;
    const auto found = outcomeByUpperCaseId.find(UpperCase(Text(hardwareId)));
    const Outcome outcome = found != outcomeByUpperCaseId.end()
                                ? found->second
                                : Outcome{false, SetupCodes::ERROR_NO_SUCH_DEVINST};
    LastError::Set(outcome.succeeds ? SetupCodes::ERROR_SUCCESS : outcome.errorCode);
    return outcome.succeeds ? SetupCodes::kResultTrue : SetupCodes::kResultFalse;
}

bool SimulatedDriverSetup::SetupCopyOEMInfA(const char* sourceInfFileName, const char* sourceMediaLocation,
                                            uint32_t sourceMediaType, uint32_t copyStyle)
{
    Record("SetupCopyOEMInfA " + Text(sourceInfFileName) + " " + Text(sourceMediaLocation) + " " +
           std::to_string(sourceMediaType) + " " + std::to_string(copyStyle));
    LastError::Set(SetupCodes::ERROR_SUCCESS);
    return true;
}

uint32_t SimulatedDriverSetup::GetLastError()
{
    return LastError::Get();
}

void SimulatedDriverSetup::Sleep(uint32_t ms)
{
    Record("Sleep " + std::to_string(ms));
    PlatformClock::Sleep(ms);
}
