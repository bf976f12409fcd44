#include "widgets/MasterTimeView.h"

#include "core/XApplication.h"
#include "core/XMessage.h"

#include <cstring>

bool MasterTimeView::MouseWheel(const XPoint& point, int32_t steps)
{
    const bool handled = XControl::MouseWheel(point, steps);
    CommitText();
    return handled;
}

void MasterTimeView::CommitText()
{
    XTimeView::CommitText();
    const double seconds = GetTimeValue().GetSeconds();
    int64_t bits = 0;
    static_assert(sizeof(bits) == sizeof(seconds), "a double travels in a 64-bit item");
    std::memcpy(&bits, &seconds, sizeof(bits));
    XMessage message(kTimestampMessage, 0);
    message.AddInt64(kTimestampItem, bits);
    if (XApplication* application = GetApplication())
        application->SendToCodeHandler(&message);
}
