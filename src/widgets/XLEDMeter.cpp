#include "widgets/XLEDMeter.h"

#include "core/ParamRegistry.h"
#include "core/ProcessState.h"
#include "core/XParam.h"
#include "gui/XCanvas.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"
#include "gui/XText.h"

#include <algorithm>
#include <juce_core/juce_core.h>

XLEDMeter::XLEDMeter(const XRect& frame, int32_t count, const char* unlitImage, const char* litImage,
                     XParam* level, bool labelsOnLeft)
    : XControl(frame, "", nullptr), segmentCount(std::clamp(count, 1, kMaxSegments)), labelsLeft(labelsOnLeft)
{
    XResourceManager& resources = GetResourceManager();
    defaultUnlitImage = unlitImage != nullptr ? resources.GetImage(unlitImage) : nullptr;
    defaultLitImage = litImage != nullptr ? resources.GetImage(litImage) : nullptr;
    BuildSegments();
    // Bound last: the first notification already counts against the built segments.
    SetPot(level);
}

XLEDMeter::~XLEDMeter() = default;

void XLEDMeter::BuildSegments()
{
    SetTransparent(true);
    unlitImages.fill(nullptr);
    litImages.fill(nullptr);
    thresholds.fill(0.0);
    labels.fill(nullptr);
    XFont* const font = XFont::FindNamedFont(kLabelFontName, false);
    const int32_t justification = labelsLeft ? kJustifyRight : kJustifyLeft;
    for (int32_t segment = 0; segment < segmentCount; ++segment)
    {
        unlitImages[segment] = defaultUnlitImage;
        litImages[segment] = defaultLitImage;
        auto* label = new XText(GetLabelRect(segment), kUnsetLabel, kDefaultLabelColour, justification);
        if (font != nullptr)
            label->SetFont(font);
        labels[segment] = label;
        AddChild(label);
    }
}

// Settings -----------------------------------------------------------------------------------------

void XLEDMeter::SetLevels(const float* values, int32_t count)
{
    if (values == nullptr)
        return;
    const int32_t used = std::min(count, kMaxSegments);
    for (int32_t segment = 0; segment < used; ++segment)
        thresholds[segment] = values[segment];
}

void XLEDMeter::SetSegmentImage(const char* imageName, int32_t segment)
{
    if (!IsSegment(segment) || imageName == nullptr)
        return;
    litImages[segment] = GetResourceManager().GetImage(imageName);
    RepaintSegment(segment);
}

void XLEDMeter::SetSegmentLabels(const char* list)
{
    if (list == nullptr)
        return;
    juce::StringArray texts;
    texts.addTokens(juce::String::fromUTF8(list), ",", "");
    for (int32_t segment = 0; segment < segmentCount && segment < texts.size(); ++segment)
        SetSegmentLabel(texts[segment].toRawUTF8(), segment);
}

void XLEDMeter::SetSegmentLabel(const char* text, int32_t segment)
{
    if (!IsSegment(segment) || text == nullptr || labels[segment] == nullptr)
        return;
    labels[segment]->SetLabel(XString(text), false);
    labels[segment]->Invalidate();
}

void XLEDMeter::SetSegmentSpacing(int32_t newSpacing)
{
    spacing = newSpacing;
    for (int32_t segment = 0; segment < segmentCount; ++segment)
    {
        if (labels[segment] != nullptr)
            labels[segment]->SetFrame(GetLabelRect(segment));
    }
}

void XLEDMeter::SetLabelColour(uint8_t red, uint8_t green, uint8_t blue)
{
    const XRGB colour(red, green, blue, 255);
    SetTextColor(colour);
    for (XText* label : labels)
    {
        if (label == nullptr)
            continue;
        label->SetForeColor(colour);
        label->Invalidate();
    }
}

// Queries ------------------------------------------------------------------------------------------

int32_t XLEDMeter::CountLitSegments(float level) const
{
    int32_t count = 0;
    while (count < segmentCount && level >= thresholds[count])
        ++count;
    return count;
}

double XLEDMeter::GetThreshold(int32_t segment) const
{
    return IsSegment(segment) ? thresholds[segment] : 0.0;
}

XText* XLEDMeter::GetLabel(int32_t segment) const
{
    return IsSegment(segment) ? labels[segment] : nullptr;
}

XImage* XLEDMeter::GetLitImage(int32_t segment) const
{
    return IsSegment(segment) ? litImages[segment] : nullptr;
}

XImage* XLEDMeter::GetUnlitImage(int32_t segment) const
{
    return IsSegment(segment) ? unlitImages[segment] : nullptr;
}

int32_t XLEDMeter::LedWidth() const
{
    return defaultUnlitImage != nullptr ? defaultUnlitImage->GetWidth() : 0;
}

int32_t XLEDMeter::LedHeight() const
{
    return defaultUnlitImage != nullptr ? defaultUnlitImage->GetHeight() : 0;
}

XRect XLEDMeter::GetSegmentRect(int32_t segment) const
{
    const int32_t slot = GetHeight() / segmentCount;
    const int32_t top = (segmentCount - segment - 1) * slot;
    const int32_t width = GetWidth();
    const int32_t left = labelsLeft ? width - LedWidth() : 0;
    return XRect(left, top, left + LedWidth(), top + LedHeight());
}

XRect XLEDMeter::GetLabelRect(int32_t segment) const
{
    const XRect led = GetSegmentRect(segment);
    const int32_t width = GetWidth();
    const int32_t gap = LedWidth() + spacing;
    return labelsLeft ? XRect(0, led.top, width - gap, led.bottom) : XRect(gap, led.top, width, led.bottom);
}

XRect XLEDMeter::GetColumnRect() const
{
    return GetSegmentRect(0).Union(GetSegmentRect(segmentCount - 1));
}

// Level --------------------------------------------------------------------------------------------

int32_t XLEDMeter::ValueToPosition(XParam* param) const
{
    return param != nullptr ? CountLitSegments(static_cast<float>(param->GetValue())) : 0;
}

uint32_t XLEDMeter::UpdatePeak(int32_t count)
{
    const auto lit = static_cast<uint32_t>(count);
    if (lit >= peak)
    {
        peak = lit;
        holdCounter = 0;
    }
    else if (peak > kPeakFloor)
    {
        ++holdCounter;
        if (holdCounter >= kHoldTicks)
            peak = kPeakFloor;
    }
    return peak;
}

void XLEDMeter::SetPosition(int32_t count)
{
    if (IsShuttingDown())
        return;
    const int32_t lit = std::clamp(count, 0, segmentCount);
    const uint32_t peakBefore = peak;
    litCount = lit;
    UpdatePeak(lit);
    // A held peak that falls back changes the picture although the lit count does not.
    if (lit == shownLitCount && peak == peakBefore)
        return;
    if (isVisible())
        RepaintRect(GetColumnRect());
    else
        shownLitCount = lit;
}

void XLEDMeter::ApplyStyle()
{
    XControl::ApplyStyle();
    if (XParam* level = GetPot())
    {
        litCount = ValueToPosition(level);
        shownLitCount = litCount;
    }
}

bool XLEDMeter::IsPeakHoldOn()
{
    const XParam* mode = FindParam("%s", kVuModeParamPath);
    return mode != nullptr && mode->GetValue() == kPeakHoldMode;
}

// Drawing ------------------------------------------------------------------------------------------

void XLEDMeter::DrawSegment(XCanvas& canvas, int32_t segment, bool lit) const
{
    if (!IsSegment(segment))
        return;
    const XImage* image = lit ? litImages[segment] : unlitImages[segment];
    if (image != nullptr)
        canvas.DrawImageInRect(image, GetSegmentRect(segment), XCanvas::kRopCopy);
}

void XLEDMeter::RepaintSegment(int32_t segment)
{
    if (IsSegment(segment))
        RepaintRect(GetSegmentRect(segment));
}

void XLEDMeter::Draw(XCanvas& canvas)
{
    if (!isVisible())
        return;
    XControl::Draw(canvas);
    shownLitCount = litCount;
    for (int32_t segment = 0; segment < segmentCount; ++segment)
        DrawSegment(canvas, segment, segment < litCount);
    if (litCount != 0 && peak != 0 && IsPeakHoldOn())
        DrawSegment(canvas, static_cast<int32_t>(peak) - 1, true);
}
