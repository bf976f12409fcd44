#pragma once

#include "core/XParamGroup.h"

#include <atomic>
#include <cstdint>
#include <vector>

class FloatParam;

/** A parameter group with two stored settings, A and B, between which one selector parameter (the
    toolbar's A/B switch) switches: a change of the selector stores the group's current values as the
    side being left and loads the other side as user changes (kParamChangedByUser, stamped), so that
    displays and the device link follow. Selector 0 selects A, else B; text parameters keep their text.

    The selector is bound once, after the parameters are added; adding parameters later leaves the
    switch without effect. The snapshots hold doubles, so wide bit masks survive a switch exactly.

    Threads: the switch runs where the selector's notification is delivered (XHandler's rule). The
    snapshots are guarded by the parameter lock (GetParamLock), under which every notification
    runs. When the selector is destroyed, the group forgets it. */
class XABGroup : public XParamGroup
{
public:
    /** The key under which the group watches its selector. */
    static constexpr int32_t kSelectorKey = 0;

    explicit XABGroup(const char* name = nullptr);
    ~XABGroup() override;

    /** Binds the selector once (null and later calls do nothing): makes both snapshots the
        parameters' defaults when they are smaller than the parameter count, then watches the
        selector and switches at once to the side it selects. */
    void SetSelector(FloatParam* selector);
    FloatParam* GetSelector() const { return selector.load(); }
    /** A and B := every parameter's default. */
    void ResetSnapshots();
    /** A and B := every parameter's current value, when the snapshots exist. */
    void CopyValuesToSnapshots();
    /** The switch: a value change (kParamValueSet, kParamChangedByUser) of the selector while the snapshots
       match the parameter count. kParamDestroyed of the selector unbinds it. */
    void HandleParamEvent(int32_t code, XParam* source, int32_t key);
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

    /** The number of entries of each snapshot (0 before a selector is bound). */
    int32_t GetSnapshotSize() const;

    /** True on the calling thread while a switch loads a snapshot into the parameters. Edit
        callbacks that couple one parameter to another (the amplifier and its threshold) leave the
        coupling alone then, since every value being loaded is already the stored one. */
    static bool IsLoadingSnapshot();

private:
    std::atomic<FloatParam*> selector{nullptr};
    std::vector<double> snapshotA; // guarded by the parameter lock
    std::vector<double> snapshotB; // guarded by the parameter lock
};
