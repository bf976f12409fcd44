#include "widgets/DragCapture.h"

#include "gui/GuiHelpers.h"
#include "gui/XView.h"

void DragCapture::Take()
{
    XView* window = view.GetWindow();
    if (window == &view)
        return;
    window->SetCaptureView(&view);
    held = true;
}

void DragCapture::Release()
{
    if (held)
    {
        XView* window = view.GetWindow();
        if (window != &view && window->GetCaptureView() == &view)
            window->SetCaptureView(nullptr);
    }
    held = false;
}

bool DragCapture::MoveTakesCapture(bool fineDragHeld)
{
    if (!fineDragHeld)
    {
        Release();
        return false;
    }
    if (held)
        return false;
    Take();
    return held;
}

void DragCapture::ShowPointerAt(const XPoint& point)
{
    // A view that is not on the screen has no place to put the pointer.
    if (view.isShowing())
    {
        const juce::Point<int> onScreen = view.localPointToGlobal(juce::Point<int>(point.x, point.y));
        SetMousePosition(onScreen.x, onScreen.y);
    }
    ShowMousePointer();
}

bool DragCapture::Contains(const XRect& rect, const XPoint& point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}
