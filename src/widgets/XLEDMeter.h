#pragma once

#include "core/XRect.h"
#include "gui/XControl.h"

#include <array>
#include <cstdint>

class XCanvas;
class XImage;
class XParam;
class XText;

/** A column of LED images that shows a level parameter: each segment has a threshold and lights
    while the level reaches it (segment 0 at the bottom), and carries a small text label beside
    the column. While "QM7_KOVA\globalVuMode" is 1 the highest recent segment stays lit for
    kHoldTicks level updates after the level fell below it.

    The LED column sits at the right edge with the labels to its left (right-justified), or at the
    left edge with the labels to its right (left-justified). Every segment is as high as the
    default unlit image and one slot (height / count) above the one below.

    Images belong to the skin resource manager; the labels are child views. GUI thread only: level
    changes from other threads reach the meter as every control's do (posted notifications, or the
    refresh queue for values set at once), and a level change repaints only the LED column. */
class XLEDMeter : public XControl
{
public:
    static constexpr int32_t kMaxSegments = 16;
    /** Level updates below the held peak before it falls back to the floor. */
    static constexpr int32_t kHoldTicks = 30;
    static constexpr uint32_t kPeakFloor = 1;
    static constexpr int32_t kDefaultSpacing = 1;
    /** The unit's meter mode; the value kPeakHoldMode holds peaks. */
    static constexpr const char* kVuModeParamPath = "QM7_KOVA\\globalVuMode";
    static constexpr double kPeakHoldMode = 1.0;
    static constexpr const char* kLabelFontName = "tiny";
    static constexpr const char* kUnsetLabel = "---";
    static constexpr XRGB kDefaultLabelColour{90, 90, 90, 255};

    /** segmentCount is limited to 1..kMaxSegments; both images are looked up in the skin; level may
        be null. labelsLeft puts the labels left of the LEDs. */
    XLEDMeter(const XRect& frame, int32_t segmentCount, const char* unlitImage, const char* litImage,
              XParam* level, bool labelsLeft);
    ~XLEDMeter() override;

    /** thresholds[i] := values[i] for the first count values (at most kMaxSegments). */
    void SetLevels(const float* values, int32_t count);
    /** The lit image of one segment; ignored beyond the segment count. */
    void SetSegmentImage(const char* imageName, int32_t segment);
    /** Comma-separated label texts from segment 0 upwards; segments without a text keep theirs. */
    void SetSegmentLabels(const char* list);
    /** One label's text; ignored beyond the segment count. */
    void SetSegmentLabel(const char* text, int32_t segment);
    /** The gap between the LED column and the labels; the labels move to their new places. */
    void SetSegmentSpacing(int32_t spacing);
    /** The text colour of the meter and of every label. */
    void SetLabelColour(uint8_t red, uint8_t green, uint8_t blue);

    /** The number of leading thresholds the level reaches. */
    int32_t CountLitSegments(float level) const;
    int32_t GetSegmentCount() const { return segmentCount; }
    double GetThreshold(int32_t segment) const;
    XText* GetLabel(int32_t segment) const;
    XImage* GetLitImage(int32_t segment) const;
    XImage* GetUnlitImage(int32_t segment) const;
    bool AreLabelsLeft() const { return labelsLeft; }
    int32_t GetSegmentSpacing() const { return spacing; }
    /** The held lit count (0 before any level). */
    uint32_t GetPeak() const { return peak; }
    /** The lit count the last drawing showed. */
    int32_t GetShownLitCount() const { return shownLitCount; }
    /** Where segment's LED and label are drawn, in view coordinates. */
    XRect GetSegmentRect(int32_t segment) const;
    XRect GetLabelRect(int32_t segment) const;
    /** The LED column: the union of every segment's rectangle, which a level change repaints. */
    XRect GetColumnRect() const;

    // XControl and XView ---------------------------------------------------------------------------

    /** The lit count of the parameter's value; 0 for null. */
    int32_t ValueToPosition(XParam* param) const override;
    /** A new lit count (limited to 0..count): updates the peak and repaints the LED column when
        the lit count or the peak changed. */
    void SetPosition(int32_t litCount) override;
    int32_t GetPosition() const override { return litCount; }
    /** As every control: the lit count of the parameter's value, taken as drawn. */
    void ApplyStyle() override;
    /** Every segment lit below the lit count, the others unlit, then the held peak's LED. */
    void Draw(XCanvas& canvas) override;

protected:
    /** Draws one segment with its lit or unlit image; nothing beyond the segment count. */
    void DrawSegment(XCanvas& canvas, int32_t segment, bool lit) const;
    /** Repaints one segment's LED; nothing beyond the segment count. */
    void RepaintSegment(int32_t segment);
    bool IsSegment(int32_t segment) const { return segment >= 0 && segment < segmentCount; }

private:
    void BuildSegments();
    /** The held peak after a level update with this lit count. */
    uint32_t UpdatePeak(int32_t count);
    /** Whether the unit's meter mode asks for the held peak. */
    static bool IsPeakHoldOn();
    /** Width and height of the default unlit image (0, 0 without one). */
    int32_t LedWidth() const;
    int32_t LedHeight() const;

    int32_t segmentCount = 1;
    uint32_t peak = 0;
    uint8_t holdCounter = 0;
    XImage* defaultUnlitImage = nullptr;
    XImage* defaultLitImage = nullptr;
    std::array<XImage*, kMaxSegments> unlitImages{};
    std::array<XImage*, kMaxSegments> litImages{};
    std::array<double, kMaxSegments> thresholds{};
    std::array<XText*, kMaxSegments> labels{}; // child views, owned as children
    bool labelsLeft = false;
    int32_t spacing = kDefaultSpacing;
    /** The lit count last computed, and the one the last drawing showed. */
    int32_t litCount = 0;
    int32_t shownLitCount = 0;
};
