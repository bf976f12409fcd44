#include "core/FormatGroupedNumber.h"

#include <cmath>
#include <cstdio>

namespace
{
constexpr int32_t kMaxDecimals = 9;
constexpr int32_t kDefaultDecimals = 2;
/** Decimals kept by trimming. */
constexpr int kTrimmedDecimals = 2;
constexpr int kGroupSize = 3;
} // namespace

void FormatGroupedNumber(XString& out, double value, int32_t decimals, bool trim)
{
    if (decimals < 0 || decimals > kMaxDecimals)
        decimals = kDefaultDecimals;

    XString text;
    text.Format("%.*f", static_cast<int>(decimals), std::fabs(value));

    const int point = text.FindChar('.');
    if (trim && decimals > kTrimmedDecimals && point >= 0)
    {
        const int cut = point + 1 + kTrimmedDecimals;
        bool allZero = true;
        for (int i = cut; i < text.Length(); ++i)
            allZero = allZero && text.CharAt(static_cast<unsigned>(i)) == '0';
        if (allZero)
            text = text.Left(cut);
    }

    // Commas go only between digits: "inf" and "nan" stay as they are.
    const int integerEnd = point >= 0 ? point : text.Length();
    bool allDigits = integerEnd > 0;
    for (int i = 0; i < integerEnd; ++i)
        allDigits = allDigits && IsDigitChar(text.CharAt(static_cast<unsigned>(i)));
    if (allDigits)
        for (int at = integerEnd - kGroupSize; at > 0; at -= kGroupSize)
            text.InsertChar(at, ',');

    if (value < 0.0)
        text.InsertChar(0, '-');
    out = text;
}
