#pragma once

#include "core/BitArray.h"
#include "core/LongArray.h"
#include "core/XMessageCodes.h"
#include "core/XRGB.h"
#include "core/XString.h"
#include "gui/XView.h"

#include <cstdint>
#include <memory>

class JUCECanvas;

/** A character LCD (type word "lcdview"): rows x columns of printable characters drawn cell by cell
    into an off-screen canvas that the view copies to the screen. Each row may be cut into equal
    fields; with brightening on, writing into a field lights the whole field in the lit colour for
    the bright time. Single characters can be shown inverted. Text arrives by the calls below or by
    the messages 'lcsc', 'lcsr', 'lcss', 'cols', 'lccl', 'lcic' and 'texW'.

    The canvas exists once the style has been applied and is rebuilt on every size change; until
    then the view draws itself red. Out-of-range rows, columns and fields are ignored; characters
    outside 32..126 show as blanks. GUI thread only (messages through the view's handler, timers
    through its looper). */
class XLCDView : public XView
{
public:
    /** Messages of the view's handler. */
    static constexpr uint32_t kSetCharMessage = FourCharCode("lcsc");
    static constexpr uint32_t kSetRowMessage = FourCharCode("lcsr");
    static constexpr uint32_t kSetStringMessage = FourCharCode("lcss");
    static constexpr uint32_t kSetColumnsMessage = FourCharCode("cols");
    static constexpr uint32_t kClearMessage = FourCharCode("lccl");
    static constexpr uint32_t kInvertMessage = FourCharCode("lcic");
    static constexpr uint32_t kTextWidthMessage = FourCharCode("texW");
    /** The timer of field f is kLitTimerBase + f (the letters 'lit'). */
    static constexpr int32_t kLitTimerBase = 0x6C6974;

    static constexpr int32_t kDefaultLineSpacing = 5;
    static constexpr float kDefaultTextWidth = 15.0f;
    static constexpr int32_t kDefaultBrightTimeMs = 1000;
    /** The cell height when the canvas has no font. */
    static constexpr int32_t kHeightWithoutFont = 10;
    static constexpr char kBlank = ' ';

    XLCDView();
    ~XLCDView() override;

    // The LCD's operations ----------------------------------------------------------------------

    /** Stores and draws one character (a blank for one outside 32..126) into the canvas; with
        brighten, lights its field first. invalidate repaints the whole view. */
    virtual void DrawChar(char character, int32_t column, int32_t row, bool invalidate, bool brighten);
    /** The row's text from column 0; a shorter text clears the row first. */
    virtual void SetRowText(const XString& text, int32_t row);
    /** The text from the column on, cut at the row's end. */
    virtual void WriteText(const XString& text, int32_t row, int32_t column);
    /** Blanks every column of the row. */
    void ClearRow(int32_t row);
    /** Marks count characters from the column for inversion and redraws everything; row -1 clears
        every mark without drawing. Nothing when the run does not fit in the row. */
    void SetInverted(int32_t row, int32_t firstColumn, int32_t count, bool on);
    /** Fills the canvas with the back colour and draws every row again. */
    void Redraw();
    bool IsFieldLit(int32_t field) const;
    bool IsInverted(int32_t row, int32_t column) const;

    // Queries -------------------------------------------------------------------------------------

    int32_t GetRows() const { return static_cast<int32_t>(rows); }
    int32_t GetColumns() const { return static_cast<int32_t>(columns); }
    int32_t GetFields() const { return static_cast<int32_t>(fields); }
    /** The field of a character; -1 when the LCD has no fields (numFields 0, or more fields than
        columns). */
    int32_t FieldIndex(int32_t column, int32_t row) const;
    /** The screen contents, row after row. */
    const XString& GetText() const { return text; }
    float GetTextWidth() const { return textWidth; }
    bool IsAutomaticWidth() const { return automaticWidth; }
    const XRGB& GetLitColor() const { return litColor; }
    int32_t GetBrightTime() const { return brightTimeMs; }
    /** The rectangle DrawChar erases for a cell (canvas coordinates). */
    XRect GetCellRect(int32_t column, int32_t row) const;
    /** The off-screen canvas; null before the style has been applied. */
    JUCECanvas* GetCanvas() const { return canvas.get(); }

    // XView ---------------------------------------------------------------------------------------

    /** The style's adjustment, then the canvas is built. */
    void ApplyStyle() override;
    /** Rebuilds the canvas once there is one. */
    void SizeChanged(int32_t dw, int32_t dh) override;
    /** The view's keys, then "numRows", "numCols", "leftIndent", "topIndent", "lineSpacing",
        "textWidth" (switches the automatic width off), "numFields", "brighten", "brightTimeout"
        and "litColor" (a colour, or a colour name of the dictionary); negative counts are ignored. */
    void ReadAttributes(XMessage& block) override;
    /** The canvas copied 1:1, or opaque red without a canvas; nothing while hidden. */
    void Draw(XCanvas& screen) override;
    void FontChanged() override;
    /** Un-brightens the field of a lit timer, then the view's timer handling. */
    void HandleTimer(int32_t timerId) override;
    /** The LCD's messages (see the class comment); the others go to the view. */
    void MessageReceived(XMessage& message) override;

private:
    /** Cuts or pads the text to rows x columns, makes a new reset canvas of the view's size and
        redraws it. */
    void BuildCanvas();
    /** The canvas takes the view's font, colours, justification and opacity. */
    void SyncCanvas();
    void UpdateAutomaticWidth();
    void ClearAllRows();
    /** Every row cleared, the canvas drawn anew and the view repainted. */
    void ClearAndRedraw();
    int32_t CellHeight() const;
    void BrightenField(int32_t column, int32_t row);
    /** Draws every character of field f again (the field's own row and columns). */
    void DrawField(int32_t field, bool brighten);
    bool InRange(int32_t column, int32_t row) const;

    std::unique_ptr<JUCECanvas> canvas;
    uint32_t columns = 0;
    uint32_t rows = 0;
    uint32_t fields = 1;
    int32_t leftIndent = 0;
    int32_t topIndent = 0;
    int32_t lineSpacing = kDefaultLineSpacing;
    float textWidth = kDefaultTextWidth;
    bool automaticWidth = true;
    XString text;
    int32_t brightTimeMs = kDefaultBrightTimeMs;
    bool brighten = false;
    /** Per field: 1 while lit. */
    LongArray litFields;
    /** Per character position (row x columns + column). */
    BitArray inverted;
    XRGB litColor{0, 0, 0, 255};
};
