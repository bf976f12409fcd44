// krx640-sim: a simulated KRX-640 that serves the unit's pipes and protocol in place of a real
// unit, for the editor, its tests and its run command. See SimPipeEndpoint.h for the pipes.

#include "SimOptions.h"
#include "SimUnit.h"

#include <csignal>
#include <cstdio>

namespace
{
volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int)
{
    stopRequested = 1;
}
} // namespace

int main(int argc, char** argv)
{
    SimOptions options;
    std::string error;
    if (!options.Parse(argc, argv, error))
    {
        std::fprintf(stderr, "krx640-sim: %s\n%s", error.c_str(), SimOptions::Usage());
        return 2;
    }
    if (options.helpRequested)
    {
        std::fputs(SimOptions::Usage(), stdout);
        return 0;
    }

    // A write to a pipe whose reader left must fail with an error, not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGHUP, RequestStop);

    SimUnit unit(options);
    return unit.Run(&stopRequested);
}
