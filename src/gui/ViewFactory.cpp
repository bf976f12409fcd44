#include "gui/ViewFactory.h"

#include "gui/GuiViewServices.h"
#include "gui/ViewKeywords.h"
#include "gui/XButton.h"
#include "gui/XCircle.h"
#include "gui/XCloseBox.h"
#include "gui/XColorPicker.h"
#include "gui/XFill.h"
#include "gui/XFrame.h"
#include "gui/XLine.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "gui/XPopupWindow.h"
#include "gui/XScrollPane.h"
#include "gui/XText.h"
#include "gui/XToggleSwitch.h"

#include <algorithm>
#include <array>
#include <vector>

namespace
{
/** One row of the built-in table: the word and, for the GUI foundation's classes, the creator. The
    rows of the widgets ("widgets") and of the lists ("files") get theirs through ProvideCreator. */
struct BuiltInType
{
    const char* word;
    XView::ViewCreator foundationCreator;
};

// The built-in type words in the order they are registered; "switch" shares the button's creator.
// "fill" and "circle" come from their classes' pools through the classes' own operator new.
constexpr std::array<BuiltInType, ViewFactory::kBuiltInTypeCount> kBuiltInTypes{{
    {"checkbox", nullptr}, // widgets
    {"button", &ViewFactory::Create<XButton>},
    {"switch", &ViewFactory::Create<XButton>},
    {"colorpicker", &ViewFactory::Create<XColorPicker>},
    {"text", &ViewFactory::Create<XText>},
    {"closebox", &ViewFactory::Create<XCloseBox>},
    {"list", nullptr}, // files
    {"popupmenu", &ViewFactory::Create<XPopupMenu>},
    {"popupwindow", &ViewFactory::Create<XPopupWindow>},
    {"pot", nullptr},        // widgets
    {"scrollbar", nullptr},  // widgets
    {"sizer", nullptr},      // widgets
    {"slider", nullptr},     // widgets
    {"faderbar", nullptr},   // widgets
    {"meterstick", nullptr}, // widgets
    {"frame", &ViewFactory::Create<XFrame>},
    {"fill", &ViewFactory::Create<XFill>},
    {"line", &ViewFactory::Create<XLine>},
    {"pict", &ViewFactory::Create<XPict>},
    {"circle", &ViewFactory::Create<XCircle>},
    {"edittext", nullptr}, // widgets
    {"basic", &ViewFactory::Create<XView>},
    {"spinner", nullptr},        // widgets
    {"windowframe", nullptr},    // widgets
    {"titlebar", nullptr},       // widgets
    {"lcdview", nullptr},        // widgets
    {"timeedit", nullptr},       // widgets
    {"mastertimeedit", nullptr}, // widgets
    {"touchkey", nullptr},       // widgets
    {"scrollpane", &ViewFactory::Create<XScrollPane>},
    {"matrix", nullptr}, // widgets
    {"toggleSwitch", &ViewFactory::Create<XToggleSwitch>},
    {"filemanager", nullptr}, // files
}};

std::array<XView::ViewCreator, ViewFactory::kBuiltInTypeCount>& ProvidedCreators()
{
    static std::array<XView::ViewCreator, ViewFactory::kBuiltInTypeCount> creators{};
    return creators;
}

/** True while RegisterViewTypes runs the added steps: the table is registered already. */
bool runningTypeSteps = false;

std::vector<ViewFactoryStep>& TypeRegistrations()
{
    static std::vector<ViewFactoryStep> steps;
    return steps;
}

std::vector<ViewFactoryStep>& LateSetupSteps()
{
    static std::vector<ViewFactoryStep> steps;
    return steps;
}

void AddOnce(std::vector<ViewFactoryStep>& steps, ViewFactoryStep step)
{
    if (step != nullptr && std::find(steps.begin(), steps.end(), step) == steps.end())
        steps.push_back(step);
}
} // namespace

const char* ViewFactory::GetBuiltInTypeWord(int32_t index)
{
    if (index < 0 || index >= kBuiltInTypeCount)
        return nullptr;
    return kBuiltInTypes[static_cast<size_t>(index)].word;
}

int32_t ViewFactory::FindBuiltInType(const char* word)
{
    if (word == nullptr)
        return -1;
    const juce::String wanted = juce::String::fromUTF8(word);
    for (int32_t index = 0; index < kBuiltInTypeCount; ++index)
    {
        if (wanted.equalsIgnoreCase(kBuiltInTypes[static_cast<size_t>(index)].word))
            return index;
    }
    return -1;
}

bool ViewFactory::ProvideCreator(const char* word, XView::ViewCreator creator)
{
    const int32_t row = FindBuiltInType(word);
    if (row < 0 || creator == nullptr)
        return false;
    ProvidedCreators()[static_cast<size_t>(row)] = creator;
    if (runningTypeSteps)
        XView::RegisterViewClass(kBuiltInTypes[static_cast<size_t>(row)].word, creator);
    return true;
}

void ViewFactory::AddViewTypeRegistration(ViewFactoryStep step)
{
    AddOnce(TypeRegistrations(), step);
}

void ViewFactory::AddLateSetupStep(ViewFactoryStep step)
{
    AddOnce(LateSetupSteps(), step);
}

void ViewFactory::ResetSteps()
{
    TypeRegistrations().clear();
    LateSetupSteps().clear();
    ProvidedCreators().fill(nullptr);
}

void RegisterViewTypes()
{
    for (size_t row = 0; row < kBuiltInTypes.size(); ++row)
    {
        // A layer's creator replaces the foundation's, as registering a word again would.
        XView::ViewCreator creator = ProvidedCreators()[row];
        if (creator == nullptr)
            creator = kBuiltInTypes[row].foundationCreator;
        if (creator != nullptr)
            XView::RegisterViewClass(kBuiltInTypes[row].word, creator);
    }

    // By index: a step may add further steps, which then run in this pass too.
    runningTypeSteps = true;
    for (size_t index = 0; index < TypeRegistrations().size(); ++index)
        TypeRegistrations()[index]();
    runningTypeSteps = false;
}

void InitViewFactory()
{
    IViewServices::Set(&GetGuiViewServices());
    RegisterViewTypes();
    RegisterViewKeywords();
    for (ViewFactoryStep step : LateSetupSteps())
        step();
}
