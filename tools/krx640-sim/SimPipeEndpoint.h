#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/** The simulated unit's end of its two device pipes, the contract shared with the editor's USB
    transport on this platform:

    - The device folder is the one the editor looks in (UsbDeviceInterface::DeviceFolder, the only
      place that decides it). Each attached unit is a sub-folder ("unit0", ...) holding two FIFOs,
      created by the unit's side: PIPE00 carries frames from the editor to the unit, PIPE01 from the
      unit to the editor. Frames travel whole, one write each (below the pipe's atomic size).
    - The unit holds PIPE00 open for reading all the time, so the editor's non-blocking open of it
      for writing succeeds exactly while a unit is there (ENXIO otherwise). When the editor closes
      PIPE00 the unit reopens its end and waits for the next editor.
    - The unit opens PIPE01 for writing (non-blocking) as soon as the editor has opened it for
      reading, and closes it when the editor goes (broken pipe, or PIPE00 closed), then waits for it
      to come back. Bytes left unread in PIPE01 are dropped at both moments, so an editor reads
      only what was written for it.
    - The unit removes both FIFOs and its sub-folder when it ends. FIFOs left by a unit that was
      killed are reused by the next start, unless another live unit still reads them.

    SIGPIPE must be ignored by the process (the program does so at start). Single-threaded. */
class SimPipeEndpoint final
{
public:
    SimPipeEndpoint(std::string deviceFolder, std::string unitName);
    ~SimPipeEndpoint();
    SimPipeEndpoint(const SimPipeEndpoint&) = delete;
    SimPipeEndpoint& operator=(const SimPipeEndpoint&) = delete;

    /** Creates the folders and FIFOs and opens PIPE00 for reading; false with a reason. */
    bool Create(std::string& error);
    /** Closes both ends and removes the FIFOs and the unit's folder. What the editor has not read yet
        stays readable by it (the bootloader's last answer before a restart). */
    void Remove();

    const std::string& UnitFolder() const { return unitFolder; }

    struct Activity
    {
        bool incoming = false;    ///< PIPE00 has bytes, or its writer has gone
        bool writable = false;    ///< PIPE01 has room for a frame
        bool editorLeft = false;  ///< the reader of PIPE01 went away; PIPE01 is now closed
        bool interrupted = false; ///< a signal arrived
    };
    /** Waits at most timeoutMs for any of the events, watching PIPE01 for room when wantWrite. */
    Activity Wait(bool wantWrite, int timeoutMs);

    /** Up to capacity bytes from PIPE00: the count, 0 when none, -1 when the editor closed its end
        (the unit's end is reopened for the next editor). */
    long ReadIncoming(uint8_t* buffer, size_t capacity);

    /** Opens PIPE01 once the editor reads it; true when it is open. Bytes left unread in the pipe
        by an earlier session are dropped first, so the editor that opened it gets only its own. */
    bool OpenOutgoing();
    bool IsOutgoingOpen() const { return outgoing >= 0; }

    enum class WriteResult
    {
        written,
        full,       ///< the editor is not reading; try again later
        editorLeft, ///< PIPE01 lost its reader and is now closed
    };
    /** Writes one whole frame (at most the pipe's atomic size) to PIPE01. */
    WriteResult WriteOutgoing(const uint8_t* bytes, size_t count);
    /** Closes PIPE01 at the end of an editor's session and drops the bytes the editor did not read,
        so that the next editor's session starts clean. */
    void EndSession();

private:
    void CloseOutgoing();
    bool PrepareFifo(const std::string& path, std::string& error);
    bool OpenIncoming();
    /** Reads PIPE01 empty through an end of its own, which is closed again. */
    void DropUnreadOutgoing();

    std::string deviceFolder;
    std::string unitFolder;
    std::string incomingPath; // PIPE00
    std::string outgoingPath; // PIPE01
    int incoming = -1;
    int outgoing = -1;
    bool created = false;
};
