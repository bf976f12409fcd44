#include "gui/XColorDictionary.h"

#include "core/XResult.h"
#include "core/XString.h"
#include "gui/ISkinTextReader.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{
const XRGB kOpaqueRed(255, 0, 0, 255);

int32_t LoadColours(XColorDictionary& dictionary, const TestSupport::TempFolder& folder,
                    const std::string& text)
{
    const std::string path = folder.Child("GlobalColors.dat");
    std::ofstream(path, std::ios::binary) << text;
    return dictionary.Load(path.c_str());
}

/** A skin reader that serves one text for any path and counts its calls. */
class FixedTextReader final : public ISkinTextReader
{
public:
    explicit FixedTextReader(const char* textIn) : text(textIn) {}
    bool LoadTextFile(const XString& path, XString& out) override
    {
        ++calls;
        out = text;
        return !out.IsEmpty();
    }
    const char* text;
    int calls = 0;
};
} // namespace

TEST(XColorDictionary, LoadsEntriesWithEitherSeparatorAndComments)
{
    TestSupport::TempFolder folder;
    XColorDictionary dictionary;
    EXPECT_EQ(LoadColours(dictionary, folder,
                          "/* skin colours */\n"
                          "buttonLit = 180,180,230 // lit\n"
                          "popupText : 0,0,0\n"
                          "WINDOWBACKGROUND = 30,25,1\n"
                          "buttonLit = 1,2,3\n"),
              XColorDictionary::kResultOk);
    EXPECT_EQ(dictionary.GetCount(), 3);
    EXPECT_EQ(dictionary.GetColor("buttonlit"), XRGB(1, 2, 3, 255));
    EXPECT_EQ(dictionary.GetColor("BUTTONLIT"), XRGB(1, 2, 3, 255));
    EXPECT_EQ(dictionary.GetColor("popupText"), XRGB(0, 0, 0, 255));
    EXPECT_EQ(dictionary.GetColor("windowBackground"), XRGB(30, 25, 1, 255));
}

TEST(XColorDictionary, UnknownNamesAreOpaqueRed)
{
    XColorDictionary dictionary;
    dictionary.SetColor("known", XRGB(1, 2, 3, 4));
    XRGB out(9, 9, 9, 9);
    EXPECT_EQ(dictionary.FindColor("unknown", out), XResult::kFailed);
    EXPECT_EQ(out, kOpaqueRed);
    EXPECT_EQ(dictionary.GetColor("unknown"), kOpaqueRed);
    EXPECT_EQ(dictionary.FindColor("KNOWN", out), XColorDictionary::kResultOk);
    EXPECT_EQ(out, XRGB(1, 2, 3, 4));
    // Callers with a colour of their own for a missing name take it instead.
    EXPECT_EQ(dictionary.GetColorOr("unknown", XRGB(5, 6, 7)), XRGB(5, 6, 7));
    EXPECT_EQ(dictionary.GetColorOr("Known", XRGB(5, 6, 7)), XRGB(1, 2, 3, 4));
}

TEST(XColorDictionary, ABadEntryIsLoggedAndCostsOnlyItsLine)
{
    TestSupport::TempFolder folder;
    struct Case
    {
        const char* text;
        const char* loaded; // the names loaded, in upper case
        int badLine;        // the line of the one logged entry, 0 for none
    };
    const Case cases[] = {
        {"a = 1,2,3\nb = 1,2,3,999\nc = 4,5,6", "A C", 2}, // four numbers read as a rectangle
        {"a = 1,2,3\nb = 40,50\nc = 4,5,6", "A C", 2},
        {"b = -1,2,3\nc = 4,5,6", "C", 1}, // negative components are refused, not made positive
        {"b = 1,-2,3\nc = 4,5,6", "C", 1},
        {"b = 300,256,1000\nc = 4,5,6", "C", 1}, // nor wrapped
        {"b = 1,2,\nc = 4,5,6", "C", 1},
        {"b = \"1,2,3\nc = 4,5,6", "C", 1}, // unbalanced quotes end at their line
        {"\"b = 1,2,3\nc = 4,5,6", "C", 1},
        {"b =\nc = 4,5,6", "C", 1}, // an entry cut short: the next line is the next entry
        {"b\nc = 4,5,6", "C", 1},
        {"12 = 4,5,6\nc = 1,2,3", "C", 1},                        // a name must not start with a digit
        {"a = 1,2,3 b = 1, 2, 3 c = 7,8,9\nd = 1,1,1", "A D", 1}, // blanks inside a colour
        {"a = 1,2,3 b = 4,5,6 c = 1,2,3,4 d = 7,8,9", "A B", 1},  // the rest of a bad entry's line goes
        {"a 1,2,3 b = 4,5,6", "", 1},                             // the colour taken as separator
        {"a = red", "", 1},                                       // names are not colour literals here
        {"set = 1,2,3 end = 4,5,6", "END SET", 0},                // keyword words are names too
        {"popupText\n  : 0,0,255 /* an entry over\n two lines */", "POPUPTEXT", 0},
        {"a = 0,0,0\nb = 255,255,255", "A B", 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        XColorDictionary dictionary;
        LogCapture log;
        EXPECT_EQ(LoadColours(dictionary, folder, c.text), XColorDictionary::kResultOk);
        std::string loaded;
        for (const char* name : {"A", "B", "C", "D", "END", "POPUPTEXT", "SET"})
        {
            XRGB colour;
            if (dictionary.FindColor(name, colour) == XColorDictionary::kResultOk)
                loaded += std::string(loaded.empty() ? "" : " ") + name;
        }
        EXPECT_EQ(loaded, c.loaded);
        EXPECT_EQ(log.CountLinesWith("XColorDictionary: "), c.badLine != 0 ? 1 : 0) << log.Text();
        if (c.badLine != 0)
        {
            EXPECT_EQ(log.CountLinesWith("GlobalColors.dat, line " + std::to_string(c.badLine) + ":"), 1);
        }
    }
    XColorDictionary dictionary;
    LoadColours(dictionary, folder, "b = 1,2,3\nc = 0,128,255\n");
    EXPECT_EQ(dictionary.GetColor("c"), XRGB(0, 128, 255, 255));
}

TEST(XColorDictionary, RandomFilesNeverBreakTheReader)
{
    TestSupport::TempFolder folder;
    std::mt19937 random(3150);
    const std::vector<std::string> pieces = {"name", " = ", "1,2,3", "300", ",",    "-",          "\"",
                                             "\n",   "/*",  "*/",    "//",  "\xFF", "9999999999", " "};
    for (int round = 0; round < 300; ++round)
    {
        std::string text = "first = 1,2,3\n";
        for (int piece = static_cast<int>(random() % 30); piece > 0; --piece)
            text += pieces[random() % pieces.size()];
        text += "\nlast = 4,5,6\n";
        XColorDictionary dictionary;
        LogCapture log;
        EXPECT_EQ(LoadColours(dictionary, folder, text), XColorDictionary::kResultOk);
        XRGB colour;
        EXPECT_EQ(dictionary.FindColor("first", colour), XColorDictionary::kResultOk) << text;
        if (text.find("/*") == std::string::npos && text.find("\"") == std::string::npos)
        {
            EXPECT_EQ(dictionary.FindColor("last", colour), XColorDictionary::kResultOk) << text;
        }
    }
}

TEST(XColorDictionary, MissingOrEmptyFileLeavesTheDictionaryEmpty)
{
    TestSupport::TempFolder folder;
    XColorDictionary dictionary;
    EXPECT_EQ(dictionary.Load(folder.Child("GlobalColors.dat").c_str()), XResult::kFailed);
    EXPECT_EQ(LoadColours(dictionary, folder, ""), XResult::kFailed);
    EXPECT_EQ(dictionary.GetCount(), 0);
}

TEST(XColorDictionary, ReadsThroughTheInstalledSkinReader)
{
    ISkinTextReader& installedBefore = GetSkinTextReader();
    FixedTextReader reader("fromSkin = 10,20,30");
    SetSkinTextReader(&reader);
    XColorDictionary dictionary;
    const int32_t result = dictionary.Load("C:\\anywhere\\GlobalColors.dat");
    SetSkinTextReader(&installedBefore);

    EXPECT_EQ(result, XColorDictionary::kResultOk);
    EXPECT_EQ(reader.calls, 1);
    EXPECT_EQ(dictionary.GetColor("fromskin"), XRGB(10, 20, 30, 255));
}
