#pragma once

#include "core/StringToStringMap.h"
#include "core/XMessage.h"
#include "core/XString.h"
#include "gui/DescriptionText.h"
#include "gui/DescriptionValues.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <vector>

class XView;

/** The window-description interpreter: builds the views that a description file of the skin names
    into an existing view. The text is preprocessed (includes, macros, comments, variables), cut
    into blocks at empty lines, and each block becomes one attribute message of typed items for a
    view created by type word (XView::CreateViewByName), which reads it (ReadAttributes) and is added
    to the current parent. The first view block describes the target view itself; the views after it
    become its children until "popparent". Blocks may also repeat themselves ("arraysize"), create
    free-standing parameters ("createparam") and build further files into a view ("addtoview").

    One builder serves one Build on the GUI thread. The views it creates belong to their parents;
    a created view still without a parent at the end of the build (a "popparent" too many) is
    deleted and logged, unless it is a window of its own (a view with a window style). A missing
    or empty file builds nothing. Damage in a file is logged with the file and line it is on (a
    comment left open, an unbalanced quote in a macro line, a value not of its keyword's kind, an
    "arraysize" above kMaxArraySize, which is left out) and the build goes on. */
class XViewBuilder final
{
public:
    /** Files built into each other by "addtoview" deeper than this are left out. */
    static constexpr int32_t kMaxBuildDepth = 16;
    /** The most repetitions a block may ask for; an "arraysize" above it is logged and left out. */
    static constexpr int32_t kMaxArraySize = 1024;

    /** A builder for one skin-relative description file; texts come from the skin resource
        manager. */
    explicit XViewBuilder(const XString& fileName);
    XViewBuilder(const XViewBuilder&) = delete;
    XViewBuilder& operator=(const XViewBuilder&) = delete;
    ~XViewBuilder();

    /** Builds the file into view, which is first added to parent when it has no parent and is not
        the parent itself. */
    void Build(XView* view, XView* parent);
    /** Build with the view as its own parent (XView::LoadDescription, dialogs, windows). */
    void BuildInto(XView* view) { Build(view, view); }

    /** Reads texts from reader instead of the skin resource manager (also for "addfile", "macro"
        and "addtoview"). */
    void SetTextReader(DescriptionText::TextReader reader) { textReader = std::move(reader); }

    /** Adds the name=value pairs of text to message (DescriptionValues::ParseArgs); nothing for a
        null message. */
    static void ParseArgs(const XString& text, XMessage* message);

private:
    /** The builder of a file that "addtoview" builds into a view of this one. */
    XViewBuilder(const XString& fileName, const DescriptionText::TextReader& reader, int32_t depth);

    /** A line of a block and its place in the text being built (an index into origins). */
    struct BlockLine
    {
        XString text;
        size_t place;
    };
    using Block = std::vector<BlockLine>;

    void Reset();
    void RunBlocks(const XString& text);
    /** Takes an arraysize, arrayBaseIndex, arraywidth or arrayheight value. */
    void TakeArraySetting(int32_t keywordId, const XString& value, size_t place);
    /** Runs a collected block once per repetition, then resets the per-block array settings. */
    void RunRepetitions(const Block& block);
    void RunBlock(const Block& block, int32_t index);
    /** Adds a typed value to values; a value not of its keyword's kind is logged. */
    void AddTypedValue(XMessage& values, const XString& keyword, int32_t keywordId, const XString& value,
                       const DescriptionIndex& at, size_t place);
    /** Logs a problem with the file and line of the text's line at place. */
    void LogAt(size_t place, const XString& problem) const;
    void FinishPendingView();
    /** The label of a repeated view whose name still holds a '%': "%i" the repetition number
        (1-based), "%s" the scratch string, '%' with any other character nothing. */
    XString RepetitionLabel(const XString& name) const;
    void CreateParam(const Block& block);
    void AddToView(const XString& fileName);
    /** Deletes the views created here that ended without a parent (windows excepted). */
    void DeleteOrphans();
    DescriptionIndex CurrentIndex() const;

    XString fileName;
    DescriptionText::TextReader textReader;
    int32_t depth = 0;

    /** The view that the first view block describes; cleared once used. */
    XView* rootView = nullptr;
    XView* currentParent = nullptr;
    XView* currentView = nullptr;
    /** Parents pushed by the root view and "pushparent", newest last. */
    std::vector<XView*> parentStack;
    /** Every view this builder created, to find those left without a parent. */
    std::vector<juce::Component::SafePointer<XView>> createdViews;

    XMessage attributes;
    XString pendingType;
    XString scratchString;
    XString paramScratchString;
    int32_t arrayIndex = 0;
    int32_t arraySize = 1;
    int32_t arrayWidth = 100;
    int32_t arrayHeight = 0;
    int32_t arrayBaseIndex = 0;
    StringToStringMap variables;
    StringToStringMap macroArguments;
    /** Where each line of the text being built comes from. */
    DescriptionText::LineOrigins origins;
};
