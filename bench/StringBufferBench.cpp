// Cost of the core text and buffer operations that the rest of the program leans on: copying a string
// (one interlocked increment), copying on write, formatting a parameter-path text, building a small
// frame-sized buffer (a size-class pool block, no heap) and writing typed values to a stream. Also
// the copy-and-destroy rate of one shared string on eight threads (contention on its count).

#include "core/XMemory.h"
#include "core/XMemoryIO.h"
#include "core/XString.h"
#include "platform/PlatformClock.h"

#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace
{
constexpr int kRepeats = 1000000;
constexpr int kThreads = 8;

/** Runs body count times and prints the mean time per call in nanoseconds. */
void Measure(const char* name, int count, const std::function<void()>& body)
{
    const uint64_t start = PlatformClock::GetRealMicroseconds();
    for (int i = 0; i < count; ++i)
        body();
    const uint64_t elapsed = PlatformClock::GetRealMicroseconds() - start;
    std::printf("%-44s %9.1f ns\n", name, 1000.0 * static_cast<double>(elapsed) / count);
}

volatile int sink = 0;
} // namespace

int main()
{
    const XString path("Output3\\Crossover\\HighPassFrequency");
    Measure("copy and destroy a string", kRepeats,
            [&]
            {
                XString copy(path);
                sink = sink + copy.CStr()[0];
            });
    Measure("copy, then change the copy (copy on write)", kRepeats,
            [&]
            {
                XString copy(path);
                copy.SetCharAt(0, 'o');
                sink = sink + copy.CStr()[0];
            });
    Measure("empty string made and destroyed", kRepeats,
            []
            {
                XString empty;
                sink = sink + empty.Length();
            });
    Measure("Format(\"Output%d\\\\%s\")", kRepeats,
            []
            {
                XString text;
                text.Format("Output%d\\%s", 3, "linkedChannel");
                sink = sink + text.Length();
            });
    Measure("EqualsNoCase on a parameter path", kRepeats,
            [&] { sink = sink + (path.EqualsNoCase("output3\\crossover\\highpassfrequency") ? 1 : 0); });
    Measure("20-byte frame buffer built (pool block)", kRepeats,
            []
            {
                XMemory memory;
                XMemoryIO io(&memory, XMemoryIO::kReadable | XMemoryIO::kWritable);
                io.PutInt32(static_cast<int>(0xFFAA00BB));
                io.PutInt32(20);
                io.WriteInt8(3).WriteInt8(0).WriteInt8(5).WriteInt8(8);
                io.PutInt32(0x1234);
                io.PutFloat(1.5f);
                sink = sink + memory.GetLength();
            });
    Measure("4 KB buffer grown by 4-byte appends", kRepeats / 100,
            []
            {
                XMemory memory;
                for (int i = 0; i < 1024; ++i)
                    memory.Append(&i, 4);
                sink = sink + memory.GetLength();
            });

    const uint64_t start = PlatformClock::GetRealMicroseconds();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(
            [&path]
            {
                for (int i = 0; i < kRepeats; ++i)
                {
                    XString copy(path);
                    sink = sink + copy.CStr()[1];
                }
            });
    for (std::thread& thread : threads)
        thread.join();
    const uint64_t elapsed = PlatformClock::GetRealMicroseconds() - start;
    std::printf("%-44s %9.1f ns\n", "shared string copied on 8 threads (per copy)",
                1000.0 * static_cast<double>(elapsed) / (static_cast<double>(kRepeats) * kThreads));
    return 0;
}
