#include "core/XScanner.h"

#include "core/MemoryDataIO.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{
/** Scans a whole text and returns its tokens up to and including the first end token. */
std::vector<XToken> ScanAll(std::string text, int32_t options = 0, const XKeywordEntry* secondTable = nullptr)
{
    MemoryDataIO input(text.data(), static_cast<int>(text.size()));
    XScanner scanner(&input, options);
    scanner.SetSecondKeywordTable(secondTable);
    std::vector<XToken> tokens;
    const size_t limit = text.size() + 2;
    do
        tokens.push_back(scanner.NextToken());
    while (tokens.back().type != XToken::kEnd && tokens.size() < limit);
    return tokens;
}

std::string TypesOf(const std::vector<XToken>& tokens)
{
    std::string types;
    for (const auto& token : tokens)
        types.push_back(static_cast<char>(token.type));
    return types;
}
} // namespace

TEST(XScanner, TokenTypesAndTexts)
{
    struct Case
    {
        const char* input;
        const char* types;     // one character per token, the last one the end token
        const char* firstText; // text of the first token
    };
    const Case cases[] = {
        {"12", "ca", "12"},
        {"1.5", "qa", "1.5"},
        {"10,20", "oa", "10,20"},
        {"255,128,0", "pa", "255,128,0"},
        {"1,2,3,4", "na", "1,2,3,4"},
        {"1,2,3,4,5", "na", "1,2,3,4,5"},
        {"-7", "ca", "-7"},
        {"-abc def", "jea", "-abc"},
        {"- 5", "jca", "-"},
        {"Set SET set settings", "hhhea", "Set"},
        {"END_TABLE end_table", "eea", "END_TABLE"},
        {"true false True", "mmea", "true"},
        {"_x1 y_2", "eea", "_x1"},
        {"\"quoted text\" \"\"", "dda", "quoted text"},
        {"\"no end", "ja", "no end"},
        {"=:{}()[]*+&;,.#", "=:{}()[]*+&;,.#a", "="},
        {"@ $", "jja", "@"},
        {"one / two", "eea", "one"},
        {"one/* a ** comment **/two", "eea", "one"},
        {"// a line\n5 // last line", "ca", "5"},
        {"word /* open comment", "ea", "word"},
        {"1.5,2", "q,ca", "1.5"},
        {"1.2.3", "q.ca", "1.2"},
        {"", "a", ""},
        // A byte of value 255 is an ordinary (unknown) byte, not the end of the input.
        {"a\xFF"
         "b",
         "ejea", "a"},
    };
    for (const auto& c : cases)
    {
        const auto tokens = ScanAll(c.input);
        EXPECT_EQ(TypesOf(tokens), c.types) << "input: " << c.input;
        EXPECT_STREQ(tokens.front().text.CStr(), c.firstText) << "input: " << c.input;
    }
}

TEST(XScanner, NumberValues)
{
    auto tokens = ScanAll("12 -7 1.5 -0.25 10,-20 -10,20 255,128,0 300,1,2 1,2,3,4 -1,-2,3,-4");
    ASSERT_EQ(TypesOf(tokens), "ccqqooppnna");
    EXPECT_EQ(tokens[0].intValue, 12);
    EXPECT_EQ(tokens[1].intValue, -7);
    EXPECT_FLOAT_EQ(tokens[2].realValue, 1.5f);
    EXPECT_FLOAT_EQ(tokens[3].realValue, -0.25f);
    EXPECT_EQ(tokens[4].point, XPoint(10, -20));
    // Before a point the minus sign is dropped.
    EXPECT_EQ(tokens[5].point, XPoint(10, 20));
    EXPECT_STREQ(tokens[5].text.CStr(), "10,20");
    EXPECT_EQ(tokens[6].colour, XRGB(255, 128, 0, 255));
    EXPECT_EQ(tokens[7].colour, XRGB(44, 1, 2, 255));
    EXPECT_EQ(tokens[8].rect, XRect(1, 2, 3, 4));
    EXPECT_EQ(tokens[9].rect, XRect(1, -2, 3, -4));
    // Tokens of other types keep opaque black as their colour.
    EXPECT_EQ(tokens[0].colour, XRGB(0, 0, 0, 255));
}

TEST(XScanner, KeywordTables)
{
    const XKeywordEntry second[] = {{"gain", 7}, {"Set", 99}, {"END_TABLE", 5}, {"after", 8}};
    auto tokens = ScanAll("set Create GAIN after END_TABLE", 0, second);
    ASSERT_EQ(TypesOf(tokens), "hhfeea");
    EXPECT_EQ(tokens[0].keywordValue, 0);
    EXPECT_EQ(tokens[1].keywordValue, 5);
    EXPECT_EQ(tokens[2].keywordValue, 7);

    // A table of the caller's own replaces the built-in one.
    std::string text = "begin mine";
    MemoryDataIO input(text.data(), static_cast<int>(text.size()));
    XScanner scanner(&input);
    const XKeywordEntry own[] = {{"MINE", 42}, {"END_TABLE", 0}};
    scanner.SetKeywordTable(own);
    EXPECT_EQ(scanner.NextToken().type, XToken::kWord);
    const XToken mine = scanner.NextToken();
    EXPECT_EQ(mine.type, XToken::kKeyword);
    EXPECT_EQ(mine.keywordValue, 42);
}

TEST(XScanner, WhitespaceRunsWhenAsked)
{
    const auto tokens = ScanAll("a  b\n\t", 1);
    ASSERT_EQ(TypesOf(tokens), "elela");
    EXPECT_STREQ(tokens[1].text.CStr(), "  ");
    EXPECT_STREQ(tokens[3].text.CStr(), "\n\t");
}

TEST(XScanner, PushBackPreviousAndEndForEver)
{
    std::string text = "one two";
    MemoryDataIO input(text.data(), static_cast<int>(text.size()));
    XScanner scanner(&input);
    EXPECT_TRUE(scanner.GetCurrentToken().IsEmpty());

    const XToken one = scanner.NextToken();
    scanner.PushBack(one);
    EXPECT_STREQ(scanner.NextToken().text.CStr(), "one");
    EXPECT_STREQ(scanner.NextToken().text.CStr(), "two");
    EXPECT_STREQ(scanner.GetPreviousToken().text.CStr(), "one");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(scanner.NextToken().type, XToken::kEnd);
}

TEST(XScanner, TokensKnowTheirLineAndADroppedMinus)
{
    const auto tokens = ScanAll("a /* one\ntwo */ b\r\n\n  -1,2,3 -4 // x\n\"s\ntring\" c");
    ASSERT_EQ(TypesOf(tokens), "eepcdea");
    const int32_t lines[] = {1, 2, 4, 4, 5, 6, 6};
    for (size_t i = 0; i < tokens.size(); ++i)
        EXPECT_EQ(tokens[i].line, lines[i]) << i;
    EXPECT_TRUE(tokens[2].minusDropped);
    EXPECT_STREQ(tokens[2].text.CStr(), "1,2,3");
    EXPECT_FALSE(tokens[3].minusDropped) << "an integer keeps its sign";
    EXPECT_EQ(tokens[3].intValue, -4);
}

TEST(XScanner, LineBoundStringsEndAtTheirLine)
{
    std::string text = "\"open here\r\nnext \"closed\" \"last";
    for (const bool bound : {false, true})
    {
        MemoryDataIO input(text.data(), static_cast<int>(text.size()));
        XScanner scanner(&input);
        scanner.SetLineBoundStrings(bound);
        std::vector<XToken> tokens;
        do
            tokens.push_back(scanner.NextToken());
        while (tokens.back().type != XToken::kEnd);
        if (!bound)
        {
            ASSERT_EQ(TypesOf(tokens), "dedea") << "the quotes pair across the line";
            EXPECT_STREQ(tokens[0].text.CStr(), "open here\r\nnext ");
            continue;
        }
        ASSERT_EQ(TypesOf(tokens), "jedja");
        EXPECT_STREQ(tokens[0].text.CStr(), "open here");
        EXPECT_TRUE(tokens[0].unclosedString);
        EXPECT_EQ(tokens[1].line, 2);
        EXPECT_STREQ(tokens[2].text.CStr(), "closed");
        EXPECT_FALSE(tokens[2].unclosedString);
        EXPECT_TRUE(tokens[3].unclosedString);
    }
}

TEST(XScanner, RandomInputAlwaysEnds)
{
    // Bytes weighted towards the characters the lexer treats specially.
    const std::string alphabet = "0123456789,.-/*\"_aZ \n\t=:{}#\xFF\x80";
    std::mt19937 random(1234);
    for (int round = 0; round < 2000; ++round)
    {
        std::string text(random() % 64, ' ');
        for (char& c : text)
            c = random() % 4 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        for (int32_t options : {0, 1})
        {
            const auto tokens = ScanAll(text, options);
            ASSERT_EQ(tokens.back().type, XToken::kEnd)
                << "no end token after " << tokens.size() << " tokens";
            for (const auto& token : tokens)
                EXPECT_FALSE(token.IsEmpty());
        }
    }
}
