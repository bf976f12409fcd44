#pragma once

// A unit that answers the preset requests on a thread of its own, as the link's reader hands the
// replies on, with the ways a unit can misbehave during a preset receive.

#include "device/IPresetLink.h"
#include "device/IReceivePresetHandler.h"
#include "device/PresetsManager.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace FakePresets
{
constexpr int kInfoCommand = 13;
constexpr int kFlagsCommand = 14;
constexpr int kPresets = PresetsManager::kPresetCount;
constexpr int kNoLimit = -1;

/** A unit with 80 presets that answers each request on its own thread, and the ways it misbehaves. */
class FakeUnit final : public IPresetLink
{
public:
    struct Request
    {
        int command;
        int number;
        bool operator==(const Request& other) const
        {
            return command == other.command && number == other.number;
        }
    };
    struct Slot
    {
        std::string name;
        int configuration;
        int flags;
    };

    FakeUnit()
    {
        for (int number = 1; number <= kPresets; ++number)
            slots.push_back({"Preset " + std::to_string(number) + "   ", number % 7, number % 8});
        thread = std::thread([this] { Serve(); });
    }
    ~FakeUnit() override { Stop(); }

    void Stop()
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            stopping = true;
        }
        wake.notify_all();
        if (thread.joinable())
            thread.join();
    }

    bool IsConnected() override { return connected.load(); }
    IReceivePresetHandler* GetPresetHandler() override { return handler.load(); }
    void SetPresetHandler(IReceivePresetHandler* newHandler) override { handler.store(newHandler); }
    void RequestPresetInfo(int number) override { Queue({kInfoCommand, number}); }
    void RequestPresetFlags(int number) override { Queue({kFlagsCommand, number}); }

    std::vector<Request> Requests()
    {
        std::lock_guard<std::mutex> hold(lock);
        return requests;
    }
    int CountOf(const Request& request)
    {
        const std::vector<Request> all = Requests();
        return static_cast<int>(std::count(all.begin(), all.end(), request));
    }

    // Set before the receive starts.
    std::vector<Slot> slots;
    /** Info requests above this number go unanswered (kNoLimit: all are answered). */
    int answerUpTo = kNoLimit;
    /** The link drops when the info of this preset is asked for. */
    int dropAt = kNoLimit;
    /** This many info requests are answered as preset 0 first (kNoLimit: every one). */
    int zeroReplies = 0;
    /** Before preset 80's info, an info reply for preset 81 arrives. */
    bool sendsPreset81 = false;
    /** The first info request returns only once its reply has been handled (or after
        kHoldLimitMs), as when the asking thread loses the processor right after sending. */
    bool holdsFirstInfoRequest = false;
    static constexpr int kHoldLimitMs = 500;

    std::atomic<bool> connected{true};
    /** Replies that found no handler (they would go to the application). */
    std::atomic<int> unhandledReplies{0};

private:
    void Queue(const Request& request)
    {
        if (!connected.load())
            return;
        {
            std::lock_guard<std::mutex> hold(lock);
            requests.push_back(request);
            pending.push_back(request);
        }
        wake.notify_all();
        if (holdsFirstInfoRequest && request.command == kInfoCommand && !heldOnce.exchange(true))
        {
            std::unique_lock<std::mutex> hold(lock);
            answeredWake.wait_for(hold, std::chrono::milliseconds(kHoldLimitMs),
                                  [this] { return answered > 0; });
        }
    }

    void Serve()
    {
        std::unique_lock<std::mutex> hold(lock);
        for (;;)
        {
            wake.wait(hold, [this] { return stopping || !pending.empty(); });
            if (stopping)
                return;
            const Request request = pending.front();
            pending.pop_front();
            hold.unlock();
            Answer(request);
            hold.lock();
            ++answered;
            answeredWake.notify_all();
        }
    }

    void Answer(const Request& request)
    {
        if (request.command == kFlagsCommand)
        {
            const Slot& slot = slots[static_cast<size_t>(request.number - 1)];
            if (IReceivePresetHandler* target = handler.load())
                target->PresetFlagsReceived(request.number, slot.flags);
            else
                unhandledReplies.fetch_add(1);
            return;
        }
        if (request.number == dropAt)
        {
            connected.store(false);
            return;
        }
        if (answerUpTo != kNoLimit && request.number > answerUpTo)
            return;
        if (zeroReplies != 0)
        {
            if (zeroReplies > 0)
                --zeroReplies;
            Info(0, {"?", -1, 0});
            return;
        }
        if (request.number == kPresets && sendsPreset81)
            Info(kPresets + 1, {"Too far", 3, 0});
        Info(request.number, slots[static_cast<size_t>(request.number - 1)]);
    }

    void Info(int number, const Slot& slot)
    {
        XString name(slot.name.c_str());
        if (IReceivePresetHandler* target = handler.load())
            target->PresetInfoReceived(number, slot.configuration, name);
        else
            unhandledReplies.fetch_add(1);
    }

    std::atomic<IReceivePresetHandler*> handler{nullptr};
    std::mutex lock; // guards requests, pending, answered and stopping
    std::condition_variable wake;
    std::condition_variable answeredWake;
    int answered = 0; // requests whose answer has been handled
    std::atomic<bool> heldOnce{false};
    std::vector<Request> requests;
    std::deque<Request> pending;
    bool stopping = false;
    std::thread thread;
};

} // namespace FakePresets
