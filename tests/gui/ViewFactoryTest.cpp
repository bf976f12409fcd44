#include "gui/ViewFactory.h"

#include "gui/IViewServices.h"
#include "gui/ViewKeywords.h"
#include "support/gui/ViewTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <typeinfo>

namespace
{
std::string steps;

class MarkedView final : public XView
{
};

void RegisterLayerA()
{
    steps += "A";
    XView::RegisterViewClass("markedView", &ViewFactory::Create<MarkedView>);
}

void RegisterLayerB()
{
    steps += "B";
}

void LateStep()
{
    int32_t value = 0;
    steps += ViewKeywords::FindNamedConstant("CPU_TOTAL_TIME", value) ? "L" : "l";
}

class ViewFactoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        XView::ResetClassFactory();
        ViewFactory::ResetSteps();
        ViewKeywords::ResetNamedConstants();
        steps.clear();
    }
    void TearDown() override
    {
        IViewServices::Set(nullptr);
        ViewFactory::ResetSteps();
        XView::ResetClassFactory();
        ViewKeywords::ResetNamedConstants();
    }
};
} // namespace

TEST_F(ViewFactoryTest, SetUpRunsTypesThenKeywordsThenLateStepsEachOnce)
{
    ViewFactory::AddViewTypeRegistration(&RegisterLayerA);
    ViewFactory::AddViewTypeRegistration(&RegisterLayerB);
    ViewFactory::AddViewTypeRegistration(&RegisterLayerA);
    ViewFactory::AddLateSetupStep(&LateStep);
    InitViewFactory();
    EXPECT_EQ(steps, "ABL");
    EXPECT_EQ(ViewKeywords::CountNamedConstants(), 12);
    EXPECT_NE(&IViewServices::Get(), nullptr);
    EXPECT_TRUE(IViewServices::Get().IsCursorShown());

    for (const char* word : {"markedview", "MARKEDVIEW", "markedView"})
    {
        std::unique_ptr<XView> view(XView::CreateViewByName(word));
        EXPECT_NE(dynamic_cast<MarkedView*>(view.get()), nullptr) << word;
    }
    for (const char* word : {"basic", "Basic", "slidr"})
    {
        std::unique_ptr<XView> view(XView::CreateViewByName(word));
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(typeid(*view), typeid(XView)) << word;
    }
}
