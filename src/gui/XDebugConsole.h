#pragma once

#include "core/XString.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <mutex>
#include <vector>

/** The debug console: lines that any thread queues and the GUI thread appends, now and then, to a
    text editor (FlushDebugConsole, called by the GUI pulse). Without an editor the lines wait.

    The editor is not owned and must outlive the console or be replaced first. AddLine and
    CountQueuedLines may be called from any thread; SetEditor and Flush on the GUI thread. */
class XDebugConsole final
{
public:
    /** Queues one line (without its line end). */
    void AddLine(const XString& line);
    int CountQueuedLines() const;

    void SetEditor(juce::TextEditor* editor);
    juce::TextEditor* GetEditor() const { return editor; }

    /** Under the console lock, when an editor is set: inserts each queued line and a line end at
        the editor's caret and empties the queue. */
    void Flush();

private:
    mutable std::mutex consoleLock;
    /** Guarded by consoleLock. */
    std::vector<XString> queuedLines;
    juce::TextEditor* editor = nullptr;
};
