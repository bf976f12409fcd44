// "QM7\inputChansLinked": its value follows the edit mode and the configuration, linked inputs close
// the link windows, and its watchers hear of every change of either source.

#include "device/InputChansLinked.h"

#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "support/ParamTestSupport.h"
#include "support/WatcherTestRig.h"

#include <gtest/gtest.h>

namespace
{
XParam* At(const char* path)
{
    return ParamRegistry::Find(path);
}

class InputChansLinkedTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        linked = At(InputChansLinked::kPath);
        editMode = At("QM7_KOVA\\globalEditMode");
        config = At("preset\\CurrentConfig");
        ASSERT_NE(linked, nullptr);
        ASSERT_NE(editMode, nullptr);
        ASSERT_NE(config, nullptr);
        ASSERT_TRUE(InputChansLinked::Install());
    }

    WatcherRig::Groups groups;
    XParam* linked = nullptr;
    XParam* editMode = nullptr;
    XParam* config = nullptr;
};
} // namespace

TEST_F(InputChansLinkedTest,
       LinkedOnlyInStandardEditOutsideConfigurationsTwoToFourAndThenClosesTheLinkWindows)
{
    struct Case
    {
        double editMode;
        double config;
        double linked;
    };
    const Case cases[] = {{0, 0, 1}, {0, 1, 1}, {0, 2, 0}, {0, 3, 0}, {0, 4, 0},
                          {0, 5, 1}, {0, 6, 1}, {1, 0, 0}, {1, 5, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "edit mode " << c.editMode << ", configuration " << c.config);
        editMode->SetValue(c.editMode, true);
        config->SetValue(c.config, true);
        for (int32_t id : InputChansLinked::kLinkWindowParamIds)
            groups.main.GetParam(id)->SetValue(1.0, true);

        EXPECT_EQ(linked->GetValue(), c.linked);
        for (int32_t id : InputChansLinked::kLinkWindowParamIds)
            EXPECT_EQ(groups.main.GetParam(id)->GetValue(), c.linked == 1.0 ? 0.0 : 1.0) << id;
    }
}

TEST_F(InputChansLinkedTest, ItsWatchersHearOfEveryChangeOfEitherSourceOnceHoweverOftenItIsInstalled)
{
    ASSERT_TRUE(InputChansLinked::Install());
    ParamTest::Recorder watcher;
    linked->AddWatcher(&watcher, 7, false);
    editMode->SetValue(1, true);
    config->SetValue(3, true);
    config->SetValue(3, true); // no change, no word
    const int32_t set = static_cast<int32_t>(XMsgCode::kParamValueSet);
    EXPECT_EQ(watcher.Notes(), (std::vector<ParamTest::Note>{{set, linked, 7}, {set, linked, 7}}));
    linked->RemoveWatcher(&watcher);
}
