#pragma once

// What the device watcher's tests stand on: the application's parameter groups built as the
// application builds them, application services that record what the watcher asks of them, a
// connection that records the frames sent instead of writing them, and a looper that records the
// messages posted to the application.

#include "core/DefaultAppServices.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "core/XParamGroup.h"
#include "device/GlobalParamTables.h"
#include "device/TWMsgBuf.h"
#include "device/TWRPCUSBConnection.h"
#include "device/UsbLinkManager.h"
#include "support/ChannelSet.h"
#include "support/FrameBytes.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace WatcherRig
{
using FrameBytes::Bytes;
using FrameBytes::Sent;

/** Application services over the rig's groups (and the preset document a test hands in) that
    record the status texts, the compare button, the display bytes and the compare syncs. Installed for its
   life; any thread may call it. */
class RecordingServices final : public DefaultAppServices
{
public:
    struct Column
    {
        int32_t row, x, bits;
    };

    RecordingServices() { SetAppServices(this); }
    ~RecordingServices() override { SetAppServices(nullptr); }

    void SetGroups(XParamGroup* mainIn, XParamGroup* presetIn, XParamGroup* comparePresetIn,
                   XParamGroup* slaveIn)
    {
        main = mainIn;
        preset = presetIn;
        comparePreset = comparePresetIn;
        slave = slaveIn;
    }

    /** The group's parameter of that id, else a detached stand-in as the default services give. */
    XParam* GetParam(int32_t id) override { return Find(main, id, GroupKind::Main); }
    XParam* GetPresetParam(int32_t id) override { return Find(preset, id, GroupKind::Preset); }
    XParam* GetSlaveParam(int32_t id) override { return Find(slave, id, GroupKind::Slave); }
    XParamGroup* GetPresetGroup() override { return preset; }
    XParamGroup* GetComparePresetGroup() override { return comparePreset; }
    /** The document a test hands in (null: none). */
    IAppDocument* GetPresetDocument() override { return document.load(); }
    void SetPresetDocument(IAppDocument* newDocument) { document.store(newDocument); }

    void SetStatusText(const XString& text) override
    {
        std::lock_guard<std::mutex> hold(lock);
        statusTexts.emplace_back(text.CStr());
    }
    void ShowCompareButton() override { compareButtonShown.fetch_add(1); }
    void HideCompareButton() override { compareButtonHidden.fetch_add(1); }
    void DrawDisplayColumn(int32_t row, int32_t x, int32_t bits) override
    {
        std::lock_guard<std::mutex> hold(lock);
        columns.push_back({row, x, bits});
    }
    void SyncCompareGroups(bool toLive) override { (toLive ? syncsToLive : syncsToCompare).fetch_add(1); }

    std::vector<std::string> StatusTexts()
    {
        std::lock_guard<std::mutex> hold(lock);
        return statusTexts;
    }
    std::vector<Column> TakeColumns()
    {
        std::lock_guard<std::mutex> hold(lock);
        return std::exchange(columns, {});
    }

    std::atomic<int> compareButtonShown{0};
    std::atomic<int> compareButtonHidden{0};
    std::atomic<int> syncsToLive{0};
    std::atomic<int> syncsToCompare{0};

private:
    // The fallback is the base's non-virtual stand-in: calling GetParam and its kin here would
    // dispatch back to this class.
    XParam* Find(XParamGroup* group, int32_t id, GroupKind kind)
    {
        XParam* param = group != nullptr ? group->GetParam(id) : nullptr;
        return param != nullptr ? param : DetachedParam(kind, id);
    }

    // Set before the watcher runs; read-only afterwards.
    XParamGroup* main = nullptr;
    XParamGroup* preset = nullptr;
    XParamGroup* comparePreset = nullptr;
    XParamGroup* slave = nullptr;

    std::atomic<IAppDocument*> document{nullptr};
    std::mutex lock; // guards statusTexts and columns
    std::vector<std::string> statusTexts;
    std::vector<Column> columns;
};

/** Every group the watcher maps, with the services that hand them out. Built and destroyed on the
    test's thread. */
class Groups final
{
public:
    static constexpr int kInputs = ChannelSet::kInputs;
    static constexpr int kOutputs = ChannelSet::kOutputs;

    Groups()
    {
        main.AddParams(AppStateParamTable, GlobalParamTables::kAppStatePrefix);
        main.AddParams(UnitSettingsParamTable, GlobalParamTables::kUnitSettingsPrefix);
        main.AddParams(GlobalSettingsParamTable, GlobalParamTables::kGlobalSettingsPrefix);
        preset.AddParams(PresetInfoParamTable, GlobalParamTables::kPresetInfoPrefix);
        comparePreset.AddParams(PresetInfoParamTable, GlobalParamTables::kComparePresetInfoPrefix);
        slave.AddParams(SlaveStatusParamTable, GlobalParamTables::kSlaveStatusPrefix);
        services.SetGroups(&main, &preset, &comparePreset, &slave);
        channels = std::make_unique<ChannelSet>();
    }

    RecordingServices services;
    XParamGroup main{"main"};
    XParamGroup preset{"preset"};
    XParamGroup comparePreset{"presetComapreMode"};
    XParamGroup slave{"slave"};
    std::unique_ptr<ChannelSet> channels; // built once the services hand out the groups above
};

/** A connection that is connected while the test says so and records every frame sent, without a
    link or a reader. */
class RecordingConnection final : public TWRPCUSBConnection
{
public:
    RecordingConnection() : TWRPCUSBConnection(link) {}
    ~RecordingConnection() override { Stop(); }

    bool IsConnected() override { return connected.load(); }
    int32_t Send(TWMsgBuf& frame, TWMsgBuf* /*reply*/) override
    {
        if (!connected.load())
            return static_cast<int32_t>(0x80000001);
        const Bytes bytes = FrameBytes::Contents(frame);
        std::lock_guard<std::mutex> hold(lock);
        sent.push_back({bytes[10], Bytes(bytes.begin() + TWMsgBuf::kHeaderSize, bytes.end())});
        return 0;
    }

    std::vector<Sent> Take()
    {
        std::lock_guard<std::mutex> hold(lock);
        return std::exchange(sent, {});
    }

    std::atomic<bool> connected{true};

private:
    UsbLinkManager link; // never opened: no frames wait on it
    std::mutex lock;     // guards sent
    std::vector<Sent> sent;
};

/** A looper on its own thread that stands in for the application: it records the code of every
    message posted to it and the message's int32 items named in the test. */
class RecordingLooper final : public XLooper
{
public:
    struct Posted
    {
        uint32_t what;
        int32_t presetNum = -1;
        int32_t second = -1; // "presetConfig" or "presetFlags"
        std::string name;
    };

    RecordingLooper() : XLooper("watcherTestLooper") {}
    ~RecordingLooper() override { EndLoopThread(); }

    /** Returns once the thread has started its loop, so that a test may slow the clock at once. */
    int32_t Run() override
    {
        const int32_t id = XLooper::Run();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartWaitMs);
        while (id != 0 && !started.load() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return id;
    }
    void StartupInit() override
    {
        XLooper::StartupInit();
        started.store(true);
    }

    void MessageReceived(XMessage& message) override
    {
        Posted posted{message.GetWhat(), -1, -1, {}};
        message.FindInt32("presetNum", posted.presetNum);
        if (message.FindInt32("presetConfig", posted.second) != 0)
            message.FindInt32("presetFlags", posted.second);
        const char* name = nullptr;
        if (message.FindString("presetName", name) == 0 && name != nullptr)
            posted.name = name;
        {
            std::lock_guard<std::mutex> hold(lock);
            posts.push_back(posted);
        }
        XLooper::MessageReceived(message);
    }

    std::vector<Posted> Posts()
    {
        std::lock_guard<std::mutex> hold(lock);
        return posts;
    }
    int CountOf(uint32_t what)
    {
        int count = 0;
        for (const Posted& posted : Posts())
            count += posted.what == what ? 1 : 0;
        return count;
    }

private:
    static constexpr int kStartWaitMs = 60000;

    std::atomic<bool> started{false};
    std::mutex lock; // guards posts
    std::vector<Posted> posts;
};
} // namespace WatcherRig
