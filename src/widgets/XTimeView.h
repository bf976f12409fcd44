#pragma once

#include "core/XTimeValue.h"
#include "widgets/XTextEditView.h"

#include <cstdint>

class XImage;

/** A text field that shows and edits a time ("timeedit"): a plain sample count (format 0), SMPTE
    timecode (1) or a three-part position (2), optionally bound to a time parameter (TimeParam). Its
    editor works field by field: digits shift into the selected field, separators and the arrow keys
    move between fields, the up and down keys and the mouse step the field.

    Every focus loss commits the text: a timecode that does not read is mended (carrying fields over)
    or, when it cannot be, the last good time is shown again; a good time goes to the bound parameter.
    GUI thread only; the background image belongs to the skin resources. */
class XTimeView : public XTextEditView
{
public:
    static constexpr int32_t kFormatSamples = XTimeValue::kSamples;
    static constexpr int32_t kFormatSmpte = XTimeValue::kTimecode;
    static constexpr int32_t kFormatBbt = XTimeValue::kThreeNumbers;
    /** hh:mm:ss:ff, the text shown without sub-frames. */
    static constexpr int32_t kTimecodeLength = 11;

    XTimeView();

    /** The display format (0, 1 or 2): the value is converted into it and shown. */
    void SetTimeFormat(int32_t format);
    int32_t GetTimeFormat() const { return value.GetType(); }
    void SetDisplaySubframes(bool flag);
    const XTimeValue& GetTimeValue() const { return value; }
    XImage* GetBackground() const { return background; }

    /** The parameter's time when it is a time parameter, else a cleared time. */
    virtual XTimeValue GetTimeValueOf(XParam* param) const;
    virtual bool GetDisplaySubframes() const { return displaySubframes; }

    void ApplyStyle() override;
    void ReadAttributes(XMessage& block) override;
    void Draw(XCanvas& canvas) override;
    void FontChanged() override;
    /** The text edit view's commit, then the text is read as a time (a bad timecode mended when it
        can be) and written to the bound time parameter. */
    void CommitText() override;

    void MessageReceived(XMessage& message) override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

protected:
    /** The value in its own format, as the text (no undo). */
    void ShowValue();
    /** Reads text as a time of the view's format with the sub-frame flag; false when it does not. */
    bool ReadTime(const XString& text, XTimeValue& out) const;
    /** The bound parameter when it is a time parameter and the control is not disabled, else null. */
    class TimeParam* GetWritableTimeParam() const;

private:
    XTimeValue value;
    XImage* background = nullptr; // skin resource, not owned
    bool displaySubframes = false;
};
