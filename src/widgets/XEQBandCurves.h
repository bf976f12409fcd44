#pragma once

#include "widgets/XEQFilterMath.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

/** The cached response rows of up to 90 bands of one EQ view and their sum, the curve that is drawn.
    Rows are recomputed only for bands marked dirty; while one band is edited, only its row is recomputed and
    added to the cached sum of the others, so a drag step costs one band's evaluation and one row addition.
    The columns' frequencies and the cosines and sines of their angles are computed once per axis and shared
    by every band's evaluation.
    The owner (the EQ view) reads its band parameters into XEQBandSettings and says which bands are on; this
    class knows nothing of parameters. Not thread-safe: used on the GUI thread only. */
class XEQBandCurves final
{
public:
    static constexpr int kMaxBands = 90;
    static constexpr int kRowLength = XEQFilterMath::kRowLength;
    using Row = std::array<int16_t, kRowLength>;
    /** Whether a band (0-based) is on, as the owner's band-on parameters say. */
    using BandOnQuery = std::function<bool(int band)>;

    /** Every row zero, every band dirty, no edited band. */
    XEQBandCurves();

    /** Recomputes one band's row for the geometry. settings is null when one of the band's gain, frequency,
        q or type parameters is unbound: the row is cleared (all entries) and false returned. False, with
        nothing changed, for a band outside 0..89. Leaves the band's dirty flag as it is. */
    bool ComputeBandCurve(int band, const XEQBandSettings* settings, const XEQRowGeometry& geometry);

    /** Rebuilds the summed row over the first width columns (the rest become 0) from the rows of bands
        0 .. bandCount-1, after recomputedCount bands were recomputed. With exactly one band recomputed, the
        edited band's row is added to the cached sum of the others (rebuilding that cache when the edited band
        changed); otherwise every band that is on is summed and there is no edited band. Clears the dirty
       flags. Sums are taken in 32 bits and limited to the 16-bit range, so the edited-band path always gives
       the same row as a full sum. */
    void SumBandCurves(int recomputedCount, int bandCount, int width, const BandOnQuery& isBandOn);

    /** Marks a band (0..89) for recomputation. */
    void InvalidateBand(int band);
    void InvalidateAllBands();
    bool IsBandDirty(int band) const;

    /** The band's row (0..89); positive values lie below the centre line. */
    const Row& GetBandRow(int band) const { return bandRows[static_cast<size_t>(band)]; }
    const Row& GetSummedRow() const { return summedRow; }
    /** The band left out of the cached sum of the others; -1 for none. */
    int GetEditedBand() const { return editedBand; }

private:
    void SumAllBands(int bandCount, int width, const BandOnQuery& isBandOn);
    void RebuildStaticSum(int bandCount, int width, const BandOnQuery& isBandOn);
    void AddEditedBand(int width, const BandOnQuery& isBandOn);

    /** The columns of the axis last computed on; recomputed when the axis changes. */
    XEQColumnTerms columnTerms;
    std::vector<Row> bandRows;
    std::array<bool, kMaxBands> dirty;
    Row summedRow;
    /** Sum of the rows of every band that is on except the edited band, over staticSumWidth columns. */
    std::array<int32_t, kRowLength> staticSum;
    int staticSumWidth = 0;
    int editedBand = -1;
};
