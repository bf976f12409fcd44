#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

/** The simulated unit's record of what it exchanged with the editor. With a log file, every frame
    received and everything written to the editor is one line: milliseconds since start, the
    direction ("received" or "sent"), then the bytes in hex ("1234 received BB 00 AA FF 0C ...").
    Dropped bytes, refused frames and notes go to the file as "<ms> dropped (<reason>): <hex>",
    "<ms> refused (<reason>): <hex>" and "<ms> <note>", and also to standard error, where they are
    shortened. Lines are flushed at once so that a test or a person can follow the file live.
    Single-threaded. */
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
    void Sent(const std::vector<uint8_t>& bytes);
    void Dropped(const std::string& reason, const std::vector<uint8_t>& bytes);
    void Refused(const std::string& reason, const std::vector<uint8_t>& frameBytes);
    void Note(const std::string& text);

private:
    std::string Stamp() const;
    static std::string Hex(const std::vector<uint8_t>& bytes, size_t limit);
    void WriteLine(const std::string& line);
    /** A line to the file and, shortened, to standard error. */
    void Report(const std::string& what, const std::string& reason, const std::vector<uint8_t>& bytes);

    std::FILE* file = nullptr;
    uint32_t startTick;
};
