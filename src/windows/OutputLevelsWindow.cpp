#include "windows/OutputLevelsWindow.h"

#include "core/ParamRegistry.h"
#include "core/XParam.h"
#include "gui/GuiHelpers.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "windows/EditorWindows.h"
#include "windows/OutputPanel.h"
#include "windows/OutputParamIds.h"

namespace
{
using namespace OutputParamIds;

constexpr const char* kThresholdUnitsPath = "global\\ThresholdUnits";
constexpr const char* kLockPath = "QM7\\lockUIForEditCompare";
const XRGB kCompareGrey(178, 178, 178, 255);
constexpr const char* kCompareModeTip = "Compare Mode";
constexpr int32_t kJustifyTop = 8;

/** The strips: left of the first, their spacing and their size. */
constexpr int32_t kPanelLeft = 11;
constexpr int32_t kPanelStep = 130;
constexpr int32_t kPanelTop = 11;
constexpr int32_t kPanelWidth = 127;
constexpr int32_t kPanelBottom = 441;

/** The covers leave the band between these free, but for one small cover over each gain field. */
constexpr int32_t kUpperCoverBottom = 200;
constexpr int32_t kLowerCoverTop = 250;
constexpr XRect kGainCover{15, 215, 70, 240};

} // namespace

OutputLevelsWindow::OutputLevelsWindow()
    : SubWindow("Limiters and Levels", "outputLevelsbg.png", EditorWindows::kLevelsParamId)
{
}

OutputLevelsWindow::~OutputLevelsWindow()
{
    XParam::ForgetWatcher(this);
}

OutputPanel* OutputLevelsWindow::GetPanel(int32_t output) const
{
    return output >= 0 && output < kOutputCount ? panels[static_cast<size_t>(output)] : nullptr;
}

XText* OutputLevelsWindow::GetCompareCover(int32_t index) const
{
    return index >= 0 && index < kCoverCount ? covers[static_cast<size_t>(index)] : nullptr;
}

void OutputLevelsWindow::BuildContent()
{
    ShowWaitCursor();
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        auto* panel = new OutputPanel(i);
        const int32_t left = kPanelLeft + kPanelStep * i;
        panel->SetFrame(XRect(left, kPanelTop, left + kPanelWidth, kPanelBottom));
        AddChild(panel);
        panels[static_cast<size_t>(i)] = panel;
    }

    XParam* units = FindParam("%s", kThresholdUnitsPath);
    unitsMenu = new XPopupMenu(XRect(662, 460, 791, 487), nullptr, nullptr);
    unitsMenu->SetPot(units);
    if (units != nullptr)
        units->AddWatcher(this, kThresholdUnitsKey, true);
    const XRGB text = GetColorDictionary().GetColor("widgetText");
    unitsMenu->SetTextColors(text, text);
    unitsMenu->SetFont(XFont::GetNamedFont(XString("medium"), false));
    unitsMenu->SetLabelRect(XRect(1, 2, 101, 24));
    unitsMenu->SetArrowImage("widget\\DropDown.png", nullptr);
    unitsMenu->SetTransparent(true);
    AddChild(unitsMenu);

    BuildCovers();
    HideWaitCursor();
}

void OutputLevelsWindow::BuildCovers()
{
    const int32_t right = getWidth();
    const int32_t bottom = getHeight();
    std::array<XRect, kCoverCount> frames{};
    frames[0] = XRect(1, 1, right, kUpperCoverBottom);
    for (int32_t i = 0; i < kOutputCount; ++i)
        frames[static_cast<size_t>(i + 1)] = XRect(kGainCover.left + kPanelStep * i, kGainCover.top,
                                                   kGainCover.right + kPanelStep * i, kGainCover.bottom);
    frames[kCoverCount - 1] = XRect(1, kLowerCoverTop, right, bottom);

    XParam* lock = FindParam("%s", kLockPath);
    for (size_t c = 0; c < covers.size(); ++c)
    {
        auto* cover = new XText(frames[c], " ", kCompareGrey,
                                XFont::GetNamedFont(XString("dialogLabel"), false), kJustifyTop);
        cover->SetTransparentWithColor(true, kCompareGrey);
        if (lock != nullptr)
            cover->SetShowParam(lock, 0);
        cover->SetTooltipText(XString(kCompareModeTip));
        AddChild(cover);
        covers[c] = cover;
    }
    if (lock != nullptr)
        lock->Notify(static_cast<int32_t>(XMsgCode::kParamValueSet));
}

void OutputLevelsWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (key == kThresholdUnitsKey && XMsgCode::IsValueChange(code))
        for (int32_t o = 0; o < kOutputCount; ++o)
            if (XParam* threshold = OutputParam(o, kLimitThreshold))
                threshold->Notify(code);
    SubWindow::ParamChanged(code, param, key);
}
