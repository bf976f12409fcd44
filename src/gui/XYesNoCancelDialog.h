#pragma once

#include "gui/XOKCancelDialog.h"

/** The Yes/No/Cancel question: "OKButton" is Yes (1), "NoButton" No (message 1502, result 3),
    "CancelButton" Cancel (2). C cancels, N answers No, O and Y answer Yes (either case). A button
    whose label does not fit grows to the left and pushes the buttons right of it along. */
class XYesNoCancelDialog : public XOKCancelDialog
{
public:
    static constexpr const char* kDefaultDescription = "Dialogs\\YesNoCancelDialog.txt";
    static constexpr const char* kNoButtonName = "NoButton";
    /** The room a label keeps inside its button. */
    static constexpr int32_t kLabelMargin = 8;

    XYesNoCancelDialog(const XString& title, const XString& text, XView* parent, const char* path,
                       const XString& yesLabel, const XString& noLabel, const XString& cancelLabel);

    void InitControls() override;
    void MessageReceived(XMessage& message) override;
    const char* GetClassNameText() const override { return "XYesNoCancelDialog"; }

    const XString& GetNoLabel() const { return noLabel; }

protected:
    bool HandleLetterKey(int32_t keyCode) override;

private:
    /** Widens the button to fit its label, moving it left; returns the growth (0 when it fits). */
    static int32_t GrowToLabel(XView* button);
    static void MoveLeft(XView* view, int32_t amount);
    void GrowButtons();

    XString noLabel;
};
