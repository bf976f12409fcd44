#pragma once

// The simulated unit in a test's own device folder, the frames it logged, and the editor's side
// (link, connection and device watcher) connected to it.

#include "device/DeviceCommWatcher.h"
#include "device/TWMsgBuf.h"
#include "device/TWRPCUSBConnection.h"
#include "device/UsbLinkManager.h"
#include "support/FrameBytes.h"
#include "support/UsbDeviceFolderTest.h"
#include "support/WatcherTestRig.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <juce_core/juce_core.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

/** A device folder of the test's own with the simulated unit serving "unit0" in it. The unit
    writes every frame it receives to LogPath(); TearDown stops it (a derived TearDown that ends
    the editor's side first calls this one last). */
class SimUnitTest : public UsbDeviceFolderTest
{
public:
    static constexpr int kSimWaitMs = 60000;
    static constexpr const char* kUnitName = "unit0";

protected:
    void TearDown() override
    {
        StopUnit();
        UsbDeviceFolderTest::TearDown();
    }

    /** Starts the unit with the options; false when the program could not be started. */
    bool StartUnit(const juce::StringArray& options = {})
    {
        juce::StringArray arguments{juce::String(TestSupport::BinaryPath("krx640-sim")),
                                    "--dir",
                                    juce::String(folder.Path()),
                                    "--name",
                                    kUnitName,
                                    "--log",
                                    juce::String(LogPath())};
        arguments.addArray(options);
        return unit.start(arguments, 0);
    }

    /** Kills the unit, if it runs, and waits until it has gone. */
    void StopUnit()
    {
        if (unit.isRunning())
            unit.kill();
        unit.waitForProcessToFinish(kSimWaitMs);
    }

    std::string LogPath() const { return folder.Child("frames.log"); }

    /** Every frame the unit received, in order, as its log shows them: each such line is the
        milliseconds since the unit started, "received", then the frame's bytes in hex. The unit may
        be writing a line at this moment: only lines that end in their newline count. */
    std::vector<FrameBytes::Sent> UnitReceived() const
    {
        std::vector<FrameBytes::Sent> frames;
        std::ifstream file(LogPath(), std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        const size_t lastLineEnd = text.rfind('\n');
        text.resize(lastLineEnd == std::string::npos ? 0 : lastLineEnd + 1);
        std::istringstream log(text);
        std::string line;
        while (std::getline(log, line))
        {
            std::istringstream fields(line);
            std::string stamp, direction;
            fields >> stamp >> direction;
            if (direction != "received")
                continue;
            FrameBytes::Bytes bytes;
            std::string hex;
            while (fields >> hex && hex.size() == 2)
                bytes.push_back(static_cast<uint8_t>(std::stoi(hex, nullptr, 16)));
            if (bytes.size() >= TWMsgBuf::kHeaderSize)
                frames.push_back(
                    {bytes[10], FrameBytes::Bytes(bytes.begin() + TWMsgBuf::kHeaderSize, bytes.end())});
        }
        return frames;
    }

    /** The frames of one command the unit received, in order. */
    std::vector<FrameBytes::Sent> UnitReceived(int command) const
    {
        std::vector<FrameBytes::Sent> frames = UnitReceived();
        frames.erase(std::remove_if(frames.begin(), frames.end(),
                                    [command](const FrameBytes::Sent& frame)
                                    { return frame.command != command; }),
                     frames.end());
        return frames;
    }

    juce::ChildProcess unit;
};

/** The editor's side of the link to the simulated unit: link, connection and the device watcher as
    a handler of the test's looper. Built and destroyed on the test's thread; the looper must outlive
    it. */
class SimEditor
{
public:
    /** How long one device-info request waits for its answer before it is sent again. */
    static constexpr int kAnswerWaitMs = 500;

    explicit SimEditor(WatcherRig::RecordingLooper& looper) : connection(link), watcher(&connection)
    {
        looper.AddHandler(&watcher);
    }
    ~SimEditor()
    {
        watcher.DetachFromConnection();
        connection.Stop();
    }
    SimEditor(const SimEditor&) = delete;
    SimEditor& operator=(const SimEditor&) = delete;

    /** Opens the connection and waits until the unit is found. */
    bool Open()
    {
        return connection.Open() == 0 &&
               TestSupport::WaitUntil([&] { return connection.IsConnected(); }, SimUnitTest::kSimWaitMs);
    }

    /** Opens the connection and asks for the device info until it comes. */
    bool Connect()
    {
        if (!Open())
            return false;
        watcher.SetAwaitingDeviceInfo(true);
        return TestSupport::WaitUntil(
            [&]
            {
                watcher.RequestDeviceInfo();
                return TestSupport::WaitUntil([&] { return !watcher.IsAwaitingDeviceInfo(); }, kAnswerWaitMs);
            },
            SimUnitTest::kSimWaitMs);
    }

    /** Asks for every value of the unit and waits until the answer is in (the maps must be built). */
    bool ReceiveAll(WatcherRig::RecordingLooper& looper)
    {
        const int answers = looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived);
        watcher.RequestAllParams();
        return TestSupport::WaitUntil(
            [&] { return looper.CountOf(DeviceCommWatcher::kMsgAllValuesReceived) > answers; },
            SimUnitTest::kSimWaitMs);
    }

    UsbLinkManager link;
    TWRPCUSBConnection connection;
    DeviceCommWatcher watcher;
};

/** The simulated unit with the test's looper running and the editor's side (EditorT, a SimEditor or
    derived from it) connected by StartConnectedEditor; TearDown ends the editor before the unit. */
template <typename EditorT> class SimEditorTest : public SimUnitTest
{
protected:
    void SetUp() override
    {
        SimUnitTest::SetUp();
        ASSERT_NE(looper.Run(), 0);
    }
    void TearDown() override
    {
        editor.reset();
        SimUnitTest::TearDown();
    }

    /** Starts the unit with the options and connects a new editor to it. */
    bool StartConnectedEditor(const juce::StringArray& options = {})
    {
        if (!StartUnit(options))
            return false;
        editor = std::make_unique<EditorT>(looper);
        return editor->Connect();
    }

    WatcherRig::RecordingLooper looper;
    std::unique_ptr<EditorT> editor;
};
