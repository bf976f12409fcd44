// Time from a parameter change to its frame leaving for the unit, with the device watcher on a
// looper of its own sending to the simulated unit, which sends its meter readings and display
// throughout. Two runs:
//  - single edits, spread over the sender's 100 ms period: each is timed until the link has written
//    the frame it caused;
//  - a drag burst on all six output EQs: the frequency and gain of one band of every output change
//    every 16 ms, and each edit is timed until the link has written a frame carrying its value (or
//    a later value of the same parameter, as the sender sends what a parameter holds at its tick).
//    Edits that never reach the pipe are counted; there must be none.
// Prints the median, the 99th percentile and the maximum of each.
//
// usage: bench_DeviceWatcherLatencyBench [single edits] [drag steps]

#include "SimEditorBench.h"
#include "core/XParam.h"
#include "device/ChannelLists.h"
#include "device/ChannelParamTables.h"
#include "device/DeviceCommand.h"
#include "device/TWMsgBuf.h"
#include "device/WireId.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <random>

namespace
{
constexpr const char* kName = "DeviceWatcherLatencyBench";
constexpr int kDefaultEdits = 300;
constexpr int kDefaultDragSteps = 150;
/** The longest pause between single edits: spreads them over the sender's 100 ms period. */
constexpr int kMaxPauseMs = 100;
/** Pause between the steps of a drag, as mouse moves come. */
constexpr int kDragStepMs = 16;
/** An edit that has not left after this long never will. */
constexpr uint64_t kGiveUpUs = 10000000;

/** A command 5 frame handed to the link. */
struct QueuedValue
{
    int wireId;
    float value;
    int32_t queueIndex; // the link's queued total once it was queued
};

/** The USB connection, noting every value frame it queues with its place in the link's queue. */
class NotingConnection final : public TWRPCUSBConnection
{
public:
    explicit NotingConnection(UsbLinkManager& link) : TWRPCUSBConnection(link), usbLink(link) {}
    ~NotingConnection() override { Stop(); }

    int32_t Send(TWMsgBuf& frame, TWMsgBuf* reply) override
    {
        const int32_t result = TWRPCUSBConnection::Send(frame, reply);
        const uint8_t* bytes = frame.GetBytes();
        constexpr int kValueFrameSize = TWMsgBuf::kHeaderSize + 8;
        if (result == 0 && frame.GetByteCount() == kValueFrameSize && bytes[10] == kCmdSetParamValue)
        {
            float value = 0.0F;
            int32_t integer = 0;
            std::memcpy(&integer, bytes + TWMsgBuf::kHeaderSize + 3, sizeof integer);
            if (bytes[TWMsgBuf::kHeaderSize + 2] == 1)
                std::memcpy(&value, &integer, sizeof value);
            else
                value = static_cast<float>(integer);
            std::lock_guard<std::mutex> hold(lock);
            queued.push_back({bytes[TWMsgBuf::kHeaderSize] | bytes[TWMsgBuf::kHeaderSize + 1] << 8, value,
                              usbLink.GetQueuedTotal()});
        }
        return result;
    }

    std::vector<QueuedValue> Queued()
    {
        std::lock_guard<std::mutex> hold(lock);
        return queued;
    }

private:
    UsbLinkManager& usbLink;
    std::mutex lock; // guards queued
    std::vector<QueuedValue> queued;
};

using Editor = SimEditorBench::Editor<NotingConnection>;

/** Watches the link on a thread of its own and notes when each frame of its queue was taken for
    writing: the link writes in queue order, so the frames written are the queued total less
    those pending. */
class WriteClock final
{
public:
    explicit WriteClock(UsbLinkManager& link) : thread([this, &link] { Watch(link); }) {}
    ~WriteClock()
    {
        stop.store(true);
        thread.join();
    }

    /** When frame queueIndex (from 1) was taken for writing; 0 while it was not. */
    uint64_t WrittenAt(int32_t queueIndex)
    {
        std::lock_guard<std::mutex> hold(lock);
        return queueIndex >= 1 && static_cast<size_t>(queueIndex) < writtenAt.size() ? writtenAt[queueIndex]
                                                                                     : 0;
    }

private:
    void Watch(UsbLinkManager& link)
    {
        while (!stop.load())
        {
            const int32_t written = link.GetQueuedTotal() - link.GetPendingFrames();
            const uint64_t now = PlatformClock::GetRealMicroseconds();
            {
                std::lock_guard<std::mutex> hold(lock);
                while (static_cast<int32_t>(writtenAt.size()) <= written)
                    writtenAt.push_back(now);
            }
            std::this_thread::yield();
        }
    }

    std::atomic<bool> stop{false};
    std::mutex lock;                    // guards writtenAt
    std::vector<uint64_t> writtenAt{0}; // index 0: nothing written yet
    std::thread thread;
};

void PrintFigures(const char* run, std::vector<double> latenciesMs, size_t neverReached)
{
    std::sort(latenciesMs.begin(), latenciesMs.end());
    std::printf("%s: %s: %zu edits, change to frame written (ms): median %.1f, 99th percentile %.1f, "
                "max %.1f; never reached the pipe: %zu\n",
                kName, run, latenciesMs.size() + neverReached, SimEditorBench::Percentile(latenciesMs, 0.5),
                SimEditorBench::Percentile(latenciesMs, 0.99), latenciesMs.empty() ? 0.0 : latenciesMs.back(),
                neverReached);
}

/** One edit at a time, each waited for. False when an edit never left. */
bool RunSingleEdits(Editor& editor, WriteClock& clock, int edits)
{
    std::mt19937 random(640);
    std::uniform_int_distribution<int> pause(0, kMaxPauseMs);
    std::vector<double> latenciesMs;
    for (int edit = 0; edit < edits; ++edit)
    {
        XParam* delay =
            GetOutputChannel(edit % WireIdSpace::kOutputCount)->GetParam(ChannelParamTables::kOutputDelayId);
        const int32_t queuedBefore = editor.link.GetQueuedTotal();
        const uint64_t start = PlatformClock::GetRealMicroseconds();
        delay->ChangeValue((edit / WireIdSpace::kOutputCount) % 2 == 0 ? 1.5 : 2.5, true);
        uint64_t written = 0;
        while (written == 0 && PlatformClock::GetRealMicroseconds() - start < kGiveUpUs)
        {
            if (editor.link.GetQueuedTotal() > queuedBefore)
                written = clock.WrittenAt(queuedBefore + 1);
            std::this_thread::yield();
        }
        if (written == 0)
            return false;
        latenciesMs.push_back(static_cast<double>(written - start) / 1000.0);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
    }
    PrintFigures("single edits", latenciesMs, 0);
    return true;
}

/** The drag burst: steps edits of the frequency and gain of one band of every output. */
void RunDragBurst(Editor& editor, WriteClock& clock, int steps)
{
    struct Edit
    {
        uint64_t at;
        float value;
    };
    std::map<int, std::vector<Edit>> edits; // by wire id
    const size_t queuedBefore = editor.connection.Queued().size();
    for (int step = 0; step < steps; ++step)
    {
        const double phase = 2.0 * 3.14159265358979 * step / 60.0;
        for (int output = 0; output < WireIdSpace::kOutputCount; ++output)
        {
            XParamGroup* group = GetOutputChannel(output);
            const int base = WireIdSpace::kOutputBase + WireIdSpace::kOutputStride * output;
            for (const auto& [id, value] :
                 {std::pair<int32_t, double>{ChannelParamTables::kOutputBand3FreqId,
                                             1000.0 * std::pow(2.0, std::sin(phase))},
                  std::pair<int32_t, double>{ChannelParamTables::kOutputBand3GainId,
                                             std::round(24.0 * std::cos(phase)) / 2.0}})
            {
                XParam* param = group->GetParam(id);
                param->ChangeValue(value, true);
                edits[base + id].push_back(
                    {PlatformClock::GetRealMicroseconds(), static_cast<float>(param->GetValue())});
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kDragStepMs));
    }
    // Everything the burst caused has left once the sender has had a few quiet ticks.
    std::this_thread::sleep_for(std::chrono::milliseconds(5 * DeviceCommWatcher::kSendPeriodMs));
    SimEditorBench::WaitUntil([&] { return editor.link.GetPendingFrames() == 0; }, SimEditorBench::kWaitMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    // A frame carries what its parameter held at the tick: it reaches the latest edit of that value
    // made before it was queued, and every edit of the parameter before that one.
    std::map<int, size_t> firstUnreached;
    std::vector<double> latenciesMs;
    const std::vector<QueuedValue> queued = editor.connection.Queued();
    for (size_t index = queuedBefore; index < queued.size(); ++index)
    {
        const QueuedValue& frame = queued[index];
        const auto found = edits.find(frame.wireId);
        const uint64_t written = clock.WrittenAt(frame.queueIndex);
        if (found == edits.end() || written == 0)
            continue;
        const std::vector<Edit>& ofParam = found->second;
        size_t& next = firstUnreached[frame.wireId];
        size_t reached = ofParam.size();
        for (size_t k = ofParam.size(); k-- > next;)
            if (ofParam[k].at <= written && ofParam[k].value == frame.value)
            {
                reached = k;
                break;
            }
        if (reached == ofParam.size())
            continue;
        for (; next <= reached; ++next)
            latenciesMs.push_back(static_cast<double>(written - ofParam[next].at) / 1000.0);
    }
    size_t neverReached = 0;
    for (const auto& [wireId, ofParam] : edits)
        neverReached += ofParam.size() - firstUnreached[wireId];
    PrintFigures("drag burst on six output EQs", latenciesMs, neverReached);
}
} // namespace

int main(int argc, char** argv)
{
    const int edits = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultEdits;
    const int steps = argc > 2 ? std::max(1, std::atoi(argv[2])) : kDefaultDragSteps;
    SimEditorBench::Unit unit;
    if (!unit.Start({"--meters"}))
        return SimEditorBench::Fail(kName, "cannot start krx640-sim beside the benchmark");
    Editor editor;
    if (!editor.Connect())
        return SimEditorBench::Fail(kName, "the simulated unit did not answer");
    WriteClock clock(editor.link);
    if (!RunSingleEdits(editor, clock, edits))
        return SimEditorBench::Fail(kName, "an edit never left");
    RunDragBurst(editor, clock, steps);
    return 0;
}
