// The editor windows' registry: rows by name and window-open parameter, windows made once on first
// request, and the program's rows.

#include "windows/SubWindowRegistry.h"

#include "WindowTestSupport.h"
#include "windows/EditorWindows.h"

#include <gtest/gtest.h>

namespace
{
class PlainWindow final : public SubWindow
{
public:
    explicit PlainWindow(const char* title = "Plain") : SubWindow(title, "backgrounds\\panel.png") {}

protected:
    void BuildContent() override {}
};

class OtherWindow final : public SubWindow
{
public:
    OtherWindow() : SubWindow("Other", "backgrounds\\panel.png", 72) {}

protected:
    void BuildContent() override {}
};

class SubWindowRegistryTest : public WindowTest::WindowTestBase
{
protected:
    /** A factory of PlainWindow that counts what it made. */
    SubWindowRegistry::Factory Counting()
    {
        return [this]
        {
            ++made;
            return std::make_unique<PlainWindow>();
        };
    }

    int made = 0;
};
} // namespace

TEST_F(SubWindowRegistryTest, AWindowIsMadeOnceOnFirstRequestByNameOrParameter)
{
    SubWindowRegistry registry;
    registry.Register({"Crossover", 72, Counting()});
    registry.Register({"Presets", SubWindowRegistry::kNoWindowParam, &MakeWindow<PlainWindow>});
    registry.Register({"Configuration", 71, nullptr});

    EXPECT_EQ(registry.Find("Crossover"), nullptr);
    EXPECT_EQ(registry.Find(72), nullptr);
    EXPECT_EQ(made, 0) << "finding makes nothing";
    SubWindow* crossover = registry.Get(72);
    ASSERT_NE(crossover, nullptr);
    EXPECT_EQ(registry.Get("crossover"), crossover) << "names are compared without regard to case";
    EXPECT_EQ(registry.Find(72), crossover);
    EXPECT_EQ(made, 1);
    EXPECT_FALSE(crossover->IsShown()) << "made hidden";
    EXPECT_NE(registry.Get<PlainWindow>("Presets"), nullptr);
    EXPECT_EQ(registry.Get<OtherWindow>("Presets"), nullptr);

    struct Case
    {
        const char* name;
        int32_t id;
    };
    // A row without a function, an unknown name or id, the "no parameter" id itself.
    for (const Case& c :
         {Case{"Configuration", 71}, Case{"Nothing", 99}, Case{nullptr, SubWindowRegistry::kNoWindowParam}})
    {
        EXPECT_EQ(registry.Get(c.name), nullptr);
        EXPECT_EQ(registry.Get(c.id), nullptr);
    }
}

TEST_F(SubWindowRegistryTest, ARowReplacedKeepsItsPlaceAndADeletedWindowIsNotMadeAgain)
{
    SubWindowRegistry registry;
    registry.Register({"First", 70, nullptr});
    registry.Register({"Second", 71, nullptr});
    registry.Register({"first", 72, Counting()});
    ASSERT_EQ(registry.Count(), 2);
    EXPECT_EQ(registry.GetRow(0)->windowParamId, 72);
    EXPECT_EQ(registry.GetRow(2), nullptr);

    SubWindow* window = registry.Get(72);
    ASSERT_NE(window, nullptr);
    delete window; // as the application deletes every window when it quits
    EXPECT_EQ(registry.Find("First"), nullptr);
    EXPECT_EQ(registry.Get("First"), nullptr);
    EXPECT_EQ(made, 1);
}

TEST_F(SubWindowRegistryTest, TheRegistryDeletesTheWindowsStillAliveWhenItGoes)
{
    juce::Component::SafePointer<SubWindow> first;
    juce::Component::SafePointer<SubWindow> second;
    {
        SubWindowRegistry registry;
        registry.Register({"First", 70, &MakeWindow<PlainWindow>});
        registry.Register({"Second", 71, &MakeWindow<OtherWindow>});
        first = registry.Get("First");
        second = registry.Get("Second");
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        second->Show();
    }
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
}

TEST_F(SubWindowRegistryTest, TheProgramKnowsItsThirteenWindowsInTheirStartUpOrder)
{
    SubWindowRegistry registry;
    EditorWindows::Register(registry);
    struct Case
    {
        const char* name;
        int32_t id;
    };
    const Case expected[] = {{"Configuration", 71},       {"Crossover", 72},
                             {"Input Parametric Eq", 73}, {"Input Graphic Eq", 74},
                             {"Input Delay", 75},         {"Output Delay", 77},
                             {"System Overview", 70},     {"Output Parametric Eq", 76},
                             {"Limiters and Levels", 78}, {"Frequency Response", 79},
                             {"Front Panel Access", -1},  {"Presets", -1},
                             {"Contact Closure", -1}};
    ASSERT_EQ(registry.Count(), static_cast<int32_t>(std::size(expected)));
    for (int32_t index = 0; index < registry.Count(); ++index)
    {
        EXPECT_EQ(registry.GetRow(index)->name, expected[index].name);
        EXPECT_EQ(registry.GetRow(index)->windowParamId, expected[index].id);
    }
}
