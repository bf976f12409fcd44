#pragma once

#include "core/FloatParam.h"
#include "core/IParamHost.h"
#include "core/XHandler.h"
#include "core/XParamDesc.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

/** Helpers of the parameter tests. */
namespace ParamTest
{
/** Stands in for the application: a shutting-down switch and a count of document marks. Installed
    for the life of the object. */
class FakeHost final : public IParamHost
{
public:
    FakeHost() { SetParamHost(this); }
    ~FakeHost() override { SetParamHost(nullptr); }
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    bool IsShuttingDown() const override { return shuttingDown.load(); }
    void MarkDocumentModified() override { marks.fetch_add(1); }

    std::atomic<bool> shuttingDown{false};
    std::atomic<int> marks{0};
};

/** One parameter notification as a watcher saw it. */
struct Note
{
    int32_t code;
    XParam* param;
    int32_t key;
    bool operator==(const Note& other) const
    {
        return code == other.code && param == other.param && key == other.key;
    }
};

/** A watcher that records what it is told, from any thread. */
class Recorder : public XHandler
{
public:
    explicit Recorder(const char* name = "recorder") : XHandler(name) {}

    void ParamChanged(int32_t code, XParam* param, int32_t key) override
    {
        std::lock_guard<std::mutex> hold(lock);
        notes.push_back({code, param, key});
    }
    std::vector<Note> Notes()
    {
        std::lock_guard<std::mutex> hold(lock);
        return notes;
    }
    std::vector<int32_t> Codes()
    {
        std::vector<int32_t> codes;
        for (const Note& note : Notes())
            codes.push_back(note.code);
        return codes;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> hold(lock);
        notes.clear();
    }

private:
    std::mutex lock;
    std::vector<Note> notes;
};

/** A descriptor row. */
inline XParamDesc Desc(int32_t type, double min, double max, double def, uint32_t count, int32_t flags = 0,
                       const char* name = "Param", int32_t id = 1)
{
    XParamDesc desc;
    desc.id = id;
    desc.SetName(name);
    desc.type = type;
    desc.min = min;
    desc.max = max;
    desc.def = def;
    desc.count = count;
    desc.flags = flags;
    return desc;
}
} // namespace ParamTest
