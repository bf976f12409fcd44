#include "widgets/XTextEditor.h"

#include "core/XApplication.h"
#include "core/XLooper.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "core/XStringConversion.h"
#include "gui/XColorDictionary.h"

namespace
{
juce::Colour DictionaryColour(const char* name)
{
    const XRGB colour = GetColorDictionary().GetColor(name);
    return juce::Colour(colour.r, colour.g, colour.b, colour.a);
}
} // namespace

XTextEditor::XTextEditor() : juce::TextEditor(juce::String(), 0), XHandler("")
{
    Initialise();
}

XTextEditor::XTextEditor(const XRect& frame) : XTextEditor()
{
    setBounds(frame.left, frame.top, frame.Width(), frame.Height());
}

void XTextEditor::Initialise()
{
    setColour(juce::TextEditor::textColourId, DictionaryColour("editTextFore"));
    setColour(juce::TextEditor::backgroundColourId, DictionaryColour("editTextBack"));
    setColour(juce::TextEditor::highlightColourId, DictionaryColour("editTextHighlightBack"));
    setColour(juce::TextEditor::highlightedTextColourId, DictionaryColour("editTextHighlight"));
    addListener(this);
}

XTextEditor::~XTextEditor()
{
    removeListener(this);
    SetParam(nullptr);
    if (XLooper* looper = GetLooper())
        looper->RemoveHandler(this);
}

void XTextEditor::SetParam(XParam* newParam)
{
    if (newParam == param)
        return;
    if (param != nullptr)
        param->RemoveWatcher(this);
    param = newParam;
    if (param == nullptr)
        return;
    if (GetLooper() == nullptr)
    {
        if (XApplication* application = GetApplication())
            application->AddHandler(this);
    }
    param->AddWatcher(this, 0, true);
}

void XTextEditor::textEditorTextChanged(juce::TextEditor&) {}

void XTextEditor::textEditorReturnKeyPressed(juce::TextEditor&)
{
    Enter(false);
}

void XTextEditor::textEditorFocusLost(juce::TextEditor&)
{
    Enter(true);
}

void XTextEditor::textEditorEscapeKeyPressed(juce::TextEditor&)
{
    ShowParamValue();
}

void XTextEditor::Enter(bool caretToStart)
{
    if (param != nullptr)
        param->ChangeText(getText().toRawUTF8(), true);
    if (caretToStart)
        setCaretPosition(0);
    textEntered.Emit(ToXString(getText()));
}

void XTextEditor::ShowParamValue()
{
    if (param == nullptr)
        return;
    XApplication* application = GetApplication();
    const XString label =
        application != nullptr ? application->GetParamMenuLabel(param, param->GetValue()) : param->GetText();
    setText(ToJuceString(label), true);
}

void XTextEditor::ParamChanged(int32_t code, XParam* changed, int32_t key)
{
    if ((code == static_cast<int32_t>(XMsgCode::kParamValueSet) ||
         code == static_cast<int32_t>(XMsgCode::kParamChangedByUser)) &&
        changed != nullptr && changed == param)
    {
        ShowParamValue();
        return;
    }
    XHandler::ParamChanged(code, changed, key);
}
