#include "core/XPerformanceVariable.h"

#include "core/FormatGroupedNumber.h"
#include "core/XApplication.h"
#include "core/XHandler.h"
#include "core/XMutex.h"
#include "core/XSmartLock.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace
{
constexpr int32_t kTextDecimals = 2;

struct PropertyRow
{
    const char* name;
    int32_t kind;
};

/** Ids 1..8; id 8 has no name and no kind. */
const PropertyRow kRows[XPerformanceVariable::kPropertyCount] = {
    {"Total Micros", IPropertyData::kKindInteger}, {"Measurements", IPropertyData::kKindInteger},
    {"Avg Micros", IPropertyData::kKindReal},      {"Peak Micros", IPropertyData::kKindInteger},
    {"CPU %", IPropertyData::kKindReal},           {"uS Per Sample", IPropertyData::kKindReal},
    {"Frame Micros", IPropertyData::kKindReal},    {"", IPropertyData::kKindInvalid}};

const PropertyRow* RowOf(int32_t id)
{
    return id >= 1 && id <= XPerformanceVariable::kPropertyCount ? &kRows[id - 1] : nullptr;
}

/** The variables that Register entered, not owned; guarded by the property lock. */
std::vector<XPerformanceVariable*>& PublishedVariables()
{
    static auto* list = new std::vector<XPerformanceVariable*>();
    return *list;
}

/** Publishes the variables on its timer. Made by the first Register and kept to the end of the
    process; it joins the application looper whenever it has none and an application exists. */
class XPerformanceHandler final : public XHandler
{
public:
    XPerformanceHandler() : XHandler("Performance Handler") {}

    void OnTimer(int32_t timerId) override
    {
        if (timerId == XPerformanceVariable::kPublishTimerId)
            PublishPerformanceVariables();
    }
};

/** Creates the handler once and attaches it to the application looper when it has no looper (the
    first time, or after the application it ran on was destroyed). Takes its own lock, never the
    property lock: the timer takes the property lock under the looper's lock. */
void EnsurePublisher()
{
    static auto* publisherLock = new std::mutex();
    static XPerformanceHandler* handler = new XPerformanceHandler();
    std::lock_guard<std::mutex> hold(*publisherLock);
    XApplication* application = GetApplication();
    if (handler->GetLooper() != nullptr || application == nullptr)
        return;
    if (application->AddHandler(handler))
        application->SetTimer(handler, XPerformanceVariable::kPublishTimerId,
                              XPerformanceVariable::kPublishPeriodMs, false);
}
} // namespace

XPerformanceVariable::XPerformanceVariable() = default;

XPerformanceVariable::~XPerformanceVariable()
{
    XSmartLock hold(GetPropertyLock());
    auto& list = PublishedVariables();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

XString XPerformanceVariable::GetPropertyName(int32_t id) const
{
    const PropertyRow* row = RowOf(id);
    return row != nullptr ? XString(row->name) : XString();
}

int32_t XPerformanceVariable::GetPropertyKind(int32_t id) const
{
    const PropertyRow* row = RowOf(id);
    return row != nullptr ? row->kind : kKindInvalid;
}

int32_t XPerformanceVariable::GetIntegerProperty(int32_t id) const
{
    switch (id)
    {
    case kIdTotalMicros:
        return totalMicros.load();
    case kIdMeasurements:
        return measurements.load();
    case kIdPeakMicros:
        return peakMicros.load();
    case kIdLastMicros:
        return lastMicros.load();
    default:
        return 0;
    }
}

double XPerformanceVariable::GetRealProperty(int32_t id) const
{
    switch (id)
    {
    case kIdAverageMicros:
        return averageMicros.load();
    case kIdCpuPercent:
        return cpuPercent.load();
    default:
        return 0.0;
    }
}

XString XPerformanceVariable::GetPropertyText(int32_t id) const
{
    XString text;
    switch (id)
    {
    case kIdTotalMicros:
    case kIdPeakMicros:
        text.Format("%d", GetIntegerProperty(id));
        return text;
    case kIdAverageMicros:
    case kIdMicrosPerSample:
    case kIdFrameMicros:
        FormatGroupedNumber(text, GetRealProperty(id), kTextDecimals, false);
        return text;
    default:
        return IPropertyData::GetPropertyText(id);
    }
}

void XPerformanceVariable::Register(const char* name)
{
    IPropertyData::Register(name);
    EnsurePublisher();
    XSmartLock hold(GetPropertyLock());
    auto& list = PublishedVariables();
    if (std::find(list.begin(), list.end(), this) == list.end())
        list.push_back(this);
}

void XPerformanceVariable::AddMeasurement(int32_t micros)
{
    // Totals wrap as 32-bit counters do (atomic arithmetic wraps; so does the sum here).
    const auto wrappingSum = [](int32_t a, int32_t b)
    { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); };
    const int32_t total = wrappingSum(totalMicros.fetch_add(micros), micros);
    const int32_t count = std::max(1, wrappingSum(measurements.fetch_add(1), 1));
    averageMicros.store(static_cast<double>(total) / count);
    int32_t peak = peakMicros.load();
    while (micros > peak && !peakMicros.compare_exchange_weak(peak, micros))
    {
    }
    lastMicros.store(micros);
    changed.store(true);
}

void XPerformanceVariable::SetCpuPercent(double percent)
{
    cpuPercent.store(percent);
    changed.store(true);
}

void PublishPerformanceVariables()
{
    XSmartLock hold(GetPropertyLock());
    // A snapshot: a watcher may register or delete variables while it is told.
    const std::vector<XPerformanceVariable*> snapshot = PublishedVariables();
    for (XPerformanceVariable* variable : snapshot)
    {
        const auto& list = PublishedVariables();
        if (std::find(list.begin(), list.end(), variable) == list.end())
            continue;
        if (variable->changed.exchange(false))
            variable->NotifyWatchers(IPropertyData::kAllProperties);
    }
}
