#pragma once

#include "core/XParam.h"

#include <vector>

/** The proxy parameter (type 1002): it holds no value of its own but stands for one of its links,
    the target, chosen by the value of a selector parameter (value i selects link i; no link, no
    target). Every value operation goes to the target; without one the proxy answers neutrally
    (0.0, max 1.0, count 1, empty texts, false). Its watchers hear the target's changes, and kParamValueSet
    when the selector picks a target that differs (ParamsDiffer) from the last one.

    The owner adds the links and the selector and makes the proxy a watcher of the selector and of
    every link (AddWatcher); the proxy drops a target or selector that reports kParamDestroyed. It owns
    neither. A proxy has no descriptor: its id is -1 and its name comes from its path alone.
    Target and selector are guarded by the parameter lock (GetParamLock()), which forwarded calls
    hold, so a target cannot go while a call runs on it. */
class XProxyParam : public XParam
{
public:
    XProxyParam() = default;
    ~XProxyParam() override;

    /** Appends a candidate target; null is ignored. */
    void AddLink(XParam* link);
    int32_t GetLinkCount() const;
    void SetSelector(XParam* selector);
    XParam* GetSelector() const;
    XParam* GetTarget() const;
    /** Picks the link at the selector's value (none for a value past the links; a negative value
        changes nothing) and notifies kParamValueSet when it differs from the last target. */
    void SelectTarget();

    /** kParamValueSet and kParamChangedByUser from the target are passed on; from the selector they select
       the target. kParamDestroyed from the target drops it; from the selector drops both. */
    void HandleParamEvent(int32_t code, XParam* source, int32_t key) override;
    /** The direct delivery of SetValueNow: from the target, each watcher of the proxy gets
        NotifyParamChanged(kParamValueSet, proxy, its key); from any other source the ordinary delivery. */
    int32_t NotifyParamChanged(int32_t code, XParam* param, int32_t key) override;
    /** The target's type; 1002 without a target. */
    int32_t GetType() const override;
    void SetVetoCallback(ParamVetoCallback callback, int32_t user) override;

    XString GetDisplayTextOf(double value) const override;
    XString GetDisplayText() const override;
    double GetMin() const override;
    double GetMax() const override;
    uint32_t GetCount() const override;
    bool IsToggle() const override;
    double IndexToValue(int32_t index) const override;
    int32_t ValueToIndex(double value) const override;
    int32_t GetValueKind() const override { return kKindProxy; }
    double GetValue() const override;
    double GetDefault() const override;
    XString ValueToText(double value) const override;
    XString GetText() const override;
    /** With a veto callback: the callback (phase 0) is told and the target is not; else the
        target's BeginEdit. */
    bool BeginEdit() override;
    /** As BeginEdit, phase 2. */
    bool EndEdit() override;
    bool IsEditing() const override;
    /** Without a veto callback the target applies the event; with one the proxy applies it through
        its own ChangeValue, as a numeric parameter does, except that stepping past an end stops
        there instead of wrapping. */
    bool ApplyEvent(XParamEvent* event) override;
    bool ChangeText(const char* text, bool notify) override;
    /** The veto callback (phase 1) may refuse or rewrite the value; then the target's ChangeValue. */
    bool ChangeValue(double value, bool notify) override;
    bool SetText(const char* text, bool notify) override;
    bool SetValue(double value, bool notify) override;
    bool SetValueNow(double value, bool notify) override;
    bool ResetToDefault() override;
    bool StepBy(int32_t steps, bool notify) override;
    /** The target's GetSelf; null without a target. */
    XParam* GetSelf() override;

private:
    /** fn(target) under the parameter lock, or neutral without a target. */
    template <typename Result, typename Fn> Result WithTarget(Result neutral, Fn fn) const;
    bool AskVeto(double* value, int32_t phase);

    XParam* target = nullptr;   // not owned; guarded by the parameter lock
    XParam* selector = nullptr; // not owned; guarded by the parameter lock
    std::vector<XParam*> links; // not owned; guarded by the parameter lock
    ParamVetoCallback vetoCallback = nullptr;
    int32_t vetoUser = 0;
};
