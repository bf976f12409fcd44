#include "gui/XColorDictionary.h"

#include "core/XString.h"
#include "gui/ISkinTextReader.h"
#include "support/gui/GuiTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>

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
                          "WINDOWBACKGROUND = 300,256,1\n"
                          "buttonLit = 1,2,3\n"),
              XColorDictionary::kResultOk);
    EXPECT_EQ(dictionary.GetCount(), 3);
    EXPECT_EQ(dictionary.GetColor("buttonlit"), XRGB(1, 2, 3, 255));
    EXPECT_EQ(dictionary.GetColor("BUTTONLIT"), XRGB(1, 2, 3, 255));
    EXPECT_EQ(dictionary.GetColor("popupText"), XRGB(0, 0, 0, 255));
    EXPECT_EQ(dictionary.GetColor("windowBackground"), XRGB(44, 0, 1, 255));
}

TEST(XColorDictionary, UnknownNamesAreOpaqueRed)
{
    XColorDictionary dictionary;
    dictionary.SetColor("known", XRGB(1, 2, 3, 4));
    XRGB out(9, 9, 9, 9);
    EXPECT_EQ(dictionary.FindColor("unknown", out), XColorDictionary::kNotFound);
    EXPECT_EQ(out, kOpaqueRed);
    EXPECT_EQ(dictionary.GetColor("unknown"), kOpaqueRed);
    EXPECT_EQ(dictionary.FindColor("KNOWN", out), XColorDictionary::kResultOk);
    EXPECT_EQ(out, XRGB(1, 2, 3, 4));
    // Callers with a colour of their own for a missing name take it instead.
    EXPECT_EQ(dictionary.GetColorOr("unknown", XRGB(5, 6, 7)), XRGB(5, 6, 7));
    EXPECT_EQ(dictionary.GetColorOr("Known", XRGB(5, 6, 7)), XRGB(1, 2, 3, 4));
}

TEST(XColorDictionary, LoadStopsAtTheFirstEntryThatDoesNotFit)
{
    TestSupport::TempFolder folder;
    struct Case
    {
        const char* text;
        int count; // entries loaded before the load stopped
    };
    const Case cases[] = {
        {"a = 1,2,3 b = 4,5,6 c = 1,2,3,4 d = 7,8,9", 2}, // four numbers read as a rectangle
        {"a = 1,2,3 b = 1, 2, 3 c = 7,8,9", 1},           // blanks inside a colour
        {"a = 1,2,3 12 = 4,5,6", 1},                      // a name must not start with a digit
        {"a 1,2,3 b = 4,5,6", 0},                         // the colour taken as separator
        {"a = red", 0},                                   // names are not colour literals here
        {"set = 1,2,3 end = 4,5,6", 2},                   // keyword words are names too
    };
    for (const auto& c : cases)
    {
        XColorDictionary dictionary;
        EXPECT_EQ(LoadColours(dictionary, folder, c.text), XColorDictionary::kResultOk) << c.text;
        EXPECT_EQ(dictionary.GetCount(), c.count) << c.text;
    }
}

TEST(XColorDictionary, MissingOrEmptyFileLeavesTheDictionaryEmpty)
{
    TestSupport::TempFolder folder;
    XColorDictionary dictionary;
    EXPECT_EQ(dictionary.Load(folder.Child("GlobalColors.dat").c_str()), XColorDictionary::kNotFound);
    EXPECT_EQ(LoadColours(dictionary, folder, ""), XColorDictionary::kNotFound);
    EXPECT_EQ(dictionary.GetCount(), 0);
}

TEST(XColorDictionary, ReadsThroughTheInstalledSkinReader)
{
    FixedTextReader reader("fromSkin = 10,20,30");
    SetSkinTextReader(&reader);
    XColorDictionary dictionary;
    const int32_t result = dictionary.Load("C:\\anywhere\\GlobalColors.dat");
    SetSkinTextReader(nullptr);

    EXPECT_EQ(result, XColorDictionary::kResultOk);
    EXPECT_EQ(reader.calls, 1);
    EXPECT_EQ(dictionary.GetColor("fromskin"), XRGB(10, 20, 30, 255));
}
