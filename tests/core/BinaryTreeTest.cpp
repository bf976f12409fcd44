#include "core/LongToPtrMap.h"
#include "core/StringToPtrMap.h"
#include "core/StringToStringMap.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace
{
using Node = BinaryTree::Node;

/** Walks the whole tree and checks every link and count; returns the subtree size. Reports the
    first node whose sides differ by more than the threshold through unbalanced. */
int CheckSubtree(const Node* node, const Node* parent, const Node*& unbalanced)
{
    if (node == nullptr)
        return 0;
    EXPECT_EQ(node->parent, parent);
    const int left = CheckSubtree(node->left, node, unbalanced);
    const int right = CheckSubtree(node->right, node, unbalanced);
    EXPECT_EQ(node->leftCount, left);
    EXPECT_EQ(node->rightCount, right);
    if (unbalanced == nullptr && std::abs(left - right) > BinaryTree::kRebalanceThreshold)
        unbalanced = node;
    return left + right + 1;
}

/** True when links and counts hold and every node is within the balance bound. */
bool IsSoundAndBalanced(const BinaryTree& tree)
{
    const Node* unbalanced = nullptr;
    const int size = CheckSubtree(tree.GetRoot(), nullptr, unbalanced);
    EXPECT_EQ(size, tree.GetCount());
    return unbalanced == nullptr && !testing::Test::HasFailure();
}

std::vector<int32_t> KeysInOrder(const LongToPtrMapBase& map)
{
    std::vector<int32_t> keys;
    for (Node* node = map.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
        keys.push_back(LongToPtrMapBase::GetNodeLong(node));
    return keys;
}

int values[2000];
} // namespace

TEST(BinaryTreeTest, AscendingInsertsStayBalancedAfterEachInsert)
{
    LongToPtrMap<int> map;
    for (int key = 1; key <= 1000; ++key)
    {
        ASSERT_TRUE(map.Add(key, &values[key]));
        ASSERT_TRUE(IsSoundAndBalanced(map)) << "after inserting " << key;
    }
    EXPECT_EQ(map.GetCount(), 1000);
    for (int key = 1; key <= 1000; ++key)
        ASSERT_EQ(map.Find(key), &values[key]);
    EXPECT_EQ(map.Find(0), nullptr);
    EXPECT_EQ(map.Find(1001), nullptr);
}

TEST(BinaryTreeTest, RandomInsertsAndRemovalsKeepOrderAndBalance)
{
    std::mt19937 random(640);
    std::uniform_int_distribution<int> keyOf(-500, 1499);
    LongToPtrMap<int> map;
    std::map<int32_t, int*> reference;
    for (int step = 0; step < 6000; ++step)
    {
        const int key = keyOf(random);
        if (random() % 3 == 0)
        {
            EXPECT_EQ(map.Remove(key), reference.erase(key) == 1);
        }
        else
        {
            int* value = &values[(key + 500) % 2000];
            ASSERT_TRUE(map.Add(key, value));
            reference[key] = value;
        }
        if (step % 50 == 0 || step > 5900)
        {
            ASSERT_TRUE(IsSoundAndBalanced(map)) << "at step " << step;
        }
    }
    std::vector<int32_t> expected;
    for (const auto& entry : reference)
        expected.push_back(entry.first);
    EXPECT_EQ(KeysInOrder(map), expected);
    for (const auto& entry : reference)
        EXPECT_EQ(map.Find(entry.first), entry.second);

    // Remove everything through nodes, root first, then check the tree is empty.
    while (map.GetRoot() != nullptr)
        map.RemoveNode(map.GetRoot());
    EXPECT_EQ(map.GetCount(), 0);
    map.RemoveNode(nullptr);
}

TEST(BinaryTreeTest, DescendingAndRemovalFromOneSideStayBalanced)
{
    LongToPtrMap<int> map;
    for (int key = 600; key >= 1; --key)
        ASSERT_TRUE(map.Add(key, &values[key]));
    ASSERT_TRUE(IsSoundAndBalanced(map));
    for (int key = 1; key <= 400; ++key)
    {
        ASSERT_TRUE(map.Remove(key));
        ASSERT_TRUE(IsSoundAndBalanced(map)) << "after removing " << key;
    }
    EXPECT_EQ(map.GetCount(), 200);
    EXPECT_EQ(KeysInOrder(map).front(), 401);
}

TEST(BinaryTreeTest, NullValuesAreRefusedAndAddReplaces)
{
    int a = 0;
    int b = 0;
    LongToPtrMap<int> map;
    EXPECT_FALSE(map.Add(5, nullptr));
    EXPECT_EQ(map.GetCount(), 0);
    ASSERT_TRUE(map.Add(5, &a));
    EXPECT_FALSE(map.Add(5, nullptr));
    EXPECT_EQ(map.Find(5), &a) << "a refused value leaves the old one";
    ASSERT_TRUE(map.Add(5, &b));
    EXPECT_EQ(map.Find(5), &b);
    EXPECT_EQ(map.GetCount(), 1);
    EXPECT_STREQ(map.KeyToText(-12), "-12");
}

TEST(BinaryTreeTest, SignedOrderForLongKeys)
{
    LongToPtrMap<int> map;
    for (int32_t key : {0, -1, 2147483647, -2147483647 - 1, 7})
        map.Add(key, &values[0]);
    EXPECT_EQ(KeysInOrder(map), (std::vector<int32_t>{-2147483647 - 1, -1, 0, 7, 2147483647}));
}

TEST(BinaryTreeTest, StringKeysAreCaseSensitiveInUnsignedByteOrder)
{
    int upper = 0;
    int lower = 0;
    int high = 0;
    StringToPtrMap<int> map;
    ASSERT_TRUE(map.Add("Gain", &upper));
    ASSERT_TRUE(map.Add("gain", &lower));
    ASSERT_TRUE(map.Add("\xC3\xA9t\xC3\xA9", &high));
    EXPECT_EQ(map.GetCount(), 3);
    EXPECT_EQ(map.Find("Gain"), &upper);
    EXPECT_EQ(map.Find("gain"), &lower);
    EXPECT_EQ(map.Find("GAIN"), nullptr);

    std::vector<std::string> order;
    for (Node* node = map.FirstNode(); node != nullptr; node = BinaryTree::NextNode(node))
        order.emplace_back(StringToPtrMapBase::GetNodeText(node));
    EXPECT_EQ(order, (std::vector<std::string>{"Gain", "gain", "\xC3\xA9t\xC3\xA9"}));
    EXPECT_TRUE(map.Remove("Gain"));
    EXPECT_FALSE(map.Remove("Gain"));
    EXPECT_EQ(map.Find("gain"), &lower);
}

TEST(BinaryTreeTest, KeysAreCopiedForEveryLengthClass)
{
    StringToPtrMap<int> map;
    std::vector<std::string> keys;
    for (size_t length : {0u, 1u, 15u, 16u, 31u, 32u, 63u, 64u, 65u, 66u, 67u, 200u})
        keys.emplace_back(length, static_cast<char>('a' + length % 26));
    for (size_t i = 0; i < keys.size(); ++i)
    {
        std::string scratch = keys[i];
        ASSERT_TRUE(map.Add(scratch.c_str(), &values[i]));
        scratch.assign(scratch.size(), '#'); // the map keeps its own copy
    }
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(map.Find(keys[i].c_str()), &values[i]) << keys[i].size();
    EXPECT_EQ(map.Find(nullptr), &values[0]) << "a null key counts as \"\"";
}

TEST(BinaryTreeTest, StringToStringMapOwnsItsTexts)
{
    StringToStringMap map;
    EXPECT_FALSE(map.Add("key", nullptr));
    ASSERT_TRUE(map.Add("key", "first value"));
    ASSERT_TRUE(map.Add("key", "a second value that is longer than sixty-four characters, for the heap"));
    EXPECT_STREQ(map.Find("key"), "a second value that is longer than sixty-four characters, for the heap");
    // Re-adding the stored text itself must copy it before the old one goes.
    ASSERT_TRUE(map.Add("key", map.Find("key")));
    EXPECT_STREQ(map.Find("key"), "a second value that is longer than sixty-four characters, for the heap");
    ASSERT_TRUE(map.Add("other", "x"));
    EXPECT_TRUE(map.Remove("other"));
    EXPECT_EQ(map.Find("other"), nullptr);
    EXPECT_STREQ(map.KeyToText(reinterpret_cast<BinaryTree::Key>("shown")), "shown");
}

TEST(BinaryTreeTest, ManyTreesShareAndReleaseThePools)
{
    for (int round = 0; round < 3; ++round)
    {
        std::vector<std::unique_ptr<StringToStringMap>> maps;
        for (int m = 0; m < 5; ++m)
        {
            maps.push_back(std::make_unique<StringToStringMap>());
            for (int k = 0; k < 50; ++k)
                maps.back()->Add(("k" + std::to_string(k)).c_str(), ("v" + std::to_string(m)).c_str());
        }
        for (int m = 0; m < 5; ++m)
            EXPECT_STREQ(maps[static_cast<size_t>(m)]->Find("k7"), ("v" + std::to_string(m)).c_str());
    }
}
