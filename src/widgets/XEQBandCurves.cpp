#include "widgets/XEQBandCurves.h"

#include <algorithm>

XEQBandCurves::XEQBandCurves() : bandRows(kMaxBands)
{
    for (Row& row : bandRows)
        row.fill(0);
    dirty.fill(true);
    summedRow.fill(0);
    staticSum.fill(0);
}

bool XEQBandCurves::ComputeBandCurve(int band, const XEQBandSettings* settings,
                                     const XEQRowGeometry& geometry)
{
    if (band < 0 || band >= kMaxBands)
        return false;
    Row& row = bandRows[static_cast<size_t>(band)];
    if (settings == nullptr)
    {
        row.fill(0);
        return false;
    }
    if (!columnTerms.IsFor(geometry))
        XEQFilterMath::ComputeColumnTerms(columnTerms, geometry);
    XEQFilterMath::ComputeResponseRow(row.data(), *settings, geometry, columnTerms);
    return true;
}

void XEQBandCurves::SumBandCurves(int recomputedCount, int bandCount, int width, const BandOnQuery& isBandOn)
{
    bandCount = std::clamp(bandCount, 0, kMaxBands);
    width = XEQFilterMath::ClampedWidth(width);
    if (recomputedCount != 1)
    {
        SumAllBands(bandCount, width, isBandOn);
        return;
    }
    const bool editedStillCached = editedBand >= 0 && editedBand < bandCount && width == staticSumWidth;
    if (editedStillCached && dirty[static_cast<size_t>(editedBand)])
    {
        dirty[static_cast<size_t>(editedBand)] = false;
        AddEditedBand(width, isBandOn);
        return;
    }
    RebuildStaticSum(bandCount, width, isBandOn);
    AddEditedBand(width, isBandOn);
}

void XEQBandCurves::SumAllBands(int bandCount, int width, const BandOnQuery& isBandOn)
{
    std::array<int32_t, kRowLength> sum;
    sum.fill(0);
    for (int band = 0; band < bandCount; ++band)
    {
        if (!isBandOn(band))
            continue;
        const Row& row = bandRows[static_cast<size_t>(band)];
        for (int column = 0; column < width; ++column)
            sum[static_cast<size_t>(column)] += row[static_cast<size_t>(column)];
    }
    for (int column = 0; column < kRowLength; ++column)
        summedRow[static_cast<size_t>(column)] =
            XEQFilterMath::SaturateToRow(sum[static_cast<size_t>(column)]);
    dirty.fill(false);
    editedBand = -1;
    staticSumWidth = 0;
}

void XEQBandCurves::RebuildStaticSum(int bandCount, int width, const BandOnQuery& isBandOn)
{
    // The last dirty band becomes the edited band. Any other dirty band (only when the caller recomputed
    // more bands than it said) stays in the cached sum rather than dropping out of the curve.
    editedBand = -1;
    for (int band = 0; band < bandCount; ++band)
    {
        if (dirty[static_cast<size_t>(band)])
            editedBand = band;
    }
    staticSum.fill(0);
    for (int band = 0; band < bandCount; ++band)
    {
        if (band == editedBand || !isBandOn(band))
            continue;
        const Row& row = bandRows[static_cast<size_t>(band)];
        for (int column = 0; column < width; ++column)
            staticSum[static_cast<size_t>(column)] += row[static_cast<size_t>(column)];
    }
    staticSumWidth = width;
    dirty.fill(false);
}

void XEQBandCurves::AddEditedBand(int width, const BandOnQuery& isBandOn)
{
    const bool addEdited = editedBand >= 0 && isBandOn(editedBand);
    summedRow.fill(0);
    for (int column = 0; column < width; ++column)
    {
        int32_t sum = staticSum[static_cast<size_t>(column)];
        if (addEdited)
            sum += bandRows[static_cast<size_t>(editedBand)][static_cast<size_t>(column)];
        summedRow[static_cast<size_t>(column)] = XEQFilterMath::SaturateToRow(sum);
    }
}

void XEQBandCurves::InvalidateBand(int band)
{
    if (band >= 0 && band < kMaxBands)
        dirty[static_cast<size_t>(band)] = true;
}

void XEQBandCurves::InvalidateAllBands()
{
    dirty.fill(true);
}

bool XEQBandCurves::IsBandDirty(int band) const
{
    return band >= 0 && band < kMaxBands && dirty[static_cast<size_t>(band)];
}
