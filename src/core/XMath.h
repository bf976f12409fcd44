#pragma once

/** The mathematical constants the drawing and the filter arithmetic share: one definition of each. */
namespace XMath
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
/** The same in single precision, for arithmetic that is single precision throughout. */
constexpr float kPiFloat = static_cast<float>(kPi);
constexpr float kTwoPiFloat = static_cast<float>(kTwoPi);
} // namespace XMath
