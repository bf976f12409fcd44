#pragma once

#include "core/XString.h"
#include "device/FactoryPresetBuilder.h"
#include "device/ISubWindow.h"
#include "gui/SkinLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>

class XParamGroup;

/** The developer window "Build Factory Presets": the user chooses a folder of factory preset files
    ("..."), builds the factory-preset images and the channel-names header from it ("Load Data") and
    saves the images as the ".fps" file of the firmware build ("Save"), reading the builder's status
    line as it goes. It is drawn in the skin's colours and fonts (SkinLookAndFeel), read when it is
    built.

    Built with the application's preset group (borrowed; the live channel groups are found through
    the channel lists); its controls are made by the first Show, and until then the texts read empty
    and setting them does nothing. Lives on the message thread; the choosers run asynchronously and their
    answers are ignored once the window has gone. */
class BuildPresetDataWindow final : public juce::DocumentWindow,
                                    public ISubWindow,
                                    private IFactoryPresetStatus
{
public:
    static constexpr const char* kTitle = "Build Factory Presets";
    static constexpr const char* kInitialStatus = "status...";
    static constexpr const char* kInitialSourceFolder = "source folder";
    static constexpr int kWidth = 560;
    static constexpr int kHeight = 300;

    /** headerFolder: where "Load Data" writes the channel-names header (empty: ".\src" below the
        current folder). */
    explicit BuildPresetDataWindow(XParamGroup* presetGroup, const XString& headerFolder = XString());
    ~BuildPresetDataWindow() override;

    /** Shows the window in front (building its controls the first time) and resets the status and
        source-folder texts. */
    void Show() override;
    void Hide() override;
    bool IsShown() const override;

    /** What the buttons do once a folder or file is chosen. */
    void SetSourceFolder(const XString& folder);
    int32_t LoadData();
    int32_t SaveImages(const XString& path);

    XString GetStatusText() const;
    XString GetSourceFolderText() const;
    FactoryPresetBuilder& GetBuilder() { return builder; }

    void closeButtonPressed() override;

private:
    class Content;

    void BuildContent() override;
    void ShowStatus(const XString& text) override;
    void ChooseSourceFolder();
    void ChooseSaveFile();
    void SaveChosenFile(const XString& path);
    /** Opens a chooser; onChosen gets the chosen path unless the user cancels or the window has gone. */
    void LaunchChooser(const char* title, const char* pattern, int flags,
                       void (BuildPresetDataWindow::*onChosen)(const XString&));

    SkinLookAndFeel look;
    FactoryPresetBuilder builder;
    XString headerFolder;
    Content* content = nullptr; // owned by the window as its content component; null until shown
    std::unique_ptr<juce::FileChooser> chooser;
    juce::WeakReference<BuildPresetDataWindow>::Master masterReference;
    friend class juce::WeakReference<BuildPresetDataWindow>;
};
