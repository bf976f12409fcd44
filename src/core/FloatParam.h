#pragma once

#include "core/XBaseParam.h"

#include <atomic>

/** The numeric parameter: a double value inside [min, max] of its descriptor, mapped to and from
    step indices and normalised positions by a few built-in scales (the unit code decides), shown as
    text by its unit code, written by the program (SetValue), edited by the user (ChangeValue,
    ApplyEvent, StepBy) and entered as text.

    Values are clamped to the range, never refused; non-finite values are refused (false). Index and
    position mappings are computed in single precision, as the unit's tables expect. The value is
    atomic: any thread may set it; notification follows XParam's rules. */
class FloatParam : public XBaseParam
{
public:
    /** Descriptor cleared (XParamDesc::Init), value 0. */
    FloatParam();
    /** SetDesc(&desc): value = its default. */
    explicit FloatParam(const XParamDesc& desc);
    ~FloatParam() override;

    void SetDesc(const XParamDesc* desc) override;
    /** An unchanged word does nothing; else stamps (when tracking), stores and notifies kParamFlagsChanged.
     */
    void SetFlags(int32_t flags) override;
    void* GetClientData() const override;
    void SetClientData(void* data) override;

    /** The format callback's text (else the value text) reduced to what follows its last ':', with
        every '|' shown as ':'. */
    XString GetDisplayTextOf(double value) const override;
    XString GetDisplayText() const override;
    double IndexToValue(int32_t index) const override;
    int32_t ValueToIndex(double value) const override;
    int32_t GetValueKind() const override { return kKindNumeric; }
    /** The stored value, through the value-map callback when one is set. */
    double GetValue() const override;
    /** The text callback's text, else the text of the unit code. */
    XString ValueToText(double value) const override;
    XString GetText() const override;
    bool BeginEdit() override;
    bool EndEdit() override;
    bool IsEditing() const override;
    bool ApplyEvent(XParamEvent* event) override;
    /** A user edit from text: percent parameters read a number (an integer text as is) and divide it
        by 100; others take an integer or decimal text. Unreadable text gives false. */
    bool ChangeText(const char* text, bool notify) override;
    /** The user's change: the event callback (else the veto callback, which may rewrite the value)
        may refuse it; then SetValue without notification and, when changed, kParamChangedByUser. */
    bool ChangeValue(double value, bool notify) override;
    /** A program write from text: an integer text, a decimal text truncated toward zero, or, for up
        to 19 positions, the text of one of them (case counts). */
    bool SetText(const char* text, bool notify) override;
    /** The program's write: false when equal to the stored value (compared before clamping); else
        stamps, clamps, stores, notifies kParamValueSet when asked and marks the document. */
    bool SetValue(double value, bool notify) override;
    /** As SetValue, but the stamp is always made and watchers get NotifyParamChanged directly: no
        signal, no document mark. */
    bool SetValueNow(double value, bool notify) override;
    bool ResetToDefault() override;
    /** Moves by steps, as an event of type 5 (which always notifies). */
    bool StepBy(int32_t steps, bool notify) override;

    /** True for switch-like parameters (count <= 2, min 0, max <= 2): stepping past an end wraps. */
    bool WrapsOnStep() const;

private:
    /** Number of positions that text entry tries: 2 for on/off (whose count is 1), else count. */
    uint32_t TextPositions() const;
    bool MoveBySteps(int32_t steps);
    bool AskEditCallbacks(int32_t vetoPhase, int32_t eventType);
    XString UnitText(double value) const;

    std::atomic<double> value{0.0};
    std::atomic<bool> editing{false};
    std::atomic<void*> clientData{nullptr};
};
