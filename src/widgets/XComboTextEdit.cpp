#include "widgets/XComboTextEdit.h"

XComboTextEdit::XComboTextEdit() = default;

XComboTextEdit::XComboTextEdit(const XRect& frame) : XTextEditView(frame) {}

XComboTextEdit::~XComboTextEdit() = default;
