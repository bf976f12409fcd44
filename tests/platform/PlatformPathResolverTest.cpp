#include "platform/PlatformPathResolver.h"

#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{
/** A folder tree whose names mix upper and lower case, as a skin written on another system has. */
class PlatformPathResolverTest : public ::testing::Test
{
protected:
    TestSupport::TempFolder root;

    void SetUp() override
    {
        ::mkdir(root.Child("Skins").c_str(), 0755);
        ::mkdir(root.Child("Skins/QM7").c_str(), 0755);
        ::mkdir(root.Child("Skins/QM7/Images").c_str(), 0755);
        Touch("Skins/QM7/Images/Knob.PNG");
        Touch("Skins/QM7/Images/pair.png");
        Touch("Skins/QM7/Images/PAIR.PNG");
    }

    void Touch(const std::string& relative) { std::ofstream(root.Child(relative)) << "x"; }
};
} // namespace

TEST_F(PlatformPathResolverTest, FindsEveryComponentRegardlessOfCase)
{
    struct Case
    {
        std::string asked;
        std::string expected;
    };
    const Case cases[] = {
        {"Skins/QM7/Images/Knob.PNG", "Skins/QM7/Images/Knob.PNG"},
        {"skins/qm7/images/knob.png", "Skins/QM7/Images/Knob.PNG"},
        {"SKINS\\qm7\\IMAGES\\knob.png", "Skins/QM7/Images/Knob.PNG"},
        // An exact name wins over another spelling; otherwise the first in byte order.
        {"skins/qm7/images/pair.png", "Skins/QM7/Images/pair.png"},
        {"skins/qm7/images/Pair.png", "Skins/QM7/Images/PAIR.PNG"},
        // What matches nothing is kept as written from there on.
        {"skins/QM7/Missing/Knob.png", "Skins/QM7/Missing/Knob.png"},
        {"skins//qm7/./images/knob.png", "Skins/QM7/./Images/Knob.PNG"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlatformPathResolver::ResolveIgnoringCase(root.Child(c.asked)), root.Child(c.expected))
            << c.asked;
}

TEST_F(PlatformPathResolverTest, TellsFilesFromFoldersAndMissingPaths)
{
    EXPECT_TRUE(PlatformPathResolver::IsExistingFile(root.Child("Skins/QM7/Images/Knob.PNG")));
    EXPECT_FALSE(PlatformPathResolver::IsExistingFile(root.Child("Skins/QM7")));
    EXPECT_FALSE(PlatformPathResolver::IsExistingFile(root.Child("Skins/QM7/none.png")));
    EXPECT_EQ(PlatformPathResolver::ResolveIgnoringCase(""), "");
}
