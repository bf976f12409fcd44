#pragma once

#include "core/XString.h"
#include "gui/XDialog.h"
#include "gui/XOKDialog.h"

#include <deque>
#include <string>
#include <vector>

/** Helpers of the dialog and document command tests. */
namespace DialogTest
{
/** Answers every dialog through XDialog's answer hook from a queue of results (0 lets the dialog
    run), and records what each dialog showed. Removes the hook when it goes. */
class DialogAnswerer final
{
public:
    struct Shown
    {
        std::string kind;
        std::string title;
        std::string text;
    };

    DialogAnswerer()
    {
        XDialog::SetAnswerHook(
            [this](XDialog& dialog)
            {
                Shown shown{dialog.GetClassNameText(), "", ""};
                if (auto* box = dynamic_cast<XOKDialog*>(&dialog))
                {
                    shown.title = box->GetDialogTitle().CStr();
                    shown.text = box->GetText().CStr();
                }
                dialogs.push_back(shown);
                if (answers.empty())
                    return XDialog::kCancel;
                const XDialogResult answer = answers.front();
                answers.pop_front();
                return answer;
            });
    }
    ~DialogAnswerer() { XDialog::SetAnswerHook({}); }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    std::deque<XDialogResult> answers;
    std::vector<Shown> dialogs;
};
} // namespace DialogTest
