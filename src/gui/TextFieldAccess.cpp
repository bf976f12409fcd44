#include "gui/TextFieldAccess.h"

#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "gui/XView.h"

#include <utility>

namespace
{
/** The text field's "set text" message, with the string "text" and the bool "selectAll". */
constexpr uint32_t kSetTextMessage = FourCharCode("text");

TextFieldAccess::Reader& ReaderSlot()
{
    static TextFieldAccess::Reader reader;
    return reader;
}
} // namespace

void TextFieldAccess::SetReader(Reader reader)
{
    ReaderSlot() = std::move(reader);
}

void TextFieldAccess::SetText(XView* field, const XString& text, bool selectAll)
{
    if (field == nullptr)
        return;
    XMessage message(kSetTextMessage);
    message.AddString("text", text.CStr());
    message.AddBool("selectAll", selectAll);
    field->MessageReceived(message);
}

bool TextFieldAccess::GetText(XView* field, XString& out)
{
    return field != nullptr && ReaderSlot() && ReaderSlot()(field, out);
}
