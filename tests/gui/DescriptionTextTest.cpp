#include "gui/DescriptionText.h"

#include "DescriptionTestSupport.h"
#include "core/StringToStringMap.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace
{
/** Skin files by name for the preprocessing passes. */
struct FakeSkin
{
    std::map<std::string, std::string> files;

    DescriptionText::TextReader Reader() { return DescriptionTest::MapReader(files); }
};

std::string Preprocess(FakeSkin& skin, const std::string& text, StringToStringMap& macros)
{
    return DescriptionText::Preprocess(XString(text.c_str()), skin.Reader(), macros).CStr();
}
} // namespace

TEST(DescriptionTextTest, PreprocessingDeletesTabsKeepsLinesAndDropsBlockCommentRuns)
{
    FakeSkin skin;
    StringToStringMap macros;
    EXPECT_EQ(
        Preprocess(skin,
                   "view:\tbasic\nname:a\r\n/* start\nframe:1,2,3,4\n*/ end\nlabel:x /* not a comment */",
                   macros),
        "view:basic\r\nname:a\r\nlabel:x /* not a comment */\r\n");
    // A comment that never ends swallows the rest.
    EXPECT_EQ(Preprocess(skin, "a:1\n/*\nb:2\n", macros), "a:1\r\n");
}

TEST(DescriptionTextTest, IncludesInsertTheFilePreprocessedWithoutAnExtraLine)
{
    FakeSkin skin;
    skin.files["inner.txt"] = "frame:1,2,3,4\n\tname:inner\n";
    skin.files["outer.txt"] = "addfile:inner.txt\nlabel:outer";
    StringToStringMap macros;
    EXPECT_EQ(
        Preprocess(skin, "view:basic\nAddFile:outer.txt\nbackcolor:red\naddfile:missing.txt\nx:1", macros),
        "view:basic\r\nframe:1,2,3,4\r\nname:inner\r\nlabel:outer\r\nbackcolor:red\r\nx:1\r\n");
}

TEST(DescriptionTextTest, AFileThatIncludesItselfStopsAtTheDepthLimit)
{
    FakeSkin skin;
    skin.files["loop.txt"] = "a:1\naddfile:loop.txt\n";
    StringToStringMap macros;
    const std::string text = Preprocess(skin, "addfile:loop.txt", macros);
    size_t lines = 0;
    for (size_t pos = text.find("a:1"); pos != std::string::npos; pos = text.find("a:1", pos + 1))
        ++lines;
    EXPECT_EQ(lines, static_cast<size_t>(DescriptionText::kMaxIncludeDepth));
}

TEST(DescriptionTextTest, MacrosRecordTheirArgumentsAndReplaceOnlyRecordedBracketedNames)
{
    FakeSkin skin;
    skin.files["knob.txt"] = "view:pot\nname:[id]\nframe:[x],10,[w],-20 // keep\nlabel:\"[title]\" [other]\n";
    StringToStringMap macros;
    const std::string text = Preprocess(
        skin, "macro \"knob.txt\" id=gain x=-5 w=40 title=\"Gain Knob\"\nmacro knob.txt id=trim", macros);
    EXPECT_EQ(text, "view:pot\r\nname:gain\r\nframe:-5,10,40,-20 // keep\r\nlabel:\"Gain Knob\" [other]\r\n"
                    "view:pot\r\nname:trim\r\nframe:-5,10,40,-20 // keep\r\nlabel:\"Gain Knob\" [other]\r\n");
    EXPECT_STREQ(macros.Find("id"), "trim");
    // A word that merely begins with "macro" is an include of the text after its ':'.
    skin.files["m.txt"] = "m:1";
    EXPECT_EQ(Preprocess(skin, "macrofile:m.txt", macros), "m:1\r\n");
}

TEST(DescriptionTextTest, ReplacementLeavesUnknownAndUnclosedBracketsAlone)
{
    StringToStringMap macros;
    macros.Add("a", "1");
    const struct
    {
        const char* text;
        const char* expected;
    } cases[] = {
        {"x:[a][b]\r\n", "x:1[b]\r\n"},
        {"x:[a\r\ny:a]\r\n", "x:[a\r\ny:a]\r\n"},
        {"[[a]]", "[1]"},
        {"[]", "[]"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(DescriptionText::ReplaceMacroArguments(c.text, macros).CStr(), c.expected) << c.text;
}

TEST(DescriptionTextTest, VariablesReplaceWholeValuesOnly)
{
    StringToStringMap variables;
    XString text =
        "VAR:size=40,40,200,100\r\nvar:other=size\r\nframe:size\r\nframe:size,10\r\nname:size\r\nsize\r\n";
    EXPECT_TRUE(DescriptionText::CollectVariables(text, variables));
    EXPECT_STREQ(text.CStr(), "frame:size\r\nframe:size,10\r\nname:size\r\nsize\r\n");
    // A definition whose value names a variable is ignored.
    EXPECT_EQ(variables.Find("other"), nullptr);
    EXPECT_STREQ(DescriptionText::RewriteVariables(text, variables).CStr(),
                 "frame:40,40,200,100\r\nframe:size,10\r\nname:40,40,200,100\r\nsize\r\n");

    StringToStringMap none;
    XString plain = "a:1\r\n";
    EXPECT_FALSE(DescriptionText::CollectVariables(plain, none));
}
