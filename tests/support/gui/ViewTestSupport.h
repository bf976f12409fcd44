#pragma once

#include "core/FloatParam.h"
#include "core/IAppDocument.h"
#include "core/XApplication.h"
#include "core/XParamDesc.h"
#include "gui/IHotKeyTarget.h"
#include "gui/IViewServices.h"
#include "gui/XView.h"
#include "support/gui/GuiTestSupport.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

/** Helpers of the view tests. */
namespace ViewTest
{
/** The application that views attach to: its looper runs on the test thread, and it records the
    keys that reach its hot keys. Made on first use and kept for the rest of the process, since an
    application's destruction marks the process as shutting down for good. */
class TestApplication final : public XApplication, public IHotKeyTarget
{
public:
    TestApplication() : XApplication("ViewTests") {}

    bool HandleHotKey(int32_t keyCode, XKeyInfo modifiers) override
    {
        hotKeys.emplace_back(keyCode, modifiers);
        return false;
    }

    IAppDocument* GetDocument() override { return document; }

    std::vector<std::pair<int32_t, int32_t>> hotKeys;
    /** The current document a test lends (not owned); none by default. */
    IAppDocument* document = nullptr;
};

inline TestApplication& Application()
{
    static TestApplication* const application = []
    {
        auto* existing = dynamic_cast<TestApplication*>(GetApplication());
        return existing != nullptr ? existing : new TestApplication();
    }();
    return *application;
}

/** Runs the application's turns and JUCE's message loop until condition holds or timeoutMs pass. */
inline bool PumpUntil(const std::function<bool()>& condition, int timeoutMs)
{
    return GuiTestSupport::RunLoopUntil(
        [&]
        {
            Application().PumpMessages();
            return condition();
        },
        timeoutMs);
}

/** A few turns of the application and the message loop. */
inline void Pump()
{
    for (int turn = 0; turn < 5; ++turn)
    {
        Application().PumpMessages();
        GuiTestSupport::RunLoopFor(2);
    }
}

/** A numeric parameter min..max with one step per integer, value min. */
inline std::unique_ptr<FloatParam> MakeParam(double min, double max, const char* name = "Param")
{
    XParamDesc desc;
    desc.id = 1;
    desc.SetName(name);
    desc.type = XParamDesc::kTypeInteger;
    desc.min = min;
    desc.max = max;
    desc.def = min;
    desc.count = static_cast<uint32_t>(max - min + 1.0);
    return std::make_unique<FloatParam>(desc);
}

/** Services whose cursor state the tests set; installed for the object's life, then the services
    installed before are put back. */
class FakeServices final : public IViewServices
{
public:
    FakeServices() : previous(IViewServices::Set(this)) {}
    ~FakeServices() override { IViewServices::Set(previous); }
    FakeServices(const FakeServices&) = delete;
    FakeServices& operator=(const FakeServices&) = delete;

    bool IsCursorShown() override { return cursorShown; }
    bool IsWaitCursorOn() override { return waitCursorOn; }
    void InspectorSelectView(XView* view) override { selected.push_back(view); }
    void BuildDescription(const char* name, XView* root) override { built.emplace_back(name, root); }

    bool cursorShown = true;
    bool waitCursorOn = false;
    std::vector<XView*> selected;
    std::vector<std::pair<std::string, XView*>> built;

private:
    IViewServices* const previous;
};
} // namespace ViewTest
