#pragma once

#include "core/XResult.h"
#include "core/XString.h"

#include <cstdint>

/** Hours, minutes, seconds, frames and hundredths of a frame of a position in time. */
struct TimecodeFields
{
    uint8_t hours = 0;
    uint8_t minutes = 0;
    uint8_t seconds = 0;
    uint8_t frames = 0;
    uint16_t subFrames = 0;

    bool operator==(const TimecodeFields& other) const
    {
        return hours == other.hours && minutes == other.minutes && seconds == other.seconds &&
               frames == other.frames && subFrames == other.subFrames;
    }
};

/** Timecode arithmetic at the process's sample rate and the frame rate chosen by the parameter
    "sync\TimeCodeFrameRate" (its value truncated is the frame-rate kind below; kind 0 while the
    parameter does not exist). The parameter is looked up on every call, so a parameter that comes
    or goes later is followed.

    Sample counts are 64-bit: a day of frames in samples does not fit 32 bits. Texts are
    "HH:MM:SS:FF", with "," before the frames for the drop-frame kinds. Every function is
    thread-safe. */
namespace Timecode
{
/** Frame-rate kinds (the value of "sync\TimeCodeFrameRate"). */
constexpr int32_t k30NonDrop = 0;
constexpr int32_t k30Drop = 1;
constexpr int32_t k2997NonDrop = 2;
constexpr int32_t k2997Drop = 3;
constexpr int32_t k25 = 4;
constexpr int32_t k24 = 5;
constexpr int32_t k24975 = 6;
constexpr int32_t k23976 = 7;

/** The path of the frame-rate parameter. */
constexpr const char* kFrameRatePath = "sync\\TimeCodeFrameRate";

/** The process's sample rate, 48000. */
float GetSampleRate();
int32_t GetSampleRateInt();

/** The current frame-rate kind: the frame-rate parameter's value truncated, 0 without it. */
int32_t GetFrameRateKind();
/** Frames per second of the timecode fields of a kind: 30, 25 or 24 (30 for unknown kinds). */
int32_t FramesPerSecond(int32_t kind);
bool IsDropFrame(int32_t kind);

/** Samples of n frames. */
int64_t FramesToSamples(uint32_t frames);
/** Whole frames in a sample count (negative counts give 0). */
uint32_t SamplesToFrames(double samples);
/** Hours above 23 count as 23, frames at or above the frames per second as the last frame; the
    drop-frame kinds skip two frame numbers every minute except every tenth. */
uint32_t TimecodeToFrames(const TimecodeFields& fields);
/** Fields of a frame number, sub-frames 0. */
TimecodeFields FramesToTimecode(uint32_t frames);
TimecodeFields SamplesToTimecode(double samples);
double TimecodeToSamples(const TimecodeFields& fields);

/** "HH:MM:SS:FF" (drop-frame kinds "HH:MM:SS,FF"), every field two digits; with showSubFrames or
    non-zero sub-frames followed by "." and two digits of sub-frames. */
XString TimecodeToText(const TimecodeFields& fields, bool showSubFrames);

/** Reads hours, minutes, seconds, frames and optional sub-frames separated by ":", "." or ",";
    sub-frames of 100 or more carry into the frames, frames above 29 into the seconds, seconds and
    minutes above 59 into the next field; hours stop at 23. False for any other text. */
bool ParseTimecode(const char* text, TimecodeFields& fields);
/** A text of 11 or 14 characters, of digits and separators (":", "." or ","), whose first four
    fields are hours <= 23, minutes <= 59, seconds <= 59 and frames <= 29. */
bool IsValidTimecode(const char* text);
/** Mends a typed timecode: "." "," and ";" become ":", the text is cut to 11 characters and its
    digits are grouped right to left in two-digit fields ("1.2.3.4" gives "01:02:03:04"; "" gives
    "00:00:00:00"). Frames >= 30, seconds and minutes >= 60 carry into the next field (or stop at
    29 or 59 without carry); hours stop at 23. 0 with the text rewritten, or XResult::kFailed with the text
    unchanged when it holds other characters or more than four fields. */
int32_t NormalizeTimecode(XString& text, bool carry);
} // namespace Timecode
