#pragma once

#include "core/XRGB.h"
#include "core/XString.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>
#include <vector>

class XView;

/** The properties that a view lists for the inspector (XView::ListProperties): each an item group
    and a field of it ("frame", "x") with the label the inspector shows. */
class XPropertyList final
{
public:
    struct Entry
    {
        XString group;
        XString field;
        XString label;
    };

    void Add(const char* group, const char* field, const char* label);
    const std::vector<Entry>& GetEntries() const { return entries; }

private:
    std::vector<Entry> entries;
};

/** The view inspector, a development aid: one process-wide window that lists the properties of a
    target view in text fields and marks the target in its window with a light frame. Views make
    themselves the target when pressed while the inspector is open (XView's mouse handling, through
    IViewServices::InspectorSelectView).

    It owns its window and the mark; the target is watched, not owned, and forgotten when deleted.
    GUI thread only. CloseViewInspector (GUI exit) deletes the window. */
class XViewExplorer final
{
public:
    /** Kinds of property value. */
    static constexpr int32_t kIntegerValue = 0;
    static constexpr int32_t kTextValue = 1;
    static constexpr int32_t kColourValue = 2;

    /** Where the fields go in the inspector's content. */
    static constexpr int kFieldX = 60;
    static constexpr int kFieldTop = 35;
    static constexpr int kFieldPitch = 30;
    static constexpr int kFieldWidth = 130;
    static constexpr int kFieldHeight = 15;
    static constexpr int kMarkThickness = 3;
    static constexpr XRGB kMarkColour{230, 230, 230};

    XViewExplorer();
    ~XViewExplorer();

    /** The process-wide inspector, made on first use. */
    static XViewExplorer& Get();
    /** Creates (first time) and shows the inspector window. */
    void Open();
    bool IsOpen() const;

    /** Makes the view the target (nothing for a view inside the inspector itself), rebuilds the
        fields from its ListProperties and moves the mark to it. */
    void InspectView(XView* view);
    /** Adds a field for a property at kFieldX, kFieldTop + kFieldPitch x (fields so far), filled
        with value. */
    void AddPropertyField(int32_t kind, const XString& name, const XString& value);

    XView* GetTarget() const;
    int CountFields() const { return static_cast<int>(fields.size()); }
    /** The text field of a property, null outside the list. */
    juce::TextEditor* GetField(int index) const;
    /** The mark's bounds in the target's top-level component; empty without a target. */
    juce::Rectangle<int> GetMarkBounds() const;
    juce::Component* GetWindow() const;

private:
    class Window;
    class Mark;

    void ClearFields();
    /** The text of a listed property of the target. */
    XString ValueOf(const XPropertyList::Entry& entry) const;

    std::unique_ptr<Window> window;
    std::unique_ptr<Mark> mark;
    juce::Component::SafePointer<XView> target;
    std::vector<std::unique_ptr<juce::Label>> labels;
    std::vector<std::unique_ptr<juce::TextEditor>> fields;
};

/** XViewExplorer::Get().InspectView(view). */
void InspectView(XView* view);
/** XViewExplorer::Get().AddPropertyField(kind, name, value). */
void AddPropertyField(int32_t kind, const XString& name, const XString& value);
/** Deletes the inspector window, if there is one (GUI exit). */
void CloseViewInspector();
