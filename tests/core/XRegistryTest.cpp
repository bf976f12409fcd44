#include "core/XRegistry.h"

#include "core/XResult.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{

struct Item
{
    int id;
};
} // namespace

TEST(XRegistry, PathsMatchWithoutCaseAndInnerNodesAreNotFound)
{
    XRegistry<Item> registry;
    Item bypass{1}, gain{2};
    ASSERT_EQ(0, registry.AddPath(&bypass, "InputA\\%s", "GEQBandBypass"));
    ASSERT_EQ(0, registry.AddPath(&gain, "InputA\\Gain"));

    EXPECT_EQ(&bypass, registry.FindPath("INPUTA\\geqbandbypass"));
    EXPECT_EQ(&gain, registry.FindPath("inputa\\GAIN"));
    EXPECT_EQ(nullptr, registry.FindPath("InputA"));
    EXPECT_EQ(nullptr, registry.FindPath("InputB\\Gain"));
    EXPECT_EQ(nullptr, registry.FindPath("InputA\\Gain\\More"));
    EXPECT_EQ(nullptr, registry.FindPath(nullptr));

    const XRegistryNode<Item>* inner = registry.Lookup("inputa");
    ASSERT_NE(nullptr, inner);
    EXPECT_FALSE(inner->IsLeaf());
    EXPECT_EQ(2, inner->GetCount());
}

TEST(XRegistry, TakenPathsAndPathsThroughLeavesAreRefused)
{
    XRegistry<Item> registry;
    Item a{1}, b{2};
    ASSERT_EQ(0, registry.AddPath(&a, "Out\\Gain"));

    struct Case
    {
        const char* path;
    };
    const Case refused[] = {{"out\\gain"}, {"OUT"},  {"Out\\Gain\\Deeper"}, {""}, {"Out\\\\Gain2"},
                            {"\\Out"},     {"Out\\"}};
    for (const Case& c : refused)
        EXPECT_EQ(XResult::kFailed, registry.AddPath(&b, "%s", c.path)) << c.path;
    EXPECT_EQ(&a, registry.FindPath("Out\\Gain"));

    const std::string tooLong(1024, 'x');
    EXPECT_EQ(XResult::kFailed, registry.AddPath(&b, "%s", tooLong.c_str()));
    EXPECT_EQ(0, registry.AddPath(&b, "%s", tooLong.substr(1).c_str()));
}

TEST(XRegistry, RemoveTakesOnlyAnExactMatchAndFreesTheEntry)
{
    XRegistry<Item> registry;
    Item a{1}, b{2};
    ASSERT_EQ(0, registry.AddPath(&a, "Out\\Gain"));

    EXPECT_EQ(nullptr, registry.RemovePath("Out"));
    EXPECT_EQ(nullptr, registry.RemovePath("Out\\Gain\\Deeper"));
    EXPECT_EQ(nullptr, registry.RemovePath("Out\\Mute"));
    EXPECT_EQ(nullptr, registry.Remove("out\\gain", &b));
    EXPECT_EQ(&a, registry.FindPath("Out\\Gain"));

    EXPECT_EQ(&a, registry.RemovePath("OUT\\GAIN"));
    EXPECT_EQ(nullptr, registry.FindPath("Out\\Gain"));
    EXPECT_EQ(0, registry.GetCount());
    EXPECT_EQ(0, registry.AddPath(&b, "Out\\Gain"));
    EXPECT_EQ(&b, registry.FindPath("out\\gain"));
}

TEST(XRegistry, RandomPathsAgreeWithAPlainMap)
{
    std::mt19937 random(20240611);
    const char alphabet[] = "aBc\\\\x";
    XRegistry<Item> registry;
    std::vector<Item> items(400);
    std::vector<std::string> registered;
    for (size_t i = 0; i < items.size(); ++i)
    {
        items[i].id = static_cast<int>(i);
        std::string path;
        const size_t length = 1 + random() % 8;
        for (size_t k = 0; k < length; ++k)
            path += alphabet[random() % (sizeof alphabet - 1)];
        const bool added = registry.AddPath(&items[i], "%s", path.c_str()) == 0;
        if (added)
        {
            EXPECT_EQ(&items[i], registry.FindPath("%s", path.c_str())) << path;
            registered.push_back(path);
        }
        if (!registered.empty() && random() % 3 == 0)
        {
            const size_t victim = random() % registered.size();
            EXPECT_NE(nullptr, registry.RemovePath("%s", registered[victim].c_str()));
            EXPECT_EQ(nullptr, registry.FindPath("%s", registered[victim].c_str()));
            registered.erase(registered.begin() + static_cast<long>(victim));
        }
    }
    for (const std::string& path : registered)
        EXPECT_NE(nullptr, registry.RemovePath("%s", path.c_str())) << path;
    EXPECT_EQ(0, registry.GetCount());
}
