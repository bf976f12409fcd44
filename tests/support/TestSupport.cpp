#include "support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <juce_core/juce_core.h>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <iterator>
#include <thread>
#include <utility>
#include <unistd.h>

namespace TestSupport
{
TempFolder::TempFolder()
{
    // A random name: test processes run in parallel and must never share a folder.
    const auto base = juce::File::getSpecialLocation(juce::File::tempDirectory);
    juce::File folder;
    do
        folder = base.getChildFile("krx640-test-" + juce::String::toHexString(juce::Random().nextInt64()));
    while (folder.exists());
    folder.createDirectory();
    path = folder.getFullPathName().toStdString();
}

TempFolder::~TempFolder()
{
    juce::File(path).deleteRecursively();
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void RunWithin(const std::function<void()>& work, int timeoutMs)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread worker(
        [work, done]
        {
            work();
            done->store(true);
        });
    if (!WaitUntil([&done] { return done->load(); }, timeoutMs))
    {
        std::fprintf(stderr, "FAILED: the work did not end within %d ms (a hang); the test program stops\n",
                     timeoutMs);
        std::fflush(stderr);
        std::_Exit(1);
    }
    worker.join();
}

std::string BinaryPath(const std::string& programName)
{
    return std::string(KRX_BIN_DIR) + "/" + programName;
}

std::string FolderOnAnotherVolume(const std::string& path)
{
    struct stat here
    {
    };
    if (::stat(path.c_str(), &here) != 0)
        return std::string();
    for (const char* candidate : {"/dev/shm", "/run/shm", "/var/tmp", "/home"})
    {
        struct stat there
        {
        };
        if (::stat(candidate, &there) == 0 && S_ISDIR(there.st_mode) && there.st_dev != here.st_dev &&
            ::access(candidate, W_OK) == 0)
            return candidate;
    }
    return std::string();
}

std::map<std::string, std::string> TreeSnapshot(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> tree;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    {
        const std::string relative = it->path().lexically_relative(folder).string();
        const fs::file_status status = it->symlink_status(error);
        if (fs::is_symlink(status))
            tree[relative] = "link:" + fs::read_symlink(it->path(), error).string();
        else if (fs::is_directory(status))
            tree[relative] = "folder";
        else
        {
            std::ifstream stream(it->path(), std::ios::binary);
            std::stringstream bytes;
            bytes << stream.rdbuf();
            tree[relative] = "file:" + bytes.str();
        }
    }
    return tree;
}
std::string RenamedFontBytes(const std::string& family)
{
    static const std::string installed = "DejaVu Sans";
    if (family.size() != installed.size())
        return {};
    std::ifstream in("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The name table holds the family in one-byte (Macintosh) and UTF-16BE (Windows) records; the
    // font loader does not check the table's checksum.
    const auto utf16 = [](const std::string& text)
    {
        std::string wide;
        for (char c : text)
            wide += std::string(1, '\0') + c;
        return wide;
    };
    for (const auto& [from, to] : {std::pair(installed, family), std::pair(utf16(installed), utf16(family))})
        for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + to.size()))
            bytes.replace(at, from.size(), to);
    return bytes;
}
} // namespace TestSupport
