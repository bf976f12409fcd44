#include "core/XSignal.h"

#include <gtest/gtest.h>
#include <string>

TEST(XSignal, SlotsRunInOrderAndMayChangeTheListDuringAnEmit)
{
    XSignal<int> signal;
    std::string calls;
    int32_t second = 0;
    const int32_t first = signal.Connect(
        [&](int v)
        {
            calls += "a" + std::to_string(v);
            signal.Disconnect(second);
            signal.Connect([&](int w) { calls += "c" + std::to_string(w); });
        });
    second = signal.Connect([&](int v) { calls += "b" + std::to_string(v); });
    EXPECT_EQ(0, signal.Connect(XSignal<int>::Slot()));

    signal.Emit(1);
    EXPECT_EQ("a1", calls);
    signal.Disconnect(first);
    calls.clear();
    signal.Emit(2);
    EXPECT_EQ("c2", calls);
    EXPECT_EQ(1, signal.GetConnectionCount());
    signal.DisconnectAll();
    signal.Emit(3);
    EXPECT_EQ("c2", calls);
}
