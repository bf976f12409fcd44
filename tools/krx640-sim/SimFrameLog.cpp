#include "SimFrameLog.h"

#include "platform/PlatformClock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{
constexpr size_t kStandardErrorHexLimit = 48; // bytes shown of a dropped run on standard error
} // namespace

SimFrameLog::SimFrameLog() : startTick(PlatformClock::GetTickCount()) {}

SimFrameLog::~SimFrameLog()
{
    if (file != nullptr)
        std::fclose(file);
}

bool SimFrameLog::Open(const std::string& path, std::string& error)
{
    file = std::fopen(path.c_str(), "w");
    if (file == nullptr)
        error = "cannot open the log " + path + ": " + std::strerror(errno);
    return file != nullptr;
}

std::string SimFrameLog::Stamp() const
{
    return std::to_string(PlatformClock::TicksSince(startTick, PlatformClock::GetTickCount()));
}

std::string SimFrameLog::Hex(const std::vector<uint8_t>& bytes, size_t limit)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(3 * std::min(bytes.size(), limit) + 4);
    for (size_t i = 0; i < bytes.size() && i < limit; ++i)
    {
        if (i > 0)
            text.push_back(' ');
        text.push_back(kDigits[bytes[i] >> 4]);
        text.push_back(kDigits[bytes[i] & 0xF]);
    }
    if (bytes.size() > limit)
        text += " ...";
    return text;
}

void SimFrameLog::WriteLine(const std::string& line)
{
    if (file == nullptr)
        return;
    std::fputs(line.c_str(), file);
    std::fputc('\n', file);
    std::fflush(file);
}

void SimFrameLog::Received(const std::vector<uint8_t>& frameBytes)
{
    if (file == nullptr)
        return;
    WriteLine(Stamp() + " received " + Hex(frameBytes, frameBytes.size()));
}

void SimFrameLog::Sent(const std::vector<uint8_t>& bytes)
{
    if (file == nullptr)
        return;
    WriteLine(Stamp() + " sent " + Hex(bytes, bytes.size()));
}

void SimFrameLog::Dropped(const std::string& reason, const std::vector<uint8_t>& bytes)
{
    Report("dropped", reason, bytes);
}

void SimFrameLog::Refused(const std::string& reason, const std::vector<uint8_t>& frameBytes)
{
    Report("refused", reason, frameBytes);
}

void SimFrameLog::Report(const std::string& what, const std::string& reason,
                         const std::vector<uint8_t>& bytes)
{
    const std::string stamp = Stamp();
    WriteLine(stamp + " " + what + " (" + reason + "): " + Hex(bytes, bytes.size()));
    std::fprintf(stderr, "krx640-sim: %s %s %zu bytes (%s): %s\n", stamp.c_str(), what.c_str(), bytes.size(),
                 reason.c_str(), Hex(bytes, kStandardErrorHexLimit).c_str());
}

void SimFrameLog::Note(const std::string& text)
{
    const std::string stamp = Stamp();
    WriteLine(stamp + " " + text);
    std::fprintf(stderr, "krx640-sim: %s %s\n", stamp.c_str(), text.c_str());
}
