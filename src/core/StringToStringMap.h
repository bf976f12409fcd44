#pragma once

#include "core/StringToPtrMap.h"

/** A map from a text to a text (case-sensitive keys, unsigned byte order); it keeps its own copies
    of keys and values in the shared key-text pools. Null keys count as ""; null values are refused. */
class StringToStringMap : public StringToPtrMapBase
{
public:
    StringToStringMap() = default;
    ~StringToStringMap() override;

    bool Add(const char* key, const char* value);
    /** The value text, null when absent; valid until the key is replaced or removed. */
    const char* Find(const char* key) const;

protected:
    void FreeValue(void* value) override;
    bool SetValue(Node* node, void* value) override;
};
