#include "core/ObjectArray.h"
#include "gui/IViewServices.h"
#include "gui/ViewFactory.h"
#include "gui/XImage.h"
#include "gui/XView.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"
#include "support/gui/GuiTestSupport.h"
#include "support/gui/SkinTestSupport.h"

#include <gtest/gtest.h>
#include <regex>

using SkinTestSupport::BuiltSystemFolder;

namespace
{
constexpr int kProcessTimeoutMs = 60000;

/** A resource manager on the built skin, as the program sets its own up. */
class SkinTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        systemFolder = BuiltSystemFolder();
        ASSERT_TRUE(systemFolder.getChildFile("GlobalColors.dat").existsAsFile())
            << "the build's skin is missing; build the target krx_skin";
        resources.SetBaseFolder(systemFolder.getFullPathName().toRawUTF8());
        resources.AddSkinFolder(SkinTestSupport::kSkinFolder);
        ASSERT_TRUE(SkinTestSupport::LoadSkinTables(systemFolder));
    }

    /** A system folder in folder with the built skin's colour table, for skingen to draw into. */
    juce::File MakeSystemFolder(const TestSupport::TempFolder& folder) const
    {
        const juce::File system(folder.Child("System"));
        system.createDirectory();
        systemFolder.getChildFile("GlobalColors.dat").copyFileTo(system.getChildFile("GlobalColors.dat"));
        return system;
    }

    /** Runs skingen on a manifest of that text (written beside the system folder) into the system
        folder; its exit code (-1 when it did not run to its end) and its output. */
    static int RunSkingen(const juce::File& system, const juce::String& text, juce::String& output)
    {
        const juce::File manifest = system.getSiblingFile("manifest.txt");
        manifest.replaceWithText(text);
        juce::ChildProcess skingen;
        if (!skingen.start(juce::StringArray{TestSupport::BinaryPath("skingen"), manifest.getFullPathName(),
                                             system.getFullPathName()}))
            return -1;
        output = skingen.readAllProcessOutput();
        return skingen.waitForProcessToFinish(kProcessTimeoutMs) ? static_cast<int>(skingen.getExitCode())
                                                                 : -1;
    }

    juce::File systemFolder;
    XResourceManager resources;
};

/** Every name captured by the first group of pattern in the sources below src/. */
std::set<std::string> NamesInSources(const std::vector<std::regex>& patterns)
{
    std::set<std::string> names;
    for (const juce::File& file : juce::File(KRX_SOURCE_DIR)
                                      .getChildFile("src")
                                      .findChildFiles(juce::File::findFiles, true, "*.cpp;*.h"))
    {
        const std::string text = file.loadFileAsString().toStdString();
        for (const std::regex& pattern : patterns)
        {
            for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
                names.insert((*it)[1].str());
        }
    }
    return names;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}
} // namespace

TEST_F(SkinTest, EveryManifestRowLoadsThroughTheResourceManagerAtItsSize)
{
    const auto rows = SkinTestSupport::ReadManifestRows();
    ASSERT_GT(rows.size(), 50u);
    for (const auto& row : rows)
    {
        SCOPED_TRACE("manifest line " + std::to_string(row.line) + ": " + row.name);
        // Views name images with '\' folders and in any case; the skin's files are lower case.
        const XString asViewsName =
            juce::String(row.name).replaceCharacter('/', '\\').toUpperCase().toRawUTF8();
        std::vector<const XImage*> images;
        if (row.frames == 1)
            images.push_back(resources.GetImage(asViewsName));
        else
        {
            ObjectArray<XImage> sequence;
            const XString base =
                juce::String(asViewsName.CStr()).upToLastOccurrenceOf(".", false, false).toRawUTF8();
            resources.LoadImageSequence(base, row.frames, sequence);
            for (int index = 0; index < sequence.GetCount(); ++index)
                images.push_back(sequence.At(index));
            EXPECT_EQ(static_cast<int>(images.size()), row.frames);
        }
        for (const XImage* image : images)
        {
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->GetWidth(), row.width);
            EXPECT_EQ(image->GetHeight(), row.height);
        }
    }
}

// Windows pick an input's pictures by the colour word in their names (input A orange, input B
// cyan): a picture so named is drawn in a colour of that hue, and so are the inputs' own colours.
TEST_F(SkinTest, PicturesNamedByAColourAreDrawnInThatColour)
{
    struct Hue
    {
        const char* word;
        float lowest; // juce hues, 0..1 around the colour circle
        float highest;
    };
    const Hue hues[] = {{"orange", 15.0f / 360, 45.0f / 360}, {"cyan", 170.0f / 360, 200.0f / 360}};
    const auto expectHue = [](const std::string& colourName, const Hue& hue)
    {
        XRGB colour;
        ASSERT_EQ(GetColorDictionary().FindColor(colourName.c_str(), colour), XColorDictionary::kResultOk)
            << colourName;
        const float drawn = colour.ToColour().getHue();
        EXPECT_TRUE(drawn >= hue.lowest && drawn <= hue.highest)
            << colourName << " is not " << hue.word << " (hue " << drawn * 360 << ")";
    };
    expectHue("inputA", hues[0]);
    expectHue("inputB", hues[1]);
    int named = 0;
    for (const auto& row : SkinTestSupport::ReadManifestRows())
    {
        for (const Hue& hue : hues)
        {
            if (row.name.find(hue.word) == std::string::npos)
                continue;
            SCOPED_TRACE("manifest line " + std::to_string(row.line) + ": " + row.name);
            ++named;
            expectHue(row.accent, hue);
        }
    }
    EXPECT_GE(named, 8);
}

TEST_F(SkinTest, EveryCursorOfTheBaseViewIsInTheSkin)
{
    SkinTestSupport::SkinMissLog log(resources);
    log.CheckCursors();
    EXPECT_TRUE(log.GetMisses().empty()) << Joined(log.GetMisses());
}

TEST_F(SkinTest, EveryColourAndFontNameTheCodeAndThePartsAskForIsInTheTables)
{
    const std::set<std::string> codeColours = NamesInSources({
        std::regex(
            R"re((?:DictionaryColour|(?:GetColorDictionary\(\)|[dD]ictionary)\s*\.\s*(?:FindColor|GetColor))\(\s*"([A-Za-z_]\w*)")re"),
        std::regex(R"re(\{\s*"([A-Za-z_]\w*)"\s*,\s*XRGB\()re"),
        std::regex(R"re(k\w*Colou?rName\s*=\s*"([A-Za-z_]\w*)")re"),
    });
    const std::set<std::string> codeFonts = NamesInSources({
        std::regex(R"re((?:FindNamedFont|GetNamedFont)\(\s*"([A-Za-z_]\w*)")re"),
        std::regex(R"re(k\w*FontName\s*=\s*"([A-Za-z_]\w*)")re"),
    });
    // The scan must see the look-ups that exist today, or a changed call would pass unnoticed.
    for (const char* known : {"windowBackground", "windowTitlebar", "popupText", "listRowSelected", "label"})
        EXPECT_EQ(codeColours.count(known), 1u) << known;
    for (const char* known : {"menuItem", "listText", "medium"})
        EXPECT_EQ(codeFonts.count(known), 1u) << known;

    // Names that the widgets and windows still to come ask for.
    std::set<std::string> colours = codeColours;
    for (const char* name : {"windowBack",
                             "windowTitleText",
                             "windowTitlebarText",
                             "windowTitlebarTextDim",
                             "windowText",
                             "windowTextDim",
                             "windowLabel",
                             "popupBackground",
                             "popupTextHighlight",
                             "popupBackgroundHighlight",
                             "widgetBack",
                             "widgetText",
                             "buttonLit",
                             "buttonDim",
                             "buttonText",
                             "buttonTextLit",
                             "genButtonTextColor",
                             "genButtonTextLitColor",
                             "closeButtonDim",
                             "closeButtonLit",
                             "editTextBack",
                             "editTextFore",
                             "editTextHighlight",
                             "editTextHighlightBack",
                             "listBack",
                             "listFore",
                             "listBackColor",
                             "listForeColor",
                             "listHeaderBack",
                             "listHeaderFore",
                             "listHeaderText",
                             "listRowBack",
                             "listRowAltBack",
                             "listRowText",
                             "listRowTextSelected",
                             "scrollbarFore",
                             "scrollbarBack",
                             "menubarBack",
                             "menubarFore",
                             "statusBar",
                             "statusBarText",
                             "progressBarFore",
                             "progressBarBack",
                             "inputA",
                             "inputB",
                             "outputColor1",
                             "outputColor2",
                             "outputColor3",
                             "outputColor4",
                             "outputColor5",
                             "outputColor6"})
        colours.insert(name);
    std::set<std::string> fonts = codeFonts;
    for (const char* name : {"tiny", "mini", "small", "smallbold", "medium", "large", "dialogLabel",
                             "listText", "menuItem", "statusBar", "buttonSmall", "buttonTiny",
                             "dialogButton"})
        fonts.insert(name);

    std::vector<std::string> missing;
    for (const std::string& name : colours)
    {
        XRGB colour;
        if (GetColorDictionary().FindColor(name.c_str(), colour) != XColorDictionary::kResultOk)
            missing.push_back("colour " + name);
    }
    for (const std::string& name : fonts)
    {
        if (XFont::FindNamedFontDescriptor(name.c_str()) == nullptr)
            missing.push_back("font " + name);
    }
    EXPECT_TRUE(missing.empty()) << Joined(missing);
}

TEST_F(SkinTest, TheLcdColoursOfDescriptionsAreTheDisplayColoursOfTheColourTable)
{
    juce::StringArray lines;
    lines.addLines(systemFolder.getChildFile("Skins/QM7/Includes/LCDColours.txt").loadFileAsString());
    int checked = 0;
    for (const juce::String& line : lines)
    {
        if (!line.startsWith("var:"))
            continue;
        const juce::String name =
            line.fromFirstOccurrenceOf(":", false, false).upToFirstOccurrenceOf("=", false, false);
        const XRGB fromVariable = XRGB::Parse(line.fromFirstOccurrenceOf("=", false, false).toRawUTF8());
        XRGB fromTable;
        ASSERT_EQ(GetColorDictionary().FindColor(name.toRawUTF8(), fromTable), XColorDictionary::kResultOk)
            << name;
        EXPECT_EQ(fromVariable.ToColour().getARGB(), fromTable.ToColour().getARGB()) << name;
        ++checked;
    }
    EXPECT_EQ(checked, 2);
    EXPECT_EQ(GetColorDictionary().GetColor("lcdLit").ToColour().getARGB(),
              juce::Colour(160, 220, 230).getARGB());
    EXPECT_EQ(GetColorDictionary().GetColor("lcdBack").ToColour().getARGB(),
              juce::Colour(45, 112, 165).getARGB());
}

TEST_F(SkinTest, TheMissLogNamesEveryTextImageColourAndFontTheSkinLacks)
{
    TestSupport::TempFolder folder;
    const juce::File skin(folder.Child("System/Skins/QM7"));
    ASSERT_TRUE(skin.getChildFile("Dialogs").createDirectory());
    skin.getChildFile("Dialogs/probe.txt")
        .replaceWithText(
            "view:basic\nbackcolor:windowBackground\nforecolor:noSuchColour\ntextcolor:10,20,30\n\n"
            "addfile:Includes\\gone.txt\n\n"
            "view:pict\nimagename:\"widgets\\gone.png\", transparent=true\nfont:noSuchFont\n\n"
            "view:pict\nimagename:widgets\\checkboxlit.png\nfont:small\n\n"
            "view:basic\naddtoview:Dialogs\\alsoGone.txt\n");
    juce::File(systemFolder.getChildFile("Skins/QM7/Images")).copyDirectoryTo(skin.getChildFile("Images"));
    XResourceManager probeResources;
    probeResources.SetBaseFolder(folder.Child("System").c_str());
    probeResources.AddSkinFolder(SkinTestSupport::kSkinFolder);

    SkinTestSupport::SkinMissLog log(probeResources);
    log.CheckDescription("Dialogs\\probe.txt");
    log.CheckDescription("Dialogs\\absent.txt");
    log.CheckCursors();
    // Includes are read while the text is expanded, before its lines are looked at.
    std::vector<std::string> expected = {"text Includes\\gone.txt",    "colour noSuchColour",
                                         "image widgets\\gone.png",    "font noSuchFont",
                                         "text Dialogs\\alsoGone.txt", "text Dialogs\\absent.txt"};
    for (int index = 0; index < XViewCursors::kImageCount; ++index)
        expected.push_back(std::string("cursor ") + XViewCursors::GetImage(index).fileName);
    EXPECT_EQ(log.GetMisses(), expected);
}

TEST_F(SkinTest, EveryDialogOpensWithNoMissingResource)
{
    const juce::Array<juce::File> dialogs =
        systemFolder.getChildFile("Skins/QM7/Dialogs").findChildFiles(juce::File::findFiles, false, "*.txt");
    ASSERT_GE(dialogs.size(), 4);
    GetResourceManager().SetBaseFolder(systemFolder.getFullPathName().toRawUTF8());
    if (GetResourceManager().CountSkinFolders() == 0)
        GetResourceManager().AddSkinFolder(SkinTestSupport::kSkinFolder);
    InitViewFactory();
    for (const juce::File& dialog : dialogs)
    {
        const XString name = ("Dialogs\\" + dialog.getFileName()).toRawUTF8();
        SCOPED_TRACE(name.CStr());
        SkinTestSupport::SkinMissLog log(resources);
        log.CheckDescription(name);
        EXPECT_TRUE(log.GetMisses().empty()) << Joined(log.GetMisses());

        XView root;
        {
            LogCapture builderLog;
            root.LoadDescription(name.CStr());
            EXPECT_EQ(builderLog.CountLinesWith("XViewBuilder: "), 0) << builderLog.Text();
        }
        EXPECT_GT(root.getWidth(), 0);
        XView* text = root.FindChild("DialogText", true);
        ASSERT_NE(text, nullptr);
        text->SetLabel("Store the current settings as user preset 3?");
        EXPECT_NE(root.FindChild("OKButton", true), nullptr);
        root.addToDesktop(juce::ComponentPeer::windowHasTitleBar);
        root.setVisible(true);
        GuiTestSupport::RunLoopFor(50);
        GuiTestSupport::TakeScreenshot(root,
                                       "SkinDialog_" + dialog.getFileNameWithoutExtension().toStdString());
        root.removeFromDesktop();
    }
    IViewServices::Set(nullptr);
}

TEST_F(SkinTest, SkingenNamesEveryMalformedRowAndWritesNothingForIt)
{
    TestSupport::TempFolder folder;
    const juce::File system = MakeSystemFolder(folder);
    juce::String output;
    EXPECT_EQ(RunSkingen(system,
                         "# a comment\n"
                         "ok/face.png      20x10  button.lit  -         1  alpha  \"Go\"\n"
                         "Upper/Case.png   20x10  button.up   -         1  alpha  -\n"
                         "bad/size.png     20by10 button.up   -         1  alpha  -\n"
                         "bad/kind.png     20x10  teapot      -         1  alpha  -\n"
                         "bad/colour.png   20x10  led.on      noSuchColour 1 alpha -\n"
                         "ok/seq.png       8x8    pot         -         3  opaque -\n"
                         "big/size.png     99999999999x10 button.up - 1 alpha -\n",
                         output),
              1);
    EXPECT_TRUE(output.contains("line 3:")) << output;
    EXPECT_TRUE(output.contains("line 4:")) << output;
    EXPECT_TRUE(output.contains("line 8:")) << output;

    EXPECT_EQ(RunSkingen(system,
                         "ok/face.png 20x10 button.lit - 1 alpha \"Go\"\n"
                         "bad/kind.png 20x10 teapot - 1 alpha -\n"
                         "bad/colour.png 20x10 led.on noSuchColour 1 alpha -\n"
                         "ok/seq.png 8x8 pot - 3 opaque -\n",
                         output),
              1);
    EXPECT_TRUE(output.contains("line 2: unknown kind teapot")) << output;
    EXPECT_TRUE(output.contains("line 3: the colour table lacks noSuchColour")) << output;
    const juce::File images = system.getChildFile("Skins/QM7/Images");
    EXPECT_TRUE(images.getChildFile("ok/face.png").existsAsFile());
    EXPECT_FALSE(images.getChildFile("bad/kind.png").existsAsFile());
    EXPECT_FALSE(images.getChildFile("bad/colour.png").existsAsFile());
    for (const char* frame : {"ok/seq0.png", "ok/seq1.png", "ok/seq2.png"})
        EXPECT_TRUE(images.getChildFile(frame).existsAsFile()) << frame;
    EXPECT_TRUE(system.getChildFile("Cursors/pencil.png").existsAsFile());
}

TEST_F(SkinTest, SkingenPlacesCaptionsOnAPictureAndNamesEveryMisplacedOne)
{
    TestSupport::TempFolder folder;
    const juce::File system = MakeSystemFolder(folder);
    juce::String output;
    EXPECT_EQ(RunSkingen(system,
                         "caption 1,1 - - \"before any row\"\n"
                         "ok/back.png   60x40  back    -  1  opaque  -\n"
                         "caption 70,0 - - \"right of the picture\"\n"
                         "caption 10,30,40,20 - - \"box below the picture\"\n"
                         "caption 1,1 - - unquoted\n"
                         "caption 1,1 300 - \"too tall\"\n"
                         "bad/size.png  10by10 back    -  1  alpha   -\n"
                         "caption 99,99 - - \"goes with its row\"\n",
                         output),
              1);
    for (const char* line :
         {"line 1: a caption line needs", "line 3:", "line 4:", "line 5:", "line 6:", "line 7:"})
        EXPECT_TRUE(output.contains(line)) << line << "\n" << output;
    EXPECT_FALSE(output.contains("line 8")) << output;
    EXPECT_EQ(
        RunSkingen(system,
                   "ok/back.png 60x40 back - 1 opaque -\ncaption 1,1 - noSuchColour \"unknown colour\"\n",
                   output),
        1);
    EXPECT_TRUE(output.contains("line 1: the colour table lacks noSuchColour")) << output;

    ASSERT_EQ(RunSkingen(system,
                         "plain/back.png  60x40  back  -  1  opaque  -\n"
                         "boxed/back.png  60x40  back  -  1  opaque  -\n"
                         "caption 10,10,40,20 16 ledRed \"Hi\"\n"
                         "placed/back.png 60x40  back  -  1  opaque  -\n"
                         "caption 2,24 - - \"At\"\n",
                         output),
              0)
        << output;
    const juce::File images = system.getChildFile("Skins/QM7/Images");
    const juce::Image plain = juce::ImageFileFormat::loadFrom(images.getChildFile("plain/back.png"));
    struct Case
    {
        const char* file;
        juce::Rectangle<int> place; // where the caption may draw
    };
    for (const Case& c : {Case{"boxed/back.png", {10, 10, 40, 20}}, Case{"placed/back.png", {2, 24, 58, 16}}})
    {
        const juce::Image captioned = juce::ImageFileFormat::loadFrom(images.getChildFile(c.file));
        ASSERT_TRUE(plain.isValid() && captioned.isValid()) << c.file;
        int inside = 0;
        int outside = 0;
        for (int y = 0; y < plain.getHeight(); ++y)
            for (int x = 0; x < plain.getWidth(); ++x)
                if (plain.getPixelAt(x, y) != captioned.getPixelAt(x, y))
                    ++(c.place.contains(x, y) ? inside : outside);
        EXPECT_GT(inside, 10) << c.file;
        EXPECT_EQ(outside, 0) << c.file;
    }
}
