#include "core/XProperty.h"

#include "XStringPrinter.h"
#include "core/XClassPropertyTable.h"
#include "core/XMetaObject.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
int validatorCalls = 0;
bool refuseRed = false;

/** Counts its calls; refuses pure red while refuseRed is set. */
bool CheckColour(const XVariant& proposed)
{
    ++validatorCalls;
    return !(refuseRed && proposed.GetColour() == XRGB(255, 0, 0));
}

/** A root class with a colour property (validated) and a width property. */
class Panel : public XMetaObject
{
public:
    static XClassPropertyTable* GetClassPropertyTable()
    {
        static XClassPropertyTable table("Panel", nullptr);
        return &table;
    }

    class _prop_ForeColor final : public PropertyTyped<XRGB>
    {
    public:
        explicit _prop_ForeColor(Panel* owner) : PropertyTyped(owner, XRGB(40, 40, 40)) { GetInfo(); }
        const XPropertyInfo& GetInfo() const override
        {
            static const XPropertyInfo& info = GetClassPropertyTable()->AddProperty(
                "XRGB", "ForeColor", XVariant(XRGB(40, 40, 40)), CheckColour);
            return info;
        }
    };

    class _prop_FrameWidth final : public PropertyTyped<int32_t>
    {
    public:
        explicit _prop_FrameWidth(Panel* owner) : PropertyTyped(owner, 1) { GetInfo(); }
        const XPropertyInfo& GetInfo() const override
        {
            static const XPropertyInfo& info =
                GetClassPropertyTable()->AddProperty("int32", "FrameWidth", XVariant(int32_t{1}));
            return info;
        }
    };

    const XClassPropertyTable* GetPropertyTable() const override { return GetClassPropertyTable(); }
    void PropertyChanged(XProperty* property) override { changed.push_back(property); }

    _prop_ForeColor foreColor{this};
    _prop_FrameWidth frameWidth{this};
    std::vector<XProperty*> changed;
};

/** A derived class whose table has Panel's as parent. */
class Button : public Panel
{
public:
    static XClassPropertyTable* GetClassPropertyTable()
    {
        static XClassPropertyTable table("Button", Panel::GetClassPropertyTable());
        return &table;
    }

    class _prop_Caption final : public PropertyTyped<XString>
    {
    public:
        explicit _prop_Caption(Button* owner) : PropertyTyped(owner, XString("OK")) { GetInfo(); }
        const XPropertyInfo& GetInfo() const override
        {
            static const XPropertyInfo& info =
                Button::GetClassPropertyTable()->AddProperty("XString", "Caption", XVariant("OK"));
            return info;
        }
    };

    const XClassPropertyTable* GetPropertyTable() const override { return GetClassPropertyTable(); }

    _prop_Caption caption{this};
};

class XPropertyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        validatorCalls = 0;
        refuseRed = false;
    }
};

TEST_F(XPropertyTest, SetTellsTheOwnerOnlyOfRealAcceptedChanges)
{
    Panel panel;
    panel.foreColor.Set(XRGB(40, 40, 40));
    EXPECT_EQ(validatorCalls, 0) << "an equal value asks no validator";
    EXPECT_TRUE(panel.changed.empty()) << "and tells no owner";

    panel.foreColor.Set(XRGB(40, 40, 40, 0)); // alpha alone differs
    EXPECT_EQ(validatorCalls, 1);
    EXPECT_EQ(panel.changed, std::vector<XProperty*>{&panel.foreColor});

    refuseRed = true;
    panel.foreColor.Set(XRGB(255, 0, 0));
    EXPECT_EQ(panel.foreColor.Get(), XRGB(40, 40, 40, 0)) << "refused";
    EXPECT_EQ(panel.changed.size(), 1u);

    panel.frameWidth.Set(3); // no validator
    EXPECT_EQ(panel.frameWidth.Get(), 3);
    EXPECT_EQ(panel.changed.back(), &panel.frameWidth);
    EXPECT_EQ(panel.frameWidth.GetOwner(), &panel);
}

TEST_F(XPropertyTest, TextAndVariantWritesSkipValidatorAndOwner)
{
    Panel panel;
    refuseRed = true;
    panel.foreColor.FromString("#ffff0000");
    EXPECT_EQ(panel.foreColor.Get(), XRGB(255, 0, 0));
    EXPECT_EQ(panel.foreColor.ToString(), "#ffff0000");

    panel.frameWidth.SetFromVariant(XVariant(int32_t{7}));
    EXPECT_EQ(panel.frameWidth.Get(), 7);
    panel.frameWidth.SetFromVariant(XVariant("12")); // another type goes through its text
    EXPECT_EQ(panel.frameWidth.Get(), 12);
    EXPECT_EQ(panel.frameWidth.GetValue().GetType(), XVariant::kTypeInt32);

    EXPECT_EQ(validatorCalls, 0);
    EXPECT_TRUE(panel.changed.empty());
}

TEST_F(XPropertyTest, TablesRegisterOnceAndFindInheritedProperties)
{
    Button first;
    Button second;
    const XClassPropertyTable* buttons = Button::GetClassPropertyTable();
    EXPECT_EQ(buttons->GetCount(), 1) << "the second button registers nothing";
    EXPECT_EQ(Panel::GetClassPropertyTable()->GetCount(), 2);
    EXPECT_EQ(buttons->GetClassName(), "Button");
    EXPECT_EQ(buttons->GetParent(), Panel::GetClassPropertyTable());

    const XPropertyInfo* colour = buttons->FindProperty("ForeColor");
    ASSERT_NE(colour, nullptr) << "inherited from the parent's table";
    EXPECT_EQ(colour->typeName, "XRGB");
    EXPECT_EQ(colour->defaultValue.ToString(), "#ff282828");
    EXPECT_EQ(buttons->FindProperty("Caption"), buttons->GetAt(0));
    EXPECT_EQ(buttons->FindProperty("caption"), nullptr) << "names are exact";
    EXPECT_EQ(Panel::GetClassPropertyTable()->FindProperty("Caption"), nullptr);

    EXPECT_EQ(first.GetPropertyCount(), 3);
    EXPECT_EQ(first.FindProperty("Caption"), &first.caption);
    EXPECT_EQ(second.FindProperty("FrameWidth"), &second.frameWidth);
    EXPECT_EQ(first.FindProperty("Missing"), nullptr);
    EXPECT_EQ(first.caption.ToString(), "OK");
}
} // namespace
