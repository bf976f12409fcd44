#include "core/GainLaws.h"

#include <cmath>

namespace
{
// Segment ends of the fader scale, as distances d = 100 - position from the top.
constexpr float kSegment1End = 48.0f; // -10 dB
constexpr float kSegment2End = 84.0f; // -40 dB
constexpr float kSegment3End = 96.0f; // -60 dB
constexpr float kSegment4End = 100.0f;
constexpr float kMinus10Db = -10.0f;
constexpr float kMinus40Db = -40.0f;
constexpr float kMinus60Db = -60.0f;
/** The law's exponent is this single-precision constant, not one third. */
constexpr float kCubicExponent = 0.333f;
} // namespace

namespace GainLaws
{
float FaderPosToDb(float pos)
{
    const float d = kFaderTopPos - pos;
    if (d <= 0.0f)
        return kFaderTopDb;
    if (d < kSegment1End)
        return kFaderTopDb - d * 10.0f / 24.0f;
    if (d < kSegment2End)
        return kMinus10Db - (d - kSegment1End) * 30.0f / 36.0f;
    if (d < kSegment3End)
        return kMinus40Db - (d - kSegment2End) * 20.0f / 12.0f;
    if (d < kSegment4End)
        return kMinus60Db - (d - kSegment3End) * 9.0f;
    return kFloorDb;
}

float DbToFaderPos(float db)
{
    if (db >= kFaderTopDb)
        return kFaderTopPos;
    if (db > kMinus10Db)
        return kFaderTopPos + (db - kFaderTopDb) * 2.4f;
    if (db > kMinus40Db)
        return kFaderTopPos - (kSegment1End - (db + 10.0f) * 1.2f);
    if (db > kMinus60Db)
        return kFaderTopPos - (kSegment2End - (db + 40.0f) * 0.6f);
    if (db > kFloorDb)
        return kFaderTopPos - (kSegment3End - (db + 60.0f) / 9.0f);
    return 0.0f;
}

float NormToDbCubic(float p)
{
    const float cube = p * p * p;
    if (cube == 0.0f)
        return kFloorDb;
    return 20.0f * std::log10(cube);
}

float DbToNormCubic(float db)
{
    if (db <= kFloorDb)
        return 0.0f;
    return std::pow(std::pow(10.0f, db / 20.0f), kCubicExponent);
}
} // namespace GainLaws
