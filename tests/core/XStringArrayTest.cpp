#include "core/XStringArray.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> Contents(const XStringArray& array)
{
    std::vector<std::string> texts;
    for (int i = 0; i < array.GetCount(); ++i)
        texts.emplace_back(array.GetAt(i).CStr());
    return texts;
}
} // namespace

TEST(XStringArrayTest, SplitPathKeepsOnlyNonEmptyComponents)
{
    struct Case
    {
        const char* path;
        bool withRoot;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"global\\\\ListenMode\\", false, {"global", "ListenMode"}},
        {"\\Output1\\\\linkedChannel\\\\", true, {"Root", "Output1", "linkedChannel"}},
        {"", true, {"Root"}},
        {"\\\\", false, {}},
        {"name", false, {"name"}},
    };
    for (const Case& c : cases)
    {
        XStringArray array;
        array.Add("stale");
        array.SplitPath(c.path, c.withRoot);
        EXPECT_EQ(Contents(array), c.parts) << c.path;
    }
}

TEST(XStringArrayTest, GetAtOutOfRangeGivesTheSharedEmptyString)
{
    XStringArray array;
    array.Add("a");
    EXPECT_TRUE(array.GetAt(-1).SharesBlockWith(XString::Empty()));
    EXPECT_TRUE(array.GetAt(1).SharesBlockWith(XString::Empty()));
    EXPECT_EQ(array.GetAt(0), "a");
}

TEST(XStringArrayTest, SetAtAssignsOrAppends)
{
    XStringArray array;
    array.Add(XString("one"));
    array.SetAt(0, "first");
    array.SetAt(5, "appended");
    array.SetAt(-1, "ignored");
    EXPECT_EQ(Contents(array), (std::vector<std::string>{"first", "appended"}));
}

TEST(XStringArrayTest, ContainsWithAndWithoutCase)
{
    XStringArray array;
    array.Add("Alpha");
    array.Add("beta");
    EXPECT_TRUE(array.Contains("Alpha", false));
    EXPECT_FALSE(array.Contains("alpha", false));
    EXPECT_TRUE(array.Contains("ALPHA", true));
    EXPECT_FALSE(array.Contains("gamma", true));
}

TEST(XStringArrayTest, HoldsCopiesThatOutliveTheSource)
{
    XStringArray array;
    {
        XString source("changing");
        array.Add(source);
        source = "changed";
    }
    EXPECT_EQ(array.GetAt(0), "changing");
    array.RemoveAll();
    EXPECT_EQ(array.GetCount(), 0);
    // What is left at destruction is freed by the destructor (checked by the leak sanitizer).
    array.Add("left behind");
}
