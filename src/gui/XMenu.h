#pragma once

#include "core/XPoint.h"
#include "core/XSignal.h"
#include "core/XString.h"
#include "gui/IContextMenu.h"
#include "gui/XView.h"

#include <cstdint>
#include <juce_gui_basics/juce_gui_basics.h>
#include <memory>
#include <vector>

class XHandler;
class XMenuItem;
class XMessage;
class XParam;

/** The framework's menu: a view that owns a list of items (XMenuItem) and shows them modally
    through JUCE's pop-up menu. Menu bars, pop-up menu buttons and views' context menus use it.

    A dynamic menu expands its parameter items at every showing into one item per value of the
    parameter, grouped into sub-menus by the value texts' "head:tail" form when the value tree is on.
    Labels, ticks and enabled states are asked again at every showing (PrepareNativeMenu); the
    prepared JUCE menu can be walked without showing it (GetNativeMenu, FindItemById).

    A showing runs the chosen item's action, then emits the item-chosen signal (null when the menu
    was left without a choice), then the menu-closed signal. Owns its items, the items the expansion
    generates and their sub-menus; a sub-menu added by the caller (XSubMenuItem) is not owned. GUI
    thread only; PopupAt runs a modal loop, so call it from a posted message, not a looper timer. */
class XMenu : public XView, public IContextMenu
{
public:
    /** Parameters with more values are never listed value by value. */
    static constexpr uint32_t kMaxListedValues = 1025;
    static constexpr int32_t kMaxHeight = 768;
    /** The menu section through which value-tree heads are translated. */
    static constexpr const char* kMenuSection = "MainMenu";

    XMenu(const char* name, bool dynamic);
    ~XMenu() override;

    // Adding and removing items -----------------------------------------------------------------------

    virtual void AddSpacer();
    virtual void AddCommandItem(const char* commandName);
    /** Nothing for a null path; else AddParamItems with the parameter found by path (may be none). */
    virtual void AddParamItemsByPath(const char* path, bool dynamic, bool noCheck, const char* label);
    /** dynamic: one placeholder expanded at every showing. Else one item per value for a parameter
        of 1..1025 values (none for more), or one item for a missing or on/off parameter. */
    virtual void AddParamItems(XParam* param, bool dynamic, bool noCheck, const char* label);
    virtual void AddTextItem(const char* text, bool ticked);
    /** The item takes the message; the target is not owned. */
    virtual void AddMessageItem(const char* label, XMessage* message, XHandler* target);
    /** A sub-menu under label; the sub-menu is not owned and must outlive this menu's use of it. */
    virtual void AddSubMenu(const char* label, XMenu* subMenu);
    virtual void RemoveAllItems();
    /** Deletes the first command item of that name (any case, as commands are found); nothing for null
        or no match. */
    virtual void RemoveCommandItem(const char* commandName);
    /** The first item that is ticked; null when none. */
    virtual XMenuItem* GetSelectedItem() const;

    // Showing -----------------------------------------------------------------------------------------

    /** Shows the menu modally at the point (screen coordinates); the chosen item runs with message
        (may be null), then the signals follow (see the class comment). */
    virtual void PopupAt(const XPoint& screenPoint, XMessage* message);
    virtual void Popup(const XPoint& screenPoint);
    /** IContextMenu: PopupAt without a message. */
    void Popup(const XPoint& screenPoint, IViewContainer* owner) override;
    /** Closes the native menu. While a showing runs, that showing then ends as a menu left without a
        choice and emits the signals itself; otherwise the menu-closed signal is emitted here. */
    virtual void Dismiss(bool notify);
    virtual int32_t GetMaxHeight() const { return kMaxHeight; }

    /** Builds (expanding a dynamic menu) when needed and refreshes the native menu, as before a
        showing; the native menu's item ids then lead to items through FindItemById. */
    void PrepareNativeMenu();
    const juce::PopupMenu& GetNativeMenu() const { return nativeMenu; }
    /** The item behind a native item id of the last preparation; null when none. */
    XMenuItem* FindItemById(int itemId) const;
    /** The items as added (not the expansion). */
    int32_t GetItemCount() const { return static_cast<int32_t>(items.size()); }
    XMenuItem* GetItemAt(int32_t index) const;

    bool IsDynamic() const { return dynamic; }
    bool IsValueTree() const { return valueTree; }
    void SetValueTree(bool on);
    int32_t GetItemsPerColumn() const { return itemsPerColumn; }
    bool IsShowing() const { return showing; }

    XSignal<>& GetMenuClosedSignal() { return menuClosedSignal; }
    XSignal<XMenuItem*>& GetItemChosenSignal() { return itemChosenSignal; }

    /** "valuetree", "dynamic" (else the style word "dynamic"), "maxItemsPerColumn". */
    void ReadAttributes(XMessage& block) override;

protected:
    /** Shows the prepared native menu modally at the point; the chosen native id, 0 for none. */
    virtual int RunNativeMenu(const XPoint& screenPoint);

private:
    void AddItem(std::unique_ptr<XMenuItem> item);
    /** The common adding procedure of AddParamItems and AddParamItemsByPath. */
    void AddParamItemsFor(XParam* param, const char* path, bool isDynamic, bool noCheck, const char* label);
    /** True when the shown list comes from the dynamic expansion. */
    bool UsesExpansion() const;
    void Expand();
    void ExpandParamItem(XMenuItem* placeholder, XParam* param, uint32_t count);
    /** Expansion when due, then the native menu filled with ids taken from idTable. */
    void Prepare(std::vector<XMenuItem*>& idTable);
    void Fill(std::vector<XMenuItem*>& idTable);

    XSignal<> menuClosedSignal;
    XSignal<XMenuItem*> itemChosenSignal;
    std::vector<std::unique_ptr<XMenuItem>> items;
    /** The expansion's list: generated items and items of the item list (not owned here). */
    std::vector<XMenuItem*> shownItems;
    std::vector<std::unique_ptr<XMenuItem>> generatedItems;
    std::vector<std::unique_ptr<XMenu>> generatedMenus;
    /** Native id - 1 -> item, of the last preparation of this (top) menu. */
    std::vector<XMenuItem*> nativeIds;
    bool rebuild = true;
    bool dynamic;
    bool valueTree = false;
    int32_t itemsPerColumn = -1;
    bool showing = false;
    juce::PopupMenu nativeMenu;
};
