#pragma once

#include "core/FloatParam.h"
#include "core/XHandler.h"
#include "core/XLooper.h"
#include "core/XMessage.h"
#include "support/gui/ViewTestSupport.h"

#include <memory>
#include <string>
#include <vector>

/** Helpers of the control, text and colour-picker tests. */
namespace ControlTest
{
/** A parameter registered under a path for as long as the object lives; value set at once. */
struct PathParam
{
    PathParam(const char* path, double min, double max, double value)
        : param(ViewTest::MakeParam(min, max, "PathParam"))
    {
        param->SetPath("%s", path);
        param->SetValue(value, false);
    }
    std::unique_ptr<FloatParam> param;
};

/** Holds a modifier key down through its on-screen parameter ("dca\control", "dca\alt",
    "dca\shift") for the object's life. */
struct HeldKey : PathParam
{
    explicit HeldKey(const char* name) : PathParam((std::string("dca\\") + name).c_str(), 0, 1, 1) {}
};

/** A handler of the application looper that keeps copies of the messages it receives; it may also
    be bound to message codes of the application. */
class Recorder final : public XHandler
{
public:
    explicit Recorder(const char* name) : XHandler(name) { ViewTest::Application().AddHandler(this); }
    ~Recorder() override
    {
        for (uint32_t code : boundCodes)
            ViewTest::Application().SetCodeHandler(code, nullptr);
        ViewTest::Application().RemoveHandler(this);
    }

    /** Messages of code posted to the application come here. */
    void Bind(uint32_t code)
    {
        boundCodes.push_back(code);
        ViewTest::Application().SetCodeHandler(code, this);
    }

    void MessageReceived(XMessage& message) override { messages.push_back(message); }

    std::vector<XMessage> messages;

private:
    std::vector<uint32_t> boundCodes;
};
} // namespace ControlTest
