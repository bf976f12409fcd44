#pragma once

#include "widgets/XTextEditView.h"

/** The editable text field of a combo box (XComboBox): a text edit view, a class of its own so that
    the box's field can be told apart from other text fields. GUI thread only. */
class XComboTextEdit : public XTextEditView
{
public:
    XComboTextEdit();
    explicit XComboTextEdit(const XRect& frame);
    ~XComboTextEdit() override;
};
