#pragma once

#include "core/XMessage.h"
#include "core/XString.h"
#include "gui/DescriptionText.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

/** Helpers of the window-description tests. */
namespace DescriptionTest
{
/** The data folder of a test folder in the source tree: tests/<testFolder>/data. */
inline juce::File TestDataFolder(const char* testFolder)
{
    return juce::File(KRX_SOURCE_DIR).getChildFile("tests").getChildFile(testFolder).getChildFile("data");
}

/** Reads description files from folder; false when the named file is not there. */
inline DescriptionText::TextReader FolderReader(const juce::File& folder)
{
    return [folder](const XString& name, XString& text)
    {
        const juce::File file = folder.getChildFile(juce::String::fromUTF8(name.CStr()));
        if (!file.existsAsFile())
            return false;
        text = file.loadFileAsString().toRawUTF8();
        return true;
    };
}

/** Reads description files from files (name to text), which must outlive the reader; false (and
    an empty text) when the named file is not there. */
inline DescriptionText::TextReader MapReader(const std::map<std::string, std::string>& files)
{
    return [&files](const XString& name, XString& text)
    {
        const auto found = files.find(name.CStr());
        text = found != files.end() ? XString(found->second.c_str()) : XString();
        return found != files.end();
    };
}

inline std::string RectText(const XRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

/** Every item of that name in message (first value of each type), as "type value" joined by "; ",
    in a fixed type order; "" when there is none. */
inline std::string Describe(const XMessage& message, const char* name)
{
    std::string out;
    auto add = [&out](const std::string& text) { out += (out.empty() ? "" : "; ") + text; };
    int32_t integer = 0;
    if (message.FindInt32(name, integer) == 0)
        add("int " + std::to_string(integer));
    float real = 0.0f;
    if (message.FindFloat(name, real) == 0)
        add("float " + std::to_string(real));
    bool flag = false;
    if (message.FindBool(name, flag) == 0)
        add(std::string("bool ") + (flag ? "true" : "false"));
    XRect rect;
    if (message.FindRect(name, rect) == 0)
        add("rect " + RectText(rect));
    XPoint point;
    if (message.FindPoint(name, point) == 0)
        add("point " + std::to_string(point.x) + "," + std::to_string(point.y));
    XRGB colour;
    if (message.FindColor(name, colour) == 0)
        add("colour " + std::to_string(colour.r) + "," + std::to_string(colour.g) + "," +
            std::to_string(colour.b) + "," + std::to_string(colour.a));
    const char* text = nullptr;
    if (message.FindString(name, text) == 0)
        add(std::string("string ") + text);
    XMessage nested;
    if (message.FindMessage(name, nested) == 0)
        add("message");
    return out;
}

/** Expects Describe(message, name) to give each expected text. */
inline void ExpectItems(const XMessage& message,
                        const std::vector<std::pair<const char*, const char*>>& expected)
{
    for (const auto& item : expected)
        EXPECT_EQ(Describe(message, item.first), item.second) << item.first;
}
} // namespace DescriptionTest
