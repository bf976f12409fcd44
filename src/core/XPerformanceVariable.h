#pragma once

#include "core/IPropertyData.h"

#include <atomic>
#include <cstdint>

/** A performance counter: measured times of some piece of work, published as properties to its
    watchers. Ids 1 "Total Micros", 2 "Measurements" and 4 "Peak Micros" are integers, 3 "Avg Micros",
    5 "CPU %", 6 "uS Per Sample" and 7 "Frame Micros" reals; id 8 (no name) holds the last
    measurement. Ids 6 and 7 always read 0.

    Measurements set the changed mark; the performance handler, a timer on the application looper
    created by the first Register, publishes every variable whose mark is set every
    kPublishPeriodMs (NotifyWatchers with all properties) and clears the mark.

    Any thread may measure (the values are atomic); registration and publishing take the property
    lock. The owner deletes the variable, which then leaves the published list. */
class XPerformanceVariable : public IPropertyData
{
public:
    static constexpr int32_t kIdTotalMicros = 1;
    static constexpr int32_t kIdMeasurements = 2;
    static constexpr int32_t kIdAverageMicros = 3;
    static constexpr int32_t kIdPeakMicros = 4;
    static constexpr int32_t kIdCpuPercent = 5;
    static constexpr int32_t kIdMicrosPerSample = 6;
    static constexpr int32_t kIdFrameMicros = 7;
    static constexpr int32_t kIdLastMicros = 8;
    static constexpr int32_t kPropertyCount = 8;
    static constexpr int32_t kPublishTimerId = 10;
    static constexpr int32_t kPublishPeriodMs = 2000;
    static constexpr int32_t kDefaultLowLimit = 5000;
    static constexpr int32_t kDefaultHighLimit = 30000;

    XPerformanceVariable();
    ~XPerformanceVariable() override;

    int32_t GetPropertyCount() const override { return kPropertyCount; }
    XString GetPropertyName(int32_t id) const override;
    int32_t GetPropertyKind(int32_t id) const override;
    int32_t GetIntegerProperty(int32_t id) const override;
    double GetRealProperty(int32_t id) const override;
    XString GetPropertyText(int32_t id) const override;

    /** IPropertyData::Register, then makes sure the performance handler runs on the application
        looper (when there is an application), then joins the published list. */
    void Register(const char* name);

    /** Adds one measurement: total, count, average, peak and last change; sets the changed mark. */
    void AddMeasurement(int32_t micros);
    void SetCpuPercent(double percent);
    bool IsChanged() const { return changed.load(); }
    int32_t GetLowLimit() const { return lowLimit; }
    int32_t GetHighLimit() const { return highLimit; }

private:
    friend void PublishPerformanceVariables();

    std::atomic<int32_t> totalMicros{0};
    std::atomic<int32_t> measurements{0};
    std::atomic<double> averageMicros{0.0};
    std::atomic<int32_t> peakMicros{0};
    std::atomic<double> cpuPercent{0.0};
    std::atomic<int32_t> lastMicros{0};
    std::atomic<bool> changed{false};
    const int32_t lowLimit = kDefaultLowLimit;
    const int32_t highLimit = kDefaultHighLimit;
};

/** Publishes every registered variable whose changed mark is set (the handler's timer does this). */
void PublishPerformanceVariables();
