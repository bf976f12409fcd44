#include "gui/XViewExplorer.h"

#include "core/XStringConversion.h"
#include "gui/XView.h"

namespace
{
constexpr int kWindowWidth = 220;
constexpr int kWindowHeight = 400;
constexpr int kLabelX = 4;
constexpr const char* kWindowTitle = "View Inspector";

XViewExplorer* instance = nullptr;

juce::Colour ToColour(const XRGB& colour)
{
    return juce::Colour(colour.r, colour.g, colour.b, colour.a);
}
} // namespace

void XPropertyList::Add(const char* group, const char* field, const char* label)
{
    entries.push_back({XString(group), XString(field), XString(label)});
}

/** The inspector's window; closing it hides it. */
class XViewExplorer::Window final : public juce::DocumentWindow
{
public:
    Window()
        : juce::DocumentWindow(kWindowTitle, juce::Colours::lightgrey, juce::DocumentWindow::closeButton,
                               true)
    {
        setUsingNativeTitleBar(true);
        content.setSize(kWindowWidth, kWindowHeight);
        setContentNonOwned(&content, true);
    }

    ~Window() override { clearContentComponent(); }

    void closeButtonPressed() override { setVisible(false); }

    juce::Component content;
};

/** The light frame drawn over the target in its window; it lets the mouse through. */
class XViewExplorer::Mark final : public juce::Component
{
public:
    Mark() { setInterceptsMouseClicks(false, false); }

    void paint(juce::Graphics& g) override
    {
        g.setColour(ToColour(kMarkColour));
        g.drawRect(getLocalBounds(), kMarkThickness);
    }
};

XViewExplorer::XViewExplorer() = default;

XViewExplorer::~XViewExplorer()
{
    ClearFields();
    mark.reset();
    window.reset();
}

XViewExplorer& XViewExplorer::Get()
{
    if (instance == nullptr)
        instance = new XViewExplorer();
    return *instance;
}

void XViewExplorer::Open()
{
    if (window == nullptr)
    {
        window = std::make_unique<Window>();
        window->centreWithSize(window->getWidth(), window->getHeight());
    }
    window->setVisible(true);
}

bool XViewExplorer::IsOpen() const
{
    return window != nullptr && window->isVisible();
}

juce::Component* XViewExplorer::GetWindow() const
{
    return window.get();
}

XView* XViewExplorer::GetTarget() const
{
    return target.getComponent();
}

juce::TextEditor* XViewExplorer::GetField(int index) const
{
    return index >= 0 && index < CountFields() ? fields[static_cast<size_t>(index)].get() : nullptr;
}

juce::Rectangle<int> XViewExplorer::GetMarkBounds() const
{
    return mark != nullptr && mark->getParentComponent() != nullptr ? mark->getBounds()
                                                                    : juce::Rectangle<int>();
}

void XViewExplorer::ClearFields()
{
    fields.clear();
    labels.clear();
}

void XViewExplorer::InspectView(XView* view)
{
    if (view == nullptr || (window != nullptr && window->isParentOf(view)))
        return;

    target = view;
    ClearFields();
    XPropertyList list;
    view->ListProperties(&list);
    for (const XPropertyList::Entry& entry : list.GetEntries())
        AddPropertyField(kIntegerValue, entry.label, ValueOf(entry));

    // Moving the mark repaints the window of the previous target and the new one.
    if (mark == nullptr)
        mark = std::make_unique<Mark>();
    juce::Component* topLevel = view->getTopLevelComponent();
    const juce::Rectangle<int> viewArea = topLevel->getLocalArea(view, view->getLocalBounds());
    if (mark->getParentComponent() != topLevel)
        topLevel->addAndMakeVisible(*mark);
    mark->setBounds(viewArea.expanded(kMarkThickness));
    mark->toFront(false);
}

void XViewExplorer::AddPropertyField(int32_t kind, const XString& name, const XString& value)
{
    const int row = CountFields();
    const int top = kFieldTop + kFieldPitch * row;
    auto label = std::make_unique<juce::Label>(juce::String(), ToJuceString(name));
    label->setBounds(kLabelX, top, kFieldX - kLabelX, kFieldHeight);
    auto field = std::make_unique<juce::TextEditor>(ToJuceString(name));
    field->setBounds(kFieldX, top, kFieldWidth, kFieldHeight);
    field->setText(ToJuceString(value), false);
    field->setInputRestrictions(0, kind == kIntegerValue ? "-0123456789" : juce::String());
    if (window != nullptr)
    {
        window->content.addAndMakeVisible(*label);
        window->content.addAndMakeVisible(*field);
    }
    labels.push_back(std::move(label));
    fields.push_back(std::move(field));
}

XString XViewExplorer::ValueOf(const XPropertyList::Entry& entry) const
{
    const XView* view = target.getComponent();
    if (view == nullptr || entry.group != "frame")
        return XString();
    const XRect frame = view->GetFrame();
    if (entry.field == "x")
        return XString(frame.left);
    if (entry.field == "y")
        return XString(frame.top);
    if (entry.field == "w")
        return XString(frame.right - frame.left);
    if (entry.field == "h")
        return XString(frame.bottom - frame.top);
    return XString();
}

void InspectView(XView* view)
{
    XViewExplorer::Get().InspectView(view);
}

void AddPropertyField(int32_t kind, const XString& name, const XString& value)
{
    XViewExplorer::Get().AddPropertyField(kind, name, value);
}

void CloseViewInspector()
{
    delete instance;
    instance = nullptr;
}
