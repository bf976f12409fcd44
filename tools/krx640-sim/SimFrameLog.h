#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

/** The simulated unit's record of what it received. With a log file, every frame received is one
    line: milliseconds since start, then the frame's bytes in hex ("1234 BB 00 AA FF 0C ...").
    Dropped bytes and notes go to the file as "<ms> dropped (<reason>): <hex>" and "<ms> <note>",
    and also to standard error, where they are shortened. Lines are flushed at once so that a test
    or a person can follow the file live. Single-threaded. */
class SimFrameLog final
{
public:
    SimFrameLog();
    ~SimFrameLog();
    SimFrameLog(const SimFrameLog&) = delete;
    SimFrameLog& operator=(const SimFrameLog&) = delete;

    /** Opens (truncates) the log file; false with a reason. */
    bool Open(const std::string& path, std::string& error);

    void Received(const std::vector<uint8_t>& frameBytes);
    void Dropped(const std::string& reason, const std::vector<uint8_t>& bytes);
    void Note(const std::string& text);

private:
    std::string Stamp() const;
    static std::string Hex(const std::vector<uint8_t>& bytes, size_t limit);
    void WriteLine(const std::string& line);

    std::FILE* file = nullptr;
    uint32_t startTick;
};
