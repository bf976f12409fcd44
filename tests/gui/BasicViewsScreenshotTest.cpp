#include "ControlTestSupport.h"
#include "DescriptionTestSupport.h"
#include "gui/ViewFactory.h"
#include "gui/XCircle.h"
#include "gui/XFill.h"
#include "gui/XFrame.h"
#include "gui/XImage.h"
#include "gui/XLine.h"
#include "gui/XPict.h"
#include "gui/XScaler.h"
#include "gui/XScrollPane.h"
#include "gui/XStyle.h"
#include "gui/XViewBuilder.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "widgets/WidgetViewTypes.h"
#include "widgets/XScrollBar.h"

#include <gtest/gtest.h>

namespace
{
template <typename View> View* Find(XView& root, const char* name)
{
    return dynamic_cast<View*>(root.FindChild(name, true));
}
} // namespace

TEST(BasicViewsScreenshot, ADescriptionBuildsEveryBasicViewAndDrawsThem)
{
    const juce::File system = SkinTestSupport::BuiltSystemFolder();
    ASSERT_TRUE(SkinTestSupport::LoadSkinTables(system));
    XResourceManager& resources = GetResourceManager();
    resources.SetBaseFolder(system.getFullPathName().toRawUTF8());
    if (resources.CountSkinFolders() == 0)
        resources.AddSkinFolder(SkinTestSupport::kSkinFolder);
    XStyle style;
    XStyle::SetCurrentStyle(&style);
    ViewFactory::AddViewTypeRegistration(&WidgetViewTypes::Register);
    RegisterViewTypes();
    ControlTest::PathParam ledState("basicViews\\ledState", 0, 2, 1);

    ViewTest::Application();
    XView root;
    root.Attach();
    XViewBuilder builder("BasicViews.txt");
    builder.SetTextReader(DescriptionTest::FolderReader(DescriptionTest::TestDataFolder("gui")));
    builder.BuildInto(&root);
    root.setVisible(true);
    ViewTest::Pump();

    ASSERT_EQ(root.GetFrame(), XRect(0, 0, 600, 260));
    ASSERT_NE(Find<XFill>(root, "Fill"), nullptr);
    EXPECT_EQ(Find<XFill>(root, "SunkenFill")->GetEffect(), XFill::kEffectSunken);
    EXPECT_EQ(Find<XFrame>(root, "Frame")->GetFrameWidth(), 2);
    EXPECT_EQ(Find<XCircle>(root, "Circle")->GetFrame(), XRect(150, 10, 200, 60));
    EXPECT_EQ(Find<XLine>(root, "BackwardLine")->GetFrame(), XRect(150, 150, 230, 200));
    XPict* leds = Find<XPict>(root, "Leds");
    ASSERT_NE(leds, nullptr);
    EXPECT_EQ(leds->GetCurrentIndex(), 1);
    EXPECT_EQ(Find<XPict>(root, "TilesAcross")->GetFrame().Width(), 64);
    EXPECT_EQ(Find<XPict>(root, "TilesDown")->GetFrame().Height(), 48);
    XScrollPane* pane = Find<XScrollPane>(root, "Pane");
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->GetContent()->getNumChildComponents(), 12) << "the lines went into the content";
    EXPECT_TRUE(pane->IsVerticalBarShown());
    EXPECT_GT(pane->getIndexOfChildComponent(pane->GetVerticalBar()),
              pane->getIndexOfChildComponent(pane->GetContent()))
        << "the bar stands over the content";
    EXPECT_EQ(pane->GetBarThickness(), 15) << "bars drawn from the skin are as thick as its images";
    EXPECT_FALSE(pane->IsHorizontalBarShown());
    XScrollBar* bar = Find<XScrollBar>(root, "ScrollBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsHorizontal());

    pane->StepScroll(false, false);
    bar->SetPosition(40);
    ledState.param->SetValue(2, true);
    ViewTest::Pump();
    EXPECT_EQ(leds->GetCurrentIndex(), 2) << "the picture follows its parameter";

    const juce::Image shot = GuiTestSupport::TakeScreenshot(root, "BasicViews");
    ASSERT_TRUE(shot.isValid());
    const juce::Image red = *resources.GetImage("widgets\\leds\\redon.png")->GetJuceImage();
    EXPECT_EQ(shot.getPixelAt(255, 15), red.getPixelAt(5, 5)) << "the red image is shown";
    XStyle::SetCurrentStyle(nullptr);
}
