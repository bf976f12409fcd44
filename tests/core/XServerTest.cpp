#include "core/XServer.h"

#include "LooperTestSupport.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using LooperTest::Journal;
using LooperTest::RecordingHandler;

namespace
{
constexpr int kWaitMs = 20000;
constexpr uint32_t kNews = 4242;

/** A looper on a thread of its own with one recording client. */
struct RemoteClient
{
    RemoteClient(const char* name, Journal& journal)
        : looper(std::make_unique<XLooper>(name)), client(name, journal)
    {
        looper->AddHandler(&client);
        looper->Run();
    }
    ~RemoteClient()
    {
        looper->RemoveHandler(&client);
        looper.reset();
    }

    std::unique_ptr<XLooper> looper;
    RecordingHandler client;
};

TEST(XServerTest, AClientAddedTwiceHearsABroadcastOnce)
{
    Journal journal;
    RemoteClient remote("server-remote", journal);
    RecordingHandler unattached("unattached", journal);
    XServer server;
    server.AddClient(&remote.client);
    server.AddClient(&remote.client);
    server.AddClient(&unattached);
    server.AddClient(nullptr);
    EXPECT_EQ(server.GetClientCount(), 2);

    XMessage news(kNews, 0);
    server.Broadcast(&news, true);
    // The unattached client heard it at once, in this thread; the remote one hears it on its
    // looper, which may already have happened.
    std::vector<std::string> heard = journal.Take();
    EXPECT_NE(std::find(heard.begin(), heard.end(), "unattached:msg:4242"), heard.end());
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return heard.size() + journal.Count() == 2; }, kWaitMs));
    for (std::string& entry : journal.Take())
        heard.push_back(std::move(entry));
    std::sort(heard.begin(), heard.end());
    EXPECT_EQ(heard, (std::vector<std::string>{"server-remote:msg:4242", "unattached:msg:4242"}));

    server.RemoveClient(&remote.client);
    server.RemoveClient(&unattached);
    EXPECT_EQ(server.GetClientCount(), 0);
}

TEST(XServerTest, SynchronousBroadcastsAreHandledBeforeBroadcastReturns)
{
    Journal journal;
    RemoteClient remote("server-sync", journal);
    XLooper localLooper("server-local");
    localLooper.StartupInit(); // this thread runs the looper
    RecordingHandler local("local", journal);
    localLooper.AddHandler(&local);

    XServer server;
    server.AddClient(&local);
    server.AddClient(&remote.client);
    XMessage news(kNews, 0);
    server.Broadcast(&news, false);
    // The local client ran directly; the remote one ran on its own thread while Broadcast waited.
    EXPECT_EQ(journal.Take(), (std::vector<std::string>{"local:msg:4242", "server-sync:msg:4242"}));
    EXPECT_EQ(remote.client.lastThread.load(), remote.looper->GetThreadId());
    server.RemoveClient(&local);
    server.RemoveClient(&remote.client);
    localLooper.RemoveHandler(&local);
}

TEST(XServerTest, DestroyingAServerTellsEveryClient)
{
    Journal journal;
    RemoteClient first("server-first", journal);
    RemoteClient second("server-second", journal);
    {
        XServer server;
        server.AddClient(&first.client);
        server.AddClient(&second.client);
    }
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return journal.Count() == 2; }, kWaitMs));
    std::vector<std::string> heard = journal.Take();
    std::sort(heard.begin(), heard.end());
    EXPECT_EQ(heard, (std::vector<std::string>{"server-first:msg:8200", "server-second:msg:8200"}));
}
} // namespace
