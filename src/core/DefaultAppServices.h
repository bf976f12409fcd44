#pragma once

#include "core/IAppServices.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

class FloatParam;

/** The application services of a process without an application object (headless tools, tests,
    start-up): it has no groups, so every parameter asked for by id is a detached parameter of its
    own, kept per group and id for the object's life; it shows nothing, gives every confirmation and
    ignores every action. Derive from it to replace single services. Any thread may call it. */
class DefaultAppServices : public IAppServices
{
public:
    DefaultAppServices();
    ~DefaultAppServices() override;

    XParam* GetParam(int32_t id) override;
    XParam* GetPresetParam(int32_t id) override;
    XParam* GetSlaveParam(int32_t id) override;
    XParamGroup* GetPresetGroup() override { return nullptr; }
    XParamGroup* GetComparePresetGroup() override { return nullptr; }
    IAppDocument* GetPresetDocument() override { return nullptr; }

    void SetStatusText(const XString&) override {}
    void ShowCompareButton() override {}
    void HideCompareButton() override {}
    void DrawDisplayColumn(int32_t, int32_t, int32_t) override {}

    void SyncCompareGroups(bool) override {}
    void ResetChannelsToDefaults() override {}
    void SetChannelLinking(bool) override {}

    void ShowWindowForParam(int32_t, bool) override {}
    void RefreshDelayWindows() override {}
    void RefreshFrontPanelWindow() override {}
    void RepaintFrontPanelParam(XParam*) override {}

    void OnCurrentPresetChanged(int32_t) override {}
    bool ConfirmEditModeChange() override { return true; }
    bool ConfirmConfigurationChange() override { return true; }
    void SetUserConfigChange(bool) override {}
    void SetUserEditModeChange(bool) override {}
    void ApplyStandardEditLinks() override {}

    void SwitchListenMode() override {}
    void EnableParamSending(bool) override {}
    void SendAllParamsIfConnected() override {}

protected:
    /** Which group a detached parameter stands in for. */
    enum class GroupKind
    {
        Main,
        Preset,
        ComparePreset,
        Slave
    };
    /** The detached parameter that stands in for id of a group; made on first use. */
    XParam* DetachedParam(GroupKind group, int32_t id);

private:
    std::mutex detachedLock; // guards detached
    std::map<std::pair<GroupKind, int32_t>, std::unique_ptr<FloatParam>> detached;
};
