#include "core/GenericList.h"

#include "core/XResult.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{

std::vector<int*> Items(const XList<int>& list)
{
    std::vector<int*> items;
    for (const GenericList::Link* link = list.GetHead(); link != nullptr; link = link->next)
        items.push_back(XList<int>::ItemOf(link));
    return items;
}
} // namespace

TEST(GenericListTest, AddRemoveKeepsHeadTailAndCount)
{
    int a = 1;
    int b = 2;
    int c = 3;
    XList<int> list;
    EXPECT_EQ(list.Add(nullptr), XResult::kFailed);
    EXPECT_EQ(list.AddHead(nullptr), XResult::kFailed);
    ASSERT_EQ(list.Add(&b), 0);
    ASSERT_EQ(list.AddHead(&a), 0);
    ASSERT_EQ(list.Add(&c), 0);
    EXPECT_EQ(Items(list), (std::vector<int*>{&a, &b, &c}));

    // Removing the tail must move the tail back, or the next Add would be lost.
    ASSERT_EQ(list.Remove(&c), 0);
    ASSERT_EQ(list.Add(&c), 0);
    EXPECT_EQ(Items(list), (std::vector<int*>{&a, &b, &c}));
    ASSERT_EQ(list.Remove(&a), 0);
    EXPECT_EQ(list.Remove(&a), XResult::kFailed);
    EXPECT_EQ(list.Remove(nullptr), XResult::kFailed);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetAt(0), &b);
    EXPECT_EQ(list.GetAt(1), &c);
    EXPECT_EQ(list.GetAt(2), nullptr);
    EXPECT_TRUE(list.Contains(&c));
    EXPECT_FALSE(list.Contains(&a));
    EXPECT_FALSE(list.Contains(nullptr));

    list.Remove(&b);
    list.Remove(&c);
    EXPECT_TRUE(list.IsEmpty());
    ASSERT_EQ(list.Add(&a), 0);
    EXPECT_EQ(Items(list), (std::vector<int*>{&a}));
}

TEST(GenericListTest, RemoveTakesTheFirstOfEqualItemsAndCopyFromKeepsOrder)
{
    int a = 1;
    int b = 2;
    XList<int> list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&a);
    ASSERT_EQ(list.Remove(&a), 0);
    EXPECT_EQ(Items(list), (std::vector<int*>{&b, &a}));

    XList<int> copy;
    copy.Add(&b);
    ASSERT_EQ(copy.CopyFrom(list), 0);
    EXPECT_EQ(Items(copy), (std::vector<int*>{&b, &a}));
    copy.RemoveAll();
    EXPECT_EQ(copy.GetCount(), 0);
    EXPECT_EQ(copy.GetHead(), nullptr);
    EXPECT_EQ(list.GetCount(), 2);
}
