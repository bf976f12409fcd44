#include "gui/XMenu.h"

#include "core/ParamRegistry.h"
#include "core/XApplication.h"
#include "core/XMessage.h"
#include "core/XParam.h"
#include "core/XParamDesc.h"
#include "core/XStringConversion.h"
#include "gui/DescriptionItems.h"
#include "gui/XMenuItem.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
/** truncate(max - min + 1), 0 when negative or not finite. */
uint32_t ValueCount(const XParam* param)
{
    const double span = std::trunc(param->GetMax() - param->GetMin() + 1.0);
    if (!(span > 0.0))
        return 0;
    return span > static_cast<double>(UINT32_MAX) ? UINT32_MAX : static_cast<uint32_t>(span);
}

bool IsListable(uint32_t count)
{
    return count >= 1 && count <= XMenu::kMaxListedValues;
}

bool IsOnOff(const XParam* param)
{
    return param->GetType() == XParamDesc::kTypeOnOff;
}

/** Splits text at its first ':'; tail is empty without one. */
void SplitAtColon(const XString& text, XString& head, XString& tail)
{
    const char* whole = text.CStr();
    const char* colon = std::strchr(whole, ':');
    if (colon == nullptr)
    {
        head = text;
        tail = XString();
        return;
    }
    head = XString(whole, static_cast<int32_t>(colon - whole));
    tail = XString(colon + 1);
}

XString TranslateHead(const XString& head)
{
    XApplication* application = GetApplication();
    return application != nullptr ? application->GetMenuLabel(XMenu::kMenuSection, head.CStr()) : head;
}
} // namespace

XMenu::XMenu(const char* name, bool isDynamic) : dynamic(isDynamic)
{
    const XString menuName(name != nullptr ? name : "");
    setName(menuName.CStr());
    SetName(menuName.CStr());
}

XMenu::~XMenu()
{
    if (showing)
        juce::PopupMenu::dismissAllActiveMenus();
    nativeMenu.clear();
}

// Adding and removing ---------------------------------------------------------------------------------

void XMenu::AddItem(std::unique_ptr<XMenuItem> item)
{
    items.push_back(std::move(item));
    rebuild = true;
}

void XMenu::AddSpacer()
{
    AddItem(std::make_unique<XSpacerItem>());
}

void XMenu::AddCommandItem(const char* commandName)
{
    AddItem(std::make_unique<XCommandItem>(commandName));
}

void XMenu::AddParamItemsByPath(const char* path, bool isDynamic, bool noCheck, const char* label)
{
    if (path == nullptr)
        return;
    AddParamItemsFor(FindParam("%s", path), path, isDynamic, noCheck, label);
}

void XMenu::AddParamItems(XParam* param, bool isDynamic, bool noCheck, const char* label)
{
    AddParamItemsFor(param, nullptr, isDynamic, noCheck, label);
}

void XMenu::AddParamItemsFor(XParam* param, const char* path, bool isDynamic, bool noCheck, const char* label)
{
    if (isDynamic)
    {
        dynamic = true;
        auto placeholder = std::make_unique<XParamItem>(param, 1.0, label);
        placeholder->SetValueItem(true);
        placeholder->SetNoCheck(noCheck);
        AddItem(std::move(placeholder));
        return;
    }
    if (param != nullptr && !IsOnOff(param))
    {
        const uint32_t count = ValueCount(param);
        if (!IsListable(count))
            return;
        // The value is held as a float and counted up by 1.0.
        float value = static_cast<float>(param->GetMin());
        for (uint32_t index = 0; index < count; ++index, value += 1.0f)
        {
            auto item = std::make_unique<XParamItem>(param, value, "", path);
            item->SetNoCheck(noCheck);
            AddItem(std::move(item));
        }
        return;
    }
    auto item = std::make_unique<XParamItem>(param, 1.0, label, path);
    item->SetNoCheck(noCheck);
    AddItem(std::move(item));
}

void XMenu::AddTextItem(const char* text, bool ticked)
{
    AddItem(std::make_unique<XTextItem>(text, ticked));
}

void XMenu::AddMessageItem(const char* label, XMessage* message, XHandler* target)
{
    AddItem(std::make_unique<XMessageItem>(label, message, target));
}

void XMenu::AddSubMenu(const char* label, XMenu* subMenu)
{
    AddItem(std::make_unique<XSubMenuItem>(label, subMenu));
}

void XMenu::RemoveAllItems()
{
    shownItems.clear();
    nativeIds.clear();
    items.clear();
    rebuild = true;
}

void XMenu::RemoveCommandItem(const char* commandName)
{
    if (commandName == nullptr)
        return;
    for (auto it = items.begin(); it != items.end(); ++it)
    {
        auto* command = dynamic_cast<XCommandItem*>(it->get());
        if (command != nullptr && command->GetCommandName().EqualsNoCase(commandName))
        {
            // The next showing refreshes the native menu; the lists must not keep the item meanwhile.
            shownItems.erase(std::remove(shownItems.begin(), shownItems.end(), it->get()), shownItems.end());
            std::replace(nativeIds.begin(), nativeIds.end(), static_cast<XMenuItem*>(it->get()),
                         static_cast<XMenuItem*>(nullptr));
            items.erase(it);
            return;
        }
    }
}

XMenuItem* XMenu::GetSelectedItem() const
{
    for (const auto& item : items)
        if (item->IsChecked())
            return item.get();
    return nullptr;
}

XMenuItem* XMenu::GetItemAt(int32_t index) const
{
    return index >= 0 && index < GetItemCount() ? items[static_cast<size_t>(index)].get() : nullptr;
}

void XMenu::SetValueTree(bool on)
{
    valueTree = on;
    rebuild = true;
}

// Dynamic expansion ---------------------------------------------------------------------------------

bool XMenu::UsesExpansion() const
{
    if (!dynamic || items.empty() || !items.front()->IsParamItem())
        return false;
    const XParam* param = static_cast<XParamItem*>(items.front().get())->GetParam();
    return param != nullptr && param->GetMax() >= 1.0;
}

void XMenu::Expand()
{
    shownItems.clear();
    nativeIds.clear();
    generatedItems.clear();
    generatedMenus.clear();
    for (const auto& item : items)
    {
        if (!item->IsParamItem())
        {
            shownItems.push_back(item.get());
            continue;
        }
        XParam* param = static_cast<XParamItem*>(item.get())->GetParam();
        if (param == nullptr || IsOnOff(param))
        {
            generatedItems.push_back(std::make_unique<XParamItem>(param, 1.0, ""));
            shownItems.push_back(generatedItems.back().get());
            continue;
        }
        // A parameter of more than kMaxListedValues values is left out; the items after it stay.
        const uint32_t count = ValueCount(param);
        if (IsListable(count))
            ExpandParamItem(item.get(), param, count);
    }
}

void XMenu::ExpandParamItem(XMenuItem* placeholder, XParam* param, uint32_t count)
{
    const bool noCheck = placeholder->GetCheckStyle() == XMenuItem::kCheckNone;
    double value = param->GetMin();
    for (uint32_t index = 0; index < count; ++index, value += 1.0)
    {
        if (!valueTree)
        {
            auto item = std::make_unique<XParamItem>(param, value, "");
            item->SetValueItem(true);
            item->SetNoCheck(noCheck);
            shownItems.push_back(item.get());
            generatedItems.push_back(std::move(item));
            continue;
        }
        XString head;
        XString tail;
        SplitAtColon(param->ValueToText(value), head, tail);
        if (tail.IsEmpty())
        {
            generatedItems.push_back(std::make_unique<XParamItem>(param, value, head.CStr(), nullptr, true));
            generatedItems.back()->SetValueItem(true);
            shownItems.push_back(generatedItems.back().get());
            continue;
        }
        const XString translated = TranslateHead(head);
        XMenu* subMenu = nullptr;
        for (auto it = shownItems.rbegin(); it != shownItems.rend() && subMenu == nullptr; ++it)
            if ((*it)->IsSubMenu() && (*it)->GetLabel() == translated)
                subMenu = (*it)->GetSubMenu();
        if (subMenu == nullptr)
        {
            generatedMenus.push_back(std::make_unique<XMenu>(head.CStr(), false));
            subMenu = generatedMenus.back().get();
            subMenu->itemsPerColumn = itemsPerColumn;
            generatedItems.push_back(std::make_unique<XSubMenuItem>(translated.CStr(), subMenu));
            shownItems.push_back(generatedItems.back().get());
        }
        auto valueItem = std::make_unique<XParamItem>(param, value, tail.CStr(), nullptr, true);
        valueItem->SetValueItem(true);
        valueItem->SetNoCheck(noCheck);
        subMenu->AddItem(std::move(valueItem));
    }
}

// Native menu ---------------------------------------------------------------------------------------

void XMenu::PrepareNativeMenu()
{
    nativeIds.clear();
    Prepare(nativeIds);
}

void XMenu::Prepare(std::vector<XMenuItem*>& idTable)
{
    if (rebuild || dynamic)
    {
        if (UsesExpansion())
            Expand();
        rebuild = false;
    }
    Fill(idTable);
}

void XMenu::Fill(std::vector<XMenuItem*>& idTable)
{
    std::vector<XMenuItem*> source;
    if (UsesExpansion())
        source = shownItems;
    else
        for (const auto& item : items)
            source.push_back(item.get());

    nativeMenu.clear();
    for (XMenuItem* item : source)
    {
        const XString label = item->GetLabel();
        const XString shortcut = item->GetShortcutText();
        switch (item->GetKind())
        {
        case XMenuItem::kKindSeparator:
            nativeMenu.addSeparator();
            break;
        case XMenuItem::kKindSubMenu:
        {
            XMenu* subMenu = item->GetSubMenu();
            juce::PopupMenu subNative;
            if (subMenu != nullptr && subMenu != this)
            {
                subMenu->Prepare(idTable);
                subNative = subMenu->nativeMenu;
            }
            nativeMenu.addSubMenu(label.CStr(), subNative, item->IsEnabled(nullptr));
            break;
        }
        default:
        {
            idTable.push_back(item);
            juce::PopupMenu::Item entry(ToJuceString(label));
            entry.itemID = static_cast<int>(idTable.size());
            // JUCE draws the shortcut text right-aligned, as the "<end>" part of the label asks.
            entry.shortcutKeyDescription = ToJuceString(shortcut);
            entry.isEnabled = item->IsEnabled(nullptr);
            entry.isTicked = item->IsChecked();
            nativeMenu.addItem(std::move(entry));
            break;
        }
        }
    }
}

XMenuItem* XMenu::FindItemById(int itemId) const
{
    if (itemId < 1 || static_cast<size_t>(itemId) > nativeIds.size())
        return nullptr;
    return nativeIds[static_cast<size_t>(itemId - 1)];
}

// Showing -------------------------------------------------------------------------------------------

int XMenu::RunNativeMenu(const XPoint& screenPoint)
{
#if JUCE_MODAL_LOOPS_PERMITTED
    const auto options = juce::PopupMenu::Options().withTargetScreenArea(
        juce::Rectangle<int>(screenPoint.x, screenPoint.y, 1, 1));
    return nativeMenu.showMenu(options);
#else
    return 0;
#endif
}

void XMenu::PopupAt(const XPoint& screenPoint, XMessage* message)
{
    if (showing)
        return;
    PrepareNativeMenu();
    showing = true;
    const int chosenId = RunNativeMenu(screenPoint);
    showing = false;
    XMenuItem* chosen = FindItemById(chosenId);
    if (chosen != nullptr)
        chosen->Execute(message);
    itemChosenSignal.Emit(chosen);
    Dismiss(true);
}

void XMenu::Popup(const XPoint& screenPoint)
{
    PopupAt(screenPoint, nullptr);
}

void XMenu::Popup(const XPoint& screenPoint, IViewContainer* owner)
{
    PopupAt(screenPoint, nullptr);
}

void XMenu::Dismiss(bool notify)
{
    if (showing)
    {
        juce::PopupMenu::dismissAllActiveMenus();
        return;
    }
    menuClosedSignal.Emit();
}

// Attributes ----------------------------------------------------------------------------------------

void XMenu::ReadAttributes(XMessage& block)
{
    XView::ReadAttributes(block);
    DescriptionItems::FindFlag(block, "valuetree", valueTree);
    if (!DescriptionItems::FindFlag(block, "dynamic", dynamic) &&
        DescriptionItems::HasStyleWord(block, "dynamic"))
        dynamic = true;
    int32_t perColumn = 0;
    if (block.FindInt32("maxItemsPerColumn", perColumn) == 0)
        itemsPerColumn = perColumn;
    if (dynamic)
        rebuild = true;
}
