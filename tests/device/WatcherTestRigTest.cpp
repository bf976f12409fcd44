// The watcher rig's services: ids of the rig's groups give their parameters, every other id the
// default services' stand-in.

#include "support/WatcherTestRig.h"

#include "device/GlobalParamTables.h"

#include <gtest/gtest.h>

namespace
{
/** An id that no group of the rig holds. */
constexpr int32_t kMissingId = 100000;
} // namespace

TEST(WatcherTestRig, IdsMissingFromTheGroupsGetAStandInPerGroup)
{
    WatcherRig::Groups groups;
    WatcherRig::RecordingServices& services = groups.services;
    EXPECT_EQ(services.GetParam(GlobalParamTables::kListenModeId),
              groups.main.GetParam(GlobalParamTables::kListenModeId));
    EXPECT_EQ(services.GetPresetParam(GlobalParamTables::kPresetNameFirstId),
              groups.preset.GetParam(GlobalParamTables::kPresetNameFirstId));

    XParam* main = services.GetParam(kMissingId);
    XParam* preset = services.GetPresetParam(kMissingId);
    XParam* slave = services.GetSlaveParam(kMissingId);
    ASSERT_NE(main, nullptr);
    ASSERT_NE(preset, nullptr);
    ASSERT_NE(slave, nullptr);
    EXPECT_EQ(services.GetParam(kMissingId), main) << "the same stand-in every time";
    EXPECT_NE(main, preset);
    EXPECT_NE(preset, slave);
}

TEST(WatcherTestRig, ServicesWithoutGroupsGiveStandIns)
{
    WatcherRig::RecordingServices services;
    XParam* param = services.GetParam(GlobalParamTables::kListenModeId);
    ASSERT_NE(param, nullptr);
    EXPECT_EQ(services.GetParam(GlobalParamTables::kListenModeId), param);
    EXPECT_NE(services.GetSlaveParam(GlobalParamTables::kListenModeId), nullptr);
}
