#pragma once

#include "platform/PlatformPipe.h"

#include <cstdint>
#include <string>
#include <vector>

/** The unit's side of the device pipes, for tests of the link: creates the unit folder with its
    FIFOs under a device folder, holds PIPE00 open for reading (so that the editor can open it) and
    opens PIPE01 for writing once the editor reads it. Used by the test's own thread. */
class UsbUnitPeer final
{
public:
    /** Creates deviceFolder/name with PIPE00 and PIPE01; holds PIPE00 open unless listening is
        false. */
    UsbUnitPeer(const std::string& deviceFolder, const std::string& name, bool listening = true);

    const std::string& Path() const { return path; }
    /** Opens PIPE00 for reading (lets the editor open the unit). */
    void Listen();
    /** Opens PIPE01 for writing, waiting up to timeoutMs for the editor's reader; whether it did. */
    bool ConnectOutgoing(int timeoutMs = 5000);
    /** Writes the bytes to the editor with one write; whether all went. */
    bool Send(const std::vector<uint8_t>& bytes);
    /** Reads from PIPE00 until count bytes came or timeoutMs passed; the bytes that came. */
    std::vector<uint8_t> Receive(size_t count, int timeoutMs = 5000);
    /** The unit leaves: closes its end of PIPE01 (the editor reads end of file). */
    void CloseOutgoing() { toEditor.Close(); }
    /** Closes its end of PIPE00 (the editor's writes meet a broken pipe). */
    void CloseIncoming() { fromEditor.Close(); }

private:
    std::string path;
    PlatformPipe fromEditor; // PIPE00
    PlatformPipe toEditor;   // PIPE01
};
