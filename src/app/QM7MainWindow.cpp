#include "app/QM7MainWindow.h"

#include "app/QM7App.h"
#include "app/QM7Panel.h"
#include "app/QM7SlavePanel.h"
#include "core/Log.h"
#include "core/XCommandManager.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "gui/ShowViewCmd.h"
#include "gui/XButton.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XMenu.h"
#include "gui/XMenuBar.h"
#include "gui/XPict.h"
#include "gui/XText.h"
#include "widgets/TiledPict.h"
#include "widgets/XTextEditor.h"
#include "windows/EditorWindows.h"
#include "windows/SubWindow.h"
#include "windows/SubWindowRegistry.h"

namespace
{
const XRGB kCompareGrey(178, 178, 178, 255);
constexpr const char* kLabelFont = "dialogLabel";
constexpr const char* kStatusFont = "statusBar";
constexpr const char* kStatusColour = "statusBarText";
constexpr const char* kToolbarFolder = "toolbarMain\\";
/** The running frame of the toolbar starts inset by this much from every edge. */
constexpr int32_t kToolbarInset = 2;
constexpr int32_t kStatusInsetX = 5;
constexpr int32_t kStatusInsetY = 2;
/** The gaps around the compare button, and how far it sits below the other buttons. */
constexpr int32_t kCompareGap = 80;
constexpr int32_t kCompareDrop = 4;

/** The "Compare Mode" washes: full-width bands over the panels, and the gain fields of both rows. */
constexpr int32_t kUpperBandBottom = 125;
constexpr int32_t kLowerBandTop = 165;
constexpr int32_t kLowerBandBottom = 280;
constexpr int32_t kFieldLeft = 547;
constexpr int32_t kFieldWidth = 36;
constexpr int32_t kFieldStep = 85;
constexpr int32_t kUpperFieldTop = 130;
constexpr int32_t kLowerFieldTop = 288;
constexpr int32_t kFieldHeight = 25;
constexpr int32_t kFieldsPerRow = 6;

constexpr int32_t kJustifyTop = 8;

enum class ToolKind
{
    Command,
    Window,
};

/** One button of the toolbar left of or right of the compare button. */
struct ToolButton
{
    ToolKind kind;
    const char* commandName; // Command
    int32_t windowParamId;   // Window
    const char* firstImage;
    const char* secondImage;
    const char* tooltip;
    /** Extra move right after the button, in multiples of its width. */
    int32_t extraWidths;
};

constexpr ToolButton kLeftButtons[] = {
    {ToolKind::Command, "NewDocumentCmd", 0, "toolbarMainNewUp.png", "toolbarMainNewDown.png", "New File", 0},
    {ToolKind::Command, "OpenDocumentCmd", 0, "toolbarMainOpenUp.png", "toolbarMainOpenDown.png", "Open File",
     0},
    {ToolKind::Command, "SaveDocumentCmd", 0, "toolbarMainSaveUp.png", "toolbarMainSaveDown.png", "Save File",
     2},
    {ToolKind::Command, "storePresetCmd", 0, "toolbarMainStoUp.png", "toolbarMainStoDown.png", "Store Preset",
     0},
    {ToolKind::Command, "recallPresetCmd", 0, "toolbarMainRclUp.png", "toolbarMainRclDown.png",
     "Recall Preset", 0},
};

constexpr ToolButton kWindowButtons[] = {
    {ToolKind::Window, nullptr, 71, "toolbarMainConfigUp.png", "toolbarMainConfigDown.png", "Configuration",
     0},
    {ToolKind::Window, nullptr, 70, "toolbarMainBlocksUp.png", "toolbarMainBlocks.png", "System Overview", 0},
    {ToolKind::Window, nullptr, 73, "toolbarMainInPEQUp.png", "toolbarMainInPEQDown.png", "Input PEQ", 0},
    {ToolKind::Window, nullptr, 74, "toolbarMainInGEQUp.png", "toolbarMainInGEQDown.png", "Input GEQ", 0},
    {ToolKind::Window, nullptr, 75, "toolbarMainInDelayUp.png", "toolbarMainInDelayDown.png", "Input Delay",
     0},
    {ToolKind::Window, nullptr, 72, "toolbarMainCrossoverUp.png", "toolbarMainCrossoverDown.png", "Crossover",
     0},
    {ToolKind::Window, nullptr, 76, "toolbarMainOutPEQUp.png", "toolbarMainOutPEQDown.png", "Output PEQ", 0},
    {ToolKind::Window, nullptr, 77, "toolbarMainOutDelayUp.png", "toolbarMainOutDelayDown.png",
     "Output Delay", 0},
    {ToolKind::Window, nullptr, 78, "toolbarMainLevelUp.png", "toolbarMainLevelDown.png", "Output Levels", 0},
    {ToolKind::Window, nullptr, 79, "toolbarMainFreqRespUp.png", "toolbarMainFreqRespDown.png",
     "Frequency Response", 0},
};

constexpr const char* kFileCommands[] = {"NewDocumentCmd",
                                         "",
                                         "OpenDocumentCmd",
                                         "",
                                         "SaveDocumentCmd",
                                         "SaveDocumentAsCmd",
                                         "",
                                         "storePresetCmd",
                                         "",
                                         "recallPresetCmd",
                                         "",
                                         "EraseFlashUserPresetsCmd",
                                         "",
                                         "StoreAllUserPresetCmd",
                                         ""};

/** The "Window" menu's commands, in the menu's order. */
constexpr const char* kWindowMenuCommands[] = {
    "configWndCmd",     "sysOvrWndCmd",  "mstrEqWndCmd",        "mstrGEqWndCmd",    "inputDelayWndCmd",
    "xOvrWndCmd",       "chEqWndCmd",    "outputDelayWndCmd",   "outputLvlsWndCmd", "freqRespWndCmd",
    "frontPanelWndCmd", "presetsWndCmd", "contactClosureWndCmd"};

XString ToolbarImage(const char* name)
{
    XString path(kToolbarFolder);
    path += name;
    return path;
}

void Shift(XRect& rect, int32_t dx, int32_t dy)
{
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
}

XFont* NamedFont(const char* name)
{
    return XFont::GetNamedFont(XString(name), true);
}
} // namespace

const QM7MainWindow::WindowCommand QM7MainWindow::kWindowCommands[kWindowCommandCount] = {
    {EditorWindows::kConfiguration, "configWndCmd", "F2", "Creating Configuration Window"},
    {EditorWindows::kCrossover, "xOvrWndCmd", "F7", "Creating Crossover Window"},
    {EditorWindows::kInputParametricEq, "mstrEqWndCmd", "F4", "Creating Master EQ Window"},
    {EditorWindows::kInputGraphicEq, "mstrGEqWndCmd", "F5", "Creating Master Graphic EQ Window"},
    {EditorWindows::kInputDelay, "inputDelayWndCmd", "F6", "Creating Input Delay Window"},
    {EditorWindows::kOutputDelay, "outputDelayWndCmd", "F9", "Creating Output Delay Window"},
    {EditorWindows::kSystemOverview, "sysOvrWndCmd", "F3", "Creating System Overview Window"},
    {EditorWindows::kOutputParametricEq, "chEqWndCmd", "F8", "Creating Output Eq Window"},
    {EditorWindows::kLimitersAndLevels, "outputLvlsWndCmd", "F10", "Creating Output Levels Window"},
    {EditorWindows::kFrequencyResponse, "freqRespWndCmd", "F11", "Creating Frequency Response Window"},
    {EditorWindows::kFrontPanelAccess, "frontPanelWndCmd", "F12", "Creating Front Panel Access Window"},
    {EditorWindows::kPresets, "presetsWndCmd", "", "Creating Presets Window"},
    {EditorWindows::kContactClosure, "contactClosureWndCmd", "", "Creating Contact Closure Window"},
};

QM7MainWindow::QM7MainWindow(QM7App& application) : XMainWindow(kFrame, QM7App::kAppName), app(application)
{
    SetWindowStyle(kWindowStyle);
}

QM7MainWindow::~QM7MainWindow()
{
    // The one main window is the document's only title view.
    if (XParamDoc* document = app.GetParamDoc())
        document->SetTitleView(nullptr);
    // The bar goes before the menus it shows.
    if (menuBar != nullptr)
    {
        RemoveChild(menuBar);
        delete menuBar;
    }
}

XText* QM7MainWindow::GetCompareArea(int32_t index) const
{
    return index >= 0 && index < kCompareAreaCount ? compareAreas[static_cast<size_t>(index)] : nullptr;
}

void QM7MainWindow::SetDocumentTitle(const XString& title)
{
    SetTitle(title);
}

// Contents ----------------------------------------------------------------------------------------

void QM7MainWindow::BuildContents()
{
    if (menuBar != nullptr)
        return;
    const XRect bounds = GetBounds();
    const int32_t width = bounds.Width();
    const int32_t height = bounds.Height();

    menuBar = new XMenuBar("QM7");
    menuBar->SetResizeMask(kBarResizeMask);
    menuBar->SetFrame(XRect(0, 0, width, kMenuBarHeight));
    menuBar->SetBackColor(GetColorDictionary().GetColor("menubarBack"));
    menuBar->SetForeColor(GetColorDictionary().GetColor("menubarFore"));
    BuildMenus();
    AddChild(menuBar);

    const XRect barFrame = menuBar->GetFrame();
    toolbar =
        new XPict(XRect(barFrame.left, barFrame.bottom, barFrame.right, barFrame.bottom + kToolbarHeight), "",
                  kToolbarImage, false);
    toolbar->SetResizeMask(kBarResizeMask);
    AddChild(toolbar);
    BuildToolbar();

    background =
        new TiledPict(XRect(0, toolbar->GetFrame().bottom, width, height), kBackgroundTile, kResizeAll);
    AddChild(background);

    statusBar = new XPict(XRect(0, height - kStatusBarHeight, width, height), "", kStatusBarImage, false);
    statusBar->SetResizeMask(kStatusBarResizeMask);
    AddChild(statusBar);
    BuildStatusBar();

    BuildFrontPanel();
    BuildCompareAreas();
}

void QM7MainWindow::BuildMenus()
{
    fileMenu = std::make_unique<XMenu>("File", false);
    for (const char* command : kFileCommands)
    {
        if (*command == '\0')
            fileMenu->AddSpacer();
        else
            fileMenu->AddCommandItem(command);
    }
    fileMenu->AddMessageItem("Exit", new XMessage(XMsgCode::kQuitApplication), &app);
    windowMenu = std::make_unique<XMenu>("Window", false);
    menuBar->AddMenu("File", fileMenu.get());
    menuBar->AddMenu("Window", windowMenu.get());
}

void QM7MainWindow::AddWindowMenuItems()
{
    if (windowMenu == nullptr)
        return;
    for (const char* command : kWindowMenuCommands)
    {
        if (FindCommandByName(command) != nullptr)
            windowMenu->AddCommandItem(command);
    }
}

void QM7MainWindow::BuildToolbar()
{
    XView::EnableTooltips(true);
    const XRect bounds = toolbar->GetBounds();
    XRect running(bounds.left + kToolbarInset, bounds.top + kToolbarInset, bounds.left + kToolbarInset,
                  bounds.bottom - kToolbarInset);
    auto addButton = [this, &running](const ToolButton& tool)
    {
        const XString first = ToolbarImage(tool.firstImage);
        const XString second = ToolbarImage(tool.secondImage);
        XButton* button =
            tool.kind == ToolKind::Command
                ? new XButton(running, "", tool.commandName, first.CStr(), second.CStr(), "")
                : new XButton(running, app.GetParam(tool.windowParamId), first.CStr(), second.CStr(), "");
        button->SetTooltipText(XString(tool.tooltip));
        toolbar->AddChild(button);
        const int32_t step = button->GetWidth() * (1 + tool.extraWidths);
        Shift(running, step, 0);
    };

    for (const ToolButton& tool : kLeftButtons)
        addButton(tool);
    Shift(running, kCompareGap, kCompareDrop);

    compareButton =
        new XButton(running, app.GetParam(kCompareButtonId), kCompareLitImage, kCompareDimImage, "");
    compareButton->SetShowParam(app.GetParam(kUsbActiveId), 1);
    toolbar->AddChild(compareButton);
    compareButton->GetClickedSignal().Connect([this] { app.OnCompareButtonClicked(); });
    const XRect compareFrame = compareButton->GetFrame();
    Shift(running, compareFrame.Width(), 0);

    busyText = new XText(compareFrame, kBusyText, kCompareGrey, NamedFont(kLabelFont), kJustifyCentred);
    busyText->SetTransparentWithColor(true, kCompareGrey);
    busyText->SetShowParam(app.GetParam(kDisplayLoadingId), 1);
    toolbar->AddChild(busyText);
    app.GetParam(kDisplayLoadingId)->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
    Shift(running, kCompareGap, -kCompareDrop);

    for (const ToolButton& tool : kWindowButtons)
        addButton(tool);
}

void QM7MainWindow::BuildStatusBar()
{
    XRect frame = statusBar->GetBounds();
    frame.left += kStatusInsetX;
    frame.right -= kStatusInsetX;
    frame.top += kStatusInsetY;
    frame.bottom -= kStatusInsetY;
    statusText = new XText(frame, app.GetParam(kStatusId), GetColorDictionary().GetColor(kStatusColour),
                           NamedFont(kStatusFont), kJustifyLeft);
    statusBar->AddChild(statusText);
}

void QM7MainWindow::BuildFrontPanel()
{
    panel = new QM7Panel(kPanelFrame, app.GetDisplayImage());
    background->AddChild(panel);
    XRect slaveFrame = kPanelFrame;
    Shift(slaveFrame, 0, kSlavePanelDrop);
    slavePanel = new QM7SlavePanel(slaveFrame);
    slavePanel->SetShowParam(app.GetParam(kRs232ActiveId), 1);
    background->AddChild(slavePanel);
    app.GetParam(kRs232ActiveId)->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
}

void QM7MainWindow::BuildCompareAreas()
{
    const int32_t width = background->GetWidth();
    XRect frames[kCompareAreaCount];
    size_t next = 0;
    frames[next++] = XRect(0, 0, width, kUpperBandBottom);
    for (int32_t i = 0; i < kFieldsPerRow; ++i)
    {
        const int32_t left = kFieldLeft + kFieldStep * i;
        frames[next++] = XRect(left, kUpperFieldTop, left + kFieldWidth, kUpperFieldTop + kFieldHeight);
    }
    frames[next++] = XRect(0, kLowerBandTop, width, kLowerBandBottom);
    for (int32_t i = 0; i < kFieldsPerRow; ++i)
    {
        const int32_t left = kFieldLeft + kFieldStep * i;
        frames[next++] = XRect(left, kLowerFieldTop, left + kFieldWidth, kLowerFieldTop + kFieldHeight);
    }

    XParam* lock = app.GetParam(kLockUIForEditCompareId);
    for (size_t i = 0; i < compareAreas.size(); ++i)
    {
        auto* area = new XText(frames[i], " ", kCompareGrey, NamedFont(kLabelFont), kJustifyTop);
        area->SetTransparentWithColor(true, kCompareGrey);
        area->SetShowParam(lock, 0);
        area->SetTooltipText(XString(kCompareModeTip));
        background->AddChild(area);
        compareAreas[i] = area;
    }
    lock->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
}

// Editor windows ----------------------------------------------------------------------------------

void QM7MainWindow::CreateWindows()
{
    if (windowsCreated)
        return;
    windowsCreated = true;
    SubWindowRegistry& windows = app.GetWindows();
    for (const WindowCommand& entry : kWindowCommands)
    {
        SubWindow* window = windows.Get(entry.windowName);
        if (window == nullptr)
            continue; // not built yet
        LogBoot("%s", entry.logLine);
        if (window->GetParentView() == nullptr && window->GetOwnerView() == nullptr)
            AddChild(window, false);
        app.AddCommand(entry.commandName, kWindowsContext, new ShowViewCmd(window, XString(entry.windowName)),
                       entry.hotKey);
    }
    AddWindowMenuItems();

    LogBoot("Creating Downloader Output Window");
    downloaderOutput = std::make_unique<XTextEditor>(kDownloaderOutputFrame);
    downloaderOutput->setVisible(false);
    downloaderOutput->setReadOnly(true);
    downloaderOutput->setMultiLine(true, true);
    downloaderOutput->setScrollToShowCursor(true);
    addChildComponent(*downloaderOutput);
}
