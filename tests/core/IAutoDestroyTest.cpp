#include "core/IAutoDestroy.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
class Registered : public IAutoDestroy
{
};
} // namespace

TEST(IAutoDestroyTest, RegistersNewestFirstAndUnregistersOnDestruction)
{
    const int32_t before = CountAutoDestroyObjects();
    auto first = std::make_unique<Registered>();
    auto middle = std::make_unique<Registered>();
    auto newest = std::make_unique<Registered>();
    ASSERT_EQ(CountAutoDestroyObjects(), before + 3);
    EXPECT_EQ(GetAutoDestroyObject(0), newest.get());

    middle.reset();
    ASSERT_EQ(CountAutoDestroyObjects(), before + 2);
    EXPECT_EQ(GetAutoDestroyObject(0), newest.get());
    EXPECT_EQ(GetAutoDestroyObject(1), first.get());

    newest.reset();
    first.reset();
    EXPECT_EQ(CountAutoDestroyObjects(), before);
    EXPECT_EQ(GetAutoDestroyObject(-1), nullptr);
}
