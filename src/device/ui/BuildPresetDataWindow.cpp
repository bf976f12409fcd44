#include "device/ui/BuildPresetDataWindow.h"

#include "core/XStringConversion.h"

namespace
{
constexpr int kMargin = 12;
constexpr int kRowHeight = 24;
constexpr int kButtonWidth = 96;
constexpr int kBrowseWidth = 32;

const char* const kInstructions[] = {
    "1. Choose the source folder of factory preset files.",
    "2. Build the data (Load Data).",
    "3. Save it as the factory-preset .fps file of the firmware build.",
    "4. Run the batch file that turns the .fps file into source.",
};
} // namespace

/** The window's controls. */
class BuildPresetDataWindow::Content final : public juce::Component
{
public:
    Content(BuildPresetDataWindow& owner, const juce::LookAndFeel& look)
    {
        browseButton.onClick = [&owner] { owner.ChooseSourceFolder(); };
        loadButton.onClick = [&owner] { owner.LoadData(); };
        saveButton.onClick = [&owner] { owner.ChooseSaveFile(); };
        for (juce::Component* control :
             {static_cast<juce::Component*>(&browseButton), static_cast<juce::Component*>(&loadButton),
              static_cast<juce::Component*>(&saveButton), static_cast<juce::Component*>(&statusText),
              static_cast<juce::Component*>(&sourceFolderText),
              static_cast<juce::Component*>(&compareModeLabel)})
            addAndMakeVisible(control);
        for (const char* line : kInstructions)
            addAndMakeVisible(instructions.add(new juce::Label({}, line)));
        // The two texts the builder fills are framed as fields.
        const juce::Colour fieldOutline = look.findColour(juce::TextEditor::outlineColourId);
        sourceFolderText.setColour(juce::Label::outlineColourId, fieldOutline);
        statusText.setColour(juce::Label::outlineColourId, fieldOutline);
        setSize(kWidth, kHeight);
    }

    void resized() override
    {
        auto area = getLocalBounds().reduced(kMargin);
        for (juce::Label* line : instructions)
            line->setBounds(area.removeFromTop(kRowHeight));
        area.removeFromTop(kMargin);
        auto folderRow = area.removeFromTop(kRowHeight);
        browseButton.setBounds(folderRow.removeFromRight(kBrowseWidth));
        folderRow.removeFromRight(kMargin / 2);
        sourceFolderText.setBounds(folderRow);
        area.removeFromTop(kMargin);
        auto buttonRow = area.removeFromTop(kRowHeight);
        loadButton.setBounds(buttonRow.removeFromLeft(kButtonWidth));
        buttonRow.removeFromLeft(kMargin);
        saveButton.setBounds(buttonRow.removeFromLeft(kButtonWidth));
        compareModeLabel.setBounds(buttonRow.removeFromRight(kButtonWidth + kMargin));
        area.removeFromTop(kMargin);
        statusText.setBounds(area.removeFromTop(kRowHeight));
    }

    juce::TextButton browseButton{"..."};
    juce::TextButton loadButton{"Load Data"};
    juce::TextButton saveButton{"Save"};
    juce::Label statusText{{}, kInitialStatus};
    juce::Label sourceFolderText{{}, kInitialSourceFolder};
    juce::Label compareModeLabel{{}, "Compare Mode"};
    juce::OwnedArray<juce::Label> instructions;
};

BuildPresetDataWindow::BuildPresetDataWindow(XParamGroup* presetGroup, const XString& headerFolderPath)
    : juce::DocumentWindow(kTitle, juce::Colour(), juce::DocumentWindow::closeButton), builder(presetGroup),
      headerFolder(headerFolderPath.IsEmpty() ? FactoryPresetBuilder::DefaultHeaderFolder()
                                              : headerFolderPath)
{
    setLookAndFeel(&look);
    setBackgroundColour(look.findColour(juce::ResizableWindow::backgroundColourId));
    builder.SetStatusView(this);
    setUsingNativeTitleBar(false);
}

BuildPresetDataWindow::~BuildPresetDataWindow()
{
    masterReference.clear();
    chooser.reset();
    setLookAndFeel(nullptr); // the look goes before the window's components
}

void BuildPresetDataWindow::BuildContent()
{
    content = new Content(*this, look);
    setContentOwned(content, true);
    centreWithSize(getWidth(), getHeight());
}

void BuildPresetDataWindow::Show()
{
    if (content == nullptr)
        BuildContent();
    setVisible(true);
    toFront(true);
    content->statusText.setText(kInitialStatus, juce::dontSendNotification);
    content->sourceFolderText.setText(kInitialSourceFolder, juce::dontSendNotification);
}

void BuildPresetDataWindow::Hide()
{
    setVisible(false);
}

bool BuildPresetDataWindow::IsShown() const
{
    return isVisible();
}

void BuildPresetDataWindow::closeButtonPressed()
{
    Hide();
}

void BuildPresetDataWindow::ShowStatus(const XString& text)
{
    if (content == nullptr)
        return;
    content->statusText.setText(ToJuceString(text), juce::dontSendNotification);
    // Building runs on the message thread: paint the line now so that each step can be read.
    if (juce::ComponentPeer* peer = getPeer())
        peer->performAnyPendingRepaintsNow();
}

void BuildPresetDataWindow::SetSourceFolder(const XString& folder)
{
    if (content == nullptr)
        return;
    content->sourceFolderText.setText(ToJuceString(folder), juce::dontSendNotification);
}

XString BuildPresetDataWindow::GetStatusText() const
{
    return content != nullptr ? ToXString(content->statusText.getText()) : XString();
}

XString BuildPresetDataWindow::GetSourceFolderText() const
{
    return content != nullptr ? ToXString(content->sourceFolderText.getText()) : XString();
}

int32_t BuildPresetDataWindow::LoadData()
{
    const XString folder = GetSourceFolderText();
    juce::MouseCursor::showWaitCursor();
    const int32_t result = builder.LoadData(folder, headerFolder);
    juce::MouseCursor::hideWaitCursor();
    if (result != 0)
    {
        if (builder.GetImages().empty())
            ShowStatus(XString().Format("cannot list folder: %s", folder.CStr()));
        else
            ShowStatus(XString().Format("channel names not written to: %s", headerFolder.CStr()));
    }
    return result;
}

int32_t BuildPresetDataWindow::SaveImages(const XString& path)
{
    const int32_t result = builder.Save(path, nullptr);
    if (result != 0)
        ShowStatus(XString().Format("file not saved: %s", path.CStr()));
    return result;
}

void BuildPresetDataWindow::LaunchChooser(const char* title, const char* pattern, int flags,
                                          void (BuildPresetDataWindow::*onChosen)(const XString&))
{
    chooser = std::make_unique<juce::FileChooser>(title, juce::File(), pattern);
    juce::WeakReference<BuildPresetDataWindow> self(this);
    chooser->launchAsync(flags,
                         [self, onChosen](const juce::FileChooser& chosen)
                         {
                             const juce::File result = chosen.getResult();
                             if (self != nullptr && result != juce::File())
                                 (self.get()->*onChosen)(ToXString(result.getFullPathName()));
                         });
}

void BuildPresetDataWindow::ChooseSourceFolder()
{
    LaunchChooser("Browse for folder", "*.*",
                  juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectDirectories,
                  &BuildPresetDataWindow::SetSourceFolder);
}

void BuildPresetDataWindow::ChooseSaveFile()
{
    LaunchChooser("factoryPresets", "*.fps",
                  juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::warnAboutOverwriting,
                  &BuildPresetDataWindow::SaveChosenFile);
}

void BuildPresetDataWindow::SaveChosenFile(const XString& path)
{
    SaveImages(path);
}
