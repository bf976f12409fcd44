#pragma once

#include <functional>
#include <thread>
#include <utility>

/** A test's helper thread that is always joined, so that an assertion that returns early fails the
    test instead of ending the program (a joinable std::thread calls std::terminate when destroyed).
    The test joins it with Join where it expects the thread to end; when it is still running as the
    test leaves its scope early, endEarly (when given) runs first to make it finish soon (reads
    cancelled, a unit pulled), then it is joined. */
class JoiningThread final
{
public:
    template <typename Body>
    explicit JoiningThread(Body body, std::function<void()> endEarly = {})
        : endEarly(std::move(endEarly)), thread(std::move(body))
    {
    }
    ~JoiningThread()
    {
        if (!thread.joinable())
            return;
        if (endEarly)
            endEarly();
        thread.join();
    }
    JoiningThread(const JoiningThread&) = delete;
    JoiningThread& operator=(const JoiningThread&) = delete;

    void Join()
    {
        if (thread.joinable())
            thread.join();
    }

private:
    std::function<void()> endEarly;
    std::thread thread;
};
