#include "widgets/XLCDView.h"

#include "WidgetTestSupport.h"
#include "WidgetTypeWords.h"
#include "core/XMessage.h"
#include "gui/ManualTickClock.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace
{
using ViewTest::Application;

const XRGB kFore(250, 250, 250);
const XRGB kBack(0, 0, 90);
const XRGB kLit(255, 40, 40);

XMessage LcdBlock(int32_t rows, int32_t columns, int32_t fields, bool brighten)
{
    XMessage block;
    block.AddRect("frame", XRect(10, 10, 310, 60));
    block.AddInt32("numRows", rows);
    block.AddInt32("numCols", columns);
    if (fields >= 0)
        block.AddInt32("numFields", fields);
    block.AddBool("brighten", brighten);
    block.AddColor("forecolor", kFore);
    block.AddColor("backcolor", kBack);
    block.AddColor("litColor", kLit);
    return block;
}

/** Glyph edges are blended with the background: the test colours lie far enough apart for this. */
constexpr int kWideTolerance = 100;

bool Near(const juce::Colour& pixel, const XRGB& colour, int tolerance = kWideTolerance)
{
    return std::abs(pixel.getRed() - colour.r) < tolerance &&
           std::abs(pixel.getGreen() - colour.g) < tolerance &&
           std::abs(pixel.getBlue() - colour.b) < tolerance;
}

/** Whether any pixel of the cell in the LCD's canvas comes near the colour. */
bool CellShows(const XLCDView& lcd, int32_t column, int32_t row, const XRGB& colour,
               int tolerance = kWideTolerance)
{
    const juce::Image& image = lcd.GetCanvas()->GetImage();
    const XRect cell = lcd.GetCellRect(column, row);
    for (int y = cell.top; y < cell.bottom; ++y)
        for (int x = cell.left; x < cell.right - 1; ++x)
            if (Near(image.getPixelAt(x, y), colour, tolerance))
                return true;
    return false;
}

std::string RowText(const XLCDView& lcd, int32_t row)
{
    return lcd.GetText().Mid(row * lcd.GetColumns(), lcd.GetColumns()).CStr();
}

class LCDViewTest : public WidgetTest::WidgetTree
{
protected:
    XLCDView* AddLcd(const XMessage& keys)
    {
        auto* lcd = new XLCDView();
        XMessage block(keys);
        lcd->ReadAttributes(block);
        root.AddChild(lcd);
        return lcd;
    }

    ViewTest::ManualTickClock clock;
};

TEST_F(LCDViewTest, WritingIntoAFieldLightsTheWholeFieldForTheBrightTime)
{
    XLCDView* lcd = AddLcd(LcdBlock(2, 20, 2, true));
    ASSERT_NE(lcd->GetCanvas(), nullptr);
    EXPECT_EQ(lcd->GetBrightTime(), 1000);
    lcd->SetRowText("HMHMHMHMHMHMHMHMHMHM", 1);
    clock.Advance(XLCDView::kDefaultBrightTimeMs);
    for (int32_t field = 0; field < 4; ++field)
        ASSERT_FALSE(lcd->IsFieldLit(field)) << field;

    lcd->WriteText("M", 1, 12);
    EXPECT_EQ(RowText(*lcd, 1), "HMHMHMHMHMHMMMHMHMHM");
    EXPECT_TRUE(lcd->IsFieldLit(3)) << "row 1, columns 10..19";
    EXPECT_FALSE(lcd->IsFieldLit(2));
    for (int32_t column = 0; column < 20; ++column)
    {
        const bool lit = column >= 10;
        EXPECT_EQ(CellShows(*lcd, column, 1, kLit), lit) << column;
        EXPECT_EQ(CellShows(*lcd, column, 1, kFore), !lit) << column;
    }

    clock.Advance(XLCDView::kDefaultBrightTimeMs - 1);
    EXPECT_TRUE(lcd->IsFieldLit(3));
    clock.Advance(1);
    EXPECT_TRUE(ViewTest::PumpUntil([&] { return !lcd->IsFieldLit(3); }, 5000));
    for (int32_t column = 10; column < 20; ++column)
    {
        EXPECT_FALSE(CellShows(*lcd, column, 1, kLit)) << column;
        EXPECT_TRUE(CellShows(*lcd, column, 1, kFore)) << column;
    }
}

TEST_F(LCDViewTest, FieldsCoverTheirColumnsAndTheLastTakesWhatIsLeftOfTheRow)
{
    struct Case
    {
        int32_t fields; // -1: no "numFields"
        int32_t column;
        int32_t row;
        int32_t expected;
    };
    const Case cases[] = {
        {-1, 0, 1, 1}, {-1, 19, 1, 1}, // one field per row
        {2, 9, 0, 0},  {2, 10, 0, 1},  {2, 12, 1, 3},
        {3, 17, 0, 2}, {3, 19, 0, 2},  // 20 / 3: columns 18 and 19 stay in row 0's last field
        {0, 5, 0, -1}, {30, 5, 0, -1}, // no fields: nothing is brightened
    };
    for (const Case& c : cases)
    {
        XLCDView* lcd = AddLcd(LcdBlock(2, 20, c.fields, true));
        EXPECT_EQ(lcd->FieldIndex(c.column, c.row), c.expected) << c.fields << " fields, column " << c.column;
        clock.Advance(XLCDView::kDefaultBrightTimeMs);
        lcd->WriteText("#", c.row, c.column);
        EXPECT_EQ(CellShows(*lcd, c.column, c.row, kLit), c.expected >= 0) << c.fields << " fields";
        if (c.expected >= 0)
        {
            EXPECT_TRUE(lcd->IsFieldLit(c.expected));
            EXPECT_FALSE(lcd->IsFieldLit(c.expected + 1)) << "the next field stays dark";
        }
        root.RemoveChild(lcd);
        delete lcd;
    }
}

TEST_F(LCDViewTest, TheMessagesWriteClearInvertAndResizeTheScreen)
{
    XLCDView* lcd = AddLcd(LcdBlock(2, 20, 2, false));
    auto send = [&](uint32_t code, auto fill)
    {
        XMessage message(code);
        fill(message);
        lcd->MessageReceived(message);
    };
    auto setChar = [&](int32_t column, int8_t character)
    {
        send(XLCDView::kSetCharMessage,
             [&](XMessage& m)
             {
                 m.AddInt32("col", column);
                 m.AddInt32("row", 0);
                 m.AddData("lcd_char", XMessage::kTypeInt8, &character, 1, true);
             });
    };

    setChar(0, 'A');
    setChar(1, 0x7F);
    setChar(2, 0x0A);
    setChar(3, 'B');
    setChar(25, 'C'); // beyond the row: ignored
    EXPECT_EQ(RowText(*lcd, 0), "A  B                ");

    send(XLCDView::kSetRowMessage,
         [](XMessage& m)
         {
             m.AddInt32("row", 1);
             m.AddString("lcd_text", "hello");
         });
    EXPECT_EQ(RowText(*lcd, 1), "hello               ");

    // 18 + 5 > 20: two characters written, nothing marked.
    send(XLCDView::kSetStringMessage,
         [](XMessage& m)
         {
             m.AddInt32("col", 18);
             m.AddInt32("row", 0);
             m.AddString("lcd_text", "WXYZQ");
             m.AddBool("doInvert", true);
         });
    EXPECT_EQ(RowText(*lcd, 0), "A  B              WX");
    for (int32_t column = 0; column < 20; ++column)
        EXPECT_FALSE(lcd->IsInverted(0, column)) << column;

    send(XLCDView::kSetStringMessage,
         [](XMessage& m)
         {
             m.AddInt32("col", 5);
             m.AddInt32("row", 0);
             m.AddString("lcd_text", "INV");
             m.AddBool("doInvert", true);
         });
    EXPECT_EQ(RowText(*lcd, 0), "A  B INV          WX");
    for (int32_t column = 4; column < 9; ++column)
        EXPECT_EQ(lcd->IsInverted(0, column), column >= 5 && column <= 7) << column;
    // An inverted cell is erased in the view's fore colour and drawn in its back colour.
    const juce::Image& image = lcd->GetCanvas()->GetImage();
    const XRect inverted = lcd->GetCellRect(6, 0);
    EXPECT_TRUE(Near(image.getPixelAt(inverted.left, inverted.top), kFore));
    EXPECT_TRUE(CellShows(*lcd, 6, 0, kBack));
    const XRect plain = lcd->GetCellRect(9, 0);
    EXPECT_TRUE(Near(image.getPixelAt(plain.left, plain.top), kBack));

    // 'lcic' unmarks a run; a run past the row's end and row -1 are told apart.
    send(XLCDView::kInvertMessage,
         [](XMessage& m)
         {
             m.AddInt32("row", 0);
             m.AddInt32("startCol", 5);
             m.AddInt32("len", 1);
             m.AddBool("doInvert", false);
         });
    EXPECT_FALSE(lcd->IsInverted(0, 5));
    EXPECT_TRUE(lcd->IsInverted(0, 6));
    lcd->SetInverted(0, 15, 6, true);
    EXPECT_FALSE(lcd->IsInverted(0, 15)) << "15 + 6 > 20";
    lcd->SetInverted(-1, 0, 0, false);
    EXPECT_FALSE(lcd->IsInverted(0, 6)) << "row -1 clears every mark";

    send(XLCDView::kClearMessage, [](XMessage&) {});
    EXPECT_EQ(std::string(lcd->GetText().CStr()), std::string(40, ' '));

    // 'texW' keeps the automatic width: the redraw computes it from the canvas again.
    const float automatic = lcd->GetTextWidth();
    EXPECT_FLOAT_EQ(automatic, 300.0f / 20.0f);
    send(XLCDView::kTextWidthMessage, [](XMessage& m) { m.AddInt32("textWidth", 9); });
    EXPECT_FLOAT_EQ(lcd->GetTextWidth(), automatic);

    // 'cols': ten columns; the text keeps its length until the style is applied again.
    send(XLCDView::kSetColumnsMessage, [](XMessage& m) { m.AddInt32("numLCDCols", 10); });
    EXPECT_EQ(lcd->GetColumns(), 10);
    EXPECT_FLOAT_EQ(lcd->GetTextWidth(), 30.0f);
    EXPECT_EQ(lcd->GetText().Length(), 40);
    lcd->ApplyStyle();
    EXPECT_EQ(lcd->GetText().Length(), 20);
}

TEST_F(LCDViewTest, AGivenTextWidthPlacesTheCellsAndTheMessageChangesIt)
{
    XMessage keys = LcdBlock(2, 20, 1, false);
    keys.AddInt32("textWidth", 12);
    keys.AddInt32("leftIndent", 4);
    keys.AddInt32("topIndent", 3);
    keys.AddInt32("lineSpacing", 2);
    XLCDView* lcd = AddLcd(keys);
    EXPECT_FALSE(lcd->IsAutomaticWidth());
    const int32_t height = lcd->GetCanvas()->GetFont()->GetHeight();
    EXPECT_EQ(lcd->GetCellRect(3, 1), XRect(4 + 36, 3 + height + 2, 4 + 48 + 1, 3 + 2 * height + 2));

    XMessage message(XLCDView::kTextWidthMessage);
    message.AddInt32("textWidth", 7);
    lcd->MessageReceived(message);
    EXPECT_FLOAT_EQ(lcd->GetTextWidth(), 7.0f);
}

TEST_F(LCDViewTest, TheScreenShowsTheCanvasOrRedWithoutOne)
{
    XLCDView unstyled;
    XMessage block = LcdBlock(2, 20, 1, false);
    unstyled.ReadAttributes(block);
    unstyled.setVisible(true);
    EXPECT_EQ(unstyled.GetCanvas(), nullptr);
    EXPECT_EQ(WidgetTest::Pixel(WidgetTest::Render(unstyled), 5, 5), juce::Colour(255, 0, 0));

    XLCDView* lcd = AddLcd(LcdBlock(2, 20, 1, false));
    lcd->SetRowText("########", 0);
    const juce::Image screen = WidgetTest::Render(*lcd);
    const juce::Image& canvas = lcd->GetCanvas()->GetImage();
    for (int y = 0; y < lcd->GetHeight(); y += 3)
        for (int x = 0; x < lcd->GetWidth(); x += 3)
            ASSERT_EQ(screen.getPixelAt(x, y), canvas.getPixelAt(x, y)) << x << "," << y;

    // A new size builds a new canvas of that size and draws the text again.
    lcd->SetFrame(XRect(10, 10, 210, 60));
    EXPECT_EQ(lcd->GetCanvas()->GetWidth(), 200);
    EXPECT_EQ(RowText(*lcd, 0), "########            ");
    EXPECT_TRUE(CellShows(*lcd, 0, 0, kFore));
}

TEST_F(LCDViewTest, RandomMessagesFromTheUnitNeverLeaveTheScreenOrItsPrintableCharacters)
{
    XLCDView* lcd = AddLcd(LcdBlock(2, 20, 3, true));
    const uint32_t codes[] = {XLCDView::kSetCharMessage,   XLCDView::kSetRowMessage,
                              XLCDView::kSetStringMessage, XLCDView::kSetColumnsMessage,
                              XLCDView::kClearMessage,     XLCDView::kInvertMessage,
                              XLCDView::kTextWidthMessage};
    juce::Random random(640);
    auto number = [&] { return random.nextInt(juce::Range<int>(-3, 45)); };
    for (int round = 0; round < 3000; ++round)
    {
        XMessage message(codes[random.nextInt(7)]);
        message.AddInt32("col", number());
        message.AddInt32("row", number() % 4);
        message.AddInt32("startCol", number());
        message.AddInt32("len", number());
        message.AddInt32("numLCDCols", random.nextInt(27) - 2);
        message.AddInt32("textWidth", number());
        message.AddBool("doInvert", random.nextBool());
        const int8_t character = static_cast<int8_t>(random.nextInt(256) - 128);
        message.AddData("lcd_char", XMessage::kTypeInt8, &character, 1, true);
        std::string text(static_cast<size_t>(random.nextInt(30)), ' ');
        for (char& c : text)
            c = static_cast<char>(1 + random.nextInt(255));
        message.AddString("lcd_text", text.c_str());
        lcd->MessageReceived(message);
        if (round % 500 == 0)
        {
            lcd->ApplyStyle();
            clock.Advance(XLCDView::kDefaultBrightTimeMs);
        }
    }
    const std::string screen = lcd->GetText().CStr();
    for (char c : screen)
        ASSERT_TRUE(c >= 32 && c <= 126) << static_cast<int>(c);
}

TEST_F(LCDViewTest, ADescriptionBuildsTheLcdInTheSkinsDisplayColours)
{
    if (!WidgetTest::UseBuiltSkinTables())
        GTEST_SKIP() << "the build's skin is missing; build the target krx_skin";
    const WidgetTest::WidgetTypeWords typeWords;

    constexpr const char* kDescription = "view:basic\n"
                                         "name:Panel\n"
                                         "framewh:0,0,360,120\n"
                                         "\n"
                                         "addfile:Includes\\LCDColours.txt\n"
                                         "view:LcdView\n"
                                         "name:Display\n"
                                         "framewh:20,20,320,60\n"
                                         "numRows:2\n"
                                         "numCols:20\n"
                                         "numFields:2\n"
                                         "leftIndent:4\n"
                                         "topIndent:6\n"
                                         "brighten:true\n"
                                         "litColor:lcdLit\n"
                                         "backcolor:lcdBack\n"
                                         "forecolor:windowTextDim\n"
                                         "font:lcd\n";
    auto panel = std::make_unique<XView>();
    WidgetTest::BuildDescription(*panel, "LcdProbe.txt", kDescription);
    auto* lcd = dynamic_cast<XLCDView*>(panel->FindChild("Display", false));
    ASSERT_NE(lcd, nullptr);
    EXPECT_EQ(lcd->GetLitColor(), GetColorDictionary().GetColor("lcdLit"));
    EXPECT_EQ(lcd->GetBackColor(), GetColorDictionary().GetColor("lcdBack"));
    EXPECT_EQ(lcd->GetFont(), XFont::GetNamedFont("lcd", false));
    EXPECT_EQ(lcd->GetFields(), 2);

    lcd->SetRowText("  KRX-640  PRESET 12", 0);
    lcd->SetRowText(" Output 3    -4.5 dB", 1);
    lcd->SetInverted(0, 11, 6, true); // a full redraw, which lights every field
    clock.Advance(XLCDView::kDefaultBrightTimeMs);
    lcd->WriteText("-6.0", 1, 13);
    panel->setTopLeftPosition(100, 100);
    ASSERT_TRUE(WidgetTest::ShowOnScreen(*panel));
    GuiTestSupport::RunLoopFor(100);
    const juce::Image picture = GuiTestSupport::TakeScreenshot(*panel, "LCDViewInSkin");
    EXPECT_TRUE(picture.isValid());
    constexpr int kCloseTolerance = 25;
    EXPECT_TRUE(CellShows(*lcd, 14, 1, lcd->GetLitColor(), kCloseTolerance));
    EXPECT_FALSE(CellShows(*lcd, 5, 1, lcd->GetLitColor(), kCloseTolerance))
        << "the row's first field is not lit";
    panel->removeFromDesktop();
}
} // namespace
