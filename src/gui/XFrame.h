#pragma once

#include "core/XProperty.h"
#include "gui/XView.h"

#include <cstdint>

/** A frame of FrameWidth nested outlines drawn through the style (XStyle::DrawFrame), broken at the
    top for the label when there is one (type word "frame"). "FrameWidth" is a property of the
    "XFrame" class table, so it can be listed and set by name. GUI thread only. */
class XFrame : public XView
{
public:
    static constexpr int32_t kDefaultFrameWidth = 1;

    /** The int32 property "FrameWidth" (default 1). */
    class _prop_FrameWidth final : public PropertyTyped<int32_t>
    {
    public:
        explicit _prop_FrameWidth(XFrame* owner);
        const XPropertyInfo& GetInfo() const override;
    };

    XFrame();

    int32_t GetFrameWidth() const { return frameWidth.Get(); }
    void SetFrameWidth(int32_t width) { frameWidth.Set(width); }

    /** The "XFrame" table (FrameWidth), below the view's. */
    static XClassPropertyTable* GetClassPropertyTable();
    const XClassPropertyTable* GetPropertyTable() const override { return GetClassPropertyTable(); }

    /** The view's keys, then "framewidth" (taken when > 0). */
    void ReadAttributes(XMessage& block) override;
    /** The style's adjustment only. */
    void ApplyStyle() override;
    /** While visible: the view's drawing, then the style's frame of the bounds. */
    void Draw(XCanvas& canvas) override;
    /** A changed FrameWidth repaints the frame. */
    void PropertyChanged(XProperty* property) override;

private:
    _prop_FrameWidth frameWidth;
};
