#include "gui/XViewBuilder.h"

#include "DescriptionTestSupport.h"
#include "core/Log.h"
#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "gui/DescriptionValues.h"
#include "gui/ViewFactory.h"
#include "gui/ViewKeywords.h"
#include "gui/XColorDictionary.h"
#include "gui/XResourceManager.h"
#include "support/LogCapture.h"
#include "support/gui/ViewTestSupport.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

using DescriptionTest::Describe;
using DescriptionTest::RectText;

namespace
{
/** A view that records the attribute blocks it reads, in creation order across all of them. */
class RecordingView final : public XView
{
public:
    RecordingView() { Created().push_back(this); }
    ~RecordingView() override { ++Deleted(); }

    void ReadAttributes(XMessage& block) override
    {
        XView::ReadAttributes(block);
        blocks.push_back(block);
    }

    static std::vector<RecordingView*>& Created()
    {
        static std::vector<RecordingView*> views;
        return views;
    }
    static int& Deleted()
    {
        static int count = 0;
        return count;
    }

    std::vector<XMessage> blocks;
};

XView* CreateRecordingView()
{
    return new RecordingView();
}

class XViewBuilderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        XView::ResetClassFactory();
        XView::ResetAttributeDefaults();
        ViewFactory::ResetSteps();
        RegisterViewTypes();
        XView::RegisterViewClass("recording", &CreateRecordingView);
        ViewKeywords::ResetNamedConstants();
        RegisterViewKeywords();
        RegisterNamedConstant("X_CLOSE_REQUESTED", 10000006);
        DescriptionValues::ResetRememberedRect();
        RecordingView::Created().clear();
        RecordingView::Deleted() = 0;
    }

    void TearDown() override
    {
        XView::ResetClassFactory();
        ViewKeywords::ResetNamedConstants();
    }

    /** Builds the file of that name from the test's files into root. */
    void Build(const std::string& name, XView& root)
    {
        XViewBuilder builder(name.c_str());
        builder.SetTextReader(DescriptionTest::MapReader(files));
        builder.BuildInto(&root);
    }

    static std::vector<std::string> ChildNames(const XView& view)
    {
        std::vector<std::string> names;
        for (juce::Component* child : view.getChildren())
            if (auto* childView = dynamic_cast<XView*>(child))
                names.push_back(childView->GetName().CStr());
        return names;
    }

    static RecordingView* Recorded(size_t index)
    {
        auto& created = RecordingView::Created();
        return index < created.size() ? created[index] : nullptr;
    }

    std::map<std::string, std::string> files;
};
} // namespace

TEST_F(XViewBuilderTest, TheFirstViewBlockDescribesTheTargetAndLaterViewsNestUnderTheParentStack)
{
    files["tree.txt"] = "view:recording\nname:root\nframe:0,0,400,300\n\n"
                        "view:recording\nname:child1\n\npushparent\n\n"
                        "view:recording\nname:grandchild\n\n\n\npopparent\n\n"
                        "view:recording\r\nname:child2\r\n\r\npopparent\n\npopparent\n\n"
                        "view:recording\nname:orphan\n";
    RecordingView root;
    RecordingView::Created().clear();
    Build("tree.txt", root);

    EXPECT_STREQ(root.GetName().CStr(), "root");
    EXPECT_EQ(RectText(root.GetFrame()), "0,0,400,300");
    ASSERT_EQ(root.blocks.size(), 1u);
    EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"child1", "child2"}));
    XView* child1 = root.FindChild("child1", false);
    ASSERT_NE(child1, nullptr);
    EXPECT_EQ(ChildNames(*child1), std::vector<std::string>{"grandchild"});
    // The view finished with an empty parent stack was not leaked: it was deleted at the end.
    ASSERT_EQ(RecordingView::Created().size(), 4u);
    EXPECT_EQ(RecordingView::Deleted(), 1);
    EXPECT_EQ(root.FindChild("orphan", true), nullptr);
}

TEST_F(XViewBuilderTest, BlocksRepeatWithNumberedNamesAndSteppedFrames)
{
    const struct
    {
        const char* extra;
        std::vector<std::string> names;
        std::vector<std::string> frames;
    } cases[] = {
        {"", {"knob0", "knob1", "knob2"}, {"0,0,50,20", "100,0,150,20", "200,0,250,20"}},
        {"arrayBaseIndex:1\n", {"knob1", "knob2", "knob3"}, {"0,0,50,20", "100,0,150,20", "200,0,250,20"}},
        {"arrayheight:25\n", {"knob0", "knob1", "knob2"}, {"0,0,50,20", "0,25,50,45", "0,50,50,70"}},
    };
    for (const auto& c : cases)
    {
        files["array.txt"] = std::string("view:recording\nname:root\n\nview:recording\narraysize:3\n") +
                             c.extra +
                             "frame:0,0,50,20\nname:knob%d\n\nview:recording\nname:after\nframe:next\n";
        RecordingView root;
        RecordingView::Created().clear();
        Build("array.txt", root);
        ASSERT_EQ(RecordingView::Created().size(), 4u) << c.extra;
        for (size_t i = 0; i < 3; ++i)
        {
            RecordingView* view = Recorded(i);
            EXPECT_STREQ(view->GetName().CStr(), c.names[i].c_str()) << c.extra;
            EXPECT_EQ(RectText(view->GetFrame()), c.frames[i]) << c.extra;
            EXPECT_EQ(view->blocks.at(0).GetInt32("currentArrayIndex"), static_cast<int32_t>(i + 1));
        }
        // The array settings end with their block (the height too), the width stays.
        RecordingView* after = Recorded(3);
        EXPECT_EQ(Describe(after->blocks.at(0), "currentArrayIndex"), "");
        EXPECT_EQ(RectText(after->GetFrame()), "100,0,150,20") << c.extra;
    }
}

TEST_F(XViewBuilderTest, ScratchStringsFeedParametersAndLabelsOfRepeatedViews)
{
    files["scratch.txt"] = "view:recording\n\n"
                           "view:recording\narraysize:2\nparamscratchstr:Output%d\\gain\narrayBaseIndex:1\n"
                           "param:%s\nscratchstr:In\nname:ch%s_%d%i\n";
    RecordingView root;
    RecordingView::Created().clear();
    Build("scratch.txt", root);
    ASSERT_EQ(RecordingView::Created().size(), 2u);
    EXPECT_EQ(Describe(Recorded(0)->blocks.at(0), "param"), "string Output1\\gain");
    EXPECT_EQ(Describe(Recorded(1)->blocks.at(0), "param"), "string Output2\\gain");
    // The name keeps "%s" (only one integer conversion is expanded); the label takes the scratch
    // string in place of the first '%' pair.
    EXPECT_STREQ(Recorded(1)->GetName().CStr(), "ch%s_2%i");
    EXPECT_STREQ(Recorded(1)->GetLabel().CStr(), "chIn_2%i");
}

TEST_F(XViewBuilderTest, VariablesMacrosIncludesAndCommentsMeetInOneBuild)
{
    files["parts\\row.txt"] = "view:recording\nname:[id]\nframe:[frame]\n";
    files["main.txt"] = "comment the root\nview:recording\n// a skipped line\nname:root\n\n"
                        "var:size=40,40,200,100\n"
                        "view:recording\nname:sized\nframe:size\n/*\nframe:0,0,1,1\n*/\nlabel:Ch %d\n\n"
                        "macro \"parts\\row.txt\" id=fromMacro frame=size\n";
    RecordingView root;
    RecordingView::Created().clear();
    Build("main.txt", root);
    EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"sized", "fromMacro"}));
    ASSERT_EQ(RecordingView::Created().size(), 2u);
    EXPECT_EQ(RectText(Recorded(0)->GetFrame()), "40,40,200,100");
    EXPECT_EQ(Describe(Recorded(0)->blocks.at(0), "labelArg"), "int 0");
    // The macro's arguments are replaced as its file is inserted, before the variables: its frame
    // line names the variable.
    EXPECT_EQ(RectText(Recorded(1)->GetFrame()), "40,40,200,100");
    EXPECT_EQ(Describe(Recorded(1)->blocks.at(0), "name"), "string fromMacro");
}

TEST_F(XViewBuilderTest, CreateParamMakesARegisteredParameterAndEndsItsBlock)
{
    files["params.txt"] = "createparam:builderTest\\level\nmin:0.0\nmax:4.0\ndefault:2\nunits:integer\n"
                          "view:recording\n\n"
                          "createparam:builderTest\\four\nmax:4\n\n"
                          "createparam:builderTest\\flag\nmax:1\nunits:boolean\n\n"
                          "createparam:builderTest\\level\nmax:9.0\n\n"
                          "createparam:builderTest\\steps\nmin:-1.5\nmax:1.5\nmaxsteps:7\ndefault:0.5\n";
    RecordingView root;
    Build("params.txt", root);

    XParam* level = FindParam("BUILDERTEST\\level");
    ASSERT_NE(level, nullptr);
    EXPECT_DOUBLE_EQ(level->GetDesc()->min, 0.0);
    EXPECT_DOUBLE_EQ(level->GetDesc()->max, 4.0);
    EXPECT_EQ(level->GetDesc()->count, 5u);
    EXPECT_DOUBLE_EQ(level->GetValue(), 2.0);
    EXPECT_EQ(level->GetDesc()->type, XParamDesc::kTypeInteger);
    // The view line sits in the parameter's block, which ends at the createparam: no view.
    EXPECT_TRUE(root.blocks.empty());

    // Departs from the letter of the description rules on purpose: "max:4" written as an integer
    // counts as 4 with 5 steps (the rules would read 0.0 with one step).
    XParam* four = FindParam("builderTest\\four");
    ASSERT_NE(four, nullptr);
    EXPECT_DOUBLE_EQ(four->GetDesc()->max, 4.0);
    EXPECT_EQ(four->GetDesc()->count, 5u);
    XParam* flag = FindParam("builderTest\\flag");
    ASSERT_NE(flag, nullptr);
    EXPECT_DOUBLE_EQ(flag->GetDesc()->max, 1.0);
    EXPECT_EQ(flag->GetDesc()->type, XParamDesc::kTypeOnOff);

    // A taken path keeps its first parameter; the second is not leaked.
    EXPECT_DOUBLE_EQ(FindParam("builderTest\\level")->GetDesc()->max, 4.0);

    XParam* steps = FindParam("builderTest\\steps");
    ASSERT_NE(steps, nullptr);
    EXPECT_EQ(steps->GetDesc()->count, 7u);
    EXPECT_DOUBLE_EQ(steps->GetDesc()->min, -1.5);
    EXPECT_DOUBLE_EQ(steps->GetDesc()->def, 0.5);
    EXPECT_EQ(steps->GetDesc()->type, 0);

    delete level;
    delete four;
    delete flag;
    delete steps;
}

TEST_F(XViewBuilderTest, AddToViewBuildsAnotherFileIntoTheCurrentView)
{
    files["inner.txt"] = "view:ignored\nname:panel\nframe:5,5,105,55\n\nview:recording\nname:innerChild\n";
    files["outer.txt"] = "view:recording\nname:root\n\nview:recording\nname:panelSlot\naddtoview:inner.txt\n"
                         "frame:1,2,3,4\n\nview:recording\nname:sibling\n";
    RecordingView root;
    RecordingView::Created().clear();
    Build("outer.txt", root);
    EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"panel", "sibling"}));
    XView* panel = root.FindChild("panel", false);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(RectText(panel->GetFrame()), "5,5,105,55");
    EXPECT_EQ(ChildNames(*panel), std::vector<std::string>{"innerChild"});

    // A file that adds itself stops at the depth limit.
    files["self.txt"] = "view:recording\n\nview:recording\naddtoview:self.txt\n";
    RecordingView selfRoot;
    Build("self.txt", selfRoot);
    int depth = 0;
    for (XView* view = &selfRoot; view != nullptr && view->getNumChildComponents() > 0;
         view = dynamic_cast<XView*>(view->getChildComponent(0)))
        ++depth;
    EXPECT_EQ(depth, XViewBuilder::kMaxBuildDepth);
}

TEST_F(XViewBuilderTest, MissingAndEmptyFilesBuildNothingAndLeaveTheViewAlone)
{
    files["empty.txt"] = "";
    for (const char* name : {"missing.txt", "empty.txt"})
    {
        XView parent;
        XView view;
        XViewBuilder builder(name);
        builder.SetTextReader(DescriptionTest::MapReader(files));
        builder.Build(&view, &parent);
        EXPECT_EQ(view.GetParentView(), nullptr) << name;
        EXPECT_EQ(parent.getNumChildComponents(), 0) << name;
    }

    // With a text, a view without a parent goes to the parent first.
    files["one.txt"] = "view:basic\nname:described\n";
    XView parent;
    auto* view = new XView();
    XViewBuilder builder("one.txt");
    builder.SetTextReader(DescriptionTest::MapReader(files));
    builder.Build(view, &parent);
    EXPECT_EQ(view->GetParentView(), &parent);
    EXPECT_STREQ(view->GetName().CStr(), "described");
}

TEST_F(XViewBuilderTest, WorkedExampleRecordsEveryAttribute)
{
    GetColorDictionary().SetColor("windowBackground", XRGB(200, 201, 202));
    XView::RegisterViewClass("button", &CreateRecordingView);
    XView::RegisterViewClass("pict", &CreateRecordingView);
    files["example.txt"] = "view:basic\n\tframe:0,0,400,300\nbackcolor:windowBackground\n\n"
                           "var:btnframe=10,260,90,284\n\n"
                           "view:button\nname:okBtn\nframe:btnframe\nlabel:OK\nmessage:X_CLOSE_REQUESTED\n\n"
                           "view:pict\narraysize:4\narraywidth:60\nframewh:10,10,48,48\nname:led%d\n"
                           "imagename:\"widgets\\checkBoxLit.png\", transparent=true\n";
    RecordingView root;
    RecordingView::Created().clear();
    Build("example.txt", root);

    EXPECT_EQ(RectText(root.GetFrame()), "0,0,400,300");
    EXPECT_EQ(root.GetBackColor(), XRGB(200, 201, 202));
    ASSERT_EQ(RecordingView::Created().size(), 5u);
    const XMessage& button = Recorded(0)->blocks.at(0);
    EXPECT_EQ(Describe(button, "frame"), "rect 10,260,90,284");
    EXPECT_EQ(Describe(button, "message"), "int 10000006");
    EXPECT_EQ(Describe(button, "label"), "string OK");
    const char* const frames[] = {"10,10,58,58", "70,10,118,58", "130,10,178,58", "190,10,238,58"};
    for (size_t i = 0; i < 4; ++i)
    {
        const XMessage& led = Recorded(i + 1)->blocks.at(0);
        EXPECT_EQ(Describe(led, "frame"), std::string("rect ") + frames[i]);
        EXPECT_EQ(Describe(led, "name"), "string led" + std::to_string(i));
        EXPECT_EQ(led.GetInt32("currentArrayIndex"), static_cast<int32_t>(i + 1));
        XMessage image;
        ASSERT_EQ(led.FindMessage("imageDesc", image), 0);
        EXPECT_EQ(Describe(image, "imagePath"), "string widgets\\checkBoxLit.png");
        EXPECT_EQ(Describe(image, "transparent"), "bool true");
    }
}

TEST_F(XViewBuilderTest, WorkedExampleBuildsWithTheRegisteredViews)
{
    TestSupport::TempFolder folder;
    const std::string skin = folder.Child("System/Skins/QM7/");
    juce::File(juce::String(skin)).createDirectory();
    juce::File(juce::String(skin + "example.txt"))
        .replaceWithText("view:basic\nframe:0,0,400,300\n\nvar:btnframe=10,260,90,284\n\n"
                         "view:button\nname:okBtn\nframe:btnframe\nlabel:OK\nmessage:X_CLOSE_REQUESTED\n\n"
                         "view:pict\narraysize:4\narraywidth:60\nframewh:10,10,48,48\nname:led%d\n"
                         "imagename:\"widgets\\checkBoxLit.png\", transparent=true\n");
    GetResourceManager().SetBaseFolder(folder.Child("System").c_str());
    if (GetResourceManager().CountSkinFolders() == 0)
        GetResourceManager().AddSkinFolder("QM7");

    InitViewFactory();
    XView root;
    root.LoadDescription("example.txt");
    IViewServices::Set(nullptr);

    EXPECT_EQ(RectText(root.GetFrame()), "0,0,400,300");
    EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"okBtn", "led0", "led1", "led2", "led3"}));
    EXPECT_EQ(RectText(root.FindChild("okBtn", false)->GetFrame()), "10,260,90,284");
    EXPECT_EQ(RectText(root.FindChild("led3", false)->GetFrame()), "190,10,238,58");
}

TEST_F(XViewBuilderTest, DamageIsLoggedWithItsFileAndLineAndTheBuildGoesOn)
{
    const struct
    {
        const char* name;
        std::string text;
        const char* logged; // the part of the log line after "XViewBuilder: "
        size_t views;       // views created besides the root
    } cases[] = {
        {"open comment", "view:recording\n\n/* never closed\nview:recording\n",
         "main.txt, line 3: the comment is not closed", 0},
        {"macro quote", "view:recording\n\nmacro \"part.txt name=a\n",
         "main.txt, line 3: the macro line has an unbalanced quote", 0},
        {"image quote", "view:recording\n\nview:recording\nimagename:\"widgets\\knob.png, transparent=true\n",
         "main.txt, line 4: imagename:\"widgets\\knob.png, transparent=true has an unbalanced quote", 1},
        {"bad rectangle", "view:recording\nframe:10,abc\n", "main.txt, line 2: frame:10,abc is not a value",
         0},
        {"bad colour", "var:x=1\n\nview:recording\nbackcolor:12abc\n", "main.txt, line 4: backcolor:12abc",
         0},
        {"in an included file", "view:recording\n\naddfile:part.txt\n",
         "part.txt, line 3: location:1,2,3 is not a value", 1},
        {"too many repetitions", "view:recording\n\nview:recording\narraysize:20000\n",
         "main.txt, line 4: arraysize:20000 is above 1024 and is left out", 1},
        {"repetitions beyond 32 bits", "view:recording\n\nview:recording\narraysize:99999999999\n",
         "main.txt, line 4: arraysize:99999999999 is above 1024 and is left out", 1},
        {"not a number", "view:recording\n\nview:recording\narraywidth:wide\n",
         "main.txt, line 4: arraywidth:wide is not an integer", 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        RecordingView::Created().clear();
        files.clear();
        files["main.txt"] = c.text;
        files["part.txt"] = "\nview:recording\nlocation:1,2,3\n";
        LogCapture log;
        XView root;
        Build("main.txt", root);
        EXPECT_EQ(log.CountLinesWith("XViewBuilder: "), 1) << log.Text();
        EXPECT_EQ(log.CountLinesWith(std::string("XViewBuilder: ") + c.logged), 1) << log.Text();
        EXPECT_EQ(RecordingView::Created().size(), c.views);
    }

    // The largest array still builds.
    RecordingView::Created().clear();
    files["main.txt"] = "view:recording\n\nview:recording\narraysize:1024\nframewh:2147483647,0,1,1\n";
    LogCapture log;
    XView root;
    Build("main.txt", root);
    EXPECT_EQ(RecordingView::Created().size(), static_cast<size_t>(XViewBuilder::kMaxArraySize));
    EXPECT_EQ(log.CountLinesWith("XViewBuilder: "), 0) << log.Text();
}
