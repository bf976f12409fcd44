#include "widgets/XMatrixView.h"

#include "WidgetTestSupport.h"
#include "WidgetTypeWords.h"
#include "core/XMessage.h"
#include "gui/XColorDictionary.h"
#include "widgets/IMatrixSource.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
using WidgetTest::Pixel;
using WidgetTest::Render;

const XRGB kColumnHeader(40, 90, 160);
const XRGB kRowHeader(150, 60, 60);

/** Texts "c,r", headers "Cn" and "Rn", its own header colours when asked to, and a log of the
    cells reported. */
class GridSource final : public IMatrixSource
{
public:
    struct Report
    {
        int32_t column;
        int32_t row;
        bool isClick;
        XPoint clickedPos;
    };

    void GetCellText(XString& text, XMatrixView*, int32_t column, int32_t row) override
    {
        text = (std::to_string(column) + "," + std::to_string(row)).c_str();
    }
    void GetColumnTitle(XString& text, XMatrixView*, int32_t column) override
    {
        text = ("C" + std::to_string(column)).c_str();
    }
    void GetRowTitle(XString& text, XMatrixView*, int32_t row) override
    {
        text = ("R" + std::to_string(row)).c_str();
    }
    bool GetColumnHeaderColour(XMatrixView*, XRGB& colour) override
    {
        colour = kColumnHeader;
        return ownColours;
    }
    bool GetRowHeaderColour(XMatrixView*, XRGB& colour) override
    {
        colour = kRowHeader;
        return ownColours;
    }
    void CellClicked(XMatrixView*, int32_t column, int32_t row, bool isClick, XMessage& message) override
    {
        XPoint point;
        message.FindPoint("clickedPos", point);
        reports.push_back({column, row, isClick, point});
    }

    bool ownColours = false;
    std::vector<Report> reports;
};

/** A parent that counts the presses that reach it. */
class PressCounter final : public XView
{
public:
    bool MouseDown(const XPoint&, int32_t) override
    {
        ++presses;
        return true;
    }
    int presses = 0;
};

class MatrixViewTest : public WidgetTest::WidgetTree
{
protected:
    XMatrixView* AddMatrix(XView& parent, const XRect& frame,
                           std::initializer_list<std::pair<const char*, int32_t>> keys)
    {
        auto* matrix = new XMatrixView();
        XMessage block;
        block.AddRect("frame", frame);
        for (const auto& key : keys)
            block.AddInt32(key.first, key.second);
        matrix->ReadAttributes(block);
        parent.AddChild(matrix);
        return matrix;
    }
};

TEST_F(MatrixViewTest, TheViewIsSizedFromItsCountsCellSizesAndHeaders)
{
    XMatrixView* evenRows = AddMatrix(root, XRect(0, 0, 100, 100), {{"numRows", 4}, {"colHeaderHeight", 20}});
    int32_t height = 0;
    int32_t width = 0;
    evenRows->GetCellSize(height, width);
    EXPECT_EQ(height, (100 - 20) / 4);
    EXPECT_EQ(width, 0) << "no columns";
    EXPECT_EQ(evenRows->GetFrame(), XRect(0, 0, 0, 100));

    XMatrixView* matrix = AddMatrix(root, XRect(10, 20, 60, 70), {{"rowHeaderWidth", 40}, {"rowHeight", 16}});
    matrix->SetColWidth(30);
    matrix->SetNumCols(5);
    EXPECT_EQ(matrix->GetFrame(), XRect(10, 20, 10 + 40 + 5 * 30, 20)) << "190 wide, no rows yet";
    matrix->SetNumRows(3);
    EXPECT_EQ(matrix->GetFrame(), XRect(10, 20, 200, 20 + 3 * 16));

    struct Case
    {
        int32_t column;
        int32_t row;
        XRect expected;
    };
    const Case cases[] = {
        {0, 0, XRect(40, 0, 70, 16)},
        {4, 2, XRect(160, 32, 190, 48)}, // cells
        {-1, 1, XRect(1, 17, 39, 31)},   // the row header of row 1
        {2, -1, XRect(101, 1, 129, -1)}, // no column header: upside down
        {-1, -1, XRect()},
        {5, 0, XRect()},
        {0, 3, XRect()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matrix->GetCellRect(c.column, c.row), c.expected) << c.column << "," << c.row;
}

TEST_F(MatrixViewTest, PressesAndClicksOnCellsReachTheSourceAndTheRestTheParent)
{
    auto* parent = new PressCounter();
    parent->SetFrame(XRect(50, 40, 350, 240));
    root.AddChild(parent);
    XMatrixView* matrix = AddMatrix(*parent, XRect(10, 10, 10, 10),
                                    {{"numRows", 3},
                                     {"numCols", 4},
                                     {"rowHeight", 20},
                                     {"colWidth", 25},
                                     {"rowHeaderWidth", 30},
                                     {"colHeaderHeight", 15}});
    ASSERT_EQ(matrix->GetFrame(), XRect(10, 10, 10 + 30 + 4 * 25, 10 + 15 + 3 * 20));

    // Without a source every press goes to the parent.
    EXPECT_TRUE(matrix->MouseDown(XPoint(40, 20), XView::kButtonLeft));
    EXPECT_EQ(parent->presses, 1);

    GridSource source;
    matrix->SetSource(&source);
    EXPECT_TRUE(matrix->MouseDown(XPoint(30, 15), XView::kButtonLeft));
    EXPECT_TRUE(matrix->Click(XPoint(129, 74)));
    ASSERT_EQ(source.reports.size(), 2u);
    EXPECT_EQ(source.reports[0].column, 0);
    EXPECT_EQ(source.reports[0].row, 0);
    EXPECT_FALSE(source.reports[0].isClick);
    EXPECT_EQ(source.reports[0].clickedPos, XPoint(50 + 10 + 30, 40 + 10 + 15)) << "in window coordinates";
    EXPECT_EQ(source.reports[1].column, 3);
    EXPECT_EQ(source.reports[1].row, 2);
    EXPECT_TRUE(source.reports[1].isClick);

    // Headers and points beyond the last cell are no cells.
    for (const XPoint& point : {XPoint(29, 40), XPoint(60, 14), XPoint(130, 40), XPoint(60, 75)})
        matrix->MouseDown(point, XView::kButtonLeft);
    EXPECT_EQ(source.reports.size(), 2u);
    EXPECT_EQ(parent->presses, 5);
    matrix->SetSource(nullptr);
}

TEST_F(MatrixViewTest, TheGridHeadersTextsAndHighlightAreDrawn)
{
    XMatrixView* matrix = AddMatrix(root, XRect(0, 0, 10, 10),
                                    {{"numRows", 3},
                                     {"numCols", 4},
                                     {"rowHeight", 22},
                                     {"colWidth", 40},
                                     {"rowHeaderWidth", 36},
                                     {"colHeaderHeight", 20}});
    matrix->SetBackColor(XRGB(100, 100, 100));
    matrix->SetForeColor(XRGB(10, 10, 10));
    matrix->SetTextColor(XRGB(255, 255, 255));
    matrix->setVisible(true);

    // Without a source: headers in the back colour at 115 %, the grid and frame, no text.
    juce::Image picture = Render(*matrix);
    EXPECT_EQ(Pixel(picture, 100, 10), juce::Colour(115, 115, 115)) << "column header";
    EXPECT_EQ(Pixel(picture, 10, 50), juce::Colour(115, 115, 115)) << "row header";
    EXPECT_EQ(Pixel(picture, 0, 40), juce::Colour(10, 10, 10)) << "frame";
    EXPECT_EQ(Pixel(picture, 1, 40), juce::Colour(10, 10, 10)) << "inner frame";
    EXPECT_EQ(Pixel(picture, 76, 50), juce::Colour(10, 10, 10)) << "grid line x = 36 + 40";
    EXPECT_EQ(Pixel(picture, 100, 42), juce::Colour(10, 10, 10)) << "grid line y = 20 + 22";
    auto countWhite = [](const juce::Image& image, const XRect& rect)
    {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
            {
                const juce::Colour pixel = Pixel(image, x, y);
                count += pixel.getRed() > 200 && pixel.getGreen() > 200 && pixel.getBlue() > 200 ? 1 : 0;
            }
        return count;
    };
    EXPECT_EQ(countWhite(picture, matrix->GetBounds()), 0);

    GridSource source;
    source.ownColours = true;
    matrix->SetSource(&source);
    matrix->SetHighlight(true, 2, 1);
    picture = Render(*matrix);
    EXPECT_EQ(Pixel(picture, 100, 3), WidgetTest::Colour(kColumnHeader));
    EXPECT_EQ(Pixel(picture, 33, 50), WidgetTest::Colour(kRowHeader));
    EXPECT_GT(countWhite(picture, matrix->GetCellRect(2, 1)), 0) << "the cell's text";
    EXPECT_GT(countWhite(picture, matrix->GetCellRect(1, -1)), 0) << "the column title";
    EXPECT_GT(countWhite(picture, matrix->GetCellRect(-1, 2)), 0) << "the row title";
    const XRect highlighted = matrix->GetCellRect(2, 1);
    EXPECT_EQ(Pixel(picture, highlighted.left + 5, highlighted.top), juce::Colour(255, 255, 0));
    EXPECT_EQ(Pixel(picture, highlighted.left, highlighted.top + 5), juce::Colour(255, 255, 0));
    matrix->SetSource(nullptr);
}

/** A routing grid in the skin's colours: inputs down, outputs across, a mark where they meet. */
class RoutingSource final : public IMatrixSource
{
public:
    void GetCellText(XString& text, XMatrixView*, int32_t column, int32_t row) override
    {
        text = column % 2 == row ? "X" : "";
    }
    void GetColumnTitle(XString& text, XMatrixView*, int32_t column) override
    {
        text = ("Out " + std::to_string(column + 1)).c_str();
    }
    void GetRowTitle(XString& text, XMatrixView*, int32_t row) override
    {
        text = row == 0 ? "Input A" : "Input B";
    }
    bool GetColumnHeaderColour(XMatrixView*, XRGB& colour) override
    {
        colour = GetColorDictionary().GetColor("listHeaderBack");
        return true;
    }
    bool GetRowHeaderColour(XMatrixView*, XRGB&) override { return false; }
    void CellClicked(XMatrixView*, int32_t, int32_t, bool, XMessage&) override {}
};

TEST_F(MatrixViewTest, ADescriptionBuildsTheMatrixByItsTypeWordInTheSkin)
{
    if (!WidgetTest::UseBuiltSkinTables())
        GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
    const WidgetTest::WidgetTypeWords typeWords;

    const XString description("view:basic\n"
                              "name:Routing\n"
                              "framewh:0,0,400,90\n"
                              "backcolor:panelBack\n"
                              "\n"
                              "view:Matrix\n"
                              "name:Grid\n"
                              "framewh:10,10,20,20\n"
                              "numRows:2\n"
                              "numCols:6\n"
                              "rowHeight:24\n"
                              "colWidth:52\n"
                              "rowHeaderWidth:64\n"
                              "colHeaderHeight:20\n"
                              "backcolor:widgetBack\n"
                              "forecolor:gridLine\n"
                              "textcolor:widgetText\n"
                              "textjustify:center\n"
                              "font:small\n");
    auto panel = std::make_unique<XView>();
    WidgetTest::BuildDescription(*panel, "RoutingProbe.txt", description.CStr());
    auto* matrix = dynamic_cast<XMatrixView*>(panel->FindChild("Grid", false));
    ASSERT_NE(matrix, nullptr);
    EXPECT_EQ(matrix->GetFrame(), XRect(10, 10, 10 + 64 + 6 * 52, 10 + 20 + 2 * 24));
    EXPECT_EQ(matrix->GetColHeaderHeight(), 20);

    RoutingSource source;
    matrix->SetSource(&source);
    panel->Show();
    const juce::Image picture = GuiTestSupport::TakeScreenshot(*panel, "MatrixViewInSkin");
    EXPECT_EQ(Pixel(picture, 10 + 64 + 2, 10 + 4),
              WidgetTest::Colour(GetColorDictionary().GetColor("listHeaderBack")));
    matrix->SetSource(nullptr);
}
} // namespace
