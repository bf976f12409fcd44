#pragma once

#include "core/XPoint.h"
#include "core/XRect.h"
#include "gui/XButton.h"

#include <cstdint>
#include <memory>

class CopyCmd;
class PasteCmd;
class SysOvvShared;
class XEQView;
class XMenu;
class XParam;
class XSlider;

/** One block of the system overview: a picture button ("block\panelbuttonbg.png", the picture's
    size at its position) for one processing block of one channel, whose children, a small live
    picture of the block's settings, are built by the subclass (BuildChildren) the first time the
    block is styled, that is when it is added to the window.

    A left press opens the block's editor window: after the button's own handling the block posts
    the window's message (71..79) to the application. Every block but the input meter carries a
    copy and a paste command for its block and channel, registered in the context "CopyPaste", and a
    context menu of the two that a right click pops up; the block owns commands and menu. Children
    that are not meant to be edited here have highlighting off, so that the mouse reaches the block.
    GUI thread only. */
class SysOvvBlockPanel : public XButton
{
public:
    static constexpr const char* kPicture = "block\\panelbuttonbg.png";
    static constexpr const char* kCommandContext = "CopyPaste";
    /** The message item that tells the input equaliser windows which input to show. */
    static constexpr const char* kChannelItem = "channel";

    /** The processing blocks, with what their copy and paste commands carry. */
    enum class Kind
    {
        Routing,
        Crossover,
        OutputEq,
        OutputDelay,
        Limiter,
        OutputChannel,
        InputPeq,
        InputGeq,
        InputDelay,
        InputMeter,
    };
    struct BlockInfo
    {
        const char* copyName; // formatted with the 0-based channel; null: no commands
        const char* pasteName;
        const char* copyLabel;
        const char* pasteLabel;
        const char* menuName;
        int32_t mask;     // flag bits of the block's parameters
        int32_t slot;     // clipboard slot
        bool input;       // an input's block (else an output's)
        int32_t openCode; // the message that opens the block's window
    };
    static const BlockInfo& Info(Kind kind);

    /** At position (top left) in the window, for channel (output 0..5 or input 0..1). Makes, and
        registers when there is a command manager, the copy and paste commands and the menu. */
    SysOvvBlockPanel(Kind kind, const XPoint& position, int32_t channel, SysOvvShared& shared);
    ~SysOvvBlockPanel() override;

    Kind GetKind() const { return kind; }
    int32_t GetChannel() const { return channel; }
    /** Null for the input meter. */
    XMenu* GetBlockMenu() const { return menu.get(); }
    CopyCmd* GetCopyCommand() const { return copyCommand.get(); }
    PasteCmd* GetPasteCommand() const { return pasteCommand.get(); }

    /** Posts the message that opens the block's editor window (73 and 74 with the input as
        "channel"; 76 selects the output in the output EQ window first). */
    void OpenBlockWindow();

    /** The button's style, then the children, once. */
    void ApplyStyle() override;
    /** The button's handling; then a left press opens the block's window. */
    bool MouseDown(const XPoint& point, int32_t button) override;

protected:
    virtual void BuildChildren() = 0;

    /** A parameter of this block's channel (input or output by the block's side); null when
        missing. */
    XParam* ChannelParam(int32_t id) const;
    /** A two-state picture (value 0: off image, 1: on image) at x, y, the picture's size, bound to
        param; added. */
    XButton* AddLed(int32_t x, int32_t y, XParam* param, const char* offImage, const char* onImage,
                    bool hilite = false);
    /** A transparent curve view of bandCount bands with line width 2 and highlighting off; not
        added. */
    static XEQView* MakeCurve(const XRect& frame, int32_t bandCount);
    /** A slider at x, y the size of its track picture, bound to param, with highlighting off;
        added. */
    XSlider* AddSlider(int32_t x, int32_t y, XParam* param, const char* track, const char* knob);
    /** A text of param's value in the "mini" font, centred, transparent; added. */
    void AddValueText(const XRect& frame, XParam* param, const XRGB& colour);

    static constexpr const char* kLedGreen = "block\\blockMeterLedGreen.png";
    static constexpr const char* kLedDim = "block\\blockMeterLedDim.png";

    SysOvvShared& shared;

private:
    const Kind kind;
    const int32_t channel;
    std::unique_ptr<CopyCmd> copyCommand;
    std::unique_ptr<PasteCmd> pasteCommand;
    std::unique_ptr<XMenu> menu;
    bool built = false;
};
