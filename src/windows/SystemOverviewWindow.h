#pragma once

#include "core/XMessageCodes.h"
#include "windows/SubWindow.h"
#include "windows/SysOvvBlockPanel.h"
#include "windows/SysOvvShared.h"

#include <cstdint>
#include <vector>

class XButton;

/** The "SYSTEM OVERVIEW" window: the whole signal chain of the unit as a diagram of blocks, one row
    per output (output 6 at the top) with routing, crossover, output EQ, delay, limiter and level,
    and the output's summed response, and one row per input (B at the top, A at the bottom) with
    meter, PEQ, GEQ and delay. Each block is a live miniature of its settings (SysOvvBlockPanel); a
    left click opens the block's editor window, a right click offers copy and paste of the block
    between channels. The title area shows the unit's current preset, the program name and two
    unsaved-changes lights: the document's, and the unit's while a unit is connected.

    The window keeps the blocks' curve colours with the outputs' colours, and rebinds the summed
    responses when an output's source changes. One per program, created hidden by the application;
    its blocks, their commands and menus are made on the first show. GUI thread only. */
class SystemOverviewWindow final : public SubWindow
{
public:
    static constexpr int32_t kOutputCount = SysOvvShared::kOutputCount;
    static constexpr int32_t kInputCount = SysOvvShared::kInputCount;
    /** Watcher key of the configuration and the colours; the outputs' sources use keys 0..5. */
    static constexpr int32_t kConfigKey = static_cast<int32_t>(FourCharCode("cnfg"));
    /** The configuration when "preset\CurrentConfig" is missing. */
    static constexpr int32_t kDefaultConfig = 4;

    /** Watches the configuration, the output colours and the outputs' sources (told at once);
        hidden, without content. */
    SystemOverviewWindow();
    ~SystemOverviewWindow() override;

    /** Gives each output's three curves the skin colour "outputColor1".."outputColor6" of its
        colour index ("preset\ColorChan<n>") and its delay knob the speaker of that colour. */
    void ApplyChannelColours(int32_t config);
    /** Rebinds the input bands of output's summed response for source (0 A, 1 B, 2 A+B). */
    void BindRoutedInputBands(int32_t output, int32_t source);
    /** "preset\CurrentConfig" as an integer; kDefaultConfig when it is missing. */
    static int32_t GetCurrentConfig();

    void ParamChanged(int32_t code, XParam* param, int32_t key) override;
    const char* GetClassNameText() const override { return "SystemOverviewWindow"; }

    SysOvvShared& GetShared() { return shared; }
    /** A block by kind and channel; null before the first show or when there is none. */
    SysOvvBlockPanel* GetBlock(SysOvvBlockPanel::Kind kind, int32_t channel) const;
    template <typename T> T* GetBlock(SysOvvBlockPanel::Kind kind, int32_t channel) const
    {
        return dynamic_cast<T*>(GetBlock(kind, channel));
    }
    XButton* GetDocumentIndicator() const { return documentIndicator; }
    XButton* GetUnitIndicator() const { return unitIndicator; }

protected:
    void BuildContent() override;

private:
    void BuildBlocks();
    void BuildTitleArea();

    SysOvvShared shared;
    std::vector<SysOvvBlockPanel*> blocks; // children
    XButton* documentIndicator = nullptr;  // child
    XButton* unitIndicator = nullptr;      // child
};
