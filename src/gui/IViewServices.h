#pragma once

class XPropertyList;
class XView;

/** The GUI helpers that every view consults: whether the mouse pointer is shown, whether the wait
    cursor is on, the view inspector, and the builder of window descriptions. The defaults answer
    "shown", "not busy", no inspector and an empty description; the GUI helpers install their own
    object with Set at start-up.

    The installed object is not owned and must outlive its use. Set once at start-up; the
    operations run on the GUI thread. */
class IViewServices
{
public:
    virtual ~IViewServices() = default;

    /** False while views show no cursor at all (a drag hides the pointer). */
    virtual bool IsCursorShown();
    /** True while a command runs with the wait cursor: views show it and ignore mouse presses. */
    virtual bool IsWaitCursorOn();
    /** A view was pressed: the inspector, when it is open, selects it. */
    virtual void InspectorSelectView(XView* view);
    /** Adds one editable entry to an inspector list, bound to field of the item group. */
    virtual void InspectorAddProperty(XPropertyList* list, const char* group, const char* field,
                                      const char* label);
    /** Builds the named window description into root; a missing description builds nothing. */
    virtual void BuildDescription(const char* name, XView* root);

    /** The installed services, or the defaults. */
    static IViewServices& Get();
    /** Installs services (null restores the defaults); returns the services installed before, or
        null, so that a temporary installation can put them back. */
    static IViewServices* Set(IViewServices* services);
};
