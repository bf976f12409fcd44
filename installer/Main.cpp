#include "DriverInstaller.h"
#include "LinuxDriverSetup.h"
#include "SimulatedDriverSetup.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace
{
constexpr int kExitBadTestSetup = 1;

/** The simulated services when KRX640_SETUP_SIM names a scenario, else the system's; null with a
    message on stderr when the scenario is unusable, so a test never reaches the real system by
    mistake. */
std::unique_ptr<IDriverSetup> CreateDriverSetup()
{
    const char* scenario = std::getenv("KRX640_SETUP_SIM");
    if (scenario == nullptr)
        return std::make_unique<LinuxDriverSetup>();
    auto simulated = std::make_unique<SimulatedDriverSetup>();
    std::string problem;
    if (!simulated->Load(scenario, std::getenv("KRX640_SETUP_SIM_LOG"), problem))
    {
        std::fprintf(stderr, "KRX640_SETUP_SIM: %s\n", problem.c_str());
        return nullptr;
    }
    return simulated;
}
} // namespace

int main(int argc, char** argv)
{
    // Unbuffered, so that each message is on the console before the pause that follows it.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const auto setup = CreateDriverSetup();
    if (setup == nullptr)
        return kExitBadTestSetup;
    DriverInstaller installer(*setup);
    return installer.Run(argc, argv);
}
