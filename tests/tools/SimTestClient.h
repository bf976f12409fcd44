#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

/** The editor's side of the simulated unit's pipes, written for the tests alone (it shares no
    code with the unit or the editor): opens DIR/NAME/PIPE00 for writing and PIPE01 for reading,
    builds request frames and splits the unit's byte stream back into frames. */
class SimTestClient final
{
public:
    struct Frame
    {
        uint8_t command = 0;
        std::vector<uint8_t> payload;
    };

    SimTestClient() = default;
    ~SimTestClient();
    SimTestClient(const SimTestClient&) = delete;
    SimTestClient& operator=(const SimTestClient&) = delete;

    /** Waits up to timeoutMs for the unit in unitFolder to read PIPE00, then opens both pipes. */
    bool Connect(const std::string& unitFolder, int timeoutMs);
    void Close();
    /** Closes PIPE00 only: the unit reads end of file while PIPE01 is still open. */
    void CloseToUnit();

    /** A whole frame (header and payload) as the editor builds it. */
    static std::vector<uint8_t> BuildFrame(uint8_t command, const std::vector<uint8_t>& payload = {});

    /** Writes raw bytes, waiting while the pipe is full; false when they could not all be written
        (a unit that has closed its end is a failed write, never SIGPIPE). */
    bool WriteBytes(const std::vector<uint8_t>& bytes);
    bool Send(uint8_t command, const std::vector<uint8_t>& payload = {})
    {
        return WriteBytes(BuildFrame(command, payload));
    }

    /** The next frame from the unit, or nothing after timeoutMs. A stream that does not begin with
        a frame header fails the call (and is recorded in StreamError). */
    std::optional<Frame> Receive(int timeoutMs);
    /** The next frame that satisfies wanted; the frames before it are skipped. */
    std::optional<Frame> ReceiveWhere(const std::function<bool(const Frame&)>& wanted, int timeoutMs);
    /** The next frame of the command. */
    std::optional<Frame> ReceiveCommand(uint8_t command, int timeoutMs);
    /** Reads and forgets the frames the unit has sent so far. */
    void Drain();

    const std::string& StreamError() const { return streamError; }

private:
    std::optional<Frame> TakeBufferedFrame();
    bool ReadMore(int timeoutMs);

    int toUnit = -1;   // PIPE00
    int fromUnit = -1; // PIPE01
    std::vector<uint8_t> received;
    std::string streamError;
};

/** Little-endian payload helpers of the tests. */
namespace SimBytes
{
void PutU16(std::vector<uint8_t>& bytes, uint16_t value);
void PutU32(std::vector<uint8_t>& bytes, uint32_t value);
uint16_t U16(const std::vector<uint8_t>& bytes, size_t at);
uint32_t U32(const std::vector<uint8_t>& bytes, size_t at);
uint32_t FloatBits(float value);
float BitsToFloat(uint32_t bits);
/** A set-value payload: uint16 id, uint8 kind, 4 value bytes, uint8 flags. */
std::vector<uint8_t> ValuePayload(uint16_t wireId, uint8_t kind, uint32_t bits, uint8_t flags);
} // namespace SimBytes
