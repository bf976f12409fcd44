#include "windows/ConfigWindow.h"

#include "core/IAppServices.h"
#include "core/ParamRegistry.h"
#include "core/XApplication.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "device/ChannelLinking.h"
#include "gui/XButton.h"
#include "gui/XCanvas.h"
#include "gui/XColorDictionary.h"
#include "gui/XFont.h"
#include "gui/XPict.h"
#include "gui/XPopupMenu.h"
#include "gui/XText.h"
#include "widgets/XTextEditView.h"

#include <cmath>
#include <string>

namespace
{
constexpr int32_t kValueSet = static_cast<int32_t>(XMsgCode::kParamValueSet);
constexpr int32_t kChangedByUser = static_cast<int32_t>(XMsgCode::kParamChangedByUser);
/** The change phase of a veto callback. */
constexpr int32_t kVetoChange = 1;
constexpr int32_t kFirstPrintable = 0x20;
constexpr int32_t kLastPrintable = 0x7E;

constexpr const char* kBackground = "Configuration\\configbg.png";
constexpr const char* kLongFieldPicture = "Configuration\\SpinnerTextFieldLong.png";
constexpr const char* kMediumDropDown = "Configuration\\DropDownMedium.png";
constexpr const char* kStandardDim = "Configuration\\editModeStandard_dim.png";
constexpr const char* kStandardLit = "Configuration\\editModeStandard_lit.png";
constexpr const char* kFullEditDim = "Configuration\\editModeFullEdit_dim.png";
constexpr const char* kFullEditLit = "Configuration\\editModeFullEdit_lit.png";
constexpr const char* kRoutingDropDown = "widget\\DropDown96.png";
constexpr const char* kRoutingDisabled = "widget\\DropDown96_disabled.png";
constexpr const char* kLabelFieldPicture = "widget\\SpinnerTextFieldLarge.png";
constexpr const char* kLedDim = "block\\blockLedDim.png";
constexpr const char* kLedLit = "block\\blockLedYellow.png";
constexpr const char* kColourBlocks[] = {"colorblocks\\red.png",   "colorblocks\\yellow.png",
                                         "colorblocks\\blue.png",  "colorblocks\\magenta.png",
                                         "colorblocks\\green.png", "colorblocks\\purple.png"};
constexpr const char* kLedTitles[] = {"Sub", "Lo", "Mid", "Hi"};

const XRGB kHeadingColour{179, 179, 179, 255};
const XRGB kLedTitleColour{220, 220, 220, 255};
const XRGB kCompareColour{178, 178, 178, 255};

/** Rows of the output columns: output 6 at the top, one every 34 pixels. */
constexpr int32_t kRowPitch = 34;

/** LEDs of a configuration, outputs 1..6: bit j is LED j (1 Sub, 2 Lo, 4 Mid, 8 Hi). */
constexpr int32_t kSub = 1, kLo = 2, kMid = 4, kHi = 8;
constexpr int32_t kConfigLeds[ConfigWindow::kConfigurationCount][ConfigWindow::kOutputCount] = {
    {kLo, kHi, 0, kLo, kHi, 0},                                // 2-Way Stereo + FR
    {kSub, kLo | kMid, kHi, kSub, kLo | kMid, kHi},            // 3-Way Stereo
    {kSub, kLo, kMid, kHi, 0, 0},                              // 4-Way + FR
    {kSub, kLo, kLo | kMid, kMid, kHi, 0},                     // 5-way + FR
    {0, 0, 0, 0, 0, 0},                                        // Free Configuration
    {kSub, kLo | kMid, kMid | kHi, 0, kLo | kMid, kMid | kHi}, // 3W Stereo-Mono Sub+FR
    {kSub, kLo, kMid, kHi, kMid, kHi},                         // 4W Stereo-Mono Sub/LF
};

XRect Box(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return XRect(x, y, x + width, y + height);
}

/** A frame at x, y that a picture or an imaged button sizes to its image. */
XRect At(int32_t x, int32_t y)
{
    return XRect(x, y, x, y);
}

XFont* Font(const char* name)
{
    return XFont::GetNamedFont(name, false);
}

XParam* PresetParam(int32_t id)
{
    XParamGroup* group = GetAppServices().GetPresetGroup();
    return group != nullptr ? group->GetParam(id) : nullptr;
}

XParam* OutputParam(int32_t number, const char* name)
{
    return FindParam("Output%d\\%s", number, name);
}

int32_t Truncated(double value)
{
    return std::isfinite(value) ? static_cast<int32_t>(value) : 0;
}

int32_t LedBit(int32_t output, int32_t led)
{
    return led + ConfigWindow::kLedsPerOutput * output;
}

bool IsLedIndex(int32_t output, int32_t led)
{
    return output >= 0 && output < ConfigWindow::kOutputCount && led >= 0 &&
           led < ConfigWindow::kLedsPerOutput;
}

/** The LED parameters' value map: their bit of ConfigLEDio (user = output x 256 + led). */
double LedValue(XParam*, double, int32_t user)
{
    const int32_t output = user / 256;
    const int32_t led = user % 256;
    XParam* mask = PresetParam(ConfigWindow::kConfigLedsId);
    if (mask == nullptr || !IsLedIndex(output, led))
        return 0.0;
    return (Truncated(mask->GetValue()) >> LedBit(output, led)) & 1 ? 1.0 : 0.0;
}

/** The LED parameters' change veto: the change sets or clears their bit of ConfigLEDio, and is
    refused when the mask stays as it was. */
bool LedVeto(XParam*, double* value, int32_t user, int32_t phase)
{
    if (phase != kVetoChange)
        return true;
    const int32_t output = user / 256;
    const int32_t led = user % 256;
    XParam* mask = PresetParam(ConfigWindow::kConfigLedsId);
    if (mask == nullptr || value == nullptr || !IsLedIndex(output, led))
        return false;
    const int32_t bit = 1 << LedBit(output, led);
    const int32_t current = Truncated(mask->GetValue());
    const int32_t changed = *value == 1.0 ? current | bit : current & ~bit;
    return mask->ChangeValue(changed, true);
}

char Printable(char ch)
{
    const int32_t byte = static_cast<unsigned char>(ch);
    return byte >= kFirstPrintable && byte <= kLastPrintable ? ch : '?';
}
} // namespace

// Packing ---------------------------------------------------------------------------------------------

uint32_t ConfigWindow::PackChars(const XString& text, int32_t from, bool zeroLast)
{
    const std::string chars = text.CStr();
    uint32_t packed = 0;
    for (int32_t place = 0; place < kCharsPerInteger; ++place)
    {
        const size_t at = static_cast<size_t>(from + place);
        char ch = at < chars.size() ? Printable(chars[at]) : ' ';
        if (zeroLast && place == kCharsPerInteger - 1)
            ch = '\0';
        packed |= static_cast<uint32_t>(static_cast<unsigned char>(ch)) << (8 * place);
    }
    return packed;
}

XString ConfigWindow::UnpackChars(double value)
{
    // The integers' range is 0..2147483647; anything else reads as its low 32 bits.
    const auto packed = static_cast<uint32_t>(std::isfinite(value) ? static_cast<int64_t>(value) : 0);
    std::string chars;
    for (int32_t place = 0; place < kCharsPerInteger; ++place)
    {
        const char ch = static_cast<char>((packed >> (8 * place)) & 0xFF);
        if (ch == '\0')
            break;
        chars += Printable(ch);
    }
    return XString(chars.c_str());
}

XString ConfigWindow::FitText(const XString& text, int32_t length)
{
    std::string chars = text.CStr();
    chars.resize(static_cast<size_t>(length), ' ');
    return XString(chars.c_str());
}

XString ConfigWindow::StripTrailingBlanks(const XString& text)
{
    std::string chars = text.CStr();
    while (!chars.empty() && chars.back() == ' ')
        chars.pop_back();
    return XString(chars.c_str());
}

XString ConfigWindow::PrintableText(const XString& text)
{
    std::string chars = text.CStr();
    for (char& ch : chars)
        ch = Printable(ch);
    return XString(chars.c_str());
}

// Construction ----------------------------------------------------------------------------------------

ConfigWindow::ConfigWindow() : SubWindow("Configuration", kBackground, EditorWindows::kConfigParamId)
{
    struct Watch
    {
        XParam* param;
        int32_t key;
    };
    const Watch watches[] = {
        {FindParam("%s", kProgramNamePath), kNameKey},
        {FindParam("%s", kAuthorPath), kAuthorKey},
        {FindParam("%s", kRevisionPath), kRevisionKey},
        {FindParam("%s", kDatePath), kDateKey},
        {PresetParam(kPresetNameFirstId), kPresetNameKey},
        {PresetParam(kPresetNameFirstId + 1), kPresetNameKey + 1},
        {PresetParam(kPresetNameFirstId + 2), kPresetNameKey + 2},
        {PresetParam(kPresetNameFirstId + 3), kPresetNameKey + 3},
        {PresetParam(kPresetNameFirstId + 4), kPresetNameKey + 4},
        {PresetParam(kAuthorId), kAuthorIntKey},
        {PresetParam(kRevisionId), kRevisionIntKey},
        {PresetParam(kProgramDate1Id), kDate1Key},
        {PresetParam(kProgramDate2Id), kDate2Key},
        {FindParam("%s", kEditModePath), kEditModeKey},
    };
    for (const Watch& watch : watches)
        if (watch.param != nullptr)
            watch.param->AddWatcher(this, watch.key, false);
    for (int32_t output = 0; output < kOutputCount; ++output)
        if (XParam* label = OutputParam(output + 1, "label"))
            label->AddWatcher(this, kLabelKey + output, false);

    XParam* mask = PresetParam(kConfigLedsId);
    for (int32_t output = 0; output < kOutputCount; ++output)
    {
        for (int32_t led = 0; led < kLedsPerOutput; ++led)
        {
            auto param = std::make_unique<FloatParam>();
            const int32_t user = output * 256 + led;
            param->SetValueMapCallback(&LedValue, user);
            param->SetVetoCallback(&LedVeto, user);
            paramGroup.AddParam(param.get(), LedBit(output, led), false);
            // The LED passes every notice of the mask on to its own watchers (its button).
            if (mask != nullptr)
                mask->AddWatcher(param.get(), 0, true);
            leds[static_cast<size_t>(LedBit(output, led))] = std::move(param);
        }
    }
}

ConfigWindow::~ConfigWindow()
{
    XParam::ForgetWatcher(this);
    for (std::unique_ptr<FloatParam>& led : leds)
        led.reset();
}

FloatParam* ConfigWindow::GetLedParam(int32_t output, int32_t led) const
{
    return IsLedIndex(output, led) ? leds[static_cast<size_t>(LedBit(output, led))].get() : nullptr;
}

// The page --------------------------------------------------------------------------------------------

void ConfigWindow::BuildContent()
{
    BuildProgramColumn();
    BuildConfigurationColumn();
    BuildRoutingColumn();
    BuildDestinationColumn();
    BuildLedColumn();
    BuildHeadings();
    BuildCompareOverlay();
}

void ConfigWindow::AddTextField(int32_t x, int32_t y, int32_t width, int32_t height, XParam* param,
                                const char* picture)
{
    AddChild(new XPict(At(x - 2, y - 2), nullptr, picture, true));
    auto* field = new XTextEditView(Box(x, y, width, height));
    field->SetBackColor(fieldColour);
    field->SetForeColor(textColour);
    field->SetTransparent(false);
    field->SetFont(Font("medium"));
    AddChild(field);
    field->SetPot(param);
}

void ConfigWindow::BuildProgramColumn()
{
    XRGB labelColour{138, 146, 156, 255};
    GetColorDictionary().FindColor("windowTextDim", labelColour);
    auto label = [&](const char* text, int32_t y)
    { AddChild(new XText(Box(25, y, 120, 9), text, labelColour, Font("smallbold"), XView::kJustifyLeft)); };

    label("UNIT MEMORY", 51);
    AddChild(new XPict(At(23, 62), nullptr, kLongFieldPicture, true));
    AddChild(new XText(Box(26, 65, 127, 15), GetAppServices().GetParam(kCurrentPresetId), textColour,
                       Font("medium"), XView::kJustifyLeft));

    const char* const paths[] = {kProgramNamePath, kAuthorPath, kRevisionPath, kDatePath};
    const char* const labels[] = {"PROGRAM NAME", "AUTHOR", "REVISION", "DATE"};
    for (int32_t row = 0; row < 4; ++row)
    {
        label(labels[row], 91 + 40 * row);
        AddTextField(25, 104 + 40 * row, 127, 15, FindParam("%s", paths[row]), kLongFieldPicture);
    }
}

void ConfigWindow::BuildConfigurationColumn()
{
    XRGB labelColour{138, 146, 156, 255};
    GetColorDictionary().FindColor("windowTextDim", labelColour);
    auto dropDown = [&](int32_t y, XParam* param, const char* font)
    {
        auto* popup = new XPopupMenu(Box(187, y, 149, 25), nullptr, nullptr);
        popup->SetArrowImage(kMediumDropDown, kMediumDropDown);
        popup->SetLabelRect(XRect(2, 1, 118, 24));
        popup->SetTextColors(textColour, textColour);
        popup->SetBackColor(fieldColour);
        popup->SetForeColor(textColour);
        popup->SetTransparent(true);
        if (font != nullptr)
            popup->SetFont(Font(font));
        AddChild(popup);
        popup->SetPot(param);
        return popup;
    };

    AddChild(new XText(Box(188, 42, 98, 26), "CONFIGURATION", labelColour, Font("smallbold"),
                       XView::kJustifyLeft));
    XParam* config = FindParam("%s", kCurrentConfigPath);
    XPopupMenu* configuration = dropDown(60, config, "small");
    configuration->GetPressedSignal().Connect([this] { OnUserConfigChange(); });
    // Choosing the free configuration needs full edit: watched from now on, and at once.
    if (config != nullptr)
        config->AddWatcher(this, kConfigKey, true);

    XParam* editMode = FindParam("%s", kEditModePath);
    auto* standard = new XButton(At(208, 105), editMode, kStandardDim, kStandardLit);
    standard->SetMatchValue(0.0f);
    standard->GetPressStartedSignal().Connect([this] { OnUserEditModeChange(); });
    AddChild(standard);
    auto* fullEdit = new XButton(At(208, 129), editMode, kFullEditDim, kFullEditLit);
    fullEdit->SetMatchValue(1.0f);
    AddChild(fullEdit);

    AddChild(
        new XText(Box(188, 171, 98, 7), "INPUT SOURCE", labelColour, Font("smallbold"), XView::kJustifyLeft));
    dropDown(180, FindParam("%s", kInputModePath), nullptr);
}

void ConfigWindow::BuildOutputMarkers(int32_t x)
{
    for (int32_t number = kOutputCount; number >= 1; --number)
    {
        const int32_t row = kOutputCount - number;
        XParam* colour = PresetParam(kColorChanFirstId + number - 1);
        for (int32_t index = 0; index < kOutputCount; ++index)
        {
            auto* block = new XPict(At(x, 61 + kRowPitch * row), nullptr, kColourBlocks[index], true);
            AddChild(block);
            if (colour != nullptr)
                block->SetShowParam(colour, index);
        }
        if (colour != nullptr)
            colour->Notify(kValueSet);
        XString text;
        text.Format("%d", number);
        AddChild(new XText(Box(x + 14, 55 + kRowPitch * row, 28, 28), text.CStr(), kHeadingColour,
                           Font("large"), XView::kJustifyCentred));
    }
}

void ConfigWindow::BuildRoutingColumn()
{
    BuildOutputMarkers(355);
    XParam* editMode = FindParam("%s", kEditModePath);
    for (int32_t number = kOutputCount; number >= 1; --number)
    {
        const int32_t row = kOutputCount - number;
        auto* popup = new XPopupMenu(Box(394, 55 + kRowPitch * row, 96, 26), nullptr, nullptr);
        popup->SetArrowImage(kRoutingDropDown, kRoutingDropDown);
        popup->SetLabelRect(XRect(2, 0, 69, 25));
        popup->SetTextColors(textColour, textColour);
        popup->SetBackColor(fieldColour);
        popup->SetForeColor(textColour);
        popup->SetTransparent(true);
        AddChild(popup);
        popup->SetPot(OutputParam(number, "source"));
        // In standard edit the sources follow the configuration: a cover keeps them from the mouse.
        auto* cover = new XPict(At(394, 55 + kRowPitch * row), nullptr, kRoutingDisabled, true);
        AddChild(cover);
        if (editMode != nullptr)
            cover->SetShowParam(editMode, 0);
    }
    // The covers take their state; the window's own reaction to the edit mode is not asked for.
    if (editMode != nullptr)
        editMode->NotifyWatchers(kValueSet, this);
}

void ConfigWindow::BuildDestinationColumn()
{
    BuildOutputMarkers(512);
    for (int32_t number = kOutputCount; number >= 1; --number)
    {
        const int32_t row = kOutputCount - number;
        AddTextField(556, 59 + kRowPitch * row, 86, 21, OutputParam(number, "label"), kLabelFieldPicture);
    }
}

void ConfigWindow::BuildLedColumn()
{
    BuildOutputMarkers(670);
    for (int32_t led = 0; led < kLedsPerOutput; ++led)
        AddChild(new XText(Box(713 + 17 * led, 49, 16, 9), kLedTitles[led], kLedTitleColour, Font("tiny"),
                           XView::kJustifyCentred));
    for (int32_t output = kOutputCount - 1; output >= 0; --output)
    {
        const int32_t row = kOutputCount - 1 - output;
        for (int32_t led = 0; led < kLedsPerOutput; ++led)
            AddChild(new XButton(At(716 + 17 * led, 65 + kRowPitch * row), GetLedParam(output, led), kLedDim,
                                 kLedLit));
    }
}

void ConfigWindow::BuildHeadings()
{
    struct Heading
    {
        const char* text;
        int32_t x, width;
    };
    const Heading headings[] = {{"PROGRAM", 11, 157},
                                {"CONFIGURATION", 175, 162},
                                {"ROUTING", 344, 150},
                                {"DESTINATION", 501, 150},
                                {"CONFIG LEDS", 659, 130}};
    for (const Heading& heading : headings)
        AddChild(new XText(Box(heading.x, 17, heading.width, 20), heading.text, kHeadingColour,
                           Font("dialogLabel"), XView::kJustifyCentred));
}

void ConfigWindow::BuildCompareOverlay()
{
    XView* content = GetContentView();
    const XRect area(1, 1, content->getWidth(), content->getHeight());
    auto* overlay = new XText(area, " ", kCompareColour, Font("dialogLabel"), XCanvas::kJustifyTop);
    overlay->SetTransparentWithColor(true, kCompareColour);
    overlay->SetTooltipText("Compare Mode");
    AddChild(overlay);
    XParam* compareLock = GetAppServices().GetParam(kCompareLockId);
    overlay->SetShowParam(compareLock, 0);
    compareLock->Notify(kValueSet);
}

// Reactions -------------------------------------------------------------------------------------------

void ConfigWindow::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (XMsgCode::IsValueChange(code) && param != nullptr)
    {
        if (key == kConfigKey)
        {
            const int32_t config = Truncated(param->GetValue());
            XParam* editMode = FindParam("%s", kEditModePath);
            if (config == kFreeConfiguration && editMode != nullptr)
                editMode->ChangeValue(1.0, true);
            // The user's choice of a configuration lights its LEDs.
            if (code == kChangedByUser)
            {
                if (XApplication* application = GetApplication())
                {
                    XMessage message(kShowConfigLedsMessage);
                    message.AddInt32("config", config);
                    application->PostMessage(&message);
                }
            }
        }
        else if (key == kNameKey)
            PackProgramName();
        else if (key >= kPresetNameKey && key < kPresetNameKey + kPresetNameIntegers)
            UnpackProgramName(key - kPresetNameKey);
        else if (key == kAuthorKey)
            PackAuthor();
        else if (key == kAuthorIntKey)
            UnpackAuthor();
        else if (key == kRevisionKey)
            PackRevision();
        else if (key == kRevisionIntKey)
            UnpackRevision();
        else if (key == kDateKey)
            PackDate();
        else if (key == kDate1Key || key == kDate2Key)
            UnpackDate(key == kDate1Key ? 0 : 1);
        else if (key >= kLabelKey && key < kLabelKey + kOutputCount)
            CopyLinkedLabel(key - kLabelKey, param);
        else if (key == kEditModeKey && param->GetValue() == 0.0)
            GetAppServices().ApplyStandardEditLinks();
    }
    SubWindow::ParamChanged(code, param, key);
}

void ConfigWindow::WritePacked(int32_t presetId, uint32_t packed)
{
    XParam* param = PresetParam(presetId);
    if (param == nullptr)
        return;
    param->SetValue(static_cast<double>(packed), true);
    param->NotifyWatchers(kValueSet, this);
}

void ConfigWindow::WriteText(const char* path, const XString& text)
{
    XParam* param = FindParam("%s", path);
    if (param != nullptr && param->SetText(text.CStr(), false))
        param->NotifyWatchers(kValueSet, this);
}

void ConfigWindow::PackProgramName()
{
    XParam* nameParam = FindParam("%s", kProgramNamePath);
    if (nameParam == nullptr)
        return;
    // The text keeps what the unit can store: what else was typed shows as '?'.
    const XString name = PrintableText(nameParam->GetText());
    WriteText(kProgramNamePath, name);
    const XString fitted = FitText(name, kProgramNameLength);
    for (int32_t index = 0; index < kPresetNameIntegers; ++index)
        WritePacked(kPresetNameFirstId + index,
                    PackChars(fitted, kCharsPerInteger * index, index == kPresetNameIntegers - 1));
}

void ConfigWindow::UnpackProgramName(int32_t index)
{
    XParam* nameParam = FindParam("%s", kProgramNamePath);
    XParam* packed = PresetParam(kPresetNameFirstId + index);
    if (nameParam == nullptr || packed == nullptr)
        return;
    std::string name = FitText(nameParam->GetText(), kProgramNameLength).CStr();
    const std::string chars = UnpackChars(packed->GetValue()).CStr();
    // A zero byte ends the integer's characters: its other places are blank.
    for (int32_t place = 0; place < kCharsPerInteger; ++place)
    {
        const size_t at = static_cast<size_t>(kCharsPerInteger * index + place);
        if (at < name.size())
            name[at] = static_cast<size_t>(place) < chars.size() ? chars[static_cast<size_t>(place)] : ' ';
    }
    WriteText(kProgramNamePath, StripTrailingBlanks(XString(name.c_str())));
}

void ConfigWindow::PackAuthor()
{
    XParam* author = FindParam("%s", kAuthorPath);
    if (author == nullptr)
        return;
    const XString text = PrintableText(author->GetText());
    WriteText(kAuthorPath, text);
    WritePacked(kAuthorId, PackChars(FitText(text, kAuthorLength), 0));
}

void ConfigWindow::UnpackAuthor()
{
    if (XParam* packed = PresetParam(kAuthorId))
        WriteText(kAuthorPath, StripTrailingBlanks(UnpackChars(packed->GetValue())));
}

void ConfigWindow::PackRevision()
{
    XParam* revision = FindParam("%s", kRevisionPath);
    if (revision == nullptr)
        return;
    const XString text = PrintableText(revision->GetText());
    WriteText(kRevisionPath, text);
    WritePacked(kRevisionId, PackChars(FitText(text, kRevisionLength), 0));
}

void ConfigWindow::UnpackRevision()
{
    if (XParam* packed = PresetParam(kRevisionId))
        WriteText(kRevisionPath, StripTrailingBlanks(UnpackChars(packed->GetValue())));
}

void ConfigWindow::PackDate()
{
    XParam* date = FindParam("%s", kDatePath);
    if (date == nullptr)
        return;
    const XString text = PrintableText(date->GetText());
    WriteText(kDatePath, text);
    const XString fitted = FitText(text, kDateLength);
    WritePacked(kProgramDate1Id, PackChars(fitted, 0));
    WritePacked(kProgramDate2Id, PackChars(fitted, kCharsPerInteger));
}

void ConfigWindow::UnpackDate(int32_t index)
{
    XParam* date = FindParam("%s", kDatePath);
    XParam* packed = PresetParam(index == 0 ? kProgramDate1Id : kProgramDate2Id);
    if (date == nullptr || packed == nullptr)
        return;
    std::string text = FitText(date->GetText(), kDateLength).CStr();
    const std::string chars = UnpackChars(packed->GetValue()).CStr();
    for (int32_t place = 0; place < kCharsPerInteger; ++place)
        text[static_cast<size_t>(kCharsPerInteger * index + place)] =
            static_cast<size_t>(place) < chars.size() ? chars[static_cast<size_t>(place)] : ' ';
    WriteText(kDatePath, StripTrailingBlanks(XString(text.c_str())));
}

void ConfigWindow::CopyLinkedLabel(int32_t output, XParam* label)
{
    if (!IsChannelLinkingEnabled())
        return;
    XParam* linked = OutputParam(output + 1, "linkedChannel");
    const int32_t partner = linked != nullptr ? Truncated(linked->GetValue()) : 0;
    // Only the lower output of a pair names the higher one.
    if (partner <= output + 1 || partner > kOutputCount)
        return;
    if (XParam* partnerLabel = OutputParam(partner, "label"))
        partnerLabel->ChangeText(label->GetText().CStr(), true);
}

// LEDs and marks --------------------------------------------------------------------------------------

void ConfigWindow::ShowConfigLeds(uint32_t config)
{
    if (config >= static_cast<uint32_t>(kConfigurationCount))
        return;
    for (int32_t output = 0; output < kOutputCount; ++output)
        for (int32_t led = 0; led < kLedsPerOutput; ++led)
            GetLedParam(output, led)->ChangeValue((kConfigLeds[config][output] >> led) & 1 ? 1.0 : 0.0, true);
}

void ConfigWindow::CopyLinkedConfigLeds()
{
    for (int32_t output = 0; output < kOutputCount; ++output)
    {
        XParam* linked = OutputParam(output + 1, "linkedChannel");
        const int32_t partner = linked != nullptr ? Truncated(linked->GetValue()) : 0;
        if (partner < 1 || partner > kOutputCount || output >= partner - 1)
            continue;
        for (int32_t led = 0; led < kLedsPerOutput; ++led)
            GetLedParam(partner - 1, led)->ChangeValue(GetLedParam(output, led)->GetValue(), true);
    }
}

void ConfigWindow::OnUserConfigChange()
{
    GetAppServices().SetUserConfigChange(true);
}

void ConfigWindow::OnUserEditModeChange()
{
    GetAppServices().SetUserEditModeChange(true);
}
