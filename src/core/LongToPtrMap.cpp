#include "core/LongToPtrMap.h"

#include <cstdio>

namespace
{
constexpr int kKeyTextSize = 16;
}

LongToPtrMapBase::~LongToPtrMapBase()
{
    RemoveAll();
}

const char* LongToPtrMapBase::KeyToText(Key key) const
{
    thread_local char text[kKeyTextSize];
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(key));
    return text;
}

void LongToPtrMapBase::FreeKey(Key) {}

void LongToPtrMapBase::FreeValue(void*) {}

bool LongToPtrMapBase::CopyKey(Node* node, Key key)
{
    node->key = key;
    return true;
}

bool LongToPtrMapBase::SetValue(Node* node, void* value)
{
    return StorePointer(node, value);
}

int LongToPtrMapBase::Compare(Key a, Key b) const
{
    const auto left = static_cast<int32_t>(a);
    const auto right = static_cast<int32_t>(b);
    return left < right ? -1 : (left > right ? 1 : 0);
}
