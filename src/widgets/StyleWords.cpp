#include "widgets/StyleWords.h"

#include "core/XMessage.h"

juce::StringArray StyleWords::Read(const XMessage& block)
{
    juce::StringArray words;
    const char* text = nullptr;
    for (int32_t index = 0; block.FindString("style", text, index) == 0; ++index)
        words.addTokens(juce::String::fromUTF8(text), ",", "");
    words.trim();
    words.removeEmptyStrings();
    return words;
}

bool StyleWords::Has(const juce::StringArray& words, const char* word)
{
    return words.contains(word, true);
}
