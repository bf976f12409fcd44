#pragma once

#include <cstdint>
#include <memory>

class XMemory;

/** Cuts the byte stream read from the unit's pipe into whole frames. The pipe keeps no write
    boundaries: one read may hold several frames, part of one, or bytes that belong to none. Frames
    delimit themselves (12 header bytes plus the payload length in byte 11); bytes before a frame
    magic are skipped, so the stream resynchronises on the next magic.

    The transport feeds every read into the splitter and puts each popped frame on the receive
    port, so that each chunk there is exactly one frame. Raw bootloader bytes (flash mode) bypass
    it; Reset drops a partial frame when the pipes are reopened or flash mode ends.

    Used by one thread (the pump); not locked. */
class FrameSplitter final
{
public:
    FrameSplitter();
    ~FrameSplitter();
    FrameSplitter(const FrameSplitter&) = delete;
    FrameSplitter& operator=(const FrameSplitter&) = delete;

    /** Appends count received bytes. Pop every frame after each feed: bytes wait only as long as
        the frame they belong to is incomplete. */
    void Feed(const void* bytes, int count);
    /** Moves the next whole frame into frame (replacing its contents); false when none is complete
        yet. */
    bool PopFrame(XMemory& frame);
    /** Forgets every byte waiting. */
    void Reset();

    /** Bytes waiting for the rest of their frame. */
    int GetBufferedBytes() const;
    /** Bytes skipped because they belonged to no frame, since construction. */
    int64_t GetSkippedBytes() const { return skippedBytes; }

private:
    /** Moves the waiting bytes to the front of the buffer. */
    void Compact();
    void Skip(int count);

    std::unique_ptr<XMemory> pending;
    int start = 0; // offset of the first waiting byte in pending
    int64_t skippedBytes = 0;
};
