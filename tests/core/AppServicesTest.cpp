// The application services' defaults and the test for an empty preset slot's name.

#include "core/DefaultAppServices.h"
#include "core/IAppServices.h"
#include "core/XParam.h"

#include <gtest/gtest.h>
#include <string>

TEST(AppServices, EmptyPresetNameIsAQuestionMarkAndBlanksOnly)
{
    struct Case
    {
        std::string name;
        bool empty;
    };
    const Case cases[] = {
        {"?", true},
        {"? ", true},
        {"?" + std::string(17, ' '), true},
        {"?" + std::string(40, ' '), true},
        {"?x", false},
        {"?x" + std::string(16, ' '), false},
        {"?" + std::string(16, ' ') + "x", false},
        {"", false},
        {" ?", false},
        {"Show", false},
    };
    for (const Case& c : cases)
    {
        // The name's own buffer, exactly as long as the name, so that a read past it shows.
        const std::string copy = c.name;
        EXPECT_EQ(IsEmptyPresetName(XString(copy.c_str())), c.empty) << '"' << c.name << '"';
    }
}

TEST(AppServices, DefaultsHandOutOneStandInPerGroupAndId)
{
    DefaultAppServices defaults;
    XParam* main = defaults.GetParam(7);
    EXPECT_NE(main, nullptr);
    EXPECT_EQ(defaults.GetParam(7), main);
    EXPECT_NE(defaults.GetPresetParam(7), main);
    EXPECT_NE(defaults.GetSlaveParam(7), main);
    EXPECT_EQ(defaults.GetPresetGroup(), nullptr);

    SetAppServices(&defaults);
    EXPECT_EQ(&GetAppServices(), &defaults);
    SetAppServices(nullptr);
    EXPECT_NE(&GetAppServices(), &defaults);
}
