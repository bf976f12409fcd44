#include "widgets/SurroundPanner.h"

#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"
#include "gui/XCanvas.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"

#include <cmath>
#include <iterator>

namespace
{
/** One speaker of a layout: the bus it shows and the place it sits at. */
struct SpeakerPlace
{
    int32_t bus;
    int32_t position;
    bool subwoofer;
};

constexpr SpeakerPlace kLayout1[] = {{0, 1, false}, {1, 5, false}};
constexpr SpeakerPlace kLayout2[] = {{0, 1, false}, {1, 5, false}, {4, 6, false}, {5, 10, false}};
constexpr SpeakerPlace kLayout3[] = {{0, 1, false}, {1, 5, false}, {2, 3, false}, {3, 8, false}};
constexpr SpeakerPlace kLayout4[] = {{0, 1, false}, {1, 5, false},  {2, 3, false},
                                     {4, 6, false}, {5, 10, false}, {3, 8, true}};
constexpr SpeakerPlace kLayout6[] = {{0, 1, false}, {1, 5, false}, {2, 3, false},  {6, 2, false},
                                     {7, 4, false}, {4, 6, false}, {5, 10, false}, {3, 8, true}};
constexpr SpeakerPlace kLayout7[] = {{0, 1, false},  {1, 5, false},  {2, 3, false},  {4, 6, false},
                                     {5, 10, false}, {6, 11, false}, {7, 12, false}, {3, 8, true}};

/** A layout's speakers in drawing order. */
struct LayoutSpeakers
{
    int32_t layout;
    const SpeakerPlace* places;
    size_t count;
};

constexpr LayoutSpeakers kLayouts[] = {
    {1, kLayout1, std::size(kLayout1)}, {2, kLayout2, std::size(kLayout2)},
    {3, kLayout3, std::size(kLayout3)}, {4, kLayout4, std::size(kLayout4)},
    {6, kLayout6, std::size(kLayout6)}, {7, kLayout7, std::size(kLayout7)},
};

/** The layout number of each mode value 0..5. */
constexpr int32_t kLayoutOfMode[] = {1, 2, 3, 4, 6, 7};

/** The image named by a description key, or current when the key is absent or names no image. */
XImage* IconItem(const XMessage& block, const char* key, XImage* current)
{
    const char* name = nullptr;
    if (block.FindString(key, name) != 0)
        return current;
    XImage* image = GetResourceManager().GetImage(XString(name));
    return image != nullptr ? image : current;
}
} // namespace

SurroundPanner::SurroundPanner() : XYPanner() {}

SurroundPanner::~SurroundPanner()
{
    XParam::ForgetWatcher(this);
}

// Parameters -------------------------------------------------------------------------------------

void SurroundPanner::ReplaceWatched(XParam*& slot, XParam* param)
{
    if (param != slot)
    {
        if (slot != nullptr)
            slot->RemoveWatcher(this);
        slot = param;
        if (param != nullptr)
            param->AddWatcher(this, 0, false);
    }
    Invalidate();
}

void SurroundPanner::SetModeParam(XParam* param)
{
    ReplaceWatched(modeParam, param);
}

void SurroundPanner::SetBusAssignParam(XParam* param, int32_t bus)
{
    if (bus < 0 || bus >= kBusCount)
        return;
    ReplaceWatched(busAssignParams[static_cast<size_t>(bus)], param);
}

XParam* SurroundPanner::GetBusAssignParam(int32_t bus) const
{
    if (bus < 0 || bus >= kBusCount)
        return nullptr;
    return busAssignParams[static_cast<size_t>(bus)];
}

void SurroundPanner::SetIcons(XImage* dimSpeaker, XImage* litSpeaker, XImage* dimSubwoofer,
                              XImage* litSubwoofer)
{
    dimSpeakerIcon = dimSpeaker;
    litSpeakerIcon = litSpeaker;
    dimSubwooferIcon = dimSubwoofer;
    litSubwooferIcon = litSubwoofer;
    Invalidate();
}

bool SurroundPanner::IsBusAssigned(int32_t bus) const
{
    const XParam* param = GetBusAssignParam(bus);
    return param != nullptr && param->GetValue() > 0.0;
}

int32_t SurroundPanner::GetLayout() const
{
    if (modeParam == nullptr)
        return 0;
    const double value = std::trunc(modeParam->GetValue());
    // Compared as a double, so that no value (NaN, huge) is cast to an integer it does not fit.
    for (size_t mode = 0; mode < std::size(kLayoutOfMode); ++mode)
    {
        if (value == static_cast<double>(mode))
            return kLayoutOfMode[mode];
    }
    return 0;
}

// Layout -----------------------------------------------------------------------------------------

XRect SurroundPanner::SpeakerIconRect(int32_t position, bool subwoofer) const
{
    const XImage* icon = subwoofer ? dimSubwooferIcon : dimSpeakerIcon;
    if (icon == nullptr || position < kFirstPosition || position > kLastPosition)
        return XRect();
    const XRect bounds = GetBounds();
    const int32_t width = bounds.Width();
    const int32_t height = bounds.Height();
    const int32_t iconWidth = icon->GetWidth();
    const int32_t iconHeight = icon->GetHeight();

    const int32_t farLeft = kEdgeMargin;
    const int32_t innerLeft = width / 4 - iconWidth / 2 + 2;
    const int32_t centre = width / 2 - iconWidth / 2;
    const int32_t innerRight = width / 4 + width / 2 - iconWidth / 2 - 2;
    const int32_t farRight = width - iconWidth - kEdgeMargin;
    const int32_t top = kEdgeMargin;
    const int32_t bottom = height - iconHeight - kEdgeMargin;
    const int32_t middle = height / 2 - iconHeight / 2 - 2;

    // Positions 1..5 along the top, 6..10 along the bottom, then the left and right middle.
    const XPoint corners[] = {{farLeft, top},      {innerLeft, top},  {centre, top},
                              {innerRight, top},   {farRight, top},   {farLeft, bottom},
                              {innerLeft, bottom}, {centre, bottom},  {innerRight, bottom},
                              {farRight, bottom},  {farLeft, middle}, {farRight, middle}};
    const XPoint& corner = corners[position - kFirstPosition];
    return XRect(corner.x, corner.y, corner.x + iconWidth, corner.y + iconHeight);
}

// XYPanner ---------------------------------------------------------------------------------------

void SurroundPanner::ReadAttributes(XMessage& block)
{
    XYPanner::ReadAttributes(block);
    if (XParam* mode = DescriptionItems::FindParamItem(block, "modeparam", 0))
        SetModeParam(mode);
    for (int32_t bus = 0; bus < kBusCount; ++bus)
    {
        if (XParam* assign = DescriptionItems::FindParamItem(block, "busassignparam", bus))
            SetBusAssignParam(assign, bus);
    }
    dimSpeakerIcon = IconItem(block, "dimspeakericon", dimSpeakerIcon);
    litSpeakerIcon = IconItem(block, "litspeakericon", litSpeakerIcon);
    dimSubwooferIcon = IconItem(block, "dimsubwoofericon", dimSubwooferIcon);
    litSubwooferIcon = IconItem(block, "litsubwoofericon", litSubwooferIcon);
}

void SurroundPanner::DrawBackground(XCanvas& canvas)
{
    if (!isVisible())
        return;
    XYPanner::DrawBackground(canvas);
    if (dimSpeakerIcon == nullptr || litSpeakerIcon == nullptr)
        return;
    const int32_t layout = GetLayout();
    for (const LayoutSpeakers& speakers : kLayouts)
    {
        if (speakers.layout != layout)
            continue;
        for (size_t index = 0; index < speakers.count; ++index)
        {
            const SpeakerPlace& place = speakers.places[index];
            const bool lit = IsBusAssigned(place.bus);
            XImage* icon = place.subwoofer ? (lit ? litSubwooferIcon : dimSubwooferIcon)
                                           : (lit ? litSpeakerIcon : dimSpeakerIcon);
            const XRect rect = SpeakerIconRect(place.position, place.subwoofer);
            if (icon != nullptr && !rect.IsEmpty())
                canvas.BlitImage(icon, XRect(0, 0, icon->GetWidth(), icon->GetHeight()), rect,
                                 XCanvas::kRopCopy);
        }
    }
}

// Handler part -----------------------------------------------------------------------------------

void SurroundPanner::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param == nullptr)
        return;
    bool surroundParam = param == modeParam;
    for (XParam*& assign : busAssignParams)
    {
        if (assign != param)
            continue;
        surroundParam = true;
        if (static_cast<uint32_t>(code) == XMsgCode::kParamDestroyed)
            assign = nullptr;
    }
    if (param == modeParam && static_cast<uint32_t>(code) == XMsgCode::kParamDestroyed)
        modeParam = nullptr;

    if (surroundParam && key == 0 && IsValueChangeCode(code))
    {
        Invalidate();
        return;
    }
    if (surroundParam && static_cast<uint32_t>(code) == XMsgCode::kParamDestroyed)
        Invalidate();
    XYPanner::ParamChanged(code, param, key);
}
