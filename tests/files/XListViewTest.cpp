#include "files/XListView.h"

#include "FileViewSkin.h"

#include "core/XClassPropertyTable.h"
#include "core/XHandler.h"
#include "core/XKeyPress.h"
#include "core/XMessage.h"
#include "files/FileViewTypes.h"
#include "files/XListColumn.h"
#include "files/XListContainer.h"
#include "files/XListHeader.h"
#include "files/XListStringRow.h"
#include "gui/ViewFactory.h"
#include "gui/XScaler.h"
#include "gui/XStyle.h"
#include "gui/XTemplateDialog.h"
#include "gui/XViewBuilder.h"
#include "gui/XViewCursors.h"
#include "support/TestSupport.h"
#include "support/gui/SkinTestSupport.h"
#include "support/gui/ViewTestSupport.h"
#include "widgets/QM7Style.h"
#include "widgets/WidgetViewTypes.h"
#include "widgets/XTextEditView.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
using GuiTestSupport::RunLoopFor;
using GuiTestSupport::RunLoopUntil;
using M = juce::ModifierKeys;

constexpr int kWaitMs = 5000;
const XRect kListFrame(10, 10, 330, 200);

/** A handler of the application looper that keeps the messages it receives. */
class Recorder final : public XHandler
{
public:
    Recorder() : XHandler("listRecorder") { ViewTest::Application().AddHandler(this); }
    ~Recorder() override { ViewTest::Application().RemoveHandler(this); }
    void MessageReceived(XMessage& message) override { messages.push_back(message); }

    /** The (first, last) or (rowIndex, column) items of the messages of code. */
    std::vector<std::pair<int32_t, int32_t>> Pairs(uint32_t code) const
    {
        std::vector<std::pair<int32_t, int32_t>> pairs;
        const bool selection = code == XListView::kSelectionMessage;
        for (const XMessage& message : messages)
            if (message.GetWhat() == code)
                pairs.emplace_back(message.GetInt32(selection ? "nFirstRow" : "rowIndex"),
                                   message.GetInt32(selection ? "nLastRow" : "column"));
        return pairs;
    }
    size_t Count(uint32_t code) const
    {
        size_t count = 0;
        for (const XMessage& message : messages)
            count += message.GetWhat() == code ? 1 : 0;
        return count;
    }

    std::vector<XMessage> messages;
};

/** A list with rows of string cells, in a window on the screen, worked by mouse events through the
    window's peer and by key presses. */
class ListViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ViewTest::Application();
        XStyle::SetCurrentStyle(&style);
        window.SetFrameXYWH(0, 0, 340, 240);
        window.setTopLeftPosition(120, 120);
    }

    void TearDown() override
    {
        window.removeFromDesktop();
        XStyle::SetCurrentStyle(nullptr);
    }

    /** A list with the description keys of block, aimed at the recorder. */
    XListView* AddList(XMessage block)
    {
        block.AddRect("frame", kListFrame);
        auto* list = new XListView();
        list->ReadAttributes(block);
        window.AddChild(list);
        list->SetTarget(&recorder, nullptr);
        return list;
    }

    /** Name, Size and Kind columns and rows of (name, size, kind). */
    XListView* AddFilledList(const std::vector<std::vector<const char*>>& cells, XMessage block = XMessage())
    {
        for (const char* column : {"Name,100,left", "Size,80,right", "Kind,100,center"})
            block.AddString("insertcolumn", column);
        XListView* list = AddList(block);
        for (const auto& texts : cells)
        {
            auto row = std::make_unique<XListStringRow>(static_cast<int32_t>(rows.size()));
            for (const char* text : texts)
                row->AddCell(text, 0);
            list->AddRow(row.get(), true);
            rows.push_back(std::move(row));
        }
        return list;
    }

    static std::vector<std::vector<const char*>> Names(std::initializer_list<const char*> names)
    {
        std::vector<std::vector<const char*>> cells;
        for (const char* name : names)
            cells.push_back({name, "1", "file"});
        return cells;
    }

    bool Show()
    {
        window.addToDesktop(juce::ComponentPeer::windowIsTemporary);
        window.Show();
        window.Attach();
        window.toFront(true);
        const bool shown =
            RunLoopUntil([&] { return window.getPeer() != nullptr && window.isShowing(); }, kWaitMs);
        RunLoopFor(30);
        return shown;
    }

    /** A point of the list in window coordinates. */
    static juce::Point<int> InList(const XListView& list, int x, int y)
    {
        return {list.GetFrame().left + x, list.GetFrame().top + y};
    }

    /** The middle of a row (unscrolled), at x in the list. */
    static juce::Point<int> RowPoint(const XListView& list, int32_t row, int x = 30)
    {
        const int32_t pitch = list.GetContainer()->GetPitch();
        return InList(list, x, list.GetHeaderHeightInUse() + row * pitch + pitch / 2);
    }

    /** A click; held names a modifier ("shift", "control") held down through its on-screen
        parameter, as the synthetic events carry no keyboard state. */
    void Click(juce::Point<int> point, const char* held = nullptr)
    {
        std::unique_ptr<FloatParam> key;
        if (held != nullptr)
        {
            key = ViewTest::MakeParam(0, 1, held);
            key->SetPath("dca\\%s", held);
            key->SetValue(1, false);
        }
        mouse.Send(point, M(M::leftButtonModifier));
        mouse.Send(point, {});
        mouse.Wait(1000); // the next press is no double click
    }

    void DoubleClick(juce::Point<int> point)
    {
        for (int press = 0; press < 2; ++press)
        {
            mouse.Send(point, M(M::leftButtonModifier));
            mouse.Send(point, {});
        }
        mouse.Wait(1000);
    }

    void Drag(juce::Point<int> from, juce::Point<int> to)
    {
        const M left(M::leftButtonModifier);
        mouse.Send(from, left);
        const int steps = 6;
        for (int step = 1; step <= steps; ++step)
            mouse.Send(from + (to - from) * step / steps, left);
        mouse.Send(to, {});
        mouse.Wait(1000);
    }

    /** A key press through the window's peer, to the view with the keyboard focus. */
    void Key(int keyCode, M held = {})
    {
        window.getPeer()->handleKeyPress(juce::KeyPress(keyCode, held, 0));
        ViewTest::Pump();
    }

    std::vector<std::string> Texts(const XListView& list, int32_t column = 0) const
    {
        std::vector<std::string> texts;
        for (int32_t index = 0; index < list.GetRowCount(); ++index)
        {
            XString text;
            list.GetRowAt(index)->GetCellText(column, text);
            texts.push_back(text.CStr());
        }
        return texts;
    }

    static std::vector<int32_t> Selected(const XListView& list)
    {
        std::vector<int32_t> selected;
        for (int32_t index = 0; index < list.GetRowCount(); ++index)
            if (list.IsRowSelected(index))
                selected.push_back(index);
        return selected;
    }

    void Settle()
    {
        ViewTest::Pump();
        recorder.messages.clear();
    }

    XStyle style;
    XView window;
    Recorder recorder;
    GuiTestSupport::PeerMouse mouse{window};
    std::vector<std::unique_ptr<XListRow>> rows; // made by the test, outliving the list's use
};

using Pairs = std::vector<std::pair<int32_t, int32_t>>;
} // namespace

TEST_F(ListViewTest, TheListStartsWithItsDefaultsAndPartsInPlace)
{
    XListView* list = AddFilledList(Names({"a"}));
    ASSERT_TRUE(Show());
    XListHeader* header = list->GetHeader();
    XListContainer* container = list->GetContainer();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GetParentView(), list);
    EXPECT_EQ(container->GetParentView(), header);
    EXPECT_STREQ(header->GetLabel().CStr(), "header_view");
    EXPECT_STREQ(container->GetLabel().CStr(), "scrolling container");
    EXPECT_EQ(list->GetHeaderHeight(), 20);
    EXPECT_EQ(list->GetScrollBarWidth(), 20);
    EXPECT_EQ(container->GetRowSpacing(), 3);
    EXPECT_EQ(container->GetFlags(), 5u);
    EXPECT_EQ(header->GetBackColor(), XRGB(222, 223, 216, 255));
    EXPECT_EQ(header->GetForeColor(), XRGB(0, 0, 0, 255));
    EXPECT_EQ(header->GetResizeMask(), 5u);
    EXPECT_EQ(header->GetFrame(), XRect(0, 0, kListFrame.Width(), kListFrame.Height()));
    EXPECT_EQ(container->GetFrame().top, 20) << "the rows start under the header line";
    EXPECT_GE(container->GetRowHeight(), list->GetFont()->GetHeight());
    EXPECT_EQ(list->GetVerticalScrollBar(), nullptr) << "made only when the rows do not fit";
    EXPECT_TRUE(container->IsSortable());
    EXPECT_EQ(list->GetSelectedIndex(), -1);

    XString name;
    list->GetClassName(name);
    EXPECT_STREQ(name.CStr(), "XListView");
    EXPECT_STREQ(list->GetPropertyTable()->GetClassName().CStr(), "XListView");
    XMessenger messenger;
    XListView plain;
    plain.GetMessenger(messenger);
    EXPECT_EQ(messenger.GetPort(), XMessenger(GetApplication()).GetPort()) << "aimed at the application";
}

TEST_F(ListViewTest, DescriptionKeysMakeColumnsRowsAndTheHeaderLine)
{
    XMessage block;
    block.AddString("insertcolumn", "Name,120,CENTER");
    block.AddString("insertcolumn", "Size,60,Right,sizeKey");
    block.AddString("insertcolumn", "Kind,,");
    block.AddString("addrow", "a,,c");
    block.AddString("addrow", "b,2,x");
    block.AddString("style", "noheader");
    block.AddString("style", "NoSort,drawdividers");
    block.AddInt32("rowHeight", 17);
    block.AddInt32("sortColumn", 1);
    block.AddString("headerfont", "Sans,notanumber,1,0,0");
    XListView* list = AddList(block);
    ASSERT_TRUE(Show());
    XListContainer* container = list->GetContainer();

    struct ColumnCase
    {
        const char* title;
        int32_t width;
        uint8_t justification;
    };
    const ColumnCase columns[] = {{"Name", 120, XView::kJustifyCentred},
                                  {"Size", 60, XView::kJustifyRight},
                                  {"Kind", 0, XView::kJustifyLeft}};
    ASSERT_EQ(container->GetColumnCount(), 3);
    for (int32_t index = 0; index < 3; ++index)
    {
        const XListColumn* column = container->GetColumnAt(index);
        EXPECT_STREQ(column->GetLabel().CStr(), columns[index].title);
        EXPECT_EQ(column->GetWidth(), columns[index].width) << columns[index].title;
        EXPECT_EQ(column->GetJustification(), columns[index].justification) << columns[index].title;
        EXPECT_EQ(column->GetIdentifier(), index);
    }
    ASSERT_EQ(list->GetRowCount(), 2);
    EXPECT_EQ(static_cast<XListStringRow*>(list->GetRowAt(0))->GetCellCount(), 1) << "a,,c stops at the gap";
    EXPECT_EQ(list->GetRowAt(0)->GetIdentifier(), -1);
    EXPECT_EQ(container->GetRowHeight(), 17);
    EXPECT_EQ(container->GetSortColumn(), 1);
    EXPECT_FALSE(container->IsSortable());
    EXPECT_TRUE(container->GetDrawDividers());
    EXPECT_EQ(list->GetHeaderHeightInUse(), 0);
    EXPECT_EQ(container->GetFrame().top, 0) << "noheader: rows at the top";
    EXPECT_EQ(list->GetRowRect(list->GetRowAt(1)), XRect(0, 20, 180, 37));
    ASSERT_NE(list->GetHeader()->GetFont(), nullptr);

    // Header presses are ignored without a header line; a click at y 0 hits the first row.
    Click(InList(*list, 20, 5));
    EXPECT_EQ(Selected(*list), std::vector<int32_t>{0});
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"a", "b"}));
}

TEST_F(ListViewTest, ClicksSelectAndTellTheTargetAndClicksBelowTheRowsDeselectQuietly)
{
    XListView* list = AddFilledList(Names({"a", "b", "c", "d", "e"}));
    std::vector<std::pair<XListRow*, int32_t>> activated;
    std::vector<XListRow*> pressed;
    list->GetRowActivatedSignal().Connect([&](XListRow* row, int32_t column)
                                          { activated.emplace_back(row, column); });
    list->GetRowPressedSignal().Connect([&](XListRow* row) { pressed.push_back(row); });
    ASSERT_TRUE(Show());
    Settle();

    Click(RowPoint(*list, 1));
    EXPECT_EQ(Selected(*list), std::vector<int32_t>{1});
    EXPECT_TRUE(
        ViewTest::PumpUntil([&] { return recorder.Count(XListView::kSelectionMessage) > 0; }, kWaitMs));
    ViewTest::Pump();
    EXPECT_EQ(recorder.Pairs(XListView::kSelectionMessage).back(), std::make_pair(1, 1));

    // Shift extends from the first of the range, Ctrl adds and removes single rows.
    Click(RowPoint(*list, 3), "shift");
    EXPECT_EQ(Selected(*list), (std::vector<int32_t>{1, 2, 3}));
    Click(RowPoint(*list, 0), "control");
    EXPECT_EQ(Selected(*list), (std::vector<int32_t>{0, 1, 2, 3}));
    std::vector<XListRow*> selectedRows;
    EXPECT_EQ(list->GetSelectedRows(&selectedRows), 0);
    EXPECT_EQ(selectedRows,
              (std::vector<XListRow*>{rows[0].get(), rows[1].get(), rows[2].get(), rows[3].get()}));
    EXPECT_EQ(list->GetSelectedRows(nullptr), static_cast<int32_t>(0x80000002));
    Click(RowPoint(*list, 2), "control");
    EXPECT_EQ(Selected(*list), (std::vector<int32_t>{0, 1, 3}));
    Click(RowPoint(*list, 4));
    EXPECT_EQ(Selected(*list), std::vector<int32_t>{4}) << "a plain click selects the row alone";

    Settle();
    Click(RowPoint(*list, 7)); // below the last row
    ViewTest::Pump();
    EXPECT_TRUE(Selected(*list).empty());
    EXPECT_EQ(list->GetContainer()->GetFirstSelected(), -1);
    EXPECT_EQ(list->GetContainer()->GetLastSelected(), -1);
    EXPECT_EQ(recorder.Count(XListView::kSelectionMessage), 0u) << "no selection message";
    EXPECT_EQ(pressed.back(), nullptr);

    Settle();
    DoubleClick(RowPoint(*list, 2, 150)); // in the second column
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return recorder.Count(XListView::kRowDoubleClickedMessage) > 0; },
                                    kWaitMs));
    EXPECT_EQ(recorder.Pairs(XListView::kRowDoubleClickedMessage), (Pairs{{2, 1}}));
    ASSERT_EQ(activated.size(), 1u);
    EXPECT_EQ(activated[0], std::make_pair(list->GetRowAt(2), 1));
    EXPECT_EQ(Selected(*list), std::vector<int32_t>{2});
    EXPECT_EQ(pressed.back(), list->GetRowAt(2));
}

TEST_F(ListViewTest, SingleSelectionTogglesTheClickedRowAndSeparatorsAreNeverSelected)
{
    /** A row that is a separator line. */
    class SeparatorRow final : public XListStringRow
    {
    public:
        SeparatorRow() : XListStringRow(99) { AddCell("zz", 0); }
        bool IsSeparator() const override { return true; }
    };
    XListView* list = AddFilledList(Names({"a", "b"}));
    SeparatorRow separator;
    list->AddRow(&separator, true);
    list->GetContainer()->SetFlags(4);
    ASSERT_TRUE(Show());

    Click(RowPoint(*list, 0));
    EXPECT_EQ(Selected(*list), std::vector<int32_t>{0});
    Click(RowPoint(*list, 1));
    EXPECT_EQ(Selected(*list), std::vector<int32_t>{1});
    Click(RowPoint(*list, 1));
    EXPECT_TRUE(Selected(*list).empty()) << "a second click deselects";

    Click(RowPoint(*list, 2));
    EXPECT_TRUE(Selected(*list).empty()) << "separator by click";
    list->SelectRange(0, 2, true);
    EXPECT_EQ(Selected(*list), (std::vector<int32_t>{0, 1})) << "separator in a range";
    list->SelectRow(1, true);
    Key(juce::KeyPress::downKey);
    EXPECT_FALSE(list->IsRowSelected(2)) << "separator by key";
}

TEST_F(ListViewTest, KeysMoveExtendRemoveAndSendThePendingMessage)
{
    XListView* list = AddFilledList(Names({"a", "b", "c", "d"}));
    ASSERT_TRUE(Show());

    Click(RowPoint(*list, 1));
    struct Case
    {
        int key;
        M held;
        std::vector<int32_t> selected;
    };
    const Case cases[] = {
        {juce::KeyPress::downKey, M(M::shiftModifier), {1, 2}},
        {juce::KeyPress::downKey, M(M::shiftModifier), {1, 2, 3}},
        {juce::KeyPress::downKey, M(M::shiftModifier), {1, 2, 3}}, // the last row stays
        {juce::KeyPress::upKey, {}, {2}},                          // without Shift the anchor follows
        {juce::KeyPress::upKey, {}, {1}},
        {juce::KeyPress::upKey, {}, {0}},
        {juce::KeyPress::upKey, {}, {0}}, // row 0 stays
        {juce::KeyPress::pageDownKey, {}, {3}},
    };
    for (const Case& c : cases)
    {
        Key(c.key, c.held);
        EXPECT_EQ(Selected(*list), c.selected)
            << "key " << c.key << " cursor " << list->GetContainer()->GetCursorRow();
    }

    // Return sends the pending message and leaves the key unhandled (it reaches the hot keys).
    auto pending = std::make_unique<XMessage>(FourCharCode("pend"));
    list->SetPendingMessage(std::move(pending));
    Settle();
    ViewTest::Application().hotKeys.clear();
    Key(juce::KeyPress::returnKey);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return recorder.Count(FourCharCode("pend")) == 1; }, kWaitMs));
    ViewTest::Pump();
    EXPECT_EQ(recorder.Count(FourCharCode("pend")), 1u) << "once, though the key passes up the views";
    EXPECT_EQ(ViewTest::Application().hotKeys.size(), 1u);

    // Delete takes the selected row out without deleting it; first and last stay as they were.
    XListRow* removed = list->GetRowAt(3);
    Key(juce::KeyPress::deleteKey);
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(removed, rows[3].get());
    EXPECT_EQ(list->GetContainer()->GetFirstSelected(), 3);

    // An empty list ignores the keys: they all reach the hot keys.
    list->RemoveAllRows();
    ViewTest::Application().hotKeys.clear();
    for (int key : {juce::KeyPress::downKey, juce::KeyPress::upKey, juce::KeyPress::deleteKey,
                    juce::KeyPress::returnKey})
        Key(key);
    EXPECT_EQ(ViewTest::Application().hotKeys.size(), 4u);
    EXPECT_EQ(list->GetRowCount(), 0);
}

TEST_F(ListViewTest, HeaderClicksSortAndReverseAndShiftSortsDescending)
{
    XListView* list = AddFilledList({{"b", "2", "x"}, {"A", "3", "y"}, {"c", "1", "z"}});
    ASSERT_TRUE(Show());
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"b", "A", "c"})) << "adding does not sort";
    list->Hide();
    list->Show();
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"A", "b", "c"})) << "sorted by column 0 when shown";

    auto headerCell = [&](int column) { return InList(*list, column * 100 + 40, 10); };
    struct Case
    {
        int column;
        const char* held;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {1, nullptr, {"c", "b", "A"}}, // another column: ascending by size
        {1, nullptr, {"A", "b", "c"}}, // again: reversed
        {0, nullptr, {"A", "b", "c"}}, // another column: ascending
        {0, nullptr, {"c", "b", "A"}}, // again: reversed
        {2, "shift", {"c", "A", "b"}}, // Shift: descending whatever the direction
    };
    for (const Case& c : cases)
    {
        Click(headerCell(c.column), c.held);
        EXPECT_EQ(Texts(*list), c.names) << "column " << c.column;
    }

    auto row = std::make_unique<XListStringRow>(7);
    row->AddCell("0", 0);
    list->AddRow(row.get(), true);
    EXPECT_EQ(Texts(*list).back(), "0") << "adding does not sort";
    list->RemoveAllRows();
    Click(headerCell(0));
    EXPECT_EQ(list->GetRowCount(), 0);
}

TEST_F(ListViewTest, HeaderEdgesResizeWithClampsAndDraggedCellsMoveTheirColumn)
{
    XListView* list = AddFilledList(Names({"a"}));
    ASSERT_TRUE(Show());
    XListContainer* container = list->GetContainer();
    XListHeader* header = list->GetHeader();
    auto widths = [&]
    {
        std::vector<int32_t> result;
        for (int32_t position = 0; position < container->GetColumnCount(); ++position)
            result.push_back(container->GetColumnAt(position)->GetWidth());
        return result;
    };
    EXPECT_EQ(header->GetCursorTool(XPoint(102, 5)), XViewCursors::kToolLeftRightResize);
    EXPECT_EQ(header->GetCursorTool(XPoint(50, 5)), XViewCursors::kToolNormal);

    struct Case
    {
        const char* what;
        int fromX;
        int toX;
        std::vector<int32_t> widths;
    };
    const Case cases[] = {
        {"just right of the edge: the left column", 102, 122, {120, 80, 100}},
        {"just left of the edge", 118, 108, {110, 80, 100}},
        {"narrower than 3 becomes 3", 108, -60, {3, 80, 100}},
        {"past the right end stops 3 short", 183, 400, {3, 80, 234}},
    };
    for (const Case& c : cases)
    {
        Drag(InList(*list, c.fromX, 10), InList(*list, c.toX, 10));
        EXPECT_EQ(widths(), c.widths) << c.what;
    }
    EXPECT_EQ(header->GetResizingColumn(), -1);

    // Dropping a header cell beyond either end moves its column there.
    container->SetColumnWidth(0, 100);
    container->SetColumnWidth(2, 60);
    list->UpdateLayout();
    auto titles = [&]
    {
        std::string text;
        for (int32_t position = 0; position < container->GetColumnCount(); ++position)
            text += container->GetColumnAt(position)->GetLabel().CStr() + std::string(" ");
        return text;
    };
    Drag(InList(*list, 30, 10), InList(*list, 310, 10));
    EXPECT_EQ(titles(), "Size Kind Name ");
    Drag(InList(*list, 100, 10), InList(*list, -20, 10));
    EXPECT_EQ(titles(), "Kind Size Name ");
    EXPECT_EQ(container->GetColumnAt(0)->GetFrame().left, 0);
    EXPECT_EQ(container->GetTotalColumnWidth(), 240);
}

TEST_F(ListViewTest, TheHeaderScrollsTheRowsAcrossTenPixelsAStep)
{
    XListView* list = AddFilledList(Names({"a"}));
    ASSERT_TRUE(Show());
    XListHeader* header = list->GetHeader();
    XListContainer* container = list->GetContainer();
    list->SetColumnWidth(2, 260); // 100 + 80 + 260 = 440 across a header 320 wide
    EXPECT_EQ(header->GetContentLength(true), 440.0);
    EXPECT_EQ(header->GetMaxScrollOffset(), 120);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char* what;
        std::function<void()> act;
        int32_t offset;
    };
    const Case cases[] = {
        {"a step towards the end", [&] { header->Step(IScalerTarget::kStepTowardsEnd, true); }, 10},
        {"start past the end", [&] { header->SetRangeStart(500.0, true); }, 120},
        {"a step at the end", [&] { header->Step(IScalerTarget::kStepTowardsEnd, true); }, 120},
        {"negative start", [&] { header->SetRangeStart(-30.0, true); }, 0},
        {"NaN start", [&] { header->SetRangeStart(nan, true); }, 0},
        {"range", [&] { header->SetRange(70.0, 90.0, true); }, 70},
        {"vertical requests change nothing", [&] { header->SetRangeStart(10.0, false); }, 70},
        {"a step back", [&] { header->Step(IScalerTarget::kStepTowardsStart, true); }, 60},
        {"narrower columns pull back", [&] { list->SetColumnWidth(2, 200); }, 60},
        {"narrower still", [&] { list->SetColumnWidth(2, 150); }, 10},
    };
    for (const Case& c : cases)
    {
        c.act();
        EXPECT_EQ(header->GetScrollOffset(), c.offset) << c.what;
        EXPECT_EQ(container->GetFrame().left, -c.offset) << "the rows move with the header: " << c.what;
    }
    EXPECT_EQ(header->GetRangeStart(false), 0.0);
    EXPECT_EQ(header->GetContentLength(false), 0.0);
}

TEST_F(ListViewTest, RowsThatDoNotFitShowTheScrollBarAndTheWheelAndKeysScrollByRows)
{
    std::vector<const char*> names = {"r00", "r01", "r02", "r03", "r04", "r05", "r06", "r07", "r08", "r09",
                                      "r10", "r11", "r12", "r13", "r14", "r15", "r16", "r17", "r18", "r19",
                                      "r20", "r21", "r22", "r23", "r24", "r25", "r26", "r27", "r28", "r29"};
    std::vector<std::vector<const char*>> cells;
    for (const char* name : names)
        cells.push_back({name, "1", "f"});
    XListView* list = AddFilledList(cells);
    ASSERT_TRUE(Show());
    XListContainer* container = list->GetContainer();
    const int32_t pitch = container->GetPitch();
    XScaler* bar = list->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetFrame(), XRect(kListFrame.Width() - 20, 0, kListFrame.Width(), kListFrame.Height()));
    EXPECT_EQ(list->GetHeader()->GetWidth(), kListFrame.Width() - 20);

    const juce::Point<int> inRows = window.localPointToGlobal(RowPoint(*list, 2));
    auto wheel = [&](float deltaY)
    {
        juce::MouseWheelDetails details{0.0f, deltaY, false, false, false};
        window.getPeer()->handleMouseWheel(juce::MouseInputSource::InputSourceType::mouse,
                                           window.getLocalPoint(nullptr, inRows).toFloat(),
                                           juce::Time::currentTimeMillis(), details);
        ViewTest::Pump();
    };
    wheel(-1.0f);
    EXPECT_EQ(container->GetVerticalPosition(), pitch);
    wheel(-1.0f);
    wheel(1.0f);
    EXPECT_EQ(container->GetVerticalPosition(), pitch);
    wheel(1.0f);
    wheel(1.0f);
    EXPECT_EQ(container->GetVerticalPosition(), 0) << "not above the first row";

    Click(RowPoint(*list, 0));
    const int32_t areaHeight = container->GetHeight();
    for (int32_t row = 1; row < 30; ++row)
    {
        Key(juce::KeyPress::downKey);
        const int32_t top = row * pitch - container->GetVerticalPosition();
        EXPECT_GE(top, 0) << row;
        EXPECT_LE(top + pitch, areaHeight + 1) << "the cursor row stays in view: " << row;
    }
    // The last row ends one pixel above the area's end (the visible height counts one more).
    EXPECT_EQ(container->GetVerticalPosition(), container->GetContentHeight() - areaHeight - 1);

    list->RemoveAllRows();
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(container->GetVerticalPosition(), 0);
}

TEST_F(ListViewTest, TheFlagSignalFollowsTheRowAreasKeyboardFocus)
{
    XListView* list = AddFilledList(Names({"a", "b"}));
    auto* other = new XTextEditView(XRect(10, 205, 200, 230));
    window.AddChild(other);
    std::vector<bool> flags;
    list->GetFlagSignal().Connect([&](bool flag) { flags.push_back(flag); });
    ASSERT_TRUE(Show());

    Click(RowPoint(*list, 0));
    Click({50, 215});
    EXPECT_EQ(flags, (std::vector<bool>{true, false}));
}

namespace
{
/** A list that edits the cells of its second column in place. */
class EditingList final : public XListView
{
public:
    bool PrepareCellEdit(int32_t columnIndex, XListRow*) override
    {
        if (columnIndex != 1)
            return false;
        if (GetCellEditor() == nullptr)
            SetCellEditor(new XTextEditView());
        return false;
    }
};
} // namespace

TEST_F(ListViewTest, ADerivedListEditsACellInPlaceUntilTheEditCommits)
{
    auto* list = new EditingList();
    XMessage block;
    block.AddRect("frame", kListFrame);
    block.AddString("insertcolumn", "Name,100,left");
    block.AddString("insertcolumn", "Size,80,left");
    block.AddString("addrow", "a,12");
    block.AddString("addrow", "b,34");
    list->ReadAttributes(block);
    window.AddChild(list);
    ASSERT_TRUE(Show());

    list->EditCell(1, 0);
    EXPECT_EQ(list->GetCellEditor(), nullptr) << "column 0 is not edited";
    list->EditCell(1, 1);
    XTextEditView* editor = list->GetCellEditor();
    ASSERT_NE(editor, nullptr);
    const int32_t pitch = list->GetContainer()->GetPitch();
    EXPECT_EQ(editor->GetFrame(), XRect(100, 20 + pitch, 180, 20 + 2 * pitch));
    EXPECT_STREQ(editor->GetText().CStr(), "34");
    EXPECT_EQ(list->GetEditingColumn(), 1);
    EXPECT_TRUE(editor->IsVisible());

    editor->CommitText();
    EXPECT_TRUE(RunLoopUntil(
        [&]
        {
            ViewTest::Application().PumpMessages();
            return list->GetEditingColumn() == -1;
        },
        kWaitMs));
    EXPECT_FALSE(editor->IsVisible());
    EXPECT_TRUE(list->GetContainer()->HasKeyFocus()) << "the rows have the keys again";

    list->SetEditingBlocked(true);
    list->EditCell(0, 1);
    EXPECT_EQ(list->GetEditingColumn(), -1);
}

TEST_F(ListViewTest, TheBoundParameterIsLeftAtDestructionAndForgottenWhenItGoesFirst)
{
    auto param = ViewTest::MakeParam(0, 10);
    {
        XListView list;
        list.SetParam(param.get());
        EXPECT_EQ(param->GetWatcherCount(), 1);
    }
    EXPECT_EQ(param->GetWatcherCount(), 0);

    XListView list;
    list.SetParam(param.get());
    param.reset();
    ViewTest::Pump();
    EXPECT_EQ(list.GetParam(), nullptr);
}

/** The program's skin and style: a list built from a description of type "list", and the template
    dialog, pictured for a person to look at. */
class ListViewSkinTest : public ListViewTest
{
protected:
    void SetUp() override
    {
        ListViewTest::SetUp();
        if (!UseFileViewSkin(programStyle))
            GTEST_SKIP() << "build the target krx_skin";
    }

    QM7Style programStyle;
};

TEST_F(ListViewSkinTest, AListFromADescriptionIsPictured)
{
    const XString description(
        "view:basic\nframe:0,0,340,240\n\nview:list\nname:Files\nframe:10,10,330,150\nbackcolor:"
        "listBack\nfont:listText\n"
        "insertcolumn:Name,120,left\ninsertcolumn:Size,80,right\ninsertcolumn:Kind,100,center\n"
        "addrow:alpha,12,text\naddrow:beta,7,media\naddrow:Gamma,3,text\naddrow:delta,40,folder\n"
        "addrow:epsilon,1,text\naddrow:zeta,9,media\naddrow:eta,2,text\naddrow:theta,5,text\n"
        "addrow:iota,8,text\naddrow:kappa,6,media\n");
    XViewBuilder builder("ListTest.txt");
    builder.SetTextReader(
        [&](const XString& name, XString& text)
        {
            text = description;
            return true;
        });
    builder.BuildInto(&window);
    auto* list = dynamic_cast<XListView*>(window.FindChild(XString("Files"), true));
    ASSERT_NE(list, nullptr);
    list->SetTarget(&recorder, nullptr);
    ASSERT_TRUE(Show());
    Click(InList(*list, 60, 10)); // the sorted column again: descending
    Click(RowPoint(*list, 2));
    Click(RowPoint(*list, 3), "shift");
    ViewTest::Pump();
    ASSERT_NE(list->GetVerticalScrollBar(), nullptr);
    EXPECT_TRUE(list->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(Selected(*list), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(Texts(*list).front(), "zeta");
    GuiTestSupport::TakeScreenshot(window, "list_view");
}

TEST_F(ListViewSkinTest, TheTemplateDialogListsTheTemplatesInAList)
{
    TestSupport::TempFolder folder;
    for (const char* name : {"Stage.tmp", "Club.tmp", "Arena.tmp"})
        juce::File(folder.Child(name)).replaceWithText("x");
    XTemplateDialog dialog(XString(folder.Path().c_str()));
    std::vector<std::string> shown;
    GuiTestSupport::ModalDialogDriver driver(
        [&](juce::Component& modal)
        {
            auto* list = dynamic_cast<XListView*>(dialog.GetTemplateList());
            if (list == nullptr || !list->isShowing())
                return false;
            shown = Texts(*list);
            list->SelectRow(2, true);
            ViewTest::Pump();
            GuiTestSupport::TakeScreenshot(modal, "template_dialog");
            XMessage ok(XDialog::kOKMessage);
            dialog.MessageReceived(ok);
            return true;
        });
    EXPECT_EQ(dialog.RunModal(nullptr, 0), XDialog::kOK);
    EXPECT_EQ(shown, (std::vector<std::string>{"Empty", "Arena", "Club", "Stage"}));
    EXPECT_STREQ(dialog.GetSelectedPath().CStr(), (folder.Path() + "\\Club.tmp").c_str());
}
