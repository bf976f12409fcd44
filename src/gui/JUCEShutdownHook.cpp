#include "gui/JUCEShutdownHook.h"

#include <utility>

JUCEShutdownHook::JUCEShutdownHook(std::function<void()> releaseIn) : release(std::move(releaseIn)) {}

JUCEShutdownHook* JUCEShutdownHook::Add(std::function<void()> release)
{
    return new JUCEShutdownHook(std::move(release));
}

JUCEShutdownHook::~JUCEShutdownHook()
{
    if (release)
        release();
}
