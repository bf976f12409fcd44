#include "UsbDeviceLookup.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace
{
constexpr const char* kSystemDevicesFolder = "/sys/bus/usb/devices";
constexpr int kIdDigits = 4;
// An id file holds four digits and a line feed; anything much longer is not an id.
constexpr std::size_t kMaxIdFileBytes = 16;

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper >= 'A' && upper <= 'F')
        return upper - 'A' + 10;
    return -1;
}

/** Parses exactly kIdDigits hexadecimal digits at text. */
bool ParseId(const char* text, std::size_t length, uint16_t& id)
{
    if (length != kIdDigits)
        return false;
    uint32_t value = 0;
    for (std::size_t i = 0; i < length; ++i)
    {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    id = static_cast<uint16_t>(value);
    return true;
}

/** Finds key (upper case) in text without regard to case and parses the id after it. */
bool FindIdAfter(const std::string& upperText, const char* key, const char* text, uint16_t& id)
{
    const auto at = upperText.find(key);
    if (at == std::string::npos)
        return false;
    const std::size_t start = at + std::strlen(key);
    std::size_t length = 0;
    while (start + length < upperText.size() && HexDigitValue(upperText[start + length]) >= 0)
        ++length;
    return ParseId(text + start, length, id);
}

bool ReadIdFile(const std::filesystem::path& file, uint16_t& id)
{
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (stream == nullptr)
        return false;
    char buffer[kMaxIdFileBytes + 1];
    const std::size_t length = std::fread(buffer, 1, kMaxIdFileBytes + 1, stream);
    std::fclose(stream);
    if (length > kMaxIdFileBytes)
        return false;
    std::size_t trimmed = length;
    while (trimmed > 0 && std::isspace(static_cast<unsigned char>(buffer[trimmed - 1])))
        --trimmed;
    return ParseId(buffer, trimmed, id);
}
} // namespace

bool UsbDeviceLookup::ParseHardwareId(const char* hardwareId, uint16_t& vendorId, uint16_t& productId)
{
    if (hardwareId == nullptr)
        return false;
    std::string upperText(hardwareId);
    for (char& c : upperText)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return FindIdAfter(upperText, "VID_", hardwareId, vendorId) &&
           FindIdAfter(upperText, "PID_", hardwareId, productId);
}

std::string UsbDeviceLookup::DevicesFolder()
{
    const char* folder = std::getenv("KRX640_SYSFS_USB_DIR");
    return folder != nullptr && folder[0] != '\0' ? folder : kSystemDevicesFolder;
}

std::string UsbDeviceLookup::FindDevice(uint16_t vendorId, uint16_t productId)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entry(DevicesFolder(), error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error))
    {
        uint16_t entryVendorId = 0;
        uint16_t entryProductId = 0;
        if (ReadIdFile(entry->path() / "idVendor", entryVendorId) &&
            ReadIdFile(entry->path() / "idProduct", entryProductId) && entryVendorId == vendorId &&
            entryProductId == productId)
            return entry->path().string();
    }
    return {};
}
