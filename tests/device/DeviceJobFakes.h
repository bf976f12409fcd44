#pragma once

// Fakes for the device jobs' tests: a link that plays the watcher and the unit (its replies come on
// a reader thread of their own, as the real link's do), a progress recorder and a document that
// records what it writes.

#include "core/XDocument.h"
#include "core/XParam.h"
#include "core/XResult.h"
#include "device/IDeviceJob.h"
#include "device/IDeviceJobLink.h"
#include "device/IReceivePresetHandler.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace DeviceJobFakes
{
/** Runs posted calls in order on one thread, like the link's reader. */
class ReaderThread final
{
public:
    ReaderThread() : worker([this] { Loop(); }) {}
    ~ReaderThread()
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            stopping = true;
        }
        wake.notify_all();
        worker.join();
    }

    void Post(std::function<void()> call)
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            calls.push_back(std::move(call));
        }
        wake.notify_all();
    }

private:
    void Loop()
    {
        std::unique_lock<std::mutex> hold(lock);
        for (;;)
        {
            wake.wait(hold, [this] { return stopping || !calls.empty(); });
            if (calls.empty())
                return;
            std::function<void()> call = std::move(calls.front());
            calls.pop_front();
            hold.unlock();
            call();
            hold.lock();
        }
    }

    std::mutex lock; // guards calls and stopping
    std::condition_variable wake;
    std::deque<std::function<void()>> calls;
    bool stopping = false;
    std::thread worker;
};

/** One request the job made. */
struct Request
{
    std::string what;
    int argument;
    bool operator==(const Request& other) const { return what == other.what && argument == other.argument; }
};

inline std::ostream& operator<<(std::ostream& out, const Request& request)
{
    return out << request.what << "(" << request.argument << ")";
}

/** The watcher and the unit: records every request; answers preset-info requests with the names of
    its slots and recalls for saving with a finished compare answer, on its reader thread, unless
    told to stay silent. Frames "sent" wait in its queue until DrainQueue. */
class FakeJobLink final : public IDeviceJobLink
{
public:
    FakeJobLink() { presetNames.assign(21, "?"); }
    ~FakeJobLink() override = default;

    bool IsConnected() override { return connected.load(); }
    void SendParamIdCommand(XParam* param) override
    {
        Record("id", param != nullptr ? param->GetId() : -1);
        pending.fetch_add(1);
    }
    void SendParamValue(XParam* /*param*/, int wireId) override
    {
        Record("value", wireId);
        pending.fetch_add(1);
    }
    void RequestPresetInfo(int presetNumber) override
    {
        Record("info", presetNumber);
        if (silent.load())
            return;
        reader.Post(
            [this, presetNumber]
            {
                XString name(NameOf(presetNumber).c_str());
                if (IReceivePresetHandler* handler = handlerSlot.load())
                    handler->PresetInfoReceived(presetNumber, 2, name);
            });
    }
    /** Recorded only: the jobs that run on this link never ask for flags. */
    void RequestPresetFlags(int presetNumber) override { Record("flags", presetNumber); }
    void RecallPresetForSaving(unsigned presetNumber) override
    {
        Record("recall", static_cast<int>(presetNumber));
        if (silent.load())
            return;
        reader.Post(
            [this]
            {
                if (IReceivePresetHandler* handler = handlerSlot.load())
                    handler->PresetDataReceived();
            });
    }
    void RequestAllParams() override { Record("all", 0); }
    void SendBulkBracket(bool begin) override
    {
        Record("bracket", begin ? 1 : 0);
        pending.fetch_add(1);
    }
    void SetPresetHandler(IReceivePresetHandler* handler) override
    {
        Record("handler", handler != nullptr ? 1 : 0);
        handlerSlot.store(handler);
    }
    IReceivePresetHandler* GetPresetHandler() override { return handlerSlot.load(); }
    void SetSendingEnabled(bool on) override { Record("sending", on ? 1 : 0); }
    XParam* GetLiveParam(int wireId) override
    {
        const auto found = liveMap.find(wireId);
        return found != liveMap.end() ? found->second : nullptr;
    }
    int32_t GetPendingFrames() override { return pending.load(); }

    void DrainQueue() { pending.store(0); }
    void SetPresetName(int number, const std::string& name)
    {
        std::lock_guard<std::mutex> hold(lock);
        presetNames[static_cast<size_t>(number)] = name;
    }
    std::vector<Request> Requests()
    {
        std::lock_guard<std::mutex> hold(lock);
        return requests;
    }
    std::vector<Request> RequestsOf(const std::string& what)
    {
        std::vector<Request> found;
        for (const Request& request : Requests())
            if (request.what == what)
                found.push_back(request);
        return found;
    }

    std::atomic<bool> connected{true};
    std::atomic<bool> silent{false};
    std::atomic<int32_t> pending{0};
    std::map<int, XParam*> liveMap; // set before the job runs

private:
    void Record(const char* what, int argument)
    {
        std::lock_guard<std::mutex> hold(lock);
        requests.push_back({what, argument});
    }
    std::string NameOf(int number)
    {
        std::lock_guard<std::mutex> hold(lock);
        return presetNames[static_cast<size_t>(number)];
    }

    std::atomic<IReceivePresetHandler*> handlerSlot{nullptr};
    std::mutex lock; // guards requests and presetNames
    std::vector<Request> requests;
    std::vector<std::string> presetNames;
    ReaderThread reader; // last: it ends before the rest goes
};

/** Records the progress and the status texts a job shows; asks to exit when told. */
class ProgressRecorder final : public IJobProgress
{
public:
    void SetProgress(double fraction) override
    {
        std::lock_guard<std::mutex> hold(lock);
        fractions.push_back(fraction);
    }
    void SetStatusMessage(const XString& text) override
    {
        std::lock_guard<std::mutex> hold(lock);
        messages.emplace_back(text.CStr());
    }
    bool ShouldExit() override { return exitRequested.load(); }

    std::vector<double> Fractions()
    {
        std::lock_guard<std::mutex> hold(lock);
        return fractions;
    }
    std::vector<std::string> Messages()
    {
        std::lock_guard<std::mutex> hold(lock);
        return messages;
    }

    std::atomic<bool> exitRequested{false};

private:
    std::mutex lock; // guards fractions and messages
    std::vector<double> fractions;
    std::vector<std::string> messages;
};

/** A document that records the paths it is asked to write, without writing. */
class RecordingDocument final : public XDocument
{
public:
    int32_t WriteTo(const char* path) override
    {
        std::lock_guard<std::mutex> hold(lock);
        written.emplace_back(path);
        return failWrites.load() ? XResult::kFailed : 0;
    }
    int32_t SaveAs(const char* path) override
    {
        std::lock_guard<std::mutex> hold(lock);
        saved.emplace_back(path);
        return 0;
    }
    std::vector<std::string> Written()
    {
        std::lock_guard<std::mutex> hold(lock);
        return written;
    }
    std::vector<std::string> Saved()
    {
        std::lock_guard<std::mutex> hold(lock);
        return saved;
    }

    std::atomic<bool> failWrites{false};

private:
    std::mutex lock; // guards written and saved
    std::vector<std::string> written;
    std::vector<std::string> saved;
};
} // namespace DeviceJobFakes
