#pragma once

/** The gain laws of the numeric parameters, all computed in single precision so that fader
    positions and step indices come out as the unit and its tables expect.

    Fader scale: position 100 is +10 dB, 52 is -10 dB, 16 is -40 dB, 4 is -60 dB and 0 is -96 dB,
    piecewise linear between them. Cubic law: dB = 20 log10(p^3) for p in 0..1, -96 dB at 0. */
namespace GainLaws
{
constexpr float kFloorDb = -96.0f;
constexpr float kFaderTopDb = 10.0f;
constexpr float kFaderTopPos = 100.0f;

/** dB of a fader position 0..100. */
float FaderPosToDb(float pos);
/** Fader position 0..100 of a gain in dB. */
float DbToFaderPos(float db);
/** dB of a position p in 0..1 on the cubic law; -96 when p^3 is 0. */
float NormToDbCubic(float p);
/** Position on the cubic law: (10^(dB/20))^0.333, 0 at or below -96 dB. */
float DbToNormCubic(float db);
} // namespace GainLaws
