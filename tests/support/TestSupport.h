#pragma once

#include <functional>
#include <map>
#include <string>

/** Helpers shared by every test program. */
namespace TestSupport
{
/** A fresh, empty folder under the system's temporary folder, removed with everything in it when
    the object goes. */
class TempFolder final
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path; }
    /** Path of a name inside the folder. */
    std::string Child(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

/** Polls condition every few milliseconds until it holds or timeoutMs of real time pass; returns
    whether it held. For headless tests; GUI tests pump the message loop instead. */
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs);

/** Runs work on a thread of its own and waits up to timeoutMs of real time for it to return. When
    it does not (a hang), the failure is printed and the test program ends at once with exit code 1:
    a thread that never returns cannot be stopped, and it still uses the test's objects. */
void RunWithin(const std::function<void()>& work, int timeoutMs);

/** Path of a program built into build/bin. */
std::string BinaryPath(const std::string& programName);

/** A writable folder of this machine on another volume than path (such as /dev/shm), for moves
    across volumes; "" when there is none. */
std::string FolderOnAnotherVolume(const std::string& path);

/** What a folder holds, by path relative to it: "file:" and the bytes of a file, "folder", or
    "link:" and the text of a symbolic link (never followed). Empty for a missing folder. */
std::map<std::string, std::string> TreeSnapshot(const std::string& folder);

/** The bytes of an installed font (DejaVu Sans) with its family renamed to family, which must be
    as long as "DejaVu Sans" (11 characters): a font of a family no font folder holds, for tests
    that load font files. Empty when that font is not installed. */
std::string RenamedFontBytes(const std::string& family);
} // namespace TestSupport
