#pragma once

#include "files/XFileDialog.h"

/** The open mode: "Open" title and action. */
class XOpenFileDialog final : public XFileDialog
{
public:
    XOpenFileDialog(const XString& title, const XString& startFolder, bool showFilter,
                    XFileNameValidator* validator);

    void Action(const XString& path) override;
    const char* GetClassNameText() const override { return "XOpenFileDialog"; }

protected:
    void ActionMessage() override;
};
