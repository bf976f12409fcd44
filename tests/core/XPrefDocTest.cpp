#include "core/XPrefDoc.h"

#include "ChildScenario.h"
#include "XStringPrinter.h"
#include "core/FloatParam.h"
#include "core/IPrefDocument.h"
#include "core/ParamGroupRegistry.h"
#include "core/XApplication.h"
#include "core/XParamGroup.h"
#include "core/XResult.h"
#include "platform/PlatformClock.h"
#include "support/ParamTestSupport.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using ParamTest::Desc;
using ParamTest::FakeHost;

namespace
{
constexpr int32_t kPref = XParamDesc::kFlagPreference;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/** One on/off preference, "ShowTips", under the prefix. */
std::unique_ptr<XParamGroup> TipsGroup(const char* prefix)
{
    static const XParamDesc table[] = {Desc(XParamDesc::kTypeOnOff, 0, 1, 0, 2, kPref, "ShowTips", 1),
                                       XParamDesc()};
    auto group = std::make_unique<XParamGroup>(prefix);
    group->AddParams(table, prefix);
    return group;
}

class XPrefDocTest : public ::testing::Test
{
protected:
    FakeHost host;
    TestSupport::TempFolder folder;
};

TEST_F(XPrefDocTest, OneOnOffPreferenceWritesThreeLines)
{
    auto group = TipsGroup("PrefTips");
    XPrefDoc doc;
    doc.AddGroup(group.get());
    group->GetParam(1)->SetValue(1, false);

    EXPECT_EQ(doc.Save(), XResult::kFailed) << "no path: nothing is written";
    const std::string path = folder.Child("prefs.txt");
    doc.SetPath(path.c_str());
    EXPECT_EQ(doc.Save(), 0);
    EXPECT_EQ(ReadFile(path), "[VERSION]=2\r\n[PARAMS]\r\n\"PrefTips\\ShowTips\"=true\r\n");
}

TEST_F(XPrefDocTest, EveryKindOfValueAndCustomEntryHasItsForm)
{
    static const XParamDesc table[] = {
        Desc(XParamDesc::kTypeInteger, -100, 100, -7, 201, kPref, "Count", 1),
        Desc(XParamDesc::kTypeOnOff, 0, 1, 0, 2, kPref, "Flag", 2),
        Desc(XParamDesc::kTypeGain, -96, 12, -3.5, 1001, kPref, "Level", 3),
        Desc(XParamDesc::kTypeText, 0, 1, 0, 1, kPref, "Owner", 4),
        Desc(XParamDesc::kTypeTime, 0, 1, 0, 1, kPref, "Locate", 5),
        Desc(XParamDesc::kTypeGain, -96, 12, 0, 1001, 0, "NotAPreference", 6),
        XParamDesc(),
    };
    XParamGroup group("PrefKinds");
    group.AddParams(table, "PrefKinds");
    group.GetParam(4)->SetText("Front of house", false);
    XPrefDoc doc;
    doc.AddGroup(&group);
    EXPECT_EQ(doc.CountParams(), 5);

    const std::vector<CustomPrefNode> entries = []
    {
        std::vector<CustomPrefNode> list(8);
        const char kinds[] = {'c', 'd', 'm', 'n', 'o', 'p', 'q', 'z'};
        for (size_t i = 0; i < list.size(); ++i)
        {
            list[i].kind = kinds[i];
            list[i].name = XString(kinds[i]);
        }
        list[0].intValue = -5;
        list[1].text = "words";
        list[2].flag = true;
        list[3].rect = XRect(1, 2, 3, 4);
        list[4].point = XPoint(5, 6);
        list[5].colour = XRGB(7, 8, 9, 10);
        list[6].real = 0.5;
        return list;
    }();
    for (const CustomPrefNode& entry : entries)
        doc.AddCustomEntry(entry);

    const XString expected = XString("[VERSION]=2\r\n[PARAMS]\r\n") + "\"PrefKinds\\Count\"=-7\r\n" +
                             "\"PrefKinds\\Flag\"=false\r\n" + "\"PrefKinds\\Level\"=-3.500000\r\n" +
                             "\"PrefKinds\\Owner\"=\"Front of house\"\r\n" + "\"PrefKinds\\Locate\"=\"" +
                             group.GetParam(5)->GetText() + "\"\r\n" + "[OTHER]\r\n\"c\"=-5\r\n" +
                             "\"d\"=\"words\"\r\n\"m\"=true\r\n\"n\"=1,2,3,4\r\n\"o\"=5,6\r\n" +
                             "\"p\"=r:7,g:8,b:9,a:10\r\n\"q\"=0.500000\r\n";
    EXPECT_EQ(doc.BuildFileText(), expected);
}

TEST_F(XPrefDocTest, ChangesMarkDirtyUntilASaveAndGoneParametersLeaveTheList)
{
    auto group = TipsGroup("PrefDirty");
    XPrefDoc doc;
    doc.AddGroup(group.get());
    doc.AddGroup(group.get()); // listed twice
    EXPECT_EQ(doc.CountParams(), 2);
    EXPECT_FALSE(doc.IsDirty());

    group->GetParam(1)->SetValue(1, true);
    EXPECT_TRUE(doc.IsDirty());
    doc.SetPath(folder.Child("missing-folder/prefs.txt").c_str());
    EXPECT_EQ(doc.Save(), XResult::kFailed);
    EXPECT_TRUE(doc.IsDirty()) << "a failed write keeps the mark";
    doc.SetPath(folder.Child("prefs.txt").c_str());
    EXPECT_EQ(doc.Save(), 0);
    EXPECT_FALSE(doc.IsDirty());

    group.reset();
    EXPECT_EQ(doc.CountParams(), 0);
    EXPECT_EQ(doc.BuildFileText(), "[VERSION]=2\r\n[PARAMS]\r\n");
}

TEST_F(XPrefDocTest, GroupPathsAreTakenOnceAndNeverThroughAGroup)
{
    XRegistry<XParamGroup> registry;
    XParamGroup first("first");
    XParamGroup second("second");
    EXPECT_EQ(RegisterParamGroupPath(registry, &first, "Channels\\%s", "InputA"), 0);
    EXPECT_EQ(RegisterParamGroupPath(registry, &second, "CHANNELS\\inputa"), XResult::kFailed);
    EXPECT_EQ(RegisterParamGroupPath(registry, &second, "channels\\InputA\\Sub"), XResult::kFailed)
        << "through a group";
    EXPECT_EQ(RegisterParamGroupPath(registry, &second, "Channels"), XResult::kFailed)
        << "a level is taken too";
    EXPECT_EQ(RegisterParamGroupPath(registry, nullptr, "Other"), XResult::kFailed);
    EXPECT_EQ(registry.Find("channels\\inputa"), &first);
    EXPECT_EQ(registry.Find("channels\\inputa\\sub"), nullptr);
}

int RunApplicationPreferences()
{
    int failures = 0;
    PlatformClock::SetTimeScale(10.0);
    XApplication app("PrefsTest");
    auto group = TipsGroup("PrefApp");
    auto twin = TipsGroup("PrefAppTwin");

    SCENARIO_CHECK(RegisterParamGroup(&app, nullptr, "x") == XResult::kFailed);
    SCENARIO_CHECK(RegisterParamGroup(&app, group.get(), "App\\%s", "Main") == 0);
    SCENARIO_CHECK(GetParamGroupRegistry().Find("app\\main") == group.get());
    // The path is used as formatted: a '%' in an argument is not formatted again.
    SCENARIO_CHECK(RegisterParamGroup(&app, twin.get(), "%s", "App\\100%d") == 0);
    SCENARIO_CHECK(GetParamGroupRegistry().Find("app\\100%d") == twin.get());
    // A taken path still adds the group to the preferences.
    SCENARIO_CHECK(RegisterParamGroup(&app, twin.get(), "APP\\main") == 0);
    SCENARIO_CHECK(GetParamGroupRegistry().Find("app\\main") == group.get());

    auto* doc = dynamic_cast<XPrefDoc*>(app.GetPrefDocument());
    SCENARIO_CHECK(doc != nullptr);
    if (doc == nullptr)
        return 1;
    SCENARIO_CHECK(doc->CountParams() == 3);
    SCENARIO_CHECK(!app.IsPrefsDirty());
    twin->GetParam(1)->ChangeValue(1, true);
    SCENARIO_CHECK(app.IsPrefsDirty());
    SCENARIO_CHECK(doc->IsDirty());
    app.SaveSystemPrefs(); // no path: nothing written, the application's mark cleared all the same
    SCENARIO_CHECK(!app.IsPrefsDirty());
    SCENARIO_CHECK(doc->IsDirty());
    app.SetPrefDocument(nullptr);
    return failures == 0 ? 0 : 1;
}

TEST_F(XPrefDocTest, RegisteredGroupsJoinTheApplicationsPreferences)
{
    ChildScenario::ExpectPasses(RunApplicationPreferences);
}
} // namespace
