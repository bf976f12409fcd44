// The preset document against the unit's parameter tables: the file it writes, what it reads back,
// what it refuses, and when it counts as modified.

#include "device/XParamDoc.h"

#include "core/DefaultAppServices.h"
#include "core/FloatParam.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "core/XParamGroup.h"
#include "core/XResult.h"
#include "device/ChannelInput.h"
#include "device/ChannelOutput.h"
#include "device/GlobalParamTables.h"
#include "platform/PlatformClock.h"
#include "support/TestSupport.h"

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace
{
constexpr double kFastTimeScale = 50.0;
/** Waits of a load pass at once, for tests that load many times. */
constexpr double kInstantTimeScale = 1e6;
/** Far beyond any read: reaching it means the reader hangs. */
constexpr int kHangTimeoutMs = 120000;

/** The application's services as the document uses them: every request is recorded, and the reset
    of the channel groups resets the groups it is given. */
class RecordingServices final : public DefaultAppServices
{
public:
    RecordingServices() { SetAppServices(this); }
    ~RecordingServices() override { SetAppServices(nullptr); }

    void ResetChannelsToDefaults() override
    {
        Record("reset channels");
        for (XParamGroup* group : channelGroups)
            group->ResetToDefaults(XParamGroup::kResetFlag);
    }
    void SetChannelLinking(bool on) override { Record(on ? "linking on" : "linking off"); }
    void RefreshDelayWindows() override { Record("delay windows"); }
    void RefreshFrontPanelWindow() override { Record("front panel"); }
    void RepaintFrontPanelParam(XParam*) override { repaints.fetch_add(1); }
    void EnableParamSending(bool on) override { Record(on ? "sending on" : "sending off"); }
    void SendAllParamsIfConnected() override { Record("send all"); }

    std::vector<std::string> TakeCalls()
    {
        std::lock_guard<std::mutex> hold(lock);
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }

    std::vector<XParamGroup*> channelGroups;
    std::atomic<int> repaints{0};

private:
    void Record(const char* call)
    {
        std::lock_guard<std::mutex> hold(lock);
        calls.emplace_back(call);
    }

    std::mutex lock; // guards calls
    std::vector<std::string> calls;
};

class TitleRecorder final : public IDocumentTitleView
{
public:
    void SetDocumentTitle(const XString& text) override { titles.emplace_back(text.CStr()); }
    std::vector<std::string> titles;
};

const std::vector<std::string> kReadAndRearm = {"delay windows", "sending off", "linking off", "sending on",
                                                "linking on",    "front panel", "send all"};

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void Write(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

bool IsTransient(const XParam* param)
{
    return (param->GetFlags() & XParamDesc::kFlagTransient) != 0;
}

/** The application's groups built from the unit's tables as start-up builds them, handed to a
    document in start-up order: InputA, InputB, Output1..Output6, preset. */
class PresetDocument : public ::testing::Test
{
protected:
    PresetDocument() : mainGroup("main"), presetGroup("preset")
    {
        savedTimeScale = PlatformClock::GetTimeScale();
        PlatformClock::SetTimeScale(kFastTimeScale);
        mainGroup.AddParams(AppStateParamTable, GlobalParamTables::kAppStatePrefix);
        mainGroup.AddParams(UnitSettingsParamTable, GlobalParamTables::kUnitSettingsPrefix);
        mainGroup.AddParams(GlobalSettingsParamTable, GlobalParamTables::kGlobalSettingsPrefix);
        presetGroup.AddParams(PresetInfoParamTable, GlobalParamTables::kPresetInfoPrefix);
        channels.push_back(std::make_unique<ChannelInput>("InputA"));
        channels.push_back(std::make_unique<ChannelInput>("InputB"));
        for (int output = 1; output <= 6; ++output)
            channels.push_back(std::make_unique<ChannelOutput>(("Output" + std::to_string(output)).c_str()));
        auto* selector = dynamic_cast<FloatParam*>(mainGroup.GetParam(GlobalParamTables::kToolbarABId));
        for (auto& channel : channels)
        {
            channel->SetSelector(selector);
            services.channelGroups.push_back(channel.get());
            document.AddGroup(channel.get());
        }
        document.AddGroup(&presetGroup);
        document.SetTitleView(&titleView);
        services.TakeCalls();
    }
    ~PresetDocument() override { PlatformClock::SetTimeScale(savedTimeScale); }

    std::vector<XParamGroup*> DocumentGroups()
    {
        std::vector<XParamGroup*> all;
        for (auto& channel : channels)
            all.push_back(channel.get());
        all.push_back(&presetGroup);
        return all;
    }

    /** Every value and text of the document's groups, to see that nothing changed. */
    std::vector<std::string> Snapshot()
    {
        std::vector<std::string> values;
        for (XParamGroup* group : DocumentGroups())
        {
            for (int32_t index = 0; index < group->CountParams(); ++index)
            {
                XParam* param = group->GetParamAt(index);
                values.push_back(param->GetFullPath().CStr() + std::string("=") +
                                 std::to_string(param->GetValue()) + "/" + param->GetText().CStr() + "/" +
                                 std::to_string(param->GetFlags()));
            }
        }
        return values;
    }

    /** Every value, flag word and text (hashed) of the groups, but the session name, which a load
        sets to the file's name. */
    static std::vector<double> Fingerprint(const std::vector<XParamGroup*>& groups)
    {
        XParam* sessionName = FindParam("preset\\CurrentSessionName");
        std::vector<double> values;
        for (XParamGroup* group : groups)
        {
            for (int32_t index = 0; index < group->CountParams(); ++index)
            {
                XParam* param = group->GetParamAt(index);
                if (param == sessionName)
                    continue;
                values.push_back(param->GetFlags());
                values.push_back(param->GetType() == XParamDesc::kTypeText
                                     ? static_cast<double>(std::hash<std::string>()(param->GetText().CStr()))
                                     : param->GetValue());
            }
        }
        return values;
    }

    XParam* Param(const char* path)
    {
        XParam* param = FindParam("%s", path);
        EXPECT_NE(param, nullptr) << path;
        return param;
    }

    double savedTimeScale = 1.0;
    TestSupport::TempFolder folder;
    RecordingServices services;
    TitleRecorder titleView;
    XParamGroup mainGroup;
    XParamGroup presetGroup;
    std::vector<std::unique_ptr<XABGroup>> channels;
    XParamDoc document;
};
} // namespace

TEST_F(PresetDocument, SaveThenLoadBringsBackEveryNonTransientValue)
{
    std::mt19937 random(640);
    struct Expected
    {
        XParam* param;
        double value;
        std::string text;
    };
    std::vector<Expected> expected;
    for (XParamGroup* group : DocumentGroups())
    {
        for (int32_t index = 0; index < group->CountParams(); ++index)
        {
            XParam* param = group->GetParamAt(index);
            if (IsTransient(param) || param->GetDesc() == nullptr)
                continue;
            if (param->GetType() == XParamDesc::kTypeText)
            {
                param->SetText(("text " + std::to_string(random() % 1000) + " \xC3\xA9<&>\"").c_str(), true);
            }
            else
            {
                const double share = std::uniform_real_distribution<double>(0.0, 1.0)(random);
                param->SetValue(param->GetMin() + share * (param->GetMax() - param->GetMin()), true);
            }
            expected.push_back({param, param->GetValue(), param->GetText().CStr()});
        }
    }
    ASSERT_GT(expected.size(), 300u);
    EXPECT_TRUE(document.IsModified());

    const std::string path = folder.Child("Show.qm7");
    ASSERT_EQ(document.SaveAs(path.c_str()), 0);
    EXPECT_FALSE(document.IsModified());
    for (XParamGroup* group : services.channelGroups)
        group->ResetToDefaults(XParamGroup::kResetFlag);
    presetGroup.ResetToDefaults(XParamGroup::kResetFlag);

    XParamDoc reader;
    reader.SetTitleView(&titleView);
    for (XParamGroup* group : DocumentGroups())
        reader.AddGroup(group);
    services.TakeCalls();
    ASSERT_EQ(reader.Open(path.c_str()), 0);
    EXPECT_EQ(services.TakeCalls(), kReadAndRearm);

    for (const Expected& e : expected)
    {
        if (e.param->GetType() == XParamDesc::kTypeText)
        {
            if (e.param != FindParam("preset\\CurrentSessionName"))
            {
                EXPECT_EQ(e.param->GetText().CStr(), e.text) << e.param->GetFullPath().CStr();
            }
            continue;
        }
        const uint32_t count = e.param->GetCount();
        const double step = count > 1 ? (e.param->GetMax() - e.param->GetMin()) / (count - 1) : 1.0;
        EXPECT_NEAR(e.param->GetValue(), e.value, step) << e.param->GetFullPath().CStr();
    }
    EXPECT_STREQ(Param("preset\\CurrentSessionName")->GetText().CStr(), "Show.qm7");
    EXPECT_EQ(Param("QM7\\documentDirty")->GetValue(), 0);
    EXPECT_FALSE(reader.IsModified());
    EXPECT_FALSE(reader.IsBusy());
    ASSERT_FALSE(titleView.titles.empty());
    EXPECT_EQ(titleView.titles.back(), std::string(XParamDoc::kAppName) + " - Show.qm7");
}

TEST_F(PresetDocument, WritesTheFileFormat)
{
    XParam* gain = Param("Output2\\outputGain");
    gain->SetFlags(gain->GetFlags() | 0xC0);
    XParam* integer = nullptr;
    for (int32_t index = 0; integer == nullptr && index < channels[0]->CountParams(); ++index)
    {
        XParam* param = channels[0]->GetParamAt(index);
        if (param->GetType() == XParamDesc::kTypeInteger && !IsTransient(param) && param->GetMax() >= 3)
            integer = param;
    }
    ASSERT_NE(integer, nullptr);
    integer->SetMin(0); // a value of 2.7 stays within range
    integer->SetValue(2.7, true);
    ASSERT_NEAR(integer->GetValue(), 2.7, 1e-9) << "the stored value keeps its fraction";

    const std::string path = folder.Child("Format.qm7");
    ASSERT_EQ(document.WriteTo(path.c_str()), 0);
    EXPECT_STREQ(document.GetPath().CStr(), "") << "WriteTo leaves the document path alone";
    const std::string text = Contents(path);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text.substr(0, 80);
    EXPECT_EQ(text.find("DOCTYPE"), std::string::npos);

    const std::unique_ptr<juce::XmlElement> root = juce::XmlDocument::parse(juce::File(path));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getTagName(), "QM-Seven");
    std::vector<std::string> tags;
    for (const juce::XmlElement* group : root->getChildIterator())
        tags.push_back(group->getTagName().toStdString());
    EXPECT_EQ(tags, (std::vector<std::string>{"InputA", "InputB", "Output1", "Output2", "Output3", "Output4",
                                              "Output5", "Output6", "preset"}));

    const juce::XmlElement* output2 = root->getChildByName("Output2");
    ASSERT_NE(output2, nullptr);
    int written = 0;
    for (const juce::XmlElement* element : output2->getChildIterator())
    {
        ++written;
        XParam* param = channels[3]->GetParam(element->getIntAttribute("pid"));
        ASSERT_NE(param, nullptr);
        EXPECT_FALSE(IsTransient(param))
            << "transient parameters are never written: " << element->getStringAttribute("name");
        EXPECT_EQ(element->getIntAttribute("flags"), param->GetFlags());
    }
    int nonTransient = 0;
    for (int32_t index = 0; index < channels[3]->CountParams(); ++index)
        nonTransient += IsTransient(channels[3]->GetParamAt(index)) ? 0 : 1;
    EXPECT_EQ(written, nonTransient);
    EXPECT_LT(written, channels[3]->CountParams()) << "the output table has transient rows";

    const juce::XmlElement* gainElement = output2->getChildByAttribute("name", "outputGain");
    ASSERT_NE(gainElement, nullptr);
    std::vector<std::string> attributes;
    for (int i = 0; i < gainElement->getNumAttributes(); ++i)
        attributes.push_back(gainElement->getAttributeName(i).toStdString());
    EXPECT_EQ(attributes, (std::vector<std::string>{"name", "pid", "flags", "val", "min", "max"}));
    EXPECT_EQ(gainElement->getIntAttribute("flags") & 0xC0, 0xC0);

    const juce::XmlElement* integerElement =
        root->getChildByName("InputA")->getChildByAttribute("pid", juce::String(integer->GetId()));
    ASSERT_NE(integerElement, nullptr);
    EXPECT_EQ(integerElement->getStringAttribute("val"), "2");

    const juce::XmlElement* session =
        root->getChildByName("preset")->getChildByAttribute("name", "CurrentSessionName");
    ASSERT_NE(session, nullptr);
    EXPECT_TRUE(session->hasAttribute("valstr"));
    EXPECT_FALSE(session->hasAttribute("val"));
}

TEST_F(PresetDocument, FilesThatAreNotPresetsFailAndChangeNothing)
{
    ASSERT_EQ(Param("QM7\\ToolbarAB")->GetValue(), 0);
    ASSERT_EQ(Param("global\\ListenMode")->GetValue(), 1);
    const std::string previous = folder.Child("Previous.qm7");
    ASSERT_EQ(document.SaveAs(previous.c_str()), 0);
    Param("InputA\\Band1Gain")->SetValue(3, true);
    ASSERT_TRUE(document.IsModified());
    services.TakeCalls();
    titleView.titles.clear();
    const std::vector<std::string> before = Snapshot();
    const std::string sessionName = Param("preset\\CurrentSessionName")->GetText().CStr();

    const std::string valid = Contents(previous);
    const auto cutAfter = [&valid](const std::string& mark, size_t extra)
    { return valid.substr(0, valid.find(mark) + mark.size() + extra); };
    std::string withoutOutput6 = valid;
    withoutOutput6.erase(valid.find("<Output6>"), valid.find("</Output6>") + 10 - valid.find("<Output6>"));
    struct Case
    {
        const char* name;
        std::string content;
    };
    const std::vector<Case> cases = {
        {"other root",
         "<?xml version=\"1.0\"?><Other><InputA><param pid=\"1\" flags=\"0\" val=\"5\"/></InputA></Other>"},
        {"empty", ""},
        {"not xml", "QM-Seven InputA 1 2 3"},
        {"cut", valid.substr(0, valid.size() / 2)},
        {"document type", "<?xml version=\"1.0\"?><!DOCTYPE QM-Seven [<!ENTITY a "
                          "\"&a;&a;\">]><QM-Seven><InputA><param pid=\"1\" "
                          "flags=\"0\" val=\"&a;\"/></InputA></QM-Seven>"},
        // JUCE's reader loops for ever on a processing instruction between an element's children.
        {"instruction in the body", "<QM-Seven><?a?>x</QM-Seven>"},
        {"instruction after the root", valid + "<?a?>"},
        // JUCE's reader takes these cuts for whole files.
        {"cut in the root's start tag", cutAfter("<QM-Seven", 0)},
        {"cut in an end tag", cutAfter("</InputA", 0)},
        {"cut in the root's end tag", cutAfter("</QM-Seven", 0)},
        {"a group missing", withoutOutput6},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = folder.Child(std::string(c.name) + ".qm7");
        Write(path, c.content);
        int32_t result = 0;
        TestSupport::RunWithin([&] { result = document.Open(path.c_str()); }, kHangTimeoutMs);
        EXPECT_EQ(result, XResult::kFailed);
        EXPECT_EQ(Snapshot(), before) << "no channel or preset parameter changes";
        EXPECT_STREQ(document.GetPath().CStr(), previous.c_str())
            << "a later Save writes where it did before";
        EXPECT_TRUE(document.IsModified());
        EXPECT_TRUE(titleView.titles.empty());
        EXPECT_EQ(services.TakeCalls(), kReadAndRearm) << "sending and linking are re-armed all the same";
        EXPECT_EQ(Contents(path), c.content) << "the unreadable file stays as it was";
    }
    EXPECT_EQ(document.Open(folder.Child("missing.qm7").c_str()), XResult::kFailed);
    EXPECT_EQ(Param("preset\\CurrentSessionName")->GetText().CStr(), sessionName);
    EXPECT_EQ(Param("QM7\\documentDirty")->GetValue(), 1);
}

TEST_F(PresetDocument, APresetCutAnywhereIsRefusedOrLoadsEveryValue)
{
    // A document of three groups keeps the file, and the thousands of loads, small.
    PlatformClock::SetTimeScale(kInstantTimeScale);
    const std::vector<XParamGroup*> groups = {channels[0].get(), channels[2].get(), &presetGroup};
    XParamDoc small;
    for (XParamGroup* group : groups)
        small.AddGroup(group);
    std::mt19937 random(53888);
    for (XParamGroup* group : groups)
    {
        for (int32_t index = 0; index < group->CountParams(); ++index)
        {
            XParam* param = group->GetParamAt(index);
            if (IsTransient(param) || param->GetDesc() == nullptr)
                continue;
            if (param->GetType() == XParamDesc::kTypeText)
                param->SetText(("cut " + std::to_string(random() % 1000)).c_str(), true);
            else
                param->SetValue(
                    param->GetMin() + (random() % 1000) / 1000.0 * (param->GetMax() - param->GetMin()), true);
        }
    }
    const std::string wholePath = folder.Child("Whole.qm7");
    ASSERT_EQ(small.SaveAs(wholePath.c_str()), 0);
    const std::string whole = Contents(wholePath);
    ASSERT_GT(whole.size(), 10000u);
    // The values as the file holds them.
    ASSERT_EQ(small.Open(wholePath.c_str()), 0);
    const std::vector<double> saved = Fingerprint(groups);

    const auto resetGroups = [&groups]
    {
        for (XParamGroup* group : groups)
            group->ResetToDefaults(XParamGroup::kResetFlag);
    };
    resetGroups();
    const std::vector<double> before = Fingerprint(groups);
    ASSERT_NE(before, saved);

    const std::string path = folder.Child("Cut.qm7");
    size_t loaded = 0;
    for (size_t length = 0; length < whole.size(); ++length)
    {
        // A new file each time: rewriting one file makes the file system write it out at every close.
        Write(path, whole.substr(0, length));
        const int32_t result = small.Open(path.c_str());
        std::remove(path.c_str());
        services.TakeCalls();
        if (result != 0)
        {
            ASSERT_EQ(result, XResult::kFailed);
            ASSERT_TRUE(Fingerprint(groups) == before) << "the cut at byte " << length << " changed values";
            continue;
        }
        ++loaded;
        ASSERT_TRUE(Fingerprint(groups) == saved) << "the cut at byte " << length << " loaded other values";
        resetGroups();
        ASSERT_TRUE(Fingerprint(groups) == before);
    }
    // Only the cuts that keep the root's end tag whole load: the file's line end may go.
    const std::string endTag = "</QM-Seven>";
    EXPECT_EQ(loaded, whole.size() - whole.rfind(endTag) - endTag.size());
}

TEST_F(PresetDocument, ReadsGroupsAndParamsByTheirRules)
{
    XParam* gain = Param("Output3\\outputGain");
    XParam* otherGain = Param("Output4\\outputGain");
    XParam* session = Param("preset\\CurrentSessionName");
    const int32_t gainId = gain->GetId();
    gain->SetFlags(0x100 | 0xC0);
    const int32_t otherFlags = otherGain->GetFlags();
    const double otherValue = otherGain->GetValue();
    Param("global\\ListenMode")->SetValue(0, true);

    const std::string id = std::to_string(gainId);
    const std::string path = folder.Child("Rules.qm7");
    // Every group has its element, some of them empty.
    Write(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<qm-seven>\n"
                "  <InputA/><inputb></inputb><Output1/><Output2/><Output5/><Output6/>\n"
                "  <OUTPUT3><param name=\"renamed\" pid=\"" +
                    id +
                    "\" flags=\"0\" val=\"-12.5\" min=\"0\" max=\"0\"/>"
                    "<param pid=\"987654\" flags=\"64\" val=\"1\"/><param pid=\"99999999999\"/></OUTPUT3>\n"
                    "  <Output4><param pid=\"" +
                    id +
                    "\" flags=\"-2147483647\" val=\"1e999\"/></Output4>\n"
                    "  <NoSuchGroup><param pid=\"" +
                    id +
                    "\" val=\"1\"/></NoSuchGroup>\n"
                    "  <preset><param pid=\"" +
                    std::to_string(session->GetId()) + "\" flags=\"0\"/></preset>\n</qm-seven>\n");
    ASSERT_EQ(document.Open(path.c_str()), 0);

    EXPECT_DOUBLE_EQ(gain->GetValue(), -12.5) << "OUTPUT3 is read into Output3 by pid alone";
    EXPECT_EQ(gain->GetFlags(), 0x100) << "flags 0 clears 0x40 and 0x80 and keeps the other bits";
    EXPECT_EQ(otherGain->GetFlags(), otherFlags | static_cast<int32_t>(0x80000001u & ~1u))
        << "other bits are added, the transient bit is not";
    EXPECT_DOUBLE_EQ(otherGain->GetValue(), otherValue) << "a value that is not a number is ignored";
    EXPECT_EQ(Param("global\\ListenMode")->GetValue(), 1) << "a load leaves ListenMode at 1";
    EXPECT_STREQ(session->GetText().CStr(), "Rules.qm7") << "the title follows the read";
    EXPECT_FALSE(document.IsModified());
}

TEST_F(PresetDocument, ValueChangesMarkTheDocumentModified)
{
    XParam* dirty = Param("QM7\\documentDirty");
    EXPECT_FALSE(document.IsModified()) << "adding the groups marks nothing";
    EXPECT_EQ(dirty->GetValue(), 0);

    XParam* transient = nullptr;
    for (int32_t index = 0; transient == nullptr && index < channels[2]->CountParams(); ++index)
    {
        if (IsTransient(channels[2]->GetParamAt(index)))
            transient = channels[2]->GetParamAt(index);
    }
    ASSERT_NE(transient, nullptr);
    transient->SetValue(transient->GetMax(), true);
    transient->Notify(1000001);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(services.repaints.load(), 0);

    Param("Output1\\outputGain")->ChangeValue(-3, true);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(dirty->GetValue(), 1);
    EXPECT_GE(services.repaints.load(), 1);

    ASSERT_EQ(document.SaveAs(folder.Child("Saved.qm7").c_str()), 0);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(dirty->GetValue(), 0);

    // Changes from another thread while the main thread reads the state.
    std::thread worker(
        [this]
        {
            for (int i = 0; i < 200; ++i)
                Param("InputB\\Band2Gain")->SetValue(i % 10, true);
        });
    for (int i = 0; i < 200; ++i)
        (void)(document.IsModified() || document.IsBusy());
    worker.join();
    EXPECT_TRUE(document.IsModified());
}

TEST_F(PresetDocument, NewResetsSavesAndTitles)
{
    Param("Output5\\outputGain")->SetValue(-7, true);
    Param("preset\\CurrentConfig")->SetValue(1, true);
    const std::string path = folder.Child("Fresh.qm7");
    ASSERT_EQ(document.New(path.c_str()), 0);
    EXPECT_EQ(Param("Output5\\outputGain")->GetValue(), Param("Output5\\outputGain")->GetDefault());
    EXPECT_EQ(Param("preset\\CurrentConfig")->GetValue(), 4);
    EXPECT_STREQ(document.GetPath().CStr(), path.c_str());
    EXPECT_FALSE(document.IsModified());
    EXPECT_STREQ(Param("preset\\CurrentSessionName")->GetText().CStr(), "Fresh.qm7");
    EXPECT_NE(Contents(path).find("<QM-Seven>"), std::string::npos);
    const std::vector<std::string> calls = services.TakeCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "delay windows");
    EXPECT_EQ(calls[1], "reset channels");
}

TEST_F(PresetDocument, FailedSaveKeepsTheOldFileAndTheDocumentState)
{
    const std::string path = folder.Child("Kept.qm7");
    ASSERT_EQ(document.SaveAs(path.c_str()), 0);
    const std::string saved = Contents(path);
    Param("Output6\\outputGain")->SetValue(-20, true);
    titleView.titles.clear();

    EXPECT_EQ(document.SaveAs(folder.Child("no/such/folder/x.qm7").c_str()), XResult::kFailed);
    EXPECT_STREQ(document.GetPath().CStr(), path.c_str());
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(Param("QM7\\documentDirty")->GetValue(), 1);
    EXPECT_TRUE(titleView.titles.empty());
    EXPECT_EQ(document.SaveAs(""), XResult::kFailed);

    // A write that fails half-way (the file size limit) leaves the old file whole and no
    // temporary file behind.
    rlimit saved_limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved_limit), 0);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved_limit;
    small.rlim_cur = static_cast<rlim_t>(saved.size() / 2);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int32_t result = document.SaveAs(path.c_str());
    ::setrlimit(RLIMIT_FSIZE, &saved_limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, XResult::kFailed);
    EXPECT_EQ(Contents(path), saved);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(juce::File(folder.Path()).getNumberOfChildFiles(juce::File::findFiles), 1);
}

TEST_F(PresetDocument, DamagedFilesNeverBreakTheReader)
{
    const std::string path = folder.Child("Random.qm7");
    ASSERT_EQ(document.WriteTo(path.c_str()), 0);
    const std::string valid = Contents(path);
    std::mt19937 random(2136);
    const char* pieces[] = {"<",
                            ">",
                            "\"",
                            "pid=\"",
                            "flags=\"-2147483648\"",
                            "val=\"nan\"",
                            "</param>",
                            "&#0;",
                            "&lt;",
                            "<![CDATA[",
                            "]]>",
                            "<!--",
                            "\xFF\xFE",
                            "99999999999999999999"};
    for (int round = 0; round < 120; ++round)
    {
        std::string damaged = valid;
        for (int edits = 1 + static_cast<int>(random() % 8); edits > 0; --edits)
        {
            const size_t at = random() % damaged.size();
            switch (random() % 3)
            {
            case 0:
                damaged[at] = static_cast<char>(random());
                break;
            case 1:
                damaged.insert(at, pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))]);
                break;
            default:
                damaged.erase(at, random() % 40);
            }
            if (damaged.empty())
                damaged = "<";
        }
        Write(path, damaged);
        const int32_t result = document.Open(path.c_str());
        EXPECT_TRUE(result == 0 || result == XResult::kFailed) << result;
        for (XParamGroup* group : DocumentGroups())
        {
            for (int32_t index = 0; index < group->CountParams(); ++index)
            {
                const XParam* param = group->GetParamAt(index);
                if (param->GetType() != XParamDesc::kTypeText && param->GetType() < XParamDesc::kTypeTime)
                {
                    ASSERT_TRUE(std::isfinite(param->GetValue())) << param->GetFullPath().CStr();
                }
            }
        }
    }
}
