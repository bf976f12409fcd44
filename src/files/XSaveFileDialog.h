#pragma once

#include "files/XFileDialog.h"

/** The save mode: "Save" title and action, a name field; asks before replacing a file. */
class XSaveFileDialog final : public XFileDialog
{
public:
    XSaveFileDialog(const XString& title, const XString& startFolder, bool showFilter,
                    XFileNameValidator* validator);

    void InitControls() override;
    void Action(const XString& path) override;
    const char* GetClassNameText() const override { return "XSaveFileDialog"; }

protected:
    void ActionMessage() override;
};
