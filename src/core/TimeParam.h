#pragma once

#include "core/XBaseParam.h"
#include "core/XTimeValue.h"

#include <functional>
#include <mutex>

/** The time parameter (type 1000): a position in time (XTimeValue) whose value, as a number, is its
    sample count. Built from a descriptor, it starts at the descriptor's default in samples.

    It has no text entry, no step index and no edit events; it moves by frames (StepBy). Unlike the
    other parameters it stamps no change tick (so a group never reports it as changed) and does not
    mark the document. Any thread may set or read the time. */
class TimeParam : public XBaseParam
{
public:
    explicit TimeParam(const XParamDesc& desc);
    ~TimeParam() override;

    /** "error": a time has no text for a bare number. */
    XString GetDisplayTextOf(double value) const override;
    XString GetDisplayText() const override;
    double IndexToValue(int32_t index) const override;
    int32_t ValueToIndex(double value) const override;
    int32_t GetValueKind() const override { return kKindTime; }
    /** The sample count of the time. */
    double GetValue() const override;
    double GetDefault() const override;
    XString ValueToText(double value) const override;
    /** The time written in its own form. */
    XString GetText() const override;
    bool ApplyEvent(XParamEvent* event) override;
    bool ChangeText(const char* text, bool notify) override;
    /** SetValue without notification, then kParamChangedByUser when it changed and notify is set. */
    bool ChangeValue(double samples, bool notify) override;
    bool SetText(const char* text, bool notify) override;
    /** Sets the time to a sample count (held to one day): false when equal to the time or not
        finite; else converts it into the time's form and notifies kParamValueSet when asked. */
    bool SetValue(double samples, bool notify) override;
    bool SetValueNow(double value, bool notify) override;
    bool ResetToDefault() override;
    /** Moves the time by |steps| frames, back for negative steps (not below 0); false when it did
        not move. */
    bool StepBy(int32_t steps, bool notify) override;

    /** As SetValue for a time of any form. */
    bool SetTime(const XTimeValue& value, bool notify);
    XTimeValue GetTime() const;

private:
    /** Stores next(time) unless it equals the time; notifies kParamValueSet when stored and notify is
        set. next runs under timeLock. */
    bool Update(const std::function<XTimeValue(const XTimeValue&)>& next, bool notify);

    mutable std::mutex timeLock;
    XTimeValue time; // guarded by timeLock
};
