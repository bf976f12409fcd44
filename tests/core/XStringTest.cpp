#include "core/XString.h"

#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int kEmptyCount = 0x3fffffff;

std::string Str(const XString& s)
{
    return s.CStr();
}
} // namespace

TEST(XStringTest, EmptyStringsShareThePinnedStaticBlock)
{
    {
        XString a;
        XString b(a);
        XString c("");
        XString d(static_cast<const char*>(nullptr));
        c = "";
        XString e("abc");
        e = "";
        EXPECT_TRUE(a.SharesBlockWith(b));
        EXPECT_TRUE(a.SharesBlockWith(c));
        EXPECT_TRUE(a.SharesBlockWith(d));
        EXPECT_TRUE(a.SharesBlockWith(e));
        EXPECT_TRUE(a.SharesBlockWith(XString::Empty()));
    }
    // Results that are empty never allocate.
    const XString abc("abc");
    for (const XString& empty : {abc.Sub(3, 2), abc.From(3), abc.DropRight(5), abc.KeepChars("x"),
                                 XString(0.0, 0).Sub(5, 6), XString().Format("%s", ""), XString('\0')})
        EXPECT_TRUE(empty.SharesBlockWith(XString::Empty())) << empty.CStr();
    EXPECT_EQ(XString::Empty().GetRefCount(), kEmptyCount);
}

TEST(XStringTest, ChangingACopyLeavesTheOriginalAlone)
{
    XString a;
    a = "x";
    XString b(a);
    EXPECT_TRUE(a.SharesBlockWith(b));
    EXPECT_EQ(a.GetRefCount(), 2);
    b = 'y';
    EXPECT_EQ(Str(a), "x");
    EXPECT_EQ(Str(b), "y");

    const XString original("hello");
    struct Edit
    {
        const char* name;
        void (*apply)(XString&);
        const char* expected;
    };
    const Edit edits[] = {
        {"SetCharAt", [](XString& s) { s.SetCharAt(0, 'j'); }, "jello"},
        {"GetBuffer", [](XString& s) { s.GetBuffer()[1] = 'a'; }, "hallo"},
        {"MakeUpper", [](XString& s) { s.MakeUpper(); }, "HELLO"},
        {"append", [](XString& s) { s += "!"; }, "hello!"},
        {"SetLength", [](XString& s) { s.SetLength(2); }, "he"},
        {"ReplaceChar", [](XString& s) { s.ReplaceChar('l', 'L'); }, "heLLo"},
        {"Remove", [](XString& s) { s.Remove(1, 3); }, "ho"},
        {"Format", [](XString& s) { s.Format("%s%s", s.CStr(), s.CStr()); }, "hellohello"},
    };
    for (const Edit& edit : edits)
    {
        XString copy(original);
        edit.apply(copy);
        EXPECT_EQ(Str(copy), edit.expected) << edit.name;
        EXPECT_EQ(Str(original), "hello") << edit.name;
    }
    EXPECT_EQ(original.GetRefCount(), 1);
}

TEST(XStringTest, CopiesMadeAndChangedOnEightThreadsKeepEveryText)
{
    constexpr int kThreads = 8;
    constexpr int kRounds = 2000;
    const XString shared("shared text");
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back(
            [&shared, &mismatches, t]
            {
                XString mine;
                for (int i = 0; i < kRounds; ++i)
                {
                    XString copy(shared);
                    XString other = copy;
                    other += static_cast<char>('a' + t);
                    other.SetCharAt(0, 'S');
                    mine = other;
                    XString empty;
                    XString emptyCopy(empty);
                    emptyCopy = "";
                    if (copy != "shared text" || Str(other) != std::string("Shared text") + char('a' + t))
                        ++mismatches;
                    XString dropped(mine);
                    dropped.MakeUpper();
                }
            });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(Str(shared), "shared text");
    EXPECT_EQ(shared.GetRefCount(), 1);
    EXPECT_EQ(XString().GetRefCount(), kEmptyCount);
}

TEST(XStringTest, AssignmentReusesAPrivateBlockOnlyWhenNotMoreThanTwiceTooLarge)
{
    XString s("0123456789");
    ASSERT_EQ(s.Capacity(), 10);
    const char* before = s.CStr();
    s = "abcdef"; // 10 / 2 < 6: reused
    EXPECT_EQ(s.CStr(), before);
    EXPECT_EQ(s.Capacity(), 10);
    s = "abcde"; // 10 / 2 == 5: a new exact block
    EXPECT_EQ(s.Capacity(), 5);
    s = s.CStr() + 2; // from its own text
    EXPECT_EQ(Str(s), "cde");

    XString grown("ab");
    grown += "cd";
    EXPECT_EQ(grown.Capacity(), 4); // exact, no spare room
    grown.Reserve(20);
    grown += grown.CStr();
    EXPECT_EQ(Str(grown), "abcdabcd");
    EXPECT_EQ(grown.Capacity(), 20);

    XString padded("ab");
    padded.SetLength(5);
    EXPECT_EQ(Str(padded), "ab   ");
    padded.SetLength(1);
    EXPECT_EQ(Str(padded), "a");
}

TEST(XStringTest, FormatFitsAnyLengthAndMayUseItsOwnText)
{
    for (int length : {255, 256, 511, 512, 5000})
    {
        XString s;
        s.Format("%s", std::string(static_cast<size_t>(length), 'q').c_str());
        EXPECT_EQ(s.Length(), length);
        EXPECT_EQ(s.Capacity(), length);
        EXPECT_EQ(s.LastChar(), 'q');
    }
    XString s("ab");
    s.Format("[%s|%d|%s]", s.CStr(), 42, s.CStr());
    EXPECT_EQ(Str(s), "[ab|42|ab]");
    s.Format("%s", "");
    EXPECT_TRUE(s.SharesBlockWith(XString::Empty()));
    XString big(std::string(300, 'z').c_str());
    big.Format("%s%s", big.CStr(), "!");
    EXPECT_EQ(big.Length(), 301);
}

TEST(XStringTest, NumberTextTruncatesToTheDecimalsAndEndsOnEveryValue)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        double value;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {2.999, 2, "2.99"},
        {0.5, 2, "0.50"},
        {-1.25, 1, "-1.2"},
        {123.456, 2, "123.45"},
        {1000.0, 2, "1000.00"},
        {0.25, 0, "0.25"},
        {1.0 / 3.0, -1, "0.333333333"},
        {inf, 2, "inf"},
        {-inf, 2, "-inf"},
        {std::nan(""), 2, "nan"},
        {1e20, 2, "100000000000000000000.00"},
        {1e300, 2, "1e+300"},
        {1.5, 200, "1.5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(XString(c.value, c.decimals)), c.expected) << c.value << " / " << c.decimals;

    XString s;
    s = 5.0;
    EXPECT_EQ(Str(s), "5.00");
    s = 5.5;
    EXPECT_EQ(Str(s), "5.5");
    s = -17;
    EXPECT_EQ(Str(s), "-17");
    EXPECT_EQ(Str(XString(std::numeric_limits<int>::min())), "-2147483648");
}

TEST(XStringTest, SlicesClipToTheTextAndShareWholeResults)
{
    const XString abc("abc");
    EXPECT_EQ(Str(abc.Sub(3, 2)), "");
    EXPECT_TRUE(abc.Sub(0, 100).SharesBlockWith(abc));
    EXPECT_TRUE(abc.From(0).SharesBlockWith(abc));
    EXPECT_TRUE(abc.From(-4).SharesBlockWith(abc));
    EXPECT_TRUE(abc.TrimRight().SharesBlockWith(abc));
    EXPECT_EQ(Str(abc.From(3)), "");

    const XString text("Hello World");
    struct Case
    {
        XString result;
        const char* expected;
    };
    const Case cases[] = {
        {text.Sub(-2, 4), "Hell"},
        {text.Left(5), "Hello"},
        {text.Mid(6, 100), "World"},
        {text.Mid(6, std::numeric_limits<int>::max()), "World"},
        {text.Right(5), "World"},
        {text.Right(50), "Hello World"},
        {text.DropRight(6), "Hello"},
        {text.After("o"), " World"},
        {text.After("o", true), "o World"},
        {text.After("WORLD", false, false), ""},
        {text.After("zz"), ""},
        {text.AfterLast("o"), "rld"},
        {text.AfterLast("zz"), "Hello World"},
        {text.BeforeLast("o"), "Hello W"},
        {text.BeforeLast("O", true, true), "Hello Wo"},
        {text.BeforeLast("O"), "Hello World"},
        {text.Splice(5, 6, ", all"), "Hello, all"},
        {text.Splice(-3, -1, ">"), ">Hello World"},
        {text.Splice(20, 3, "!"), "Hello World!"},
        {text.Splice(6, 100, nullptr), "Hello "},
        {XString("a\t \r\n").TrimRight(), "a"},
        {XString("path\\\\").TrimRight('\\'), "path"},
        {text.KeepChars("lo"), "llool"},
        {text.ReplaceCharCopy('o', '0'), "Hell0 W0rld"},
        {text.ToUpper(), "HELLO WORLD"},
        {text.ToLower(), "hello world"},
        {"<" + text, "<Hello World"},
        {text + "" + XString(), "Hello World"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(c.result), c.expected);
}

TEST(XStringTest, EditsInPlace)
{
    XString s("abc");
    s.InsertChar(1, 'X');
    EXPECT_EQ(Str(s), "aXbc");
    s.InsertChar(9, 'Y');
    EXPECT_EQ(Str(s), "aXbc");
    s.Insert(4, XString("!"));
    EXPECT_EQ(Str(s), "aXbc!");
    s.Remove(1, 1);
    EXPECT_EQ(Str(s), "abc!");
    s.Remove(2, 50);
    EXPECT_EQ(Str(s), "ab");
    s.AppendN("cdef", 2);
    s.AppendRaw("xyz", 1);
    s.AppendInt(-5);
    EXPECT_EQ(Str(s), "abcdx-5");
    s.RemoveChar('x');
    EXPECT_EQ(Str(s), "abcd-5");
    EXPECT_EQ(s.ReplaceChar('-', '+'), 6);
    EXPECT_EQ(Str(s), "abcd+5");

    XString empty;
    empty += XString("shared");
    XString other("shared");
    XString appended;
    appended += other;
    EXPECT_TRUE(appended.SharesBlockWith(other));

    XString file("name.tar.gz");
    file.StripExtension();
    EXPECT_EQ(Str(file), "name.tar");
    XString device("usb:port:1");
    device.StripToColon();
    EXPECT_EQ(Str(device), "port:1");

    XString folder;
    folder.AddTrailingBackslash();
    EXPECT_EQ(Str(folder), "\\");
    folder = "C:\\dir\\";
    folder.AddTrailingBackslash();
    EXPECT_EQ(Str(folder), "C:\\dir\\");
    folder.AppendBackslash();
    EXPECT_EQ(Str(folder), "C:\\dir\\\\");
}

TEST(XStringTest, ComparesInByteOrderOrIgnoringCase)
{
    const XString s("Apple");
    EXPECT_EQ(s.Compare("apple"), -1);
    EXPECT_EQ(s.Compare("Apple"), 0);
    EXPECT_EQ(s.Compare("App"), 1);
    EXPECT_EQ(XString("\xe9").Compare("z"), 1); // unsigned bytes
    EXPECT_EQ(s.CompareNoCase("APPLE"), 0);
    EXPECT_LT(s.CompareNoCase("banana"), 0);
    EXPECT_GT(s.CompareWithCase("APPLD", false), 0);
    EXPECT_EQ(s.CompareWithCase("APPLE", true), 1);
    EXPECT_EQ(s.CompareNoCaseN("APPxx", 3), 0);
    EXPECT_TRUE(s.EqualsNoCase(XString("aPPLE")));
    EXPECT_TRUE(s < "Banana");
    EXPECT_TRUE(s == "Apple");
    EXPECT_TRUE(s != XString("apple"));
    EXPECT_TRUE(s == XString("Apple"));
}

TEST(XStringTest, SearchesFindPositionsAndWords)
{
    const XString s("one Two one two");
    EXPECT_EQ(s.FindChar('T'), 4);
    EXPECT_EQ(s.FindChar('z'), -1);
    EXPECT_EQ(s.FindNoCase("TWO"), 4);
    EXPECT_EQ(s.FindNoCaseFrom(5, "two"), 12);
    EXPECT_EQ(s.FindNoCase(""), -1);
    EXPECT_EQ(s.FindLast("one"), 8);
    EXPECT_EQ(s.FindLast("Two"), 4);
    EXPECT_EQ(s.FindLastNoCase("TWO"), 12);
    EXPECT_TRUE(s.Contains(""));
    EXPECT_FALSE(s.Contains("TWO"));
    EXPECT_TRUE(s.StartsWith(""));
    EXPECT_FALSE(s.StartsWith(nullptr));
    EXPECT_TRUE(s.StartsWith("one T"));
    EXPECT_TRUE(s.EndsWithChar('o'));

    EXPECT_TRUE(XString("Input A, B").ContainsWordNoCase("a"));
    EXPECT_FALSE(XString("Gain2 Gains").ContainsWordNoCase("gain"));
    EXPECT_TRUE(XString("gain").ContainsWordNoCase("GAIN"));
    EXPECT_FALSE(XString("gain").ContainsWordNoCase(""));

    int pos = 0;
    EXPECT_TRUE(s.Find("one", pos));
    EXPECT_EQ(pos, 0);
    pos = 1;
    EXPECT_TRUE(s.FindFrom("one", pos));
    EXPECT_EQ(pos, 8);
    pos = 9;
    EXPECT_FALSE(s.FindFrom("one", pos));
    EXPECT_EQ(pos, 13); // one past the last position tried (15 - 3)
    pos = 2;
    EXPECT_TRUE(s.FindFrom("TWO", pos, true));
    EXPECT_EQ(pos, 4);
}

TEST(XStringTest, PlaceholdersReplaceTheLowestNumberFirst)
{
    const XString text("%2 and %1");
    const XString first = text.Arg(XString("A"));
    EXPECT_EQ(Str(first), "%2 and A");
    EXPECT_EQ(Str(first.Arg(XString("B"))), "B and A");
    EXPECT_EQ(Str(XString("%1%1").ArgInt(7)), "7%1");
    EXPECT_EQ(Str(XString("%10").ArgInt(3)), "30");
    EXPECT_EQ(Str(XString("none %0").ArgInt(1)), "none %0");
    int number = 0;
    int pos = 0;
    EXPECT_TRUE(XString("x%3 %2 %2").FindLowestArg(number, pos));
    EXPECT_EQ(number, 2);
    EXPECT_EQ(pos, 4);
    EXPECT_FALSE(XString("100%").FindLowestArg(number, pos));
}

TEST(XStringTest, ReplaceAllNeverRescansInsertedText)
{
    struct Case
    {
        const char* text;
        const char* find;
        const char* replacement;
        bool noCase;
        const char* expected;
    };
    const Case cases[] = {
        {"aaa", "a", "aa", false, "aaaaaa"}, {"abcabc", "bc", "", false, "aa"},
        {"aXbxc", "x", "-", true, "a-b-c"},  {"aXbxc", "x", "-", false, "aXb-c"},
        {"abc", "", "z", false, "abc"},      {"abc", nullptr, "z", false, "abc"},
        {"abab", "ab", "ba", false, "baba"}, {"xx", "x", nullptr, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(XString(c.text).ReplaceAll(c.find, c.replacement, c.noCase)), c.expected) << c.text;
}

TEST(XStringTest, ReadsCharactersLinesAndTokens)
{
    struct CharCase
    {
        const char* text;
        const char* expected;
    };
    for (const CharCase& c : {CharCase{"a\rb", "ab"}, CharCase{"a\r", "a\n"}, CharCase{"a\r\nb", "a\nb"}})
    {
        const XString s(c.text);
        std::string read;
        unsigned pos = 0;
        for (char ch = s.NextChar(pos); ch != 0; ch = s.NextChar(pos))
            read += ch;
        EXPECT_EQ(read, c.expected);
    }

    const XString lines("ab\r\ncd\n\nlast");
    unsigned pos = 0;
    EXPECT_EQ(Str(lines.ReadLine(pos)), "ab");
    EXPECT_EQ(pos, 4u);
    EXPECT_EQ(Str(lines.ReadLine(pos)), "cd");
    EXPECT_EQ(Str(lines.ReadLine(pos)), "");
    EXPECT_EQ(Str(lines.ReadLine(pos)), "last");
    EXPECT_EQ(pos, static_cast<unsigned>(lines.Length()) + 1);
    EXPECT_EQ(Str(lines.ReadLine(pos)), "");

    const XString csv("a,,b");
    pos = 0;
    EXPECT_EQ(Str(csv.NextToken(pos, ',')), "a");
    EXPECT_EQ(Str(csv.NextToken(pos, ',')), "");
    EXPECT_EQ(Str(csv.NextToken(pos, ',')), "b");
    EXPECT_EQ(pos, 4u);
    EXPECT_EQ(Str(csv.NextToken(pos, ',')), "");
    pos = 0;
    EXPECT_EQ(Str(lines.NextToken(pos, 0)), "ab");
}

TEST(XStringTest, NumbersAndNumberTests)
{
    EXPECT_EQ(XString("  42abc").ToInt(), 42);
    EXPECT_FLOAT_EQ(XString("2.5").ToFloat(), 2.5f);
    EXPECT_EQ(XString("0x1F-a").HexToInt(), 0x1Fa);
    EXPECT_EQ(XString("Output12").GetTrailingNumber(), 12);
    EXPECT_EQ(XString("gain-7").GetTrailingNumber(), -7);
    EXPECT_EQ(XString("none").GetTrailingNumber(), 0);

    struct Case
    {
        const char* text;
        bool integer;
        bool decimal;
        bool numeric;
    };
    const Case cases[] = {
        {"-", true, false, false},   {"+12", true, false, false},    {"12", true, false, true},
        {"ff", false, false, true},  {"0x1A", false, false, true},   {"1.5", false, true, false},
        {"-.5", false, true, false}, {"1.2.3", false, false, false}, {"", false, false, false},
        {"1-", false, false, false},
    };
    for (const Case& c : cases)
    {
        const XString s(c.text);
        EXPECT_EQ(s.IsInteger(), c.integer) << c.text;
        EXPECT_EQ(s.IsDecimal(), c.decimal) << c.text;
        EXPECT_EQ(s.IsNumeric(), c.numeric) << c.text;
    }

    char scratch[12];
    EXPECT_STREQ(IntToText(scratch + sizeof scratch, -2147483647 - 1), "-2147483648");
    EXPECT_DOUBLE_EQ(IntPower(2.0, 10), 1024.0);
    EXPECT_DOUBLE_EQ(IntPower(10.0, -2), 0.01);
    EXPECT_DOUBLE_EQ(IntPower(3.0, 0), 1.0);
    EXPECT_EQ(ToUpperChar('a'), 'A');
    EXPECT_EQ(ToLowerChar('\xc9'), '\xc9');
    EXPECT_TRUE(IsDigitChar('7'));
}

TEST(XStringTest, HexTexts)
{
    XString s;
    s.SetHex(5);
    EXPECT_EQ(Str(s), "05");
    s.SetHex(0x1F4);
    EXPECT_EQ(Str(s), "1F4");
    s.SetHex(0xFF);
    EXPECT_EQ(Str(s), "FF");

    const unsigned char bytes[] = {0x00, 0xAB, 0x10, 0xFF, 0x7E};
    XString::HexDump(s, bytes, sizeof bytes, 0);
    EXPECT_EQ(Str(s), "00ab10ff7e");
    XString::HexDump(s, bytes, sizeof bytes, 2);
    EXPECT_EQ(Str(s), "00ab 10ff 7e");
    XString::HexDump(s, bytes, 0, 0);
    EXPECT_EQ(Str(s), "");
}

TEST(XStringTest, BackslashPaths)
{
    struct Case
    {
        const char* path;
        const char* parent;
    };
    const Case parents[] = {
        {"C:\\dir\\file", "C:\\dir"}, {"C:\\dir\\", "C:"}, {"C:\\", "C:\\"},  {"name", ""},
        {"C:/dir/file", "C:\\dir"},   {"\\abc", ""},       {"a\\b\\\\", "a"},
    };
    for (const Case& c : parents)
    {
        XString s(c.path);
        s.StripLastComponent();
        EXPECT_EQ(Str(s), c.parent) << c.path;
        XString out;
        XString(c.path).GetParentFolder(out);
        EXPECT_EQ(Str(out), c.parent) << c.path;
    }

    struct DriveCase
    {
        const char* path;
        char letter;
    };
    for (const DriveCase& c : {DriveCase{"c:\\x", 'C'}, DriveCase{"c:", 'C'}, DriveCase{"cx", 0},
                               DriveCase{"c:x", 0}, DriveCase{"", 0}})
        EXPECT_EQ(XString(c.path).GetDriveLetter(), c.letter) << c.path;

    XString out;
    XString("C:\\dir\\sub\\\\").GetLastComponent(out);
    EXPECT_EQ(Str(out), "sub");
    XString("plain").GetLastComponent(out);
    EXPECT_EQ(Str(out), "plain");
    XString file("C:/a/b.qm7");
    file.GetFileName(out);
    EXPECT_EQ(Str(out), "b.qm7");
    EXPECT_EQ(Str(file), "C:\\a\\b.qm7");
    XString folder("C:\\a\\");
    folder.GetFileName(out);
    EXPECT_EQ(Str(out), "");
    file.GetExtension(out);
    EXPECT_EQ(Str(out), "qm7");
    XString("noext").GetExtension(out);
    EXPECT_EQ(Str(out), "");
}

TEST(XStringTest, ConstructsFromPartsCharactersAndWideText)
{
    EXPECT_EQ(Str(XString("abcdef", 3)), "abc");
    EXPECT_EQ(Str(XString("ab\0cd", 5)), "ab");
    EXPECT_TRUE(XString("abc", 0).IsEmpty());
    EXPECT_EQ(Str(XString('z')), "z");
    EXPECT_EQ(Str(XString(L"Gain")), "Gain");
    EXPECT_EQ(Str(XString(L"\u00e9\u20ac")), "\xc3\xa9\xe2\x82\xac"); // UTF-8, nothing cut
    EXPECT_TRUE(XString(static_cast<const wchar_t*>(nullptr)).IsEmpty());

    char buffer[4];
    XString("abcdef").CopyTo(buffer, 3);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(XString("ab").CharAt(2), 0);
    EXPECT_EQ(XString("ab").LastChar(), 'b');
    EXPECT_EQ(XString().LastChar(), 0);
}

TEST(XStringTest, RandomTextsNeverBreakTheReaders)
{
    std::mt19937 random(101);
    const char alphabet[] = "ab\\/.:%19\r\n, -x";
    for (int round = 0; round < 3000; ++round)
    {
        std::string bytes(random() % 24, ' ');
        for (char& c : bytes)
            c = alphabet[random() % (sizeof alphabet - 1)];
        const XString text(bytes.c_str());
        const unsigned length = static_cast<unsigned>(text.Length());

        // Every reader advances and stops behind the end.
        for (char sep : {'\0', ','})
        {
            unsigned pos = 0;
            int tokens = 0;
            while (pos < length)
            {
                const unsigned before = pos;
                text.NextToken(pos, sep);
                ASSERT_GT(pos, before);
                ASSERT_LE(pos, length + 1);
                ASSERT_LE(++tokens, static_cast<int>(length));
            }
        }
        unsigned pos = 0;
        while (text.NextChar(pos) != 0)
            ASSERT_LE(pos, length);

        XString path(text);
        path.StripLastComponent();
        ASSERT_LE(path.Length(), text.Length());
        XString out;
        path = text;
        path.GetFileName(out);
        text.GetLastComponent(out);
        text.GetExtension(out);
        XString replaced = text.Arg(XString("%1")).ArgInt(-5).ReplaceAll("%", "%%");
        ASSERT_GE(replaced.Length(), text.Length());
        text.ContainsWordNoCase("ab");
        text.GetDriveLetter();
        text.GetTrailingNumber();
    }
}
