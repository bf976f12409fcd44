#include "platform/UsbDeviceInterface.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool IsFifo(const std::string& path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}
} // namespace

std::string UsbDeviceInterface::DeviceFolder()
{
    if (const char* folder = std::getenv("KRX640_USB_DIR"); folder != nullptr && *folder != '\0')
        return folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0')
        return std::string(runtime) + "/krx640-usb";
    return "/tmp/krx640-usb-" + std::to_string(::getuid());
}

std::vector<std::string> UsbDeviceInterface::EnumerateDevicePaths(size_t maxPaths)
{
    const std::string folder = DeviceFolder();
    std::vector<std::string> names;
    if (DIR* listing = ::opendir(folder.c_str()))
    {
        while (const dirent* entry = ::readdir(listing))
        {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "/" + name;
            if (IsFifo(path + "/PIPE00") && IsFifo(path + "/PIPE01"))
                names.push_back(name);
        }
        ::closedir(listing);
    }
    std::sort(names.begin(), names.end());
    if (names.size() > maxPaths)
        names.resize(maxPaths);

    std::vector<std::string> paths;
    for (const auto& name : names)
        paths.push_back(folder + "/" + name);
    return paths;
}
