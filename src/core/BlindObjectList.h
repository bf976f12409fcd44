#pragma once

#include "core/PointerArray.h"

/** A pointer array whose storage always comes from the general heap, never from the size-class
    pools, so that the pools can keep their own chunk lists in it. */
class BlindObjectList : public PointerArray
{
public:
    BlindObjectList() = default;
    ~BlindObjectList() override;

    bool UsesPools() const override { return false; }
};
