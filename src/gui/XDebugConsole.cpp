#include "gui/XDebugConsole.h"

#include "core/XStringConversion.h"

void XDebugConsole::AddLine(const XString& line)
{
    std::lock_guard<std::mutex> lock(consoleLock);
    queuedLines.push_back(line);
}

int XDebugConsole::CountQueuedLines() const
{
    std::lock_guard<std::mutex> lock(consoleLock);
    return static_cast<int>(queuedLines.size());
}

void XDebugConsole::SetEditor(juce::TextEditor* newEditor)
{
    editor = newEditor;
}

void XDebugConsole::Flush()
{
    std::lock_guard<std::mutex> lock(consoleLock);
    if (editor == nullptr)
        return;
    for (const XString& line : queuedLines)
        editor->insertTextAtCaret(ToJuceString(line) + "\n");
    queuedLines.clear();
}
