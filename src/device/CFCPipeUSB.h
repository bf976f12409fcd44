#pragma once

#include "core/XString.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class PlatformPipe;

/** One pair of the unit's pipes: PIPE00 written to the unit and PIPE01 read from it, opened under
    one device path. Operations return the link's pipe codes: 0, kPipeNotOpen, kBadArguments or
    kSystemFailure.

    Reads, writes, Open and Close belong to one thread (the link's pump thread); IsOpen and
    CancelReads may be called from any thread. Read takes what has arrived without waiting and
    reports "nothing came" as 0 bytes; the pump waits for input with WaitForInput, inside its turn.
    ReadOverlapped waits for its exact count until the bytes came, a read fails, CancelReads is
    called or no byte came for kExactReadTimeoutMs. */
class CFCPipeUSB
{
public:
    static constexpr int kPipeNotOpen = -32768;
    static constexpr int kBadArguments = -32640;
    static constexpr int kSystemFailure = -32752;
    /** Device paths the enumeration holds at most. */
    static constexpr int kMaxDevicePaths = 128;
    /** Wait after both pipes opened, for the unit to settle. */
    static constexpr uint32_t kOpenSettleMs = 1000;
    /** Wait after the pipes closed. */
    static constexpr uint32_t kCloseSettleMs = 100;
    /** How long ReadOverlapped waits without any byte coming before it fails, so that a silent
        unit cannot hold the pump thread. */
    static constexpr uint32_t kExactReadTimeoutMs = 30000;

    CFCPipeUSB();
    /** Closes. */
    virtual ~CFCPipeUSB();
    CFCPipeUSB(const CFCPipeUSB&) = delete;
    CFCPipeUSB& operator=(const CFCPipeUSB&) = delete;

    /** Opens devicePath + "\PIPE00" for writing and devicePath + "\PIPE01" for reading, then waits
        kOpenSettleMs. 0, or the system's error code (low 16 bits) with both pipes closed. */
    int Open(const char* devicePath);
    /** Closes both pipes, waits kCloseSettleMs; 0. */
    int Close();
    /** Both pipes open. */
    bool IsOpen() const { return bothOpen.load(); }

    /** Reads exactly n bytes: 0 once they all came, kSystemFailure as soon as a read fails (or
        CancelReads was called, or kExactReadTimeoutMs passed without a byte), kPipeNotOpen,
        kBadArguments for a null buffer or n <= 0. */
    virtual int ReadOverlapped(void* buffer, int n);
    /** Up to n bytes of those that have arrived, without waiting: the count (0 when none are
        there, the pipe is closed or the arguments are null/0), -1 when the read fails. */
    virtual int Read(void* buffer, unsigned n);
    /** Waits at most microseconds of real time until PIPE01 has bytes or the unit's side has gone;
        whether either happened. False at once while closed. */
    bool WaitForInput(uint32_t microseconds);
    /** Writes the n bytes with one write; written (may be null) gets the count. 0, kPipeNotOpen,
        kBadArguments for a null buffer, kSystemFailure when the write fails. */
    virtual int Write(const void* buffer, int n, unsigned* written);
    /** The last byte PollByte took; 0 after Open and Close. */
    virtual uint16_t Status();
    /** Takes one byte into the status when one is there, without waiting. */
    virtual void PollByte();

    /** Makes a ReadOverlapped that waits (now or later, until the next Open) fail; any thread. */
    void CancelReads() { readsCancelled.store(true); }
    /** Undoes CancelReads (Open does so too); any thread. */
    void ResumeReads() { readsCancelled.store(false); }
    /** True once the unit's side has gone: end of file on PIPE01 or a broken PIPE00. Consumes no
        bytes; false while closed. */
    bool IsPeerGone();

    /** Device paths of the units present, in the system's order, at most kMaxDevicePaths. */
    static std::vector<XString> EnumerateDevices();

private:
    std::unique_ptr<PlatformPipe> readPipe;  // PIPE01
    std::unique_ptr<PlatformPipe> writePipe; // PIPE00
    std::atomic<bool> bothOpen{false};
    std::atomic<bool> readsCancelled{false};
    uint16_t status = 0;
};
