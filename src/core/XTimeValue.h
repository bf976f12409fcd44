#pragma once

#include "core/Timecode.h"
#include "core/XString.h"

#include <cstdint>

/** A position in time held in one of four forms: a sample count, timecode fields, three numbers
    (a form that counts as zero in every computation) or seconds. Operations between values of
    different forms convert through samples at the current frame rate (Timecode); a value is never
    longer than one day (Timecode::GetSampleRate() * 86400 - 1 samples) nor below zero.

    A plain value type: copy it freely; one object must not be changed by two threads at once. */
class XTimeValue
{
public:
    static constexpr int32_t kSamples = 0;
    static constexpr int32_t kTimecode = 1;
    static constexpr int32_t kThreeNumbers = 2;
    static constexpr int32_t kSeconds = 3;

    /** The formats of ToString beyond the forms above. */
    static constexpr int32_t kFormatClock = 3; // "HH:MM:SS.mmm"

    /** A zero sample count. */
    XTimeValue() = default;
    /** The zero of a form (three numbers: 1, 1, 0). */
    explicit XTimeValue(int32_t type);

    /** A zero sample count; the sub-frame switch off. */
    void Clear();
    int32_t GetType() const { return type; }
    /** Sub-frames are written even when 0. */
    bool GetShowSubFrames() const { return showSubFrames; }
    void SetShowSubFrames(bool show) { showSubFrames = show; }

    double GetSamples() const;
    double GetSeconds() const;
    TimecodeFields GetTimecode() const;
    /** The three numbers (1, 1, 0 for values of another form). */
    void GetNumbers(int16_t& first, int16_t& second, int16_t& third) const;

    /** Stores the sample count, held to 0..one day, in the value's own form (the three-number form
        becomes 1, 1, 0). */
    void SetSamples(double samples);
    /** The same form copies the value; another form is converted into this value's form. */
    void Assign(const XTimeValue& other);
    void Add(const XTimeValue& other);
    /** Stops at 0. */
    void Subtract(const XTimeValue& other);
    /** Equal sample counts. */
    bool Equals(const XTimeValue& other) const;

    /** Makes the value a value of form type read from text: an integer text of samples, a timecode
        text (mended by Timecode::NormalizeTimecode when it is not valid as it stands, with
        sub-frames, frames, seconds and minutes carried), or a number text of seconds. False, value
        unchanged, for text that does not read, and for the three-number form. */
    bool FromString(const char* text, int32_t type);
    /** Format 0 the samples ("%.0f"), 1 the timecode text, 2 the three numbers joined by ":",
        3 "HH:MM:SS.mmm"; any other "error". */
    XString ToString(int32_t format) const;

private:
    /** The three numbers' zero: 1, 1, 0. */
    void SetNumbersToZero();

    int32_t type = kSamples;
    double samples = 0.0; // form kSamples
    double seconds = 0.0; // form kSeconds
    TimecodeFields timecode;
    int16_t numbers[3] = {1, 1, 0};
    bool showSubFrames = false;
};
