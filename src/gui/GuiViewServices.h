#pragma once

#include "gui/IViewServices.h"

/** The GUI helpers as the services that every view consults (IViewServices): the drag pointer
    flag, the wait cursor, the view inspector and the window-description builder. Installed by
    InitViewFactory; lives for the life of the process. GUI thread. */
class GuiViewServices final : public IViewServices
{
public:
    bool IsCursorShown() override;
    bool IsWaitCursorOn() override;
    /** Selects the view in the inspector while it is open and the program is not busy. */
    void InspectorSelectView(XView* view) override;
    /** Adds the entry to the list (an XPropertyList of the inspector). */
    void InspectorAddProperty(XPropertyList* list, const char* group, const char* field,
                              const char* label) override;
    /** XViewBuilder(name).BuildInto(root). */
    void BuildDescription(const char* name, XView* root) override;
};

/** The program's services object. */
GuiViewServices& GetGuiViewServices();
