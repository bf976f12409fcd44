#pragma once

#include "core/XBaseParam.h"

#include <mutex>

/** The text parameter (type 1001): names, paths, status texts, and selectors whose values are the
    words that a text callback lists for the indices 0..max of the descriptor.

    With a text callback only those words (compared ignoring case, stored as typed) and the empty
    text are accepted, and the value is the index of the stored word; without one any text is
    accepted and the value is the number the text spells (0 when it spells none). Texts equal to
    the stored one ignoring case change nothing. Any thread may set or read the text. */
class StringParam : public XBaseParam
{
public:
    /** Type 1001, range 0..1, id -1, no name, empty text. */
    StringParam();
    explicit StringParam(const XParamDesc& desc);
    ~StringParam() override;

    int32_t GetType() const override;
    /** The format callback's text (else ValueToText) reduced to what follows its last ':', with
        every '|' shown as ':'. */
    XString GetDisplayTextOf(double value) const override;
    XString GetDisplayText() const override;
    /** The index taken unsigned. */
    double IndexToValue(int32_t index) const override;
    /** The value truncated. */
    int32_t ValueToIndex(double value) const override;
    int32_t GetValueKind() const override { return kKindText; }
    /** With a text callback the first index whose word is the text (ignoring case), else 0; without
        one the number of an integer or decimal text, else 0. */
    double GetValue() const override;
    /** The callback's word for the value; without a callback the stored text. */
    XString ValueToText(double value) const override;
    XString GetText() const override;
    bool ApplyEvent(XParamEvent* event) override;
    /** A user's text: with veto and text callbacks, the index of the word is offered to the veto
        callback first; then SetText without notification and kParamChangedByUser when it changed. */
    bool ChangeText(const char* text, bool notify) override;
    /** The veto callback may refuse or rewrite the value; then SetValue without notification and
        kParamChangedByUser when it changed. */
    bool ChangeValue(double value, bool notify) override;
    /** The program's text: false when equal ignoring case or not one of the callback's words (the
        empty text always passes); else stamps, stores, notifies kParamValueSet when asked and marks the
        document. A null text counts as "". */
    bool SetText(const char* text, bool notify) override;
    /** SetText of the callback's word for the value, or without a callback of the number's text
        (XString's text of a double: "12.00", "1.5"). False for a value that is not finite. */
    bool SetValue(double value, bool notify) override;
    bool SetValueNow(double value, bool notify) override;
    /** The word of the default with a text callback; else the empty text. */
    bool ResetToDefault() override;
    bool StepBy(int32_t steps, bool notify) override;

private:
    /** The first index 0..max whose callback word equals text ignoring case; -1 when none. Only
        with a text callback. */
    int32_t IndexOfWord(const XString& text) const;

    mutable std::mutex textLock;
    XString text; // guarded by textLock
};
