#include "UdevRules.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace
{
namespace fs = std::filesystem;

constexpr const char* kSystemRulesFolder = "/etc/udev/rules.d";
constexpr const char* kUdevadmName = "udevadm";
// udevadm lives in an sbin folder that a user's search path may lack.
constexpr const char* kSystemProgramFolders[] = {"/usr/sbin", "/sbin", "/usr/bin", "/bin"};

std::string FourHexDigits(uint16_t id)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", id);
    return text;
}

/** Quotes text for the shell, so that any path is passed as one argument. */
std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string FindUdevadm()
{
    if (const char* named = std::getenv("KRX640_UDEVADM"))
        return named;
    std::error_code error;
    if (const char* searchPath = std::getenv("PATH"))
    {
        std::string folders(searchPath);
        std::size_t start = 0;
        while (start <= folders.size())
        {
            std::size_t end = folders.find(':', start);
            if (end == std::string::npos)
                end = folders.size();
            const fs::path candidate = fs::path(folders.substr(start, end - start)) / kUdevadmName;
            if (end > start && fs::is_regular_file(candidate, error))
                return candidate.string();
            start = end + 1;
        }
    }
    for (const char* folder : kSystemProgramFolders)
    {
        const fs::path candidate = fs::path(folder) / kUdevadmName;
        if (fs::is_regular_file(candidate, error))
            return candidate.string();
    }
    return {};
}

/** errno after a failed call; EIO when the call left it unset. */
int FailureNumber()
{
    return errno != 0 ? errno : EIO;
}

void RunQuietly(const std::string& commandLine)
{
    const std::string quiet = commandLine + " >/dev/null 2>&1";
    const int ignoredStatus = std::system(quiet.c_str());
    (void)ignoredStatus;
}
} // namespace

std::string UdevRules::RulesFolder()
{
    const char* folder = std::getenv("KRX640_UDEV_RULES_DIR");
    return folder != nullptr && folder[0] != '\0' ? folder : kSystemRulesFolder;
}

std::string UdevRules::RuleFileName(uint16_t vendorId, uint16_t productId)
{
    return "60-krx640-" + FourHexDigits(vendorId) + "-" + FourHexDigits(productId) + ".rules";
}

std::string UdevRules::RuleText(uint16_t vendorId, uint16_t productId)
{
    return "# Lets every user reach the KRX-640 USB device " + FourHexDigits(vendorId) + ":" +
           FourHexDigits(productId) + ". Written by KRX640DriverInstaller.\n" +
           "SUBSYSTEM==\"usb\", ATTR{idVendor}==\"" + FourHexDigits(vendorId) + "\", ATTR{idProduct}==\"" +
           FourHexDigits(productId) + "\", MODE=\"0666\"\n";
}

int UdevRules::WriteRule(uint16_t vendorId, uint16_t productId)
{
    const fs::path folder(RulesFolder());
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return error.value() != 0 ? error.value() : EIO;

    // Written beside the rule and renamed over it, so udev never reads half a rule.
    const fs::path rule = folder / RuleFileName(vendorId, productId);
    const fs::path partial = folder / (RuleFileName(vendorId, productId) + ".partial");
    const std::string text = RuleText(vendorId, productId);
    errno = 0;
    std::FILE* stream = std::fopen(partial.c_str(), "wb");
    if (stream == nullptr)
        return FailureNumber();
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    int failure = written ? 0 : FailureNumber();
    if (std::fclose(stream) != 0 && failure == 0)
        failure = FailureNumber();
    if (failure == 0 && std::rename(partial.c_str(), rule.c_str()) != 0)
        failure = FailureNumber();
    if (failure != 0)
        fs::remove(partial, error);
    return failure;
}

void UdevRules::ApplyRules(const std::string& devicePath)
{
    const std::string udevadm = FindUdevadm();
    if (udevadm.empty())
        return;
    RunQuietly(ShellQuoted(udevadm) + " control --reload-rules");
    if (!devicePath.empty())
        RunQuietly(ShellQuoted(udevadm) + " trigger --action=add " + ShellQuoted(devicePath));
}
