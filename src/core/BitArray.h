#pragma once

#include "core/XMemory.h"

#include <cstdint>

/** A growable array of bits on its XMemory: bit i lives in byte i / 8 at value 1 << (i mod 8); the
    storage holds (bit count + 7) / 8 bytes. Bits beyond the count always read as cleared. Results
    are 0 or 0x80000001. Not locked by itself: share it between threads under its own lock. */
class BitArray : public XMemory
{
public:
    BitArray() = default;

    int32_t GetBitCount() const { return bitCount; }
    /** The bit; false when i is out of range. */
    bool IsSet(int i) const;
    /** Sets or clears bit i; i at or beyond the count inserts there; negative i fails. */
    int32_t Set(int i, bool value);
    /** i = -1 appends. Beyond the count the array grows with cleared bits to i + 1 bits; else the
        bits from i on move up by one. */
    int32_t InsertAt(int i, bool value);
    /** Removes count bits from i (the run is cut at the end). Fails for count <= 0, an empty array
        or i out of range. */
    int32_t RemoveBits(int i, int16_t count);
    /** Cuts the array to n bits or grows it with bits of the given value. */
    int32_t SetBitCount(int n, bool value);
    /** Lowest / highest set bit, -1 when none. */
    int FindFirstSet() const;
    int FindLastSet() const;
    bool AnySet() const;
    /** Bit count 0, storage size 0. */
    void RemoveAll() { Clear(); }

    void Clear() override;
    /** Adds cleared bits up to the next whole byte. */
    void PadEnd(int count) override;
    /** Bit count = bytes in use x 8. */
    void CountFromSize() override;
    bool IsEmpty() const override { return bitCount == 0; }

private:
    /** Sets the bit count and sizes the storage; new bits are cleared. */
    int32_t Resize(int newCount);
    /** Removes count bits at i; i and count already checked. */
    int32_t RemoveRun(int i, int count);
    void Write(int i, bool value);

    int32_t bitCount = 0;
};
