#include "gui/XSynchBlinker.h"

#include "core/XApplication.h"
#include "core/XMessage.h"
#include "gui/JUCEShutdownHook.h"

#include <algorithm>

namespace
{
XSynchBlinker* theBlinker = nullptr; // GUI thread; lives until JUCE shuts down
} // namespace

XSynchBlinker& XSynchBlinker::Get()
{
    if (theBlinker == nullptr)
    {
        theBlinker = new XSynchBlinker();
        // A view is a JUCE component, which must not outlive JUCE.
        JUCEShutdownHook::Add(
            []
            {
                XSynchBlinker* gone = theBlinker;
                theBlinker = nullptr;
                delete gone;
            });
    }
    theBlinker->AttachToApplication();
    return *theBlinker;
}

bool XSynchBlinker::Exists()
{
    return theBlinker != nullptr;
}

XSynchBlinker::XSynchBlinker()
{
    SetLabel(XString(kLabel), false);
    SetName(XString(kLabel));
}

void XSynchBlinker::AttachToApplication()
{
    if (GetLooper() != nullptr)
        return;
    if (XApplication* application = GetApplication())
        application->AddHandler(this);
}

void XSynchBlinker::Add(XView* view)
{
    if (view == nullptr || Contains(view))
        return;
    if (views.empty())
    {
        AttachToApplication();
        if (!externallySynchronised && !timerRunning && GetLooper() != nullptr)
        {
            timerRunning = true;
            StartTimer(kBlinkTimerId, kBlinkPeriodMs, false);
        }
    }
    views.push_back(view);
}

void XSynchBlinker::Remove(const XView* view)
{
    views.erase(std::remove(views.begin(), views.end(), view), views.end());
}

bool XSynchBlinker::Contains(const XView* view) const
{
    return std::find(views.begin(), views.end(), view) != views.end();
}

void XSynchBlinker::RepaintAll()
{
    // A repaint never changes the list, but a copy keeps the walk safe all the same.
    const std::vector<XView*> listed = views;
    for (XView* view : listed)
        view->RepaintRect(view->GetBounds());
}

void XSynchBlinker::HandleTimer(int32_t timerId)
{
    if (timerId != kBlinkTimerId)
    {
        XView::HandleTimer(timerId);
        return;
    }
    phaseOff = !phaseOff;
    RepaintAll();
}

void XSynchBlinker::MessageReceived(XMessage& message)
{
    if (message.GetWhat() != kSyncMessage)
    {
        XView::MessageReceived(message);
        return;
    }
    if (!externallySynchronised && !views.empty())
    {
        StopTimer(kBlinkTimerId);
        timerRunning = false;
        externallySynchronised = true;
    }
    RepaintAll();
}
