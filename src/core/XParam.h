#pragma once

#include "core/XHandler.h"
#include "core/XParamDesc.h"
#include "core/XSignal.h"
#include "core/XString.h"

#include <atomic>
#include <cstdint>
#include <vector>

class IDataIO;
class XMessage;
class XMutex;

/** One watcher entry of a parameter: the handler and the key handed back with every notification, so
    that one handler can tell its parameters apart. */
struct WatcherData
{
    XHandler* handler = nullptr; // not owned
    int32_t key = 0;
    uint32_t serial = 0; // order of addition within the parameter; lets a walk survive changes
};

/** The one recursive lock of the parameter model: it guards every watcher list, every notification
    walk, the direct delivery of SetValueNow, registration by path and destruction, and it is the lock
    of the live-parameter set (XLiveParamSet), so that a change posted across threads is delivered
    only while its parameter lives. Lock order: a looper's lock, then this lock, then the path
    registry's lock. A watcher called under it must never wait for another thread (send-and-wait). */
XMutex& GetParamLock();

/** The interface of every parameter: a named value with a range, a unit code, flags and watchers,
    identified by an id within its group and by a case-insensitive backslash path in the global
    registry (ParamRegistry).

    Watchers are handlers told of every change with a code (kParamValueSet set by the program,
    kParamChangedByUser changed by the user, kParamDestroyed destroyed, kParamFlagsChanged flags
    changed, kRefresh refresh): directly when the change happens on the watcher's looper thread or
    the watcher is unattached, else through a posted parameter message. A handler may watch a
    parameter several times; each entry is told.

    "Set" operations are the program's writes; "Change" operations are the user's edits that pass
    through the event and veto callbacks first. Values may be set from any thread; value and flags
    are atomic, watcher lists and the path are guarded by GetParamLock(). Texts are returned by
    value. While the application shuts down (IParamHost) nothing is notified.

    Lifetime: the owner deletes the parameter. Every concrete parameter class calls Retire() first
    thing in its destructor: it tells the watchers (kParamDestroyed) while the object is still whole, frees
    the path, and drops the parameter from the live set and from the watcher lists of the parameters
    it watches itself. */
class XParam : public XHandler
{
public:
    /** Value kinds. */
    static constexpr int32_t kKindNumeric = 0;
    static constexpr int32_t kKindTime = 1;
    static constexpr int32_t kKindText = 2;
    static constexpr int32_t kKindProxy = 3;

    /** Bit of the WriteTo flags: name, min and max are written too. */
    static constexpr int32_t kWriteWithRange = 0x2;

    XParam();
    ~XParam() override;

    // Handler part --------------------------------------------------------------------------------

    /** The mode operation of handlers: change tracking on (non-zero) or off. */
    void SetMode(int32_t mode) override;
    /** Stores the tracking state and passes it on to the handler of every watcher entry. */
    virtual void SetChangeTracking(bool on);
    bool IsChangeTracking() const { return changeTracking.load(); }
    /** A parameter that watches another passes its codes on to its own watchers, except kParamDestroyed. */
    virtual void HandleParamEvent(int32_t code, XParam* source, int32_t key);
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    /** The last component of the path; the descriptor's name while the path is empty. */
    XString GetName() const override;

    // Descriptor -----------------------------------------------------------------------------------

    virtual void SetDesc(const XParamDesc* desc);
    virtual int32_t GetType() const;
    /** The parameter's own descriptor copy; null for parameters without one. Read the flags through
        GetFlags: they may change on another thread. */
    virtual const XParamDesc* GetDesc() const;
    virtual int32_t GetFlags() const;
    virtual void SetFlags(int32_t flags);
    virtual void* GetClientData() const;
    virtual void SetClientData(void* data);
    virtual int32_t GetId() const;

    /** Tells every watcher entry except those of except (null: all), then emits the signal. */
    virtual void NotifyWatchers(int32_t code, XHandler* except);

    virtual void SetTextCallback(ParamTextCallback callback, int32_t user);
    virtual void SetVetoCallback(ParamVetoCallback callback, int32_t user);
    virtual void SetValueMapCallback(ParamValueMapCallback callback, int32_t user);
    virtual void SetEventCallback(ParamEventCallback callback, int32_t user);
    virtual ParamFormatCallback GetFormatCallback() const;
    virtual void SetFormatCallback(ParamFormatCallback callback, int32_t user, int32_t extra);

    // Values ----------------------------------------------------------------------------------------

    virtual XString GetDisplayTextOf(double value) const = 0;
    virtual XString GetDisplayText() const = 0;
    virtual double GetMin() const;
    virtual double GetMax() const;
    /** Number of steps; unsigned, since a 0..2147483647 mask counts 2147483648. */
    virtual uint32_t GetCount() const;
    /** min := value and count := max - value + 1; non-finite values are refused. */
    virtual void SetMin(double value);
    /** max := value and count := value - min + 1; non-finite values are refused. */
    virtual void SetMax(double value);
    /** count := value (SetMin and SetMax recompute it from the span; a caller that keeps a finer
        or coarser grid sets it again afterwards). */
    virtual void SetCount(uint32_t value);
    /** count < 3. */
    virtual bool IsToggle() const;
    /** The index is taken unsigned. */
    virtual double IndexToValue(int32_t index) const = 0;
    virtual int32_t ValueToIndex(double value) const = 0;
    virtual int32_t GetValueKind() const = 0;
    virtual double GetValue() const = 0;
    virtual double GetDefault() const = 0;
    virtual double ValueToNormalised(float value) const;
    virtual double GetNormalised() const;
    virtual double NormalisedToValue(float position) const;
    virtual XString ValueToText(double value) const = 0;
    virtual XString GetText() const = 0;
    virtual bool BeginEdit();
    virtual bool EndEdit();
    virtual bool IsEditing() const;
    virtual bool ApplyEvent(XParamEvent* event) = 0;
    virtual bool ChangeText(const char* text, bool notify) = 0;
    virtual bool ChangeValue(double value, bool notify) = 0;
    virtual bool ChangeNormalised(double position, bool notify);
    virtual bool SetText(const char* text, bool notify) = 0;
    virtual bool SetValue(double value, bool notify) = 0;
    virtual bool SetNormalised(double position, bool notify);
    virtual bool SetValueNow(double value, bool notify) = 0;
    virtual bool ResetToDefault() = 0;
    virtual bool StepBy(int32_t steps, bool notify) = 0;
    virtual int32_t GetStepIndex() const;
    virtual bool SetStepIndex(int32_t index);
    virtual XParam* GetSelf();

    // Watchers ----------------------------------------------------------------------------------------

    /** Appends an entry {handler, key}; with notifyNow the handler is told kParamValueSet at once. Nothing
       for a null handler or while shutting down. */
    void AddWatcher(XHandler* handler, int32_t key, bool notifyNow);
    /** Removes the first entry of handler, whatever its key. */
    void RemoveWatcher(XHandler* handler);
    bool IsWatchedBy(XHandler* handler, int32_t key) const;
    int32_t GetWatcherCount() const;
    /** NotifyWatchers(code, null); nothing while shutting down. */
    void Notify(int32_t code);
    /** Removes handler from the watcher lists of every parameter. Every handler calls it when it is
        destroyed (XHandler's destructor); a handler that is destroyed while other threads may
        change the parameters it watches calls it first in its own destructor, so that no
        notification runs into its half-destroyed parts. */
    static void ForgetWatcher(XHandler* handler);

    /** Emitted with the parameter after every notification, inside the parameter lock. */
    XSignal<XParam*>& GetSignal() { return signal; }

    // Change tracking ---------------------------------------------------------------------------------

    /** The tick of the last change while tracking; 0 when never changed. */
    uint32_t GetLastChangeTick() const { return lastChangeTick.load(); }

    // Path ---------------------------------------------------------------------------------------------

    /** Formats the path (at most 1023 characters) and registers the parameter under it, giving up
        its former path. False when the path is taken or malformed: the parameter then has no path.
        An empty path just gives up the former one (true). */
    bool SetPath(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    /** The path as given (case kept); empty while unregistered. */
    XString GetFullPath() const;
    /** The path without its last component. */
    XString GetPath() const;

    // One-parameter serialised form --------------------------------------------------------------------

    /** int32 flags; with kWriteWithRange the name (16-bit length), float32 min and max; then the text
        (16-bit length) for text kinds, nothing for time kinds, float32 value otherwise. Never
        swapped. */
    void WriteTo(IDataIO* stream, int32_t flags);
    /** Reads the form of WriteTo and applies the value (with notification); false on a short or
        failed read, which applies nothing. */
    bool ReadFrom(IDataIO* stream);
    /** Applies the value at index of the message's item "value" (string for text kinds, float for
        numeric ones); false when it is missing. */
    bool ReadValueFromMessage(const XMessage* message, int32_t index);

protected:
    /** Tells the watchers that the parameter goes (kParamDestroyed) unless shutting down, frees the path, and
        leaves the live set and every watcher list. Idempotent; called first in the destructor of each
        concrete class, while the object is whole. */
    void Retire();
    /** Stores GetTickCount as the change tick when tracking (or always with force). */
    void StampChange(bool force = false);
    /** Marks the application's current document as modified unless the parameter is transient. */
    void MarkDocument();
    /** Every watcher entry's handler gets its virtual NotifyParamChanged (the direct delivery of
        SetValueNow): no except, no signal. */
    void NotifyWatchersNow(int32_t code);
    /** n of the normalised mappings: count - 1 when count > 1, else count. */
    uint32_t NormalisedSteps() const;

private:
    enum class Delivery
    {
        ByRule,
        Virtual
    };
    void WalkWatchers(int32_t code, XHandler* except, Delivery delivery);
    /** Removes every entry of handler; returns how many. Caller holds the parameter lock. */
    int32_t DropWatcherEntries(const XHandler* handler);

    XSignal<XParam*> signal;
    std::atomic<bool> changeTracking{true};
    XString path; // guarded by the parameter lock
    std::atomic<uint32_t> lastChangeTick{0};
    std::vector<WatcherData> watchers; // guarded by the parameter lock; ascending serial
    uint32_t lastSerial = 0;           // guarded by the parameter lock
    bool retired = false;              // guarded by the parameter lock
    bool passingOnTracking = false;    // guarded by the parameter lock; stops cycles
};

/** True when a and b are the same parameter; false when either is null; else when count, min, max
    and value kind are all equal. */
bool ParamsHaveSameRange(XParam* a, XParam* b);
/** True when either is null; false for the same parameter; true when the ranges differ; else for
    numeric kinds whether the values differ, for text kinds whether the texts differ byte for byte,
    true for any other kind. */
bool ParamsDiffer(XParam* a, XParam* b);
/** True for kParamValueSet and kParamChangedByUser. */
bool IsValueChangeCode(int32_t code);
