#include "files/XFileEntry.h"
#include "files/XFileRow.h"
#include "files/XListStringRow.h"
#include "gui/XCanvas.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XStyle.h"
#include "support/TestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace
{
constexpr int kWaitMs = 20000;

std::vector<std::string> SortedTexts(std::vector<XListRow*> rows, int32_t column)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [column](XListRow* a, XListRow* b) { return a->Compare(b, column) < 0; });
    std::vector<std::string> texts;
    for (XListRow* row : rows)
    {
        XString text;
        row->GetCellText(column, text);
        texts.push_back(text.CStr());
    }
    return texts;
}

/** A row that is a separator line. */
class SeparatorRow final : public XListStringRow
{
public:
    SeparatorRow() : XListStringRow(kNoIdentifier) {}
    bool IsSeparator() const override { return true; }
};

/** Draws its rows' icon and name cells, one row under the other, as a list's columns would. */
class RowsView final : public XView
{
public:
    static constexpr int32_t kRowHeight = 22;
    static constexpr int32_t kIconWidth = 26;
    static constexpr int32_t kNameWidth = 190;

    explicit RowsView(std::vector<XListRow*> shown)
        : XView(XRect(0, 0, kIconWidth + kNameWidth, kRowHeight * static_cast<int32_t>(shown.size()))),
          rows(std::move(shown))
    {
    }

    void Draw(XCanvas& canvas) override
    {
        for (size_t i = 0; i < rows.size(); ++i)
        {
            const int32_t top = static_cast<int32_t>(i) * kRowHeight;
            const bool even = i % 2 == 0;
            rows[i]->DrawCell(XRect(0, top, kIconWidth, top + kRowHeight), canvas, GetStyle(),
                              XFileRow::kIconColumn, false, false, true, false, even, true);
            rows[i]->DrawCell(XRect(kIconWidth, top, kIconWidth + kNameWidth, top + kRowHeight), canvas,
                              GetStyle(), XFileRow::kNameColumn, false, false, true, false, even, true);
        }
    }

private:
    std::vector<XListRow*> rows;
};
} // namespace

TEST(ListRowsTest, FileRowIconsFollowDriveKindThenFolderThenExtension)
{
    struct Case
    {
        const char* path;
        bool folder;
        int32_t driveKind;
        const char* icon;
    };
    const Case cases[] = {
        {"\\music\\song.WAV", false, 0, "FileDialog\\media.png"},
        {"\\music\\take.aiff", false, 0, "FileDialog\\media.png"},
        {"\\music\\score.Midi", false, 0, "FileDialog\\media.png"},
        {"\\music\\notes.txt", false, 0, "FileDialog\\genericFileSmall2.png"},
        {"\\music\\noext", false, 0, "FileDialog\\genericFileSmall3.png"},
        {"\\music\\preset.qm7", false, 0, "FileDialog\\genericFileSmall3.png"},
        {"\\music.wav\\", true, 0, "FileDialog\\folderSmall.png"},
        {"\\", true, 1, "FileDialog\\hd.png"},
        {"\\net\\", true, 2, "FileDialog\\network.png"},
        {"\\disc\\", true, 3, "FileDialog\\cd.png"},
        {"\\odd\\", true, 4, "FileDialog\\cd.png"},
        {"\\floppy\\", true, 5, "FileDialog\\floppy.png"},
        {"\\stick\\", true, 6, "FileDialog\\usb.png"},
        {"\\stick.txt", false, 6, "FileDialog\\usb.png"}, // whatever the folder flag says
        {"\\strange\\", true, 7, "FileDialog\\folderSmall.png"},
    };
    for (const Case& c : cases)
    {
        const XFileEntry entry(c.path, c.folder, c.driveKind);
        const XFileRow row(&entry, 1);
        EXPECT_STREQ(row.GetIconName().CStr(), c.icon) << c.path;
        XString cell;
        row.GetCellText(XFileRow::kIconColumn, cell);
        EXPECT_STREQ(cell.CStr(), c.icon);
    }
}

TEST(ListRowsTest, FileRowCellsReadTheEntry)
{
    ViewTest::Application();
    TestSupport::TempFolder folder;
    std::ofstream(folder.Child("Live Take.Wav")) << "x";
    ::mkdir(folder.Child("sub").c_str(), 0755);
    const XFileEntry file(folder.Child("Live Take.Wav").c_str());
    const XFileEntry sub(folder.Child("sub").c_str());
    XFileRow fileRow(&file, 7);
    XFileRow folderRow(&sub, 8);
    const XString modified = juce::File(folder.Child("Live Take.Wav"))
                                 .getLastModificationTime()
                                 .toString(true, true, true, false)
                                 .toRawUTF8();

    struct Case
    {
        const XFileRow& row;
        int32_t column;
        std::string text;
    };
    const Case cases[] = {
        {fileRow, 0, "FileDialog\\media.png"},
        {fileRow, 1, "Live Take.Wav"},
        {fileRow, 2, modified.CStr()},
        {fileRow, 3, "Wav"},
        {fileRow, 5, "-- N/A --"},
        {fileRow, -1, "-- N/A --"},
        {folderRow, 1, "sub"},
        {folderRow, 2, " "},
        {folderRow, 3, ""},
        {folderRow, 4, " "},
    };
    for (const Case& c : cases)
    {
        XString text;
        c.row.GetCellText(c.column, text);
        EXPECT_STREQ(text.CStr(), c.text.c_str()) << c.column;
        EXPECT_EQ(c.row.GetCellKind(c.column),
                  c.column == 0 ? IStyledListRow::kCellImage : IStyledListRow::kCellText);
    }
    EXPECT_EQ(fileRow.GetIdentifier(), 7);
    EXPECT_STREQ(fileRow.ClassNameText(), "XFileRow");
    EXPECT_FALSE(fileRow.IsFolder());
    EXPECT_TRUE(folderRow.IsFolder());
    EXPECT_TRUE(fileRow.Exists());
    EXPECT_STREQ(fileRow.GetName().CStr(), "Live Take.Wav");
    EXPECT_STREQ(fileRow.GetPath().CStr(), file.GetPath().CStr());

    // The row keeps its own copy: a gone file reads as gone, the text stays.
    ::unlink(folder.Child("Live Take.Wav").c_str());
    EXPECT_FALSE(fileRow.Exists());

    const XFileRow empty(nullptr, 9);
    for (int32_t column = 0; column < 6; ++column)
    {
        XString text;
        empty.GetCellText(column, text);
        EXPECT_STREQ(text.CStr(), "-- N/A --") << column;
    }
    EXPECT_TRUE(empty.GetIconName().IsEmpty());
    EXPECT_TRUE(empty.GetPath().IsEmpty());
    EXPECT_FALSE(empty.Exists());
}

TEST(ListRowsTest, RowsSortWithoutRegardToCase)
{
    XListStringRow b(1), upperA(2), a(3);
    b.AddCell("b", 0);
    upperA.AddCell("A", 0);
    a.AddCell("a", 0);
    const std::vector<std::string> sorted = SortedTexts({&b, &upperA, &a}, 0);
    ASSERT_EQ(sorted.size(), 3u);
    EXPECT_EQ(sorted[2], "b");
    EXPECT_EQ(b.Compare(&upperA, 0), 1);
    EXPECT_EQ(upperA.Compare(&a, 0), 0);
    EXPECT_EQ(a.Compare(&b, 0), -1);

    const XFileEntry entries[] = {XFileEntry("\\x\\beta.txt", false, 0),
                                  XFileEntry("\\x\\Alpha.WAV", false, 0),
                                  XFileEntry("\\x\\alpha.mid", false, 0)};
    XFileRow rows[] = {XFileRow(&entries[0], 0), XFileRow(&entries[1], 1), XFileRow(&entries[2], 2)};
    EXPECT_EQ(SortedTexts({&rows[0], &rows[1], &rows[2]}, XFileRow::kExtensionColumn),
              (std::vector<std::string>{"mid", "txt", "WAV"}));
    EXPECT_EQ(rows[1].Compare(&rows[2], XFileRow::kNameColumn), 1) << "Alpha.WAV after alpha.mid: w after m";
}

TEST(ListRowsTest, StringRowCellsAndTheBaseRow)
{
    XListStringRow row(XListRow::kNoIdentifier);
    row.AddCell("first", 0);
    row.AddCell(nullptr, 1);
    row.SetCell(0, "changed", 1);
    row.SetCell(-1, "ignored", 0);
    row.SetCell(7, "appended", 2);
    row.SetCell(1, nullptr, 0);
    struct Case
    {
        int32_t column;
        const char* text;
        int32_t kind;
    };
    const Case cases[] = {{0, "changed", 1}, {1, "", 0}, {2, "appended", 2}, {3, "", 0}, {-1, "", 0}};
    for (const Case& c : cases)
    {
        XString text;
        row.GetCellText(c.column, text);
        EXPECT_STREQ(text.CStr(), c.text) << c.column;
        EXPECT_EQ(row.GetCellKind(c.column), c.kind) << c.column;
    }
    EXPECT_EQ(row.GetCellCount(), 3);
    EXPECT_STREQ(row.ClassNameText(), "XListStringRow");
    EXPECT_EQ(row.GetIdentifier(), -1);
    row.RemoveAllCells();
    EXPECT_EQ(row.GetCellCount(), 0);
    EXPECT_EQ(row.GetCellKind(0), 0);
    row.AddCell("again", 5);
    EXPECT_EQ(row.GetCellKind(0), 5);

    // Selection flips the toggle on each change only.
    EXPECT_FALSE(row.IsSelected());
    row.SetSelected(true);
    row.SetSelected(true);
    EXPECT_TRUE(row.IsSelected());
    EXPECT_TRUE(row.GetSelectionToggle());
    row.SetSelected(false);
    EXPECT_FALSE(row.GetSelectionToggle());

    XView list;
    EXPECT_EQ(row.GetHeight(nullptr), XListRow::kSeparatorHeight);
    list.SetFont(XFont::GetFont("arial", 14, false, false, false));
    ASSERT_NE(list.GetFont(), nullptr);
    EXPECT_EQ(row.GetHeight(&list), list.GetFont()->GetHeight());
    EXPECT_EQ(SeparatorRow().GetHeight(&list), XListRow::kSeparatorHeight);
    EXPECT_TRUE(row.MouseDownInCell(&list, XRect(0, 0, 10, 10), 0, 1, 1));
    EXPECT_EQ(row.GetDragImage(), nullptr);
}

TEST(ListRowsTest, FileRowIconsAreDrawnFromTheSkinInAWindow)
{
    ASSERT_TRUE(SkinTestSupport::UseBuiltSkin()) << "build the target krx_skin";
    XResourceManager& resources = GetResourceManager();
    XStyle style;
    XStyle::SetCurrentStyle(&style);
    ViewTest::Application();

    const XFileEntry entries[] = {
        XFileEntry("\\music\\song.wav", false, 0),
        XFileEntry("\\music\\notes.txt", false, 0),
        XFileEntry("\\music\\preset.qm7", false, 0),
        XFileEntry("\\music\\", true, 0),
        XFileEntry("\\", true, 1),
        XFileEntry("\\mnt\\share\\", true, 2),
        XFileEntry("\\media\\disc\\", true, 3),
        XFileEntry("\\media\\floppy\\", true, 5),
        XFileEntry("\\media\\stick\\", true, 6),
    };
    std::vector<std::unique_ptr<XFileRow>> rows;
    std::vector<XListRow*> shown;
    for (const XFileEntry& entry : entries)
    {
        rows.push_back(std::make_unique<XFileRow>(&entry, static_cast<int32_t>(rows.size())));
        shown.push_back(rows.back().get());
    }
    RowsView view(shown);
    view.Attach();
    view.addToDesktop(juce::ComponentPeer::windowIsTemporary);
    view.setVisible(true);
    ASSERT_TRUE(ViewTest::PumpUntil([&] { return view.isShowing(); }, kWaitMs));
    ViewTest::Pump();

    const juce::Image shot = GuiTestSupport::TakeScreenshot(view, "FileRowIcons");
    ASSERT_TRUE(shot.isValid());
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const XImage* icon = resources.GetImage(rows[i]->GetIconName());
        ASSERT_NE(icon, nullptr) << rows[i]->GetIconName().CStr();
        ASSERT_EQ(icon->GetWidth(), 16);
        // The icon sits centred in its cell; its opaque middle pixel shows as it is.
        const int x = RowsView::kIconWidth / 2 - 8;
        const int y = static_cast<int>(i) * RowsView::kRowHeight + RowsView::kRowHeight / 2 - 8;
        const juce::Colour expected = icon->GetJuceImage()->getPixelAt(8, 8);
        ASSERT_EQ(expected.getAlpha(), 255) << rows[i]->GetIconName().CStr();
        EXPECT_EQ(shot.getPixelAt(x + 8, y + 8), expected) << rows[i]->GetIconName().CStr();
    }
    view.removeFromDesktop();
    XStyle::SetCurrentStyle(nullptr);
    resources.ClearCaches();
}
