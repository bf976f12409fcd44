#include "gui/DescriptionItems.h"

#include "core/ParamRegistry.h"
#include "core/XMessage.h"
#include "core/XString.h"
#include "gui/XColorDictionary.h"

#include <juce_core/juce_core.h>

bool DescriptionItems::FindFlag(const XMessage& block, const char* key, bool& flag)
{
    int32_t number = 0;
    if (block.FindBool(key, flag) == 0)
        return true;
    if (block.FindInt32(key, number) != 0)
        return false;
    flag = number != 0;
    return true;
}

juce::StringArray DescriptionItems::StyleWords(const XMessage& block)
{
    juce::StringArray words;
    const char* text = nullptr;
    for (int32_t index = 0; block.FindString("style", text, index) == 0; ++index)
        words.addTokens(juce::String::fromUTF8(text), ",", "");
    words.trim();
    return words;
}

bool DescriptionItems::HasStyleWord(const XMessage& block, const char* word)
{
    return StyleWords(block).contains(juce::String::fromUTF8(word), true);
}

bool DescriptionItems::FindColour(const XMessage& block, const char* key, XRGB& colour, int32_t index)
{
    if (block.FindColor(key, colour, index) == 0)
        return true;
    const char* text = nullptr;
    if (block.FindString(key, text, index) != 0)
        return false;
    if (GetColorDictionary().FindColor(text, colour) != XColorDictionary::kResultOk)
        colour = XRGB::Parse(text);
    return true;
}

XParam* DescriptionItems::FindParamItem(const XMessage& block, const char* key, int32_t index)
{
    void* pointer = nullptr;
    if (block.FindPointer(key, pointer, index) == 0)
        return static_cast<XParam*>(pointer);
    const char* path = nullptr;
    if (block.FindString(key, path, index) == 0 && path != nullptr && path[0] != '\0')
        return FindParam("%s", path);
    return nullptr;
}
