#pragma once

#include "core/FloatParam.h"
#include "core/XMessageCodes.h"
#include "core/XParamGroup.h"
#include "core/XRGB.h"
#include "core/XString.h"
#include "device/GlobalParamTables.h"
#include "windows/EditorWindows.h"
#include "windows/SubWindow.h"

#include <array>
#include <cstdint>
#include <memory>

class XParam;

/** The "Configuration" window: the program's identity (unit memory, program name, author, revision,
    date), the speaker configuration and edit mode, the input source, each output's source and label,
    and the configuration LEDs of every output.

    The unit keeps the program's texts only as 32-bit integers of four characters each, first
    character in the lowest byte. From construction to its end the window keeps the preset group's
    texts (programName, authorStr, revisionStr, programDateStr) and those integers in step, in both
    directions, whether or not it was ever shown: a text change packs the text into its integers, an
    integer change replaces its characters of the text. A text that comes back equal (case ignored)
    ends the exchange, so the two directions never loop. Characters outside printable ASCII become
    '?' before they are packed, as a byte of 0x80 or more would not fit the integers' range.

    The 24 LED parameters are the window's own (never sent): LED j (0 Sub, 1 Lo, 2 Mid, 3 Hi) of
    output i is bit j + 4 i of the preset parameter ConfigLEDio, read through a value map and
    written through a change veto, so an LED set to the state it has is refused.

    The application creates it at start-up, routes 'cLED' to ShowConfigLeds and 'LEDk' to
    CopyLinkedConfigLeds, and asks the user to confirm configuration and edit-mode changes that the
    window marks as the user's. GUI thread only. */
class ConfigWindow final : public SubWindow
{
public:
    static constexpr int32_t kOutputCount = 6;
    static constexpr int32_t kLedsPerOutput = 4;

    /** Preset group ids. */
    static constexpr int32_t kPresetNameFirstId =
        GlobalParamTables::kPresetNameFirstId; // PresetName1..5 = 0..4
    static constexpr int32_t kProgramDate1Id = GlobalParamTables::kProgramDate1Id;
    static constexpr int32_t kProgramDate2Id = GlobalParamTables::kProgramDate2Id;
    static constexpr int32_t kAuthorId = GlobalParamTables::kAuthorId;
    static constexpr int32_t kRevisionId = GlobalParamTables::kRevisionId;
    static constexpr int32_t kCurrentConfigId = GlobalParamTables::kCurrentConfigId;
    static constexpr int32_t kConfigLedsId = GlobalParamTables::kConfigLedsId;
    static constexpr int32_t kColorChanFirstId = GlobalParamTables::kColorChanFirstId;
    /** Main group ids. */
    static constexpr int32_t kCurrentPresetId = GlobalParamTables::kCurrentPresetId;
    static constexpr int32_t kCompareLockId = GlobalParamTables::kEditCompareLockId;

    static constexpr const char* kProgramNamePath = "preset\\programName";
    static constexpr const char* kAuthorPath = "preset\\authorStr";
    static constexpr const char* kRevisionPath = "preset\\revisionStr";
    static constexpr const char* kDatePath = "preset\\programDateStr";
    static constexpr const char* kEditModePath = "QM7_KOVA\\globalEditMode";
    static constexpr const char* kInputModePath = "global\\InputMode";
    static constexpr const char* kCurrentConfigPath = "preset\\CurrentConfig";

    /** Widths of the texts in the unit's integers. */
    static constexpr int32_t kProgramNameLength = 19;
    static constexpr int32_t kAuthorLength = 4;
    static constexpr int32_t kRevisionLength = 4;
    static constexpr int32_t kDateLength = 8;
    static constexpr int32_t kCharsPerInteger = 4;
    static constexpr int32_t kPresetNameIntegers = 5;

    /** The free configuration, which needs full edit. */
    static constexpr int32_t kFreeConfiguration = 4;
    static constexpr int32_t kConfigurationCount = 7;

    /** Watch keys. */
    static constexpr int32_t kNameKey = static_cast<int32_t>(FourCharCode("name"));
    static constexpr int32_t kAuthorKey = static_cast<int32_t>(FourCharCode("auth"));
    static constexpr int32_t kRevisionKey = static_cast<int32_t>(FourCharCode("rev "));
    static constexpr int32_t kDateKey = static_cast<int32_t>(FourCharCode("date"));
    static constexpr int32_t kPresetNameKey = static_cast<int32_t>(FourCharCode("sfnm")); // + 0..4
    static constexpr int32_t kAuthorIntKey = static_cast<int32_t>(FourCharCode("sfau"));
    static constexpr int32_t kRevisionIntKey = static_cast<int32_t>(FourCharCode("sfrv"));
    static constexpr int32_t kDate1Key = static_cast<int32_t>(FourCharCode("sfdt"));
    static constexpr int32_t kDate2Key = static_cast<int32_t>(FourCharCode("sfdu"));
    static constexpr int32_t kEditModeKey = static_cast<int32_t>(FourCharCode("fled"));
    static constexpr int32_t kLabelKey = static_cast<int32_t>(FourCharCode("chlb")); // + output index
    static constexpr int32_t kConfigKey = 0x00636667;                                // 'cfg'

    /** The message that makes the application show a configuration's LEDs (item "config"). */
    static constexpr uint32_t kShowConfigLedsMessage = FourCharCode("cLED");

    /** Four characters of text from position from (blanks past its end) as the unit's integer, the
        first character in the lowest byte; characters outside printable ASCII count as '?'. With
        zeroLast the fourth byte is 0 (the end of the program name). */
    static uint32_t PackChars(const XString& text, int32_t from, bool zeroLast = false);
    /** The four characters of an integer, up to its first zero byte; bytes outside printable
        ASCII become '?'. */
    static XString UnpackChars(double value);
    /** text cut or padded with blanks to length. */
    static XString FitText(const XString& text, int32_t length);
    /** text without its trailing blanks. */
    static XString StripTrailingBlanks(const XString& text);
    /** Characters outside printable ASCII replaced by '?'. */
    static XString PrintableText(const XString& text);

    /** Watches the texts, their integers, the edit mode and the output labels; makes the LED
        parameters. */
    ConfigWindow();
    ~ConfigWindow() override;

    /** The LED parameter of output (0..5) and led (0..3); null outside. */
    FloatParam* GetLedParam(int32_t output, int32_t led) const;

    /** Sets the 24 LEDs to configuration config's pattern (user changes); above 6 nothing. */
    void ShowConfigLeds(uint32_t config);
    /** Each output linked to a later one gives that one its four LEDs. */
    void CopyLinkedConfigLeds();
    /** The user pressed the configuration drop-down / the standard-edit button: marks the change as
        the user's, so that the application asks before it. */
    void OnUserConfigChange();
    void OnUserEditModeChange();

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "ConfigWindow"; }

protected:
    void BuildContent() override;

private:
    void BuildProgramColumn();
    void BuildConfigurationColumn();
    void BuildRoutingColumn();
    void BuildDestinationColumn();
    void BuildLedColumn();
    void BuildHeadings();
    void BuildCompareOverlay();
    /** The six colour pictures and the number of each output at x. */
    void BuildOutputMarkers(int32_t x);
    /** A text field bound to param on its frame picture (2 pixels larger on every side). */
    void AddTextField(int32_t x, int32_t y, int32_t width, int32_t height, XParam* param,
                      const char* picture);

    /** The text handlers: each packs its text into the unit's integers, or an integer into its
        characters of the text. */
    void PackProgramName();
    void UnpackProgramName(int32_t index);
    void PackAuthor();
    void UnpackAuthor();
    void PackRevision();
    void UnpackRevision();
    void PackDate();
    void UnpackDate(int32_t index);
    void CopyLinkedLabel(int32_t output, XParam* label);
    /** Writes a packed integer and tells every other watcher. */
    void WritePacked(int32_t presetId, uint32_t packed);
    /** Writes a text back without telling this window; other watchers hear of a change. */
    void WriteText(const char* path, const XString& text);

    XParamGroup paramGroup; // holds the LED parameters without owning them
    std::array<std::unique_ptr<FloatParam>, kOutputCount * kLedsPerOutput> leds;
    const XRGB fieldColour{245, 245, 245, 255};
    const XRGB textColour{43, 45, 46, 255};
};
