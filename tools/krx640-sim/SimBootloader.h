#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

/** A fault the bootloader injects at one of its answers: "--fail-at STEP:N:KIND" makes the Nth
    answer of that step (counted from the program's start) go wrong. */
struct SimFlashFault
{
    enum class Step
    {
        command, ///< the answer to a command byte
        header,  ///< the answer to a page or sector header
        data,    ///< the answer to page data
        verify,  ///< the page bytes sent back for a verify command (nak and fff leave them out)
        status,  ///< an erase's status answer
    };
    enum class Kind
    {
        nak,    ///< "NAK" instead of "ACK"
        fff,    ///< "FFF" instead of "ACK"
        wrong,  ///< "XYZ" (read past where the editor reads past), or a changed first verify byte
        silent, ///< nothing is answered
        vanish, ///< the unit removes its pipes and ends
    };

    Step step = Step::command;
    int occurrence = 1;
    Kind kind = Kind::nak;

    /** Parses "STEP:N:KIND"; false with a reason. */
    static bool Parse(const std::string& text, SimFlashFault& fault, std::string& error);
};

/** The simulated unit's bootloader: the one-byte command protocol answered with "ACK", "NAK" or
    "FFF", over a flash model of its own. Controller flash: 512 pages of 128 bytes, writable from page
    54 on (a page write replaces the page). Serial flash: 16 sectors of 256 pages of 256 bytes, erased
    to 0xFF; a page write clears bits only, as real flash does, so an image written without an erase
    shows in a verify. A serial-flash page write takes its length from the single read that follows
    the header's answer (a partial page leaves the rest of the page as it was).

    The bytes of one read from the editor go to Receive, which appends what the unit answers. Any
    answer other than "ACK" puts the bootloader back to waiting for a command byte. Single-threaded. */
class SimBootloader final
{
public:
    static constexpr int kControllerPageSize = 128;
    static constexpr int kControllerPageCount = 512;
    static constexpr int kFirstWritableControllerPage = 54;
    static constexpr int kFlashPageSize = 256;
    static constexpr int kPagesPerSector = 256;
    static constexpr int kSectorCount = 16;
    static constexpr int kFirstUserPresetSector = 5;
    static constexpr int kLastUserPresetSector = 10;
    static constexpr uint8_t kErased = 0xFF;

    /** What a read's bytes made the unit do besides answering. */
    struct Outcome
    {
        bool leave = false;             ///< command 10 was acknowledged: start the application
        bool vanish = false;            ///< a fault asks the unit to go away
        bool userPresetsErased = false; ///< a sector holding the user presets was erased
        std::vector<std::string> notes;
    };

    explicit SimBootloader(std::vector<SimFlashFault> faults = {});

    /** Starts a session: forgets unfinished input and which pages were written. */
    void BeginSession();
    /** Forgets unfinished input (the editor closed its pipe); the session goes on. */
    void ResetInput();
    /** Handles one read's bytes, appending the answer bytes to answer. */
    void Receive(const uint8_t* bytes, size_t count, std::vector<uint8_t>& answer, Outcome& outcome);
    /** True when this session wrote the controller program and read back every page it wrote. */
    bool IsControllerUpdateVerified() const { return controllerWritten && unverifiedPages.empty(); }

    const std::vector<uint8_t>& ControllerFlash() const { return controller; }
    const std::vector<uint8_t>& SerialFlash() const { return serial; }
    /** Writes the controller flash, then the serial flash, to path; false with a reason. */
    bool SaveFlash(const std::string& path, std::string& error) const;

private:
    enum class Expect
    {
        command,
        controllerHeader,
        controllerData,
        controllerVerifyHeader,
        flashHeader,
        flashData,
        flashVerifyHeader,
        sector,
    };

    /** Bytes the awaited block needs; 0 for the flash data, which is the whole read. */
    size_t ExpectedSize() const;
    void HandleBlock(const uint8_t* block, size_t size, std::vector<uint8_t>& answer, Outcome& outcome);
    void HandleCommand(uint8_t command, std::vector<uint8_t>& answer, Outcome& outcome);
    /** HandleBlock's steps of the controller's pages, the serial flash's pages and a sector erase; each
        answers the block the state before it expected (was). */
    void HandleControllerBlock(Expect was, const uint8_t* block, size_t size, std::vector<uint8_t>& answer,
                               Outcome& outcome);
    void HandleFlashBlock(Expect was, const uint8_t* block, size_t size, std::vector<uint8_t>& answer,
                          Outcome& outcome);
    void HandleEraseBlock(const uint8_t* block, std::vector<uint8_t>& answer, Outcome& outcome);
    /** Sends text as the answer of step unless a fault replaces it; whether "ACK" went out unchanged
        (or was only preceded by a read-past answer). */
    bool Answer(SimFlashFault::Step step, const char* text, std::vector<uint8_t>& answer, Outcome& outcome);
    /** The fault planned for the next answer of step, if any (counts the answer). */
    const SimFlashFault* NextFault(SimFlashFault::Step step);
    void SendPage(const uint8_t* page, size_t size, std::vector<uint8_t>& answer, Outcome& outcome);
    void EraseSectors(int first, int last, Outcome& outcome);

    std::vector<SimFlashFault> faults;
    int answersOfStep[5] = {};
    std::vector<uint8_t> controller;
    std::vector<uint8_t> serial;
    std::vector<uint8_t> pending; // bytes of an unfinished block
    Expect expect = Expect::command;
    uint8_t command = 0;
    int32_t headerFirst = 0;  // the page (controller) or the sector
    int32_t headerSecond = 0; // the page (serial flash)
    bool controllerWritten = false;
    std::set<int32_t> unverifiedPages;
};
