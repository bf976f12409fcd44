#include "core/XParamGroup.h"

#include "XStringPrinter.h"
#include "core/FloatParam.h"
#include "core/ObjectArray.h"
#include "core/ParamRegistry.h"
#include "core/StringParam.h"
#include "core/TimeParam.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XProxyParam.h"
#include "platform/PlatformClock.h"
#include "support/ParamTestSupport.h"
#include "support/TestSupport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <memory>
#include <random>
#include <set>
#include <thread>
#include <vector>

using ParamTest::Desc;
using ParamTest::FakeHost;
using ParamTest::Note;
using ParamTest::Recorder;

namespace
{
constexpr int32_t kSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int kWaitMs = 10000;

XString ModeText(XParam* param, double value, int32_t user)
{
    static const char* const kWords[] = {"Cut", "Boost", "Notch"};
    const int index = static_cast<int>(value);
    return XString(index >= 0 && index < 3 ? kWords[index] : "");
}

/** A table of every kind the group writes: gain (double), integer, on/off, text, a transient
    meter, and a time. */
std::vector<XParamDesc> MixedTable()
{
    return {
        Desc(XParamDesc::kTypeGain, -96, 0, -10, 1001, 0, "Gain", 1),
        Desc(XParamDesc::kTypeInteger, 0, 30, 3, 31, 0, "Band", 2),
        Desc(XParamDesc::kTypeOnOff, 0, 1, 0, 1, 0, "Mute", 3),
        Desc(XParamDesc::kTypeText, 0, 1, 0, 1, 0, "Label", 4),
        Desc(XParamDesc::kTypeGain, -96, 0, -96, 1001, XParamDesc::kFlagTransient, "Meter", 5),
        Desc(XParamDesc::kTypeTime, 0, 1, 0, 1, 0, "Locate", 6),
        XParamDesc(),
    };
}

/** Gives every value of a MixedTable group something other than its default. */
void ChangeMixedValues(XParamGroup& group)
{
    group.GetParam(1)->SetValue(-3.5, false);
    group.GetParam(2)->SetValue(17, false);
    group.GetParam(3)->SetValue(1, false);
    group.GetParam(4)->SetText("Kick drum", false);
    group.GetParam(5)->SetValue(-12, false);
}

/** Waits until the tick count has moved past tick. */
uint32_t TickAfter(uint32_t tick)
{
    EXPECT_TRUE(TestSupport::WaitUntil([tick]() { return PlatformClock::GetTickCount() != tick; }, kWaitMs));
    return PlatformClock::GetTickCount();
}

std::vector<XParam*> Contents(const ObjectArray<XParam>& array)
{
    std::vector<XParam*> params;
    for (int i = 0; i < array.GetCount(); ++i)
        params.push_back(array.At(i));
    return params;
}

class XParamGroupTest : public ::testing::Test
{
protected:
    FakeHost host;
};
} // namespace

TEST_F(XParamGroupTest, TablesMakeParametersByTypeRegisteredUnderThePrefix)
{
    const std::vector<XParamDesc> table = {
        Desc(7, 0, 10, 1, 11, 0, "Level", 1),
        Desc(XParamDesc::kTypeText, 0, 1, 0, 1, 0, "Name", 2),
        Desc(XParamDesc::kTypeTime, 0, 1, 0, 1, 0, "Locate", 3),
        Desc(XParamDesc::kTypeProxy, 0, 1, 0, 1, 0, "Shown", 4),
        Desc(XParamDesc::kTypeInteger, 0, 10, 2, 11, 0, "Band[3]", 40),
        XParamDesc(),
        Desc(7, 0, 10, 1, 11, 0, "AfterTheEnd", 99),
    };
    XParamGroup group("InputA");
    group.AddParams(table.data(), "InputA");
    ASSERT_EQ(group.CountParams(), 7);
    EXPECT_NE(dynamic_cast<FloatParam*>(group.GetParam(1)), nullptr);
    EXPECT_NE(dynamic_cast<StringParam*>(group.GetParam(2)), nullptr);
    EXPECT_NE(dynamic_cast<TimeParam*>(group.GetParam(3)), nullptr);
    EXPECT_NE(dynamic_cast<XProxyParam*>(group.GetParam(4)), nullptr);
    EXPECT_EQ(group.GetParam(99), nullptr);
    EXPECT_EQ(group.CreateParam(nullptr), nullptr);

    EXPECT_EQ(FindParam("INPUTA\\level"), group.GetParam(1));
    EXPECT_EQ(FindParam("InputA\\Shown"), group.GetParam(4));
    for (int k = 1; k <= 3; ++k)
    {
        XParam* band = group.GetParam(39 + k);
        ASSERT_NE(band, nullptr);
        EXPECT_EQ(FindParam("inputa\\band%d", k), band);
        EXPECT_EQ(band->GetId(), 39 + k);
        EXPECT_STREQ(band->GetDesc()->name, XString().Format("Band%d", k).CStr());
        EXPECT_DOUBLE_EQ(band->GetValue(), 2.0);
    }
    int32_t id = 0;
    EXPECT_EQ(group.GetParamAndIdAt(5, &id), group.GetParam(41));
    EXPECT_EQ(id, 41);
    EXPECT_EQ(group.GetParamAndIdAt(7, &id), nullptr);
    EXPECT_EQ(id, -1);
    EXPECT_EQ(group.GetParamAt(-1), nullptr);
    EXPECT_EQ(group.FindParamByName("LEVEL"), group.GetParam(1));
    EXPECT_EQ(group.FindParamByName("inputa\\band3"), group.GetParam(42));
    EXPECT_EQ(group.FindParamByName(""), nullptr);
}

TEST_F(XParamGroupTest, WithoutPrefixNothingIsRegisteredButNamesStillFind)
{
    const std::vector<XParamDesc> table = {Desc(7, 0, 10, 1, 11, 0, "Solo[2]", 1), XParamDesc()};
    XParamGroup group;
    group.AddParams(table.data(), "");
    EXPECT_EQ(group.GetParam(2)->GetFullPath(), "");
    EXPECT_EQ(FindParam("Solo2"), nullptr);
    EXPECT_EQ(group.FindParamByName("solo2"), group.GetParam(2));
}

TEST_F(XParamGroupTest, ParamListsGetTheirTextCallbacks)
{
    XParamDescWithText rows[2];
    rows[0].desc = Desc(XParamDesc::kTypeInteger, 0, 2, 1, 3, 0, "Mode", 8);
    rows[0].textCallback = ModeText;
    XParamGroup group("eq");
    group.AddParamList(rows, "eq");
    ASSERT_EQ(group.CountParams(), 1);
    EXPECT_EQ(group.GetParam(8)->GetText(), "Boost");
    EXPECT_EQ(FindParam("eq\\mode"), group.GetParam(8));
}

TEST_F(XParamGroupTest, OwnedParametersGoWithTheGroupAndOthersStay)
{
    FloatParam outsider(Desc(7, 0, 1, 0, 2));
    ASSERT_TRUE(outsider.SetPath("keep\\outsider"));
    {
        const std::vector<XParamDesc> table = {Desc(7, 0, 10, 1, 11, 0, "Level", 1), XParamDesc()};
        XParamGroup group("temp");
        group.AddParams(table.data(), "temp");
        group.AddParam(&outsider, 2, false);
        group.AddParam(nullptr, 3, true);
        EXPECT_EQ(group.CountParams(), 2);
        ASSERT_NE(FindParam("temp\\level"), nullptr);
    }
    EXPECT_EQ(FindParam("temp\\level"), nullptr);
    EXPECT_EQ(FindParam("keep\\outsider"), &outsider);
}

TEST_F(XParamGroupTest, SubGroupsAreFoundByKey)
{
    XParamGroup parent("parent");
    XParamGroup child("child");
    parent.AddGroup(&child); // no key yet: ignored
    EXPECT_EQ(parent.GetGroup(""), nullptr);
    child.SetKey("eq");
    parent.AddGroup(&child);
    parent.AddGroup(nullptr);
    EXPECT_EQ(parent.GetGroup("eq"), &child);
}

TEST_F(XParamGroupTest, CollectsExactlyTheParametersChangedSinceATick)
{
    const std::vector<XParamDesc> table = {Desc(7, 0, 10, 0, 11, 0, "P[5]", 1), XParamDesc()};
    XParamGroup group;
    group.AddParams(table.data(), "");
    group.GetParam(2)->SetValue(1, false);
    const uint32_t since = TickAfter(group.GetParam(2)->GetLastChangeTick());
    group.GetParam(5)->SetValue(1, false);
    group.GetParam(1)->SetValue(1, false);
    group.GetParam(3)->SetValue(1, false);

    ObjectArray<XParam> changed;
    changed.Add(group.GetParam(4)); // emptied first
    group.CollectChangedSince(changed, since, false);
    EXPECT_EQ(Contents(changed),
              (std::vector<XParam*>{group.GetParam(1), group.GetParam(3), group.GetParam(5)}));
    group.CollectChangedSince(changed, since, true);
    EXPECT_EQ(changed.GetCount(), 6);
    group.CollectChangedSince(changed, PlatformClock::GetTickCount() + 60000, false);
    EXPECT_EQ(changed.GetCount(), 0);

    group.GetParam(4)->SetChangeTracking(false);
    group.GetParam(4)->SetValue(1, false); // a value from the unit: not sent back
    group.CollectChangedSince(changed, since, false);
    EXPECT_EQ(changed.GetCount(), 3);
}

TEST_F(XParamGroupTest, StampsCompareAcrossTheWrapOfTheTickCount)
{
    struct Case
    {
        uint32_t stamp;
        uint32_t since;
        uint32_t now;
        bool counted;
    };
    const Case cases[] = {
        {100, 100, 200, true},
        {99, 100, 200, false},
        {200, 100, 200, true},
        {0, 0, 200, false},
        {0xFFFFFFF0, 0xFFFFFF00, 0x10, true},
        {0x08, 0xFFFFFF00, 0x10, true},
        {0xFFFFFE00, 0xFFFFFF00, 0x10, false},
        {0x20, 0xFFFFFF00, 0x10, false}, // stamped after now: not a change since
        {150, 300, 200, false},          // since after now
    };
    for (const Case& c : cases)
        EXPECT_EQ(XParamGroup::StampedSince(c.stamp, c.since, c.now), c.counted) << c.stamp << " " << c.since;
}

TEST_F(XParamGroupTest, MessageFormRestoresEveryValueButTransientOnes)
{
    const std::vector<XParamDesc> table = MixedTable();
    XParamGroup source("src");
    source.AddParams(table.data(), "");
    ChangeMixedValues(source);
    StringParam byPath;
    ASSERT_TRUE(byPath.SetPath("groups\\byPath"));
    byPath.SetText("found by path", false);
    source.AddParam(&byPath, XParamGroup::kNoId, false);
    StringParam unreachable; // no id, no path: left out
    source.AddParam(&unreachable, XParamGroup::kNoId, false);

    for (int32_t flags : {2, 4, 6})
    {
        XMessage written(FourCharCode("test"));
        source.WriteToMessage(&written, flags);
        // Through the flattened form, as a message crosses a port.
        std::vector<uint8_t> flat(static_cast<size_t>(written.GetFlattenedSize()));
        ASSERT_EQ(written.Flatten(flat.data(), static_cast<int32_t>(flat.size())), 0);
        XMessage message;
        ASSERT_EQ(message.Unflatten(flat.data(), static_cast<int32_t>(flat.size())), 0);

        byPath.SetText("", false);
        Recorder watcher;
        XParamGroup copy("dst");
        copy.AddParams(table.data(), "");
        copy.AddParam(&byPath, XParamGroup::kNoId, false);
        copy.GetParam(1)->AddWatcher(&watcher, 0, false);
        copy.ReadFromMessage(&message, flags);
        EXPECT_FLOAT_EQ(static_cast<float>(copy.GetParam(1)->GetValue()), -3.5f) << flags;
        EXPECT_DOUBLE_EQ(copy.GetParam(2)->GetValue(), 17.0);
        EXPECT_DOUBLE_EQ(copy.GetParam(3)->GetValue(), 1.0);
        EXPECT_EQ(copy.GetParam(4)->GetText(), "Kick drum");
        EXPECT_DOUBLE_EQ(copy.GetParam(5)->GetValue(), -96.0); // transient: default
        EXPECT_EQ(byPath.GetText(), "found by path");
        EXPECT_EQ(watcher.Codes(), std::vector<int32_t>{kSet});
        copy.GetParam(1)->RemoveWatcher(&watcher);
    }
}

TEST_F(XParamGroupTest, MessageFormNeedsItsFlags)
{
    const std::vector<XParamDesc> table = MixedTable();
    XParamGroup source;
    source.AddParams(table.data(), "");
    ChangeMixedValues(source);
    XMessage message;
    source.WriteToMessage(&message, 1);
    EXPECT_EQ(message.FindItem("serialMem"), nullptr);
    source.WriteToMessage(&message, 2);
    XParamGroup copy;
    copy.AddParams(table.data(), "");
    copy.ReadFromMessage(&message, 1);
    EXPECT_DOUBLE_EQ(copy.GetParam(2)->GetValue(), 3.0);
}

TEST_F(XParamGroupTest, ReadingStopsAtARecordTheGroupCannotPlace)
{
    const std::vector<XParamDesc> full = {Desc(XParamDesc::kTypeInteger, 0, 99, 0, 100, 0, "A", 1),
                                          Desc(XParamDesc::kTypeInteger, 0, 99, 0, 100, 0, "B", 2),
                                          Desc(XParamDesc::kTypeInteger, 0, 99, 0, 100, 0, "C", 3),
                                          XParamDesc()};
    const std::vector<XParamDesc> lacking = {full[0], full[2], XParamDesc()};
    XParamGroup source;
    source.AddParams(full.data(), "");
    for (int id = 1; id <= 3; ++id)
        source.GetParam(id)->SetValue(10 * id, false);
    XMessage message;
    source.WriteToMessage(&message, 2);

    XParamGroup reader;
    reader.AddParams(lacking.data(), "");
    reader.ReadFromMessage(&message, 2);
    EXPECT_DOUBLE_EQ(reader.GetParam(1)->GetValue(), 10.0);
    EXPECT_DOUBLE_EQ(reader.GetParam(3)->GetValue(), 0.0); // not read from B's bytes

    XMessage selected;
    const int32_t ids[] = {3, 77, 1, -1};
    source.WriteSelectedToMessage(&selected, 4, ids);
    reader.ReadFromMessage(&selected, 4);
    EXPECT_DOUBLE_EQ(reader.GetParam(3)->GetValue(), 30.0);
}

TEST_F(XParamGroupTest, NestedParamMessagesAreReadWhenThereIsNoBlock)
{
    const std::vector<XParamDesc> table = MixedTable();
    XParamGroup group("nested");
    group.AddParams(table.data(), "nested");
    XMessage message;
    XMessage gain;
    gain.AddInt32("pid", 1);
    gain.AddFloat("value", -6.0f);
    message.AddMessage("param", gain);
    XMessage label;
    label.AddString("path", "NESTED\\label");
    label.AddString("value", "Snare");
    message.AddMessage("param", label);
    XMessage meter;
    meter.AddInt32("pid", 5);
    meter.AddFloat("value", -1.0f);
    message.AddMessage("param", meter);
    XMessage unknown;
    unknown.AddInt32("pid", 77);
    message.AddMessage("param", unknown);
    XMessage band;
    band.AddInt32("pid", 2);
    band.AddFloat("value", 9.0f);
    message.AddMessage("param", band);

    group.ReadFromMessage(&message, 2);
    EXPECT_DOUBLE_EQ(group.GetParam(1)->GetValue(), -6.0);
    EXPECT_EQ(group.GetParam(4)->GetText(), "Snare");
    EXPECT_DOUBLE_EQ(group.GetParam(5)->GetValue(), -96.0); // transient: skipped
    EXPECT_DOUBLE_EQ(group.GetParam(2)->GetValue(), 3.0);   // after the unknown one: not read
}

TEST_F(XParamGroupTest, XmlFormWritesOneElementPerSavedParameter)
{
    const std::vector<XParamDesc> table = MixedTable();
    XParamGroup group("InputA");
    group.AddParams(table.data(), "");
    ChangeMixedValues(group);
    XProxyParam proxy; // no descriptor: not written
    group.AddParam(&proxy, 9, false);
    juce::XmlElement element("InputA");
    group.WriteXml(element);
    const juce::String expected = "<InputA>"
                                  "<param name=\"Gain\" pid=\"1\" val=\"-3.5\" min=\"-96.0\" max=\"0.0\"/>"
                                  "<param name=\"Band\" pid=\"2\" val=\"17\" min=\"0\" max=\"30\"/>"
                                  "<param name=\"Mute\" pid=\"3\" val=\"1\" min=\"0\" max=\"1\"/>"
                                  "<param name=\"Label\" pid=\"4\" valstr=\"Kick drum\"/>"
                                  "<param name=\"Locate\" pid=\"6\" val=\"0.0\" min=\"0.0\" max=\"1.0\"/>"
                                  "</InputA>";
    const auto format = juce::XmlElement::TextFormat().withoutHeader().singleLine();
    EXPECT_EQ(element.toString(format).toStdString(), expected.toStdString());
}

TEST_F(XParamGroupTest, XmlFormReadsByPidOnly)
{
    const std::vector<XParamDesc> table = MixedTable();
    XParamGroup source;
    source.AddParams(table.data(), "");
    ChangeMixedValues(source);
    juce::XmlElement element("g");
    source.WriteXml(element);
    element.createNewChildElement("param")->setAttribute("pid", 77); // unknown: skipped
    juce::XmlElement* noPid = element.createNewChildElement("param");
    noPid->setAttribute("name", "Band");
    noPid->setAttribute("val", 29);
    juce::XmlElement* renamed = element.createNewChildElement("param");
    renamed->setAttribute("name", "Mute");
    renamed->setAttribute("pid", 5); // the transient meter, whatever the name says
    renamed->setAttribute("val", -20.25);
    element.createNewChildElement("other")->setAttribute("pid", 2);

    const std::unique_ptr<juce::XmlElement> parsed = juce::XmlDocument::parse(element.toString());
    ASSERT_NE(parsed, nullptr);
    XParamGroup copy;
    copy.AddParams(table.data(), "");
    copy.ReadXml(*parsed);
    EXPECT_DOUBLE_EQ(copy.GetParam(1)->GetValue(), -3.5);
    EXPECT_DOUBLE_EQ(copy.GetParam(2)->GetValue(), 17.0);
    EXPECT_DOUBLE_EQ(copy.GetParam(3)->GetValue(), 1.0);
    EXPECT_EQ(copy.GetParam(4)->GetText(), "Kick drum");
    EXPECT_DOUBLE_EQ(copy.GetParam(5)->GetValue(), -20.25);
}

TEST_F(XParamGroupTest, WatchParamsTellsEachParameterAtOnceInIdOrder)
{
    Recorder watcher;
    const std::vector<XParamDesc> table = {Desc(7, 0, 1, 0, 2, 0, "C", 30),
                                           Desc(7, 0, 1, 0, 2, 0, "A", -65536),
                                           Desc(7, 0, 1, 0, 2, 0, "B", 2), XParamDesc()};
    XParamGroup group;
    group.AddParams(table.data(), "");
    XProxyParam idless;
    group.AddParam(&idless, XParamGroup::kNoId, false);
    group.WatchParams(nullptr, &watcher, 4);
    EXPECT_EQ(watcher.Notes(), (std::vector<Note>{{kSet, group.GetParam(-65536), 4},
                                                  {kSet, group.GetParam(2), 4},
                                                  {kSet, group.GetParam(30), 4}}));
    watcher.Clear();
    const int32_t ids[] = {30, 5, -1};
    group.WatchParams(ids, &watcher, 1);
    EXPECT_EQ(watcher.Notes(), (std::vector<Note>{{kSet, group.GetParam(30), 1}}));
}

TEST_F(XParamGroupTest, ResetToDefaultsNeedsItsFlag)
{
    const std::vector<XParamDesc> table = MixedTable();
    XParamGroup group;
    group.AddParams(table.data(), "");
    ChangeMixedValues(group);
    group.ResetToDefaults(2);
    EXPECT_DOUBLE_EQ(group.GetParam(2)->GetValue(), 17.0);
    group.ResetToDefaults(4);
    EXPECT_DOUBLE_EQ(group.GetParam(2)->GetValue(), 3.0);
    EXPECT_DOUBLE_EQ(group.GetParam(1)->GetValue(), -10.0);
    EXPECT_EQ(group.GetParam(4)->GetText(), "");
}

TEST_F(XParamGroupTest, TimeParametersAreNeverReportedChanged)
{
    const XParamDesc table[] = {Desc(XParamDesc::kTypeTime, 0, 1, 0, 1, 0, "Locate", 3), XParamDesc()};
    XParamGroup group("transport");
    group.AddParams(table, "");
    auto* time = dynamic_cast<TimeParam*>(group.GetParam(3));
    ASSERT_NE(time, nullptr);
    EXPECT_TRUE(time->SetValue(4800, true));
    ObjectArray<XParam> changed;
    group.CollectChangedSince(changed, 1, false);
    EXPECT_EQ(changed.GetCount(), 0);
}

// Values changed from three threads while a fourth collects the changes, as the device link does
// every 100 ms: meant for the thread sanitizer build.
TEST_F(XParamGroupTest, CollectsWhileOtherThreadsChangeValues)
{
    const std::vector<XParamDesc> table = {Desc(7, 0, 1000, 0, 1001, 0, "P[24]", 1),
                                           Desc(XParamDesc::kTypeText, 0, 1, 0, 1, 0, "Name", 100),
                                           XParamDesc()};
    XParamGroup group;
    group.AddParams(table.data(), "");
    constexpr int kRounds = 3000;
    std::atomic<int> running{3};
    // Read before any change, so that every change falls in one of the windows collected below.
    uint32_t since = PlatformClock::GetTickCount();
    std::vector<std::thread> setters;
    for (int t = 0; t < 3; ++t)
    {
        setters.emplace_back(
            [&group, &running, t]()
            {
                for (int i = 0; i < kRounds; ++i)
                {
                    group.GetParamAt((i + t) % group.CountParams())->SetValue(i % 1000 + t, false);
                    if (i % 100 == 0)
                        group.GetParam(100)->SetText(XString().Format("name %d", i).CStr(), false);
                }
                running.fetch_sub(1);
            });
    }
    // Windows that follow each other without a gap lose no change: each parameter's last change is
    // in one of them, so together they name every parameter, each at most once per window.
    ObjectArray<XParam> changed;
    std::set<const XParam*> seen;
    auto takeWindow = [&]()
    {
        std::set<const XParam*> inWindow;
        for (int i = 0; i < changed.GetCount(); ++i)
        {
            const XParam* param = changed.At(i);
            EXPECT_EQ(group.GetParam(param->GetId()), param);
            EXPECT_TRUE(inWindow.insert(param).second) << "reported twice in one window";
            seen.insert(param);
        }
    };
    while (running.load() > 0)
    {
        const uint32_t now = PlatformClock::GetTickCount();
        group.CollectChangedSince(changed, since, false);
        takeWindow();
        since = now;
    }
    for (std::thread& setter : setters)
        setter.join();
    group.CollectChangedSince(changed, since, false);
    takeWindow();
    EXPECT_EQ(static_cast<int>(seen.size()), group.CountParams());
    group.CollectChangedSince(changed, 1, false);
    EXPECT_EQ(changed.GetCount(), group.CountParams());
}

// Blocks and XML of random damage must never read outside their bytes: meant for the address
// sanitizer build.
TEST_F(XParamGroupTest, DamagedBlocksAndXmlAreReadSafely)
{
    const std::vector<XParamDesc> table = MixedTable();
    XParamGroup source;
    source.AddParams(table.data(), "");
    ChangeMixedValues(source);
    XMessage original;
    source.WriteToMessage(&original, 2);
    const void* data = nullptr;
    int32_t size = 0;
    ASSERT_EQ(original.FindData("serialMem", XMessage::kTypeRaw, data, size), 0);
    const std::vector<uint8_t> block(static_cast<const uint8_t*>(data),
                                     static_cast<const uint8_t*>(data) + size);

    std::mt19937 random(1234);
    XParamGroup reader;
    reader.AddParams(table.data(), "");
    for (int round = 0; round < 2000; ++round)
    {
        std::vector<uint8_t> damaged = block;
        damaged.resize(random() % (block.size() + 8));
        for (int hits = random() % 4; hits > 0 && !damaged.empty(); --hits)
            damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
        XMessage message;
        message.AddData("serialMem", XMessage::kTypeRaw, damaged.data(), static_cast<int32_t>(damaged.size()),
                        false);
        reader.ReadFromMessage(&message, 2);
        EXPECT_GE(reader.GetParam(2)->GetValue(), 0.0);
        EXPECT_LE(reader.GetParam(2)->GetValue(), 30.0);
    }

    const char* const values[] = {"",    "x",           "1e308", "-1e308", "nan",
                                  "inf", "99999999999", "-7",    "2.5",    "-2147483648"};
    for (int round = 0; round < 500; ++round)
    {
        juce::XmlElement element("g");
        juce::XmlElement* child = element.createNewChildElement("param");
        child->setAttribute(random() % 2 == 0 ? "val" : "valstr", values[random() % 10]);
        if (random() % 2 == 0)
            child->setAttribute("pid", values[random() % 10]);
        else
            child->setAttribute("pid", static_cast<int>(random() % 8));
        reader.ReadXml(element);
        EXPECT_GE(reader.GetParam(1)->GetValue(), -96.0);
        EXPECT_LE(reader.GetParam(1)->GetValue(), 0.0);
    }
}
