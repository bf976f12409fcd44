#include "core/XBaseParam.h"

#include "support/ParamTestSupport.h"

#include <gtest/gtest.h>

using ParamTest::Desc;

namespace
{
XString AnyText(XParam*, double, int32_t)
{
    return XString("x");
}
} // namespace

TEST(XBaseParam, DescriptorCountRules)
{
    struct Case
    {
        XParamDesc desc;
        uint32_t count;
        bool toggle;
    };
    const Case cases[] = {
        {Desc(1, 0, 7, 0, 99), 8, false}, {Desc(2, 0, 1, 0, 5), 1, true},
        {Desc(2, 0, 1, 0, 0), 1, true},   {Desc(1, 0, 2147483647, 0, 1), 2147483648u, false},
        {Desc(1, 0, 1, 0, 1), 2, true},   {Desc(9, 20, 20000, 1000, 256), 256, false},
    };
    for (const Case& c : cases)
    {
        FloatParam param(c.desc);
        EXPECT_EQ(c.count, param.GetCount()) << "type " << c.desc.type << " max " << c.desc.max;
        EXPECT_EQ(c.toggle, param.IsToggle()) << "type " << c.desc.type << " max " << c.desc.max;
    }
}

TEST(XBaseParam, HugeMaskCountReadsUnsignedInTheNormalisedMappings)
{
    FloatParam mask(Desc(1, 0, 2147483647, 0, 1));
    ASSERT_TRUE(mask.SetValue(2147483647.0, false));
    EXPECT_DOUBLE_EQ(1.0, mask.GetNormalised());
    EXPECT_NEAR(0.5, mask.ValueToNormalised(1073741824.0f), 1e-9);
    EXPECT_DOUBLE_EQ(2147483647.0, mask.NormalisedToValue(1.0f));
}

TEST(XBaseParam, SetMinAndSetMaxRecountTheSteps)
{
    FloatParam param(Desc(0, 0, 10, 0, 11));
    param.SetMin(-10);
    EXPECT_EQ(21u, param.GetCount());
    param.SetMax(0.5);
    EXPECT_EQ(11u, param.GetCount());
    EXPECT_DOUBLE_EQ(-10.0, param.GetMin());
    EXPECT_DOUBLE_EQ(0.5, param.GetMax());

    // A finer grid is set again after a range change; the value stays.
    ASSERT_TRUE(param.SetValue(0.3, false));
    param.SetCount(17);
    EXPECT_EQ(17u, param.GetCount());
    EXPECT_DOUBLE_EQ(0.3, param.GetValue());
    EXPECT_DOUBLE_EQ(0.5, param.GetMax());
}

TEST(XBaseParam, TheDescriptorAndItsCallbacksAreCopied)
{
    XParamDescExt ext;
    ext.textCallback = AnyText;
    ext.textUser = 42;
    XParamDesc desc = Desc(0, 0, 1, 0, 2, 0x40, "GEQBandBypass", 17);
    desc.ext = &ext;
    FloatParam param(desc);
    ext.textCallback = nullptr;

    const XParamDesc* own = param.GetDesc();
    EXPECT_EQ(17, param.GetId());
    EXPECT_EQ(0x40, param.GetFlags());
    EXPECT_STREQ("GEQBandBypass", param.GetName().CStr());
    ASSERT_NE(nullptr, own->ext);
    EXPECT_NE(&ext, own->ext);
    EXPECT_EQ(AnyText, own->ext->textCallback);
    EXPECT_EQ(42, own->ext->textUser);

    param.SetDesc(own);
    EXPECT_EQ(AnyText, param.GetDesc()->ext->textCallback);
    XParamDesc plain = Desc(0, 0, 1, 0, 2);
    param.SetDesc(&plain);
    EXPECT_EQ(nullptr, param.GetDesc()->ext->textCallback);
    param.SetDesc(nullptr);
    EXPECT_EQ(1, param.GetId());
}

TEST(XBaseParam, DescriptorInitClearsAllButTheId)
{
    XParamDesc desc = Desc(9, 20, 20000, 1000, 256, 0x20, "Freq", 5);
    desc.Init();
    EXPECT_EQ(5, desc.id);
    EXPECT_STREQ("", desc.name);
    EXPECT_EQ(0, desc.type);
    EXPECT_DOUBLE_EQ(1.0, desc.max);
    EXPECT_EQ(1u, desc.count);
    EXPECT_EQ(0, desc.flags);
    EXPECT_EQ(nullptr, desc.ext);

    desc.SetName("A name that is far longer than the fifty characters a row may hold");
    EXPECT_EQ(50u, std::strlen(desc.name));
}
