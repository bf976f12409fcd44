#include "UsbUnitPeer.h"

#include "support/TestSupport.h"

#include <algorithm>
#include <sys/stat.h>

namespace
{
constexpr int kPeerReadWaitMs = 5;
}

UsbUnitPeer::UsbUnitPeer(const std::string& deviceFolder, const std::string& name, bool listening)
    : path(deviceFolder + "/" + name)
{
    ::mkdir(path.c_str(), 0700);
    ::mkfifo((path + "/PIPE00").c_str(), 0600);
    ::mkfifo((path + "/PIPE01").c_str(), 0600);
    if (listening)
        Listen();
}

void UsbUnitPeer::Listen()
{
    fromEditor.Open(path + "/PIPE00", PlatformPipe::Direction::read);
}

bool UsbUnitPeer::ConnectOutgoing(int timeoutMs)
{
    return TestSupport::WaitUntil(
        [this] { return toEditor.Open(path + "/PIPE01", PlatformPipe::Direction::write) == 0; }, timeoutMs);
}

bool UsbUnitPeer::Send(const std::vector<uint8_t>& bytes)
{
    return toEditor.Write(bytes.data(), bytes.size()) == static_cast<int>(bytes.size());
}

std::vector<uint8_t> UsbUnitPeer::Receive(size_t count, int timeoutMs)
{
    std::vector<uint8_t> received;
    TestSupport::WaitUntil(
        [&]
        {
            uint8_t buffer[512];
            const size_t wanted = std::min(sizeof buffer, count - received.size());
            const int got = fromEditor.Read(buffer, wanted, kPeerReadWaitMs);
            if (got > 0)
                received.insert(received.end(), buffer, buffer + got);
            return received.size() >= count;
        },
        timeoutMs);
    return received;
}
