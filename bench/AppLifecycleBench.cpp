// Time from constructing a headless application to the end of its destruction when it quits in its
// first turn: start-up, the loop on this thread, quit (its fixed 1000 ms pause), the exit sequence
// that stops and joins one worker looper, and the destruction (its fixed 1000 ms pause). The
// application must be gone within 3000 ms. Real time, at the platform clock's scale (1 unless
// KRX640_TIME_SCALE says otherwise).

#include "core/Log.h"
#include "core/XApplication.h"
#include "core/XLooper.h"
#include "core/XMessageCodes.h"
#include "platform/PlatformClock.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace
{
constexpr uint64_t kBoundMs = 3000;

class QuitAtOnce final : public XApplication
{
public:
    QuitAtOnce() : XApplication("LifecycleBench") {}
    bool StartApp() override
    {
        XApplication::StartApp();
        PostCode(XMsgCode::kQuitRequested);
        return true;
    }
};
} // namespace

int main()
{
    // Settings and the log go to a scratch folder, not beside the program or into the user's.
    std::string scratch = "/tmp/krx-lifecycle-bench-XXXXXX";
    if (mkdtemp(&scratch[0]) == nullptr)
        return 1;
    setenv("XDG_CONFIG_HOME", scratch.c_str(), 1);
    SetAppLogFolder(scratch.c_str());

    const uint64_t start = PlatformClock::GetRealMicroseconds();
    auto worker = std::make_unique<XLooper>("bench-worker");
    worker->Run();
    uint64_t quitAt = 0;
    {
        QuitAtOnce application;
        application.Startup();
        quitAt = PlatformClock::GetRealMicroseconds();
        application.Exit();
    }
    worker.reset();
    const uint64_t elapsedMs = (PlatformClock::GetRealMicroseconds() - start) / 1000;
    std::printf("time scale                                 %9.1f\n", PlatformClock::GetTimeScale());
    std::printf("construction to loop end (incl. quit)      %9.1f ms\n",
                static_cast<double>(quitAt - start) / 1000.0);
    std::printf("construction to end of destruction         %9llu ms (bound %llu ms)\n",
                static_cast<unsigned long long>(elapsedMs), static_cast<unsigned long long>(kBoundMs));
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
    return elapsedMs < kBoundMs ? 0 : 1;
}
