#pragma once

#include "ControlTestSupport.h"
#include "core/XCommand.h"
#include "core/XCommandManager.h"
#include "core/XParamDesc.h"
#include "gui/XMenu.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

/** Helpers of the menu, menu bar and pop-up menu tests. */
namespace MenuTest
{
constexpr int kWaitMs = 5000;

/** A command that counts its runs. */
class CountingCommand final : public XCommand
{
public:
    explicit CountingCommand(const char* titleText) : title(titleText) {}
    void Execute(XMessage*) override { ++runs; }
    XString GetTitle() override { return title; }
    bool IsEnabled(XMessage*) override { return enabled; }
    bool IsChecked() override { return checked; }

    int runs = 0;
    bool enabled = true;
    bool checked = false;

private:
    XString title;
};

/** The texts of the values of a parameter made by TextParam, by value. */
inline std::vector<std::string>& ValueTexts()
{
    static std::vector<std::string> texts;
    return texts;
}

inline XString ValueText(XParam*, double value, int32_t)
{
    const auto index = static_cast<size_t>(value);
    return index < ValueTexts().size() ? XString(ValueTexts()[index].c_str()) : XString("?");
}

/** An integer parameter 0..texts-1 whose value texts are texts. */
inline std::unique_ptr<FloatParam> TextParam(std::vector<std::string> texts, double value = 0)
{
    ValueTexts() = std::move(texts);
    auto param = ViewTest::MakeParam(0, static_cast<double>(ValueTexts().size() - 1), "Texts");
    param->SetTextCallback(&ValueText, 0);
    param->SetValue(value, false);
    return param;
}

/** An on/off parameter. */
inline std::unique_ptr<FloatParam> OnOffParam(const char* name, double value)
{
    XParamDesc desc;
    desc.id = 2;
    desc.SetName(name);
    desc.type = XParamDesc::kTypeOnOff;
    desc.min = 0;
    desc.max = 1;
    desc.def = 0;
    desc.count = 2;
    auto param = std::make_unique<FloatParam>(desc);
    param->SetValue(value, false);
    return param;
}

/** One entry of a prepared native menu, as a user sees it. */
struct Entry
{
    std::string text;
    std::string shortcut;
    int id = 0;
    bool enabled = false;
    bool ticked = false;
    bool separator = false;
    std::vector<Entry> children;
};

inline std::vector<Entry> Walk(const juce::PopupMenu& menu)
{
    std::vector<Entry> entries;
    for (juce::PopupMenu::MenuItemIterator it(menu); it.next();)
    {
        const juce::PopupMenu::Item& item = it.getItem();
        Entry entry;
        entry.text = item.text.toStdString();
        entry.shortcut = item.shortcutKeyDescription.toStdString();
        entry.id = item.itemID;
        entry.enabled = item.isEnabled;
        entry.ticked = item.isTicked;
        entry.separator = item.isSeparator;
        if (item.subMenu != nullptr)
            entry.children = Walk(*item.subMenu);
        entries.push_back(entry);
    }
    return entries;
}

/** The menu prepared as for a showing and walked. */
inline std::vector<Entry> Prepared(XMenu& menu)
{
    menu.PrepareNativeMenu();
    return Walk(menu.GetNativeMenu());
}

/** Acts on the first pop-up menu that JUCE shows modally: every 20 ms it looks for a modal component
    other than those present at its start and, once one is up, runs action with it. */
class ModalMenuDriver final : private juce::Timer
{
public:
    explicit ModalMenuDriver(std::function<void(juce::Component&)> actionIn) : action(std::move(actionIn))
    {
        startTimer(20);
    }
    ~ModalMenuDriver() override { stopTimer(); }

    bool HasActed() const { return acted; }

private:
    void timerCallback() override
    {
        auto& modal = *juce::ModalComponentManager::getInstance();
        if (acted || modal.getNumModalComponents() == 0)
            return;
        acted = true;
        stopTimer();
        action(*modal.getModalComponent(0));
    }

    std::function<void(juce::Component&)> action;
    bool acted = false;
};

/** Picks the item at position (0-based, counting selectable items) of the shown menu by keys. */
inline void ChooseByKeys(juce::Component& menuWindow, int position)
{
    for (int step = 0; step <= position; ++step)
        menuWindow.keyPressed(juce::KeyPress(juce::KeyPress::downKey));
    menuWindow.keyPressed(juce::KeyPress(juce::KeyPress::returnKey));
}
} // namespace MenuTest
