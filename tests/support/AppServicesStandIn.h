#pragma once

#include "core/DefaultAppServices.h"
#include "core/XParamGroup.h"

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

/** Stands in for the application's services in tests: installed for the life of the object, it
    finds parameters in the groups a test hands it (else the defaults' detached parameters), records
    the status texts, window requests and preset hooks it is given, and answers the two
    confirmations as the test sets them (given by default). Any thread may call it. */
class AppServicesStandIn final : public DefaultAppServices
{
public:
    AppServicesStandIn() { SetAppServices(this); }
    ~AppServicesStandIn() override { SetAppServices(nullptr); }
    AppServicesStandIn(const AppServicesStandIn&) = delete;
    AppServicesStandIn& operator=(const AppServicesStandIn&) = delete;

    /** The groups that GetParam, GetPresetParam and GetSlaveParam search (null: none). */
    void SetGroups(XParamGroup* main, XParamGroup* preset, XParamGroup* comparePreset, XParamGroup* slave)
    {
        std::lock_guard<std::mutex> hold(lock);
        mainGroup = main;
        presetGroup = preset;
        comparePresetGroup = comparePreset;
        slaveGroup = slave;
    }

    XParam* GetParam(int32_t id) override { return Find(Group(mainGroup), GroupKind::Main, id); }
    XParam* GetPresetParam(int32_t id) override { return Find(Group(presetGroup), GroupKind::Preset, id); }
    XParam* GetSlaveParam(int32_t id) override { return Find(Group(slaveGroup), GroupKind::Slave, id); }
    XParamGroup* GetPresetGroup() override { return Group(presetGroup); }
    XParamGroup* GetComparePresetGroup() override { return Group(comparePresetGroup); }

    void SetStatusText(const XString& text) override
    {
        std::lock_guard<std::mutex> hold(lock);
        statusTexts.push_back(text);
    }
    void ShowWindowForParam(int32_t paramId, bool show) override
    {
        std::lock_guard<std::mutex> hold(lock);
        windowRequests.emplace_back(paramId, show);
    }
    void OnCurrentPresetChanged(int32_t presetNumber) override
    {
        std::lock_guard<std::mutex> hold(lock);
        presetHooks.push_back(presetNumber);
    }
    bool ConfirmEditModeChange() override
    {
        editModeQuestions.fetch_add(1);
        return editModeAnswer.load();
    }
    bool ConfirmConfigurationChange() override
    {
        configurationQuestions.fetch_add(1);
        return configurationAnswer.load();
    }

    std::vector<XString> StatusTexts()
    {
        std::lock_guard<std::mutex> hold(lock);
        return statusTexts;
    }
    std::vector<std::pair<int32_t, bool>> WindowRequests()
    {
        std::lock_guard<std::mutex> hold(lock);
        return windowRequests;
    }
    std::vector<int32_t> PresetHooks()
    {
        std::lock_guard<std::mutex> hold(lock);
        return presetHooks;
    }

    std::atomic<bool> editModeAnswer{true};
    std::atomic<bool> configurationAnswer{true};
    std::atomic<int> editModeQuestions{0};
    std::atomic<int> configurationQuestions{0};

private:
    XParamGroup* Group(XParamGroup* const& field)
    {
        std::lock_guard<std::mutex> hold(lock);
        return field;
    }
    XParam* Find(XParamGroup* group, GroupKind kind, int32_t id)
    {
        XParam* param = group != nullptr ? group->GetParam(id) : nullptr;
        return param != nullptr ? param : DetachedParam(kind, id);
    }

    std::mutex lock; // guards the group pointers and the records
    XParamGroup* mainGroup = nullptr;
    XParamGroup* presetGroup = nullptr;
    XParamGroup* comparePresetGroup = nullptr;
    XParamGroup* slaveGroup = nullptr;
    std::vector<XString> statusTexts;
    std::vector<std::pair<int32_t, bool>> windowRequests;
    std::vector<int32_t> presetHooks;
};
