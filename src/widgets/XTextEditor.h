#pragma once

#include "core/XHandler.h"
#include "core/XRect.h"
#include "core/XSignal.h"
#include "core/XString.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>

class XParam;

/** A thin wrapper of JUCE's own multi-line text editor for places that want JUCE's editing (output
    windows, the debug console): it takes the skin's edit colours, listens to its own editor, and as a
    handler may watch one parameter whose text it shows and writes.

    Return and a focus loss write the text to the bound parameter (when there is one) and emit
    textEntered; Escape shows the parameter's value again (without a parameter nothing happens). It is
    no framework view: its owner creates it and adds it as a JUCE child. The parameter is not owned and
    must outlive the binding (SetParam(nullptr) or the destructor unbinds). GUI thread only. */
class XTextEditor : public juce::TextEditor, public juce::TextEditor::Listener, public XHandler
{
public:
    XTextEditor();
    explicit XTextEditor(const XRect& frame);
    ~XTextEditor() override;

    /** Binds the parameter (null unbinds) and watches it; the handler joins the application's looper
        so that changes made on other threads reach it. */
    void SetParam(XParam* param);
    XParam* GetParam() const { return param; }

    /** Emitted with the editor's text on Return and on focus loss. */
    XSignal<const XString&>& TextEntered() { return textEntered; }

    void textEditorTextChanged(juce::TextEditor& editor) override;
    void textEditorReturnKeyPressed(juce::TextEditor& editor) override;
    void textEditorEscapeKeyPressed(juce::TextEditor& editor) override;
    void textEditorFocusLost(juce::TextEditor& editor) override;

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

private:
    void Initialise();
    /** Writes the text to the parameter, puts the caret at the start when asked, then emits
        textEntered. */
    void Enter(bool caretToStart);
    /** The text becomes the parameter's value text. */
    void ShowParamValue();

    XSignal<const XString&> textEntered;
    XParam* param = nullptr; // not owned
};
