#include "ViewTypeTable.h"
#include "files/FileViewTypes.h"
#include "gui/ViewFactory.h"
#include "gui/XButton.h"
#include "gui/XCloseBox.h"
#include "gui/XToggleSwitch.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/WidgetViewTypes.h"
#include "widgets/XCheckBox.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace
{
using WidgetTest::AllTypes;
using WidgetTest::TypeCase;

/** The exact class of what the word makes; XView's type for a failed creation as well. */
std::type_index MadeType(const char* word)
{
    std::unique_ptr<XView> view(XView::CreateViewByName(word));
    return view != nullptr ? std::type_index(typeid(*view)) : std::type_index(typeid(void));
}

class MarkedView final : public XView
{
};

void RegisterMarkedButton()
{
    XView::RegisterViewClass("button", &ViewFactory::Create<MarkedView>);
}

/** An empty factory, the application the views attach to, and the layers' registrations handed in
    as the program hands them in. */
class ViewTypeRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        Reset();
    }
    void TearDown() override { Reset(); }

    static void Reset()
    {
        XView::ResetClassFactory();
        ViewFactory::ResetSteps();
    }
    static void InstallAllLayers()
    {
        WidgetViewTypes::Install();
        FileViewTypes::Install();
    }
};
} // namespace

TEST_F(ViewTypeRegistryTest, TheTableHoldsTheBuiltInWordsInRegistrationOrder)
{
    ASSERT_EQ(ViewFactory::kBuiltInTypeCount, 33);
    for (int32_t row = 0; row < ViewFactory::kBuiltInTypeCount; ++row)
    {
        EXPECT_STREQ(ViewFactory::GetBuiltInTypeWord(row), AllTypes()[static_cast<size_t>(row)].word) << row;
        EXPECT_EQ(ViewFactory::FindBuiltInType(AllTypes()[static_cast<size_t>(row)].word), row);
    }
    EXPECT_EQ(ViewFactory::GetBuiltInTypeWord(-1), nullptr);
    EXPECT_EQ(ViewFactory::GetBuiltInTypeWord(33), nullptr);
    EXPECT_EQ(ViewFactory::FindBuiltInType("TOGGLESWITCH"), 31);
    EXPECT_EQ(ViewFactory::FindBuiltInType("panel"), -1) << "the panels follow the table";
    EXPECT_EQ(ViewFactory::FindBuiltInType(nullptr), -1);
}

TEST_F(ViewTypeRegistryTest, EveryWordMakesItsClass)
{
    InstallAllLayers();
    RegisterViewTypes();
    for (const TypeCase& entry : AllTypes())
    {
        EXPECT_TRUE(MadeType(entry.word) == entry.type) << entry.word;
        const juce::String upper = juce::String(entry.word).toUpperCase();
        EXPECT_TRUE(MadeType(upper.toRawUTF8()) == entry.type) << upper;
    }
    for (const char* word : {"Button", "BUTTON", "switch"})
    {
        std::unique_ptr<XView> view(XView::CreateViewByName(word));
        EXPECT_NE(dynamic_cast<XButton*>(view.get()), nullptr) << word;
        EXPECT_EQ(dynamic_cast<XToggleSwitch*>(view.get()), nullptr) << word;
    }
    std::unique_ptr<XView> toggle(XView::CreateViewByName("ToggleSwitch"));
    EXPECT_NE(dynamic_cast<XToggleSwitch*>(toggle.get()), nullptr);
    for (const char* word : {"slidr", "", "listview"})
        EXPECT_TRUE(MadeType(word) == typeid(XView)) << "unregistered '" << word << "' makes a plain view";
}

TEST_F(ViewTypeRegistryTest, ARowNoLayerProvidedMakesAPlainView)
{
    WidgetViewTypes::Install();
    RegisterViewTypes();
    EXPECT_TRUE(MadeType("list") == typeid(XView));
    EXPECT_TRUE(MadeType("filemanager") == typeid(XView));
    EXPECT_TRUE(MadeType("checkbox") == typeid(XCheckBox));

    Reset();
    RegisterViewTypes();
    EXPECT_TRUE(MadeType("checkbox") == typeid(XView)) << "the foundation alone has no check box";
    EXPECT_TRUE(MadeType("closebox") == typeid(XCloseBox));
}

TEST_F(ViewTypeRegistryTest, OnlyTableWordsTakeProvidedCreatorsAndStepsRunAfterTheTable)
{
    EXPECT_FALSE(ViewFactory::ProvideCreator("panel", &ViewFactory::Create<MarkedView>));
    EXPECT_FALSE(ViewFactory::ProvideCreator("button", nullptr));
    EXPECT_TRUE(ViewFactory::ProvideCreator("TEXT", &ViewFactory::Create<MarkedView>));
    ViewFactory::AddViewTypeRegistration(&RegisterMarkedButton);
    RegisterViewTypes();
    EXPECT_TRUE(MadeType("text") == typeid(MarkedView)) << "a provided creator replaces the foundation's";
    EXPECT_TRUE(MadeType("button") == typeid(MarkedView)) << "a step registers after the table";
    EXPECT_TRUE(MadeType("switch") == typeid(XButton));
    EXPECT_TRUE(MadeType("panel") == typeid(XView));
}

TEST_F(ViewTypeRegistryTest, TheWidgetsRegistrationHandedInAsOneStepRegistersEveryWidgetWord)
{
    ViewFactory::AddViewTypeRegistration(&WidgetViewTypes::Register);
    RegisterViewTypes();
    for (const TypeCase& entry : AllTypes())
    {
        if (std::string(entry.word) != "list" && std::string(entry.word) != "filemanager")
        {
            EXPECT_TRUE(MadeType(entry.word) == entry.type) << entry.word;
        }
    }
}
