// Map look-ups and inserts at growing sizes (the tree is weight-balanced, so time per look-up should grow
// with the logarithm of the size), pooled block allocation against the general heap, and the contention
// cost of XMutex.

#include "core/LongToPtrMap.h"
#include "core/StringToPtrMap.h"
#include "core/XMemPool.h"
#include "core/XMutex.h"
#include "core/XSmartLock.h"
#include "platform/PlatformClock.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int kLookUps = 1000000;

double NanosecondsPer(uint64_t startMicroseconds, int operations)
{
    return static_cast<double>(PlatformClock::GetRealMicroseconds() - startMicroseconds) * 1000.0 /
           operations;
}

void BenchLongMap(int size)
{
    LongToPtrMap<int> map;
    static int value;
    uint64_t start = PlatformClock::GetRealMicroseconds();
    for (int key = 0; key < size; ++key)
        map.Add(key, &value); // ascending: the worst case for an unbalanced tree
    const double insertNs = NanosecondsPer(start, size);

    std::mt19937 random(1);
    std::vector<int> keys(4096);
    for (int& key : keys)
        key = static_cast<int>(random() % static_cast<unsigned>(size));
    start = PlatformClock::GetRealMicroseconds();
    int found = 0;
    for (int i = 0; i < kLookUps; ++i)
        found += map.Find(keys[static_cast<size_t>(i) & 4095]) != nullptr;
    std::printf("LongToPtrMap   %8d keys: insert %7.1f ns, look-up %6.1f ns (%d found)\n", size, insertNs,
                NanosecondsPer(start, kLookUps), found);
}

void BenchStringMap(int size)
{
    StringToPtrMap<int> map;
    static int value;
    std::vector<std::string> names;
    for (int i = 0; i < size; ++i)
        names.push_back("Output" + std::to_string(i % 6) + "\\param" + std::to_string(i));
    uint64_t start = PlatformClock::GetRealMicroseconds();
    for (const auto& name : names)
        map.Add(name.c_str(), &value);
    const double insertNs = NanosecondsPer(start, size);
    start = PlatformClock::GetRealMicroseconds();
    int found = 0;
    for (int i = 0; i < kLookUps; ++i)
        found += map.Find(names[static_cast<size_t>(i) % names.size()].c_str()) != nullptr;
    std::printf("StringToPtrMap %8d keys: insert %7.1f ns, look-up %6.1f ns (%d found)\n", size, insertNs,
                NanosecondsPer(start, kLookUps), found);
}

void BenchPool()
{
    constexpr int kRounds = 2000000;
    constexpr int kBlockSize = 56;
    std::unique_ptr<XMemPool> pool(XMemPool::Create(kBlockSize, 100));
    std::vector<void*> live(64, nullptr);
    uint64_t start = PlatformClock::GetRealMicroseconds();
    for (int i = 0; i < kRounds; ++i)
    {
        void*& slot = live[static_cast<size_t>(i) & 63];
        pool->Free(slot, kBlockSize);
        slot = pool->Alloc(kBlockSize);
    }
    const double poolNs = NanosecondsPer(start, kRounds);
    for (void*& slot : live)
        pool->Free(slot, kBlockSize), slot = nullptr;

    start = PlatformClock::GetRealMicroseconds();
    for (int i = 0; i < kRounds; ++i)
    {
        void*& slot = live[static_cast<size_t>(i) & 63];
        std::free(slot);
        slot = std::malloc(kBlockSize);
    }
    const double heapNs = NanosecondsPer(start, kRounds);
    for (void* slot : live)
        std::free(slot);
    std::printf("XMemPool free+alloc %.1f ns, heap free+malloc %.1f ns\n", poolNs, heapNs);
}

void BenchMutex(int threads)
{
    constexpr int kRounds = 1000000;
    XMutex mutex;
    long counter = 0;
    const uint64_t start = PlatformClock::GetRealMicroseconds();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(
            [&]
            {
                for (int i = 0; i < kRounds / threads; ++i)
                {
                    XSmartLock hold(mutex);
                    ++counter;
                }
            });
    for (auto& worker : workers)
        worker.join();
    std::printf("XMutex lock+unlock, %d thread(s): %.1f ns (%ld)\n", threads, NanosecondsPer(start, kRounds),
                counter);
}
} // namespace

int main()
{
    for (int size : {100, 1000, 10000, 100000})
        BenchLongMap(size);
    for (int size : {100, 1000, 10000, 100000})
        BenchStringMap(size);
    BenchPool();
    BenchMutex(1);
    BenchMutex(4);
    return 0;
}
