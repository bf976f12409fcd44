#pragma once

#include "core/XParamDesc.h"
#include "core/XProperty.h"
#include "core/XRGB.h"
#include "gui/XControl.h"
#include "widgets/XAnalyzer.h"
#include "widgets/XEQBandCurves.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class XCanvas;
class XImage;
class XParam;

/** The interactive frequency-response display of one channel's equaliser or crossover: up to 90 bands,
    each bound to gain, frequency, q, type and on parameters, plus an EQ-wide enable parameter and an
    optional level offset. It draws the summed response of the bands that are on, optional shading, the
    curve of the band being dragged and one ball per band; dragging a ball changes the band's frequency
    (horizontally) and gain (vertically), or with Ctrl its q. A view 180 pixels wide or less is a
    thumbnail: it has no balls and acts as a control of the enable parameter.

    Rows are recomputed only for bands marked dirty (parameter notifications, InvalidateBand, a new size
    or display range) and only when the view refreshes: when it is shown, on its 'refresh' timer and
    after each drag step; while one band is dragged only its row is recomputed and added to the cached
    sum of the others.

    Threads: GUI thread only; parameters changed on other threads reach the view through its handler's
    posting. Ownership: the parameters are not owned; a parameter that is destroyed is forgotten. A drag
    changes a parameter only while "QM7\lockUIForEditCompare" exists with a value other than 0 and the
    parameter's flags hold neither 0x80 nor 0x200. */
class XEQView : public XControl
{
public:
    static constexpr int kMaxBands = XEQBandCurves::kMaxBands;
    static constexpr int kDefaultBandCount = 4;
    /** Views this wide or narrower are thumbnails. */
    static constexpr int32_t kThumbnailMaxWidth = 180;
    /** The inner rectangle is the bounds shrunk by this on every side. */
    static constexpr int32_t kInnerMargin = 2;
    /** Ball rectangles grow by this on every side for hit tests. */
    static constexpr int32_t kHitMargin = 5;
    static constexpr double kDefaultDisplayRange = 20.0;
    static constexpr double kMinDisplayRange = 1.0;
    static constexpr double kMaxDisplayRange = 48.0;
    /** The timer that refreshes the curves while the view is shown. */
    static constexpr int32_t kRefreshTimerId = 40;
    static constexpr int32_t kRefreshPeriodMs = 50;
    static constexpr const char* kEditLockParamPath = "QM7\\lockUIForEditCompare";
    /** A gain parameter of this unit code is symmetric in dB and scaled to the display range. */
    static constexpr int32_t kDecibelUnitCode = 14;
    /** Parameter flags that forbid a drag to change the parameter. */
    static constexpr int32_t kNoDragFlags = XParamDesc::kFlagDevice4 | XParamDesc::kFlagLockedByPreset;
    static constexpr int32_t kKeyUp = 0x10026;
    static constexpr int32_t kKeyDown = 0x10028;

    /** Kinds of BindBandParam. */
    static constexpr int kBandOn = 0;
    static constexpr int kBandGain = 1;
    static constexpr int kBandQ = 2;
    static constexpr int kBandFrequency = 3;
    static constexpr int kBandType = 4;
    static constexpr int kBandParamKinds = 5;

    /** Analyzer draw modes ("analyzerDrawMode"). */
    static constexpr int kAnalyzerTrace = 0;
    static constexpr int kAnalyzerBars = 1;
    static constexpr int kAnalyzerCentred = 2;

// The view's properties: typed members of the "XEQView" class table.
#define KRX_EQ_PROPERTY(Name, Type)                                                                          \
    class _prop_##Name final : public PropertyTyped<Type>                                                    \
    {                                                                                                        \
    public:                                                                                                  \
        explicit _prop_##Name(XEQView* owner);                                                               \
        const XPropertyInfo& GetInfo() const override;                                                       \
    };
    KRX_EQ_PROPERTY(DrawCurveShading, bool)
    KRX_EQ_PROPERTY(CrossOverMode, bool)
    KRX_EQ_PROPERTY(ShadingColor1, XRGB)
    KRX_EQ_PROPERTY(ShadingColor2, XRGB)
    KRX_EQ_PROPERTY(ShadingColor3, XRGB)
    KRX_EQ_PROPERTY(ShadingColor4, XRGB)
    KRX_EQ_PROPERTY(ShadingColor5, XRGB)
    KRX_EQ_PROPERTY(ShadingColor6, XRGB)
    KRX_EQ_PROPERTY(BallColor, XRGB)
    KRX_EQ_PROPERTY(FocusBallColor, XRGB)
    KRX_EQ_PROPERTY(BallRadius, uint32_t)
    KRX_EQ_PROPERTY(ActiveBallRadius, uint32_t)
    KRX_EQ_PROPERTY(EQCurveColor, XRGB)
    KRX_EQ_PROPERTY(EQCurveShadeColor, XRGB)
    KRX_EQ_PROPERTY(CenterLineColor, XRGB)
    KRX_EQ_PROPERTY(DraggedCurveColor, XRGB)
    KRX_EQ_PROPERTY(LineWidth, uint32_t)
#undef KRX_EQ_PROPERTY

    /** The "XEQView" table, below "XView"'s. */
    static XClassPropertyTable* GetClassPropertyTable();
    const XClassPropertyTable* GetPropertyTable() const override
    {
        return GetClassPropertyTable();
    }

    XEQView();
    explicit XEQView(const XRect& frame);
    /** Stops watching every parameter before anything else goes. */
    ~XEQView() override;

    // Binding -----------------------------------------------------------------------------------------

    /** 0: on 1.0, off 0.0; 1: on 0.0, off 1.0 (the on parameters are bypass switches); other modes are
        only stored. */
    void SetBandOnMode(int mode);
    int GetBandOnMode() const
    {
        return bandOnMode;
    }
    /** Counts above 90 become 90 (negative ones 0); returns the stored count. */
    int SetNumBands(int count);
    int GetNumBands() const
    {
        return bandCount;
    }
    /** kind kBandOn..kBandType; band 0-based, ignored from 90. The view moves its watcher (key band + 1)
        from the former parameter of that slot to the new one and is told at once. Other kinds only add
        the watcher. */
    void BindBandParam(int kind, XParam* param, int band);
    /** The parameter of a slot; null when unbound or out of range. */
    XParam* GetBandParam(int kind, int band) const;
    void BindEnableParam(XParam* param);
    void BindOffsetParam(XParam* param);
    XParam* GetEnableParam() const
    {
        return enableParam;
    }
    XParam* GetOffsetParam() const
    {
        return offsetParam;
    }
    /** 1: enabled while the enable parameter is greater than 0; any other value: while it equals 0. */
    void SetEnablePolarity(uint8_t polarity)
    {
        enablePolarity = polarity;
    }
    void SetHighlightSelectedBand(bool on)
    {
        highlightSelectedBand = on;
    }
    void SetShowBandNumbers(bool on)
    {
        showBandNumbers = on;
    }
    void SetCenterLine(bool on)
    {
        centerLine = on;
    }
    void SetSolidCurve(bool on)
    {
        solidCurve = on;
    }
    void SetDrawCurveWhileDragging(bool on)
    {
        drawCurveWhileDragging = on;
    }
    void SetClickEnables(bool on)
    {
        clickEnables = on;
    }
    void SetClickEnablesBands(bool on)
    {
        clickEnablesBands = on;
    }

    // Look ------------------------------------------------------------------------------------------

    /** Each stores its property and repaints the view when it changed. */
    void SetBallColor(const XRGB& colour);
    void SetFocusBallColor(const XRGB& colour);
    void SetBallRadius(uint32_t radius);
    void SetCurveColor(const XRGB& colour);
    void SetDraggedCurveColor(const XRGB& colour);
    void SetCenterLineColor(const XRGB& colour);
    void SetLineWidth(uint32_t width);
    XRGB GetBallColor() const
    {
        return ballColor.Get();
    }
    XRGB GetFocusBallColor() const
    {
        return focusBallColor.Get();
    }
    uint32_t GetBallRadius() const
    {
        return ballRadius.Get();
    }
    XRGB GetCurveColor() const
    {
        return curveColor.Get();
    }
    XRGB GetDraggedCurveColor() const
    {
        return draggedCurveColor.Get();
    }
    XRGB GetCenterLineColor() const
    {
        return centerLineColor.Get();
    }
    /** The colour a window marks this view with (the graphic equaliser: its active input's view);
        kept for the view, which draws nothing with it. */
    void SetMarkingColor(const XRGB& colour)
    {
        markingColor = colour;
    }
    XRGB GetMarkingColor() const
    {
        return markingColor;
    }
    uint32_t GetLineWidth() const
    {
        return lineWidth.Get();
    }
    bool IsHighlightSelectedBand() const
    {
        return highlightSelectedBand;
    }
    bool IsShowBandNumbers() const
    {
        return showBandNumbers;
    }

    // Analyzers -----------------------------------------------------------------------------------------

    /** Draws the analyzer behind the curve from now on, in its colour (the default analyzer colour when
        colour is null); the view owns it and watches its parameter. Null is ignored. */
    void AddAnalyzer(std::unique_ptr<XAnalyzer> analyzer, const XRGB* colour);
    int CountAnalyzers() const
    {
        return static_cast<int>(analyzers.size());
    }
    int GetAnalyzerDrawMode() const
    {
        return analyzerDrawMode;
    }
    void SetAnalyzerDrawMode(int mode)
    {
        analyzerDrawMode = mode;
    }
    int GetAnalyzerBarCount() const
    {
        return analyzerBarCount;
    }
    void SetAnalyzerBarCount(int count)
    {
        analyzerBarCount = count;
    }

    // Curves --------------------------------------------------------------------------------------------

    /** Marks a band below the band count for recomputation. */
    void InvalidateBand(int band);
    void InvalidateAllBands();
    /** Values outside 1..48 dB become 20; bands whose row depends on the range are recomputed. */
    void SetDisplayRange(double range);
    double GetDisplayRange() const
    {
        return displayRange;
    }
    /** Recomputes the dirty bands and sums them; whether anything was recomputed. */
    bool UpdateCurves();
    /** UpdateCurves when refresh is true. */
    void OnRefresh(bool refresh);
    /** Recomputes what is dirty and repaints when the drawn curve or the enabled state changed. */
    void RefreshIfChanged();
    const XEQBandCurves& GetCurves() const
    {
        return curves;
    }
    /** Band rows computed since construction (statistics for tests and benchmarks). */
    int64_t GetComputedRowCount() const
    {
        return computedRows;
    }

    // State ---------------------------------------------------------------------------------------------

    virtual int GetFocusBand() const
    {
        return focusBand;
    }
    /** The band the editor windows selected; -1 here. */
    virtual int GetSelectedBand() const
    {
        return -1;
    }
    /** Repaints the view when the enabled state differs from the drawn one. */
    virtual void RefreshEnableParam();
    bool IsLargeView() const
    {
        return getWidth() > kThumbnailMaxWidth;
    }
    bool IsEQEnabled() const;
    bool IsBandOn(int band) const;
    bool IsDragging() const
    {
        return dragging;
    }
    /** The bounds shrunk by kInnerMargin on every side. */
    XRect GetInnerRect() const;
    /** The ball's rectangle; empty for a band at or above the band count. */
    XRect BallRect(int band) const;
    /** The band under the point: thumbnails by vertical strips, large views by grown ball rectangles;
        -1 for none (0 while the view is hidden). */
    int HitTestBand(const XPoint& point) const;
    /** The x of a frequency on the inner rectangle's logarithmic axis (20 Hz at its left). */
    double FrequencyToX(double frequency) const;

    /** Process-wide total of band counts set (statistics only). */
    static int64_t GetBandTotal();

    // XView and XControl --------------------------------------------------------------------------------

    void ApplyStyle() override;
    void ReadAttributes(XMessage& block) override;
    void Show() override;
    void Hide() override;
    void Draw(XCanvas& canvas) override;
    /** The enable parameter for a thumbnail, none for a large view. */
    XParam* GetPot() const override;
    bool HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers) override;
    bool MouseDown(const XPoint& point, int32_t button) override;
    bool MouseMoved(const XPoint& point, int32_t button) override;
    bool MouseUp(const XPoint& point, int32_t button) override;
    void SizeChanged(int32_t dw, int32_t dh) override;
    void HandleTimer(int32_t timerId) override;
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

protected:
    /** Which band a slot of the parameter tables belongs to is its index; kinds as BindBandParam. */
    using ParamTable = std::array<XParam*, kMaxBands>;

    /** The inner rectangle's x for the focus band's frequency maximum, or its right end without one. */
    int32_t FrequencyAxisEnd(int band) const;

private:
    void Initialise();
    void BindParamsFromAttributes(XMessage& block);
    void UnwatchAll();
    void WatchParam(XParam* param, int32_t key);
    void UnwatchParam(XParam* param);
    void ForgetParam(XParam* param);
    bool AnyBandDirty() const;
    /** The band's settings; false when one of gain, frequency, q or type is unbound. */
    bool ReadBandSettings(int band, XEQBandSettings& settings) const;
    XEQRowGeometry RowGeometry() const;
    bool MayDragChange(const XParam* param) const;
    void DragStep(const XPoint& point);
    void DrawShading(XCanvas& canvas, const XRect& inner, int32_t columns, int32_t cy, int32_t shift);
    /** Draw's steps: the background image (or the centre line), the summed curve (or its shade when
        the EQ is off), and the band balls with the selected one last. */
    void DrawBackground(XCanvas& canvas, const XRect& bounds, const XRect& inner, int32_t cy);
    void DrawSummedCurve(XCanvas& canvas, const XRect& inner, int32_t columns, int32_t cy, int32_t shift);
    void DrawBalls(XCanvas& canvas);
    void DrawRow(XCanvas& canvas, const XEQBandCurves::Row& row, int32_t left, int32_t columns,
                 int32_t baseY);
    void DrawBall(XCanvas& canvas, int band, bool highlighted);
    void DrawAnalyzers(XCanvas& canvas, const XRect& inner);
    /** Filled bars of values (each held to 0..1) side by side in rect; centred ones grow from its middle. */
    void DrawAnalyzerBars(XCanvas& canvas, const std::vector<float>& values, const XRect& rect, bool centred);
    void DrawAnalyzerTrace(XCanvas& canvas, const std::vector<int32_t>& values, const XRect& rect);
    const XRGB& ShadingColor(int pair) const;

    _prop_DrawCurveShading drawCurveShading;
    _prop_CrossOverMode crossOverMode;
    _prop_ShadingColor1 shadingColor1;
    _prop_ShadingColor2 shadingColor2;
    _prop_ShadingColor3 shadingColor3;
    _prop_ShadingColor4 shadingColor4;
    _prop_ShadingColor5 shadingColor5;
    _prop_ShadingColor6 shadingColor6;
    _prop_BallColor ballColor;
    _prop_FocusBallColor focusBallColor;
    _prop_BallRadius ballRadius;
    _prop_ActiveBallRadius activeBallRadius;
    _prop_EQCurveColor curveColor;
    _prop_EQCurveShadeColor curveShadeColor;
    _prop_CenterLineColor centerLineColor;
    _prop_DraggedCurveColor draggedCurveColor;
    _prop_LineWidth lineWidth;

    XImage* backgroundImage1 = nullptr; // skin images: owned by the resource manager
    XImage* backgroundImage2 = nullptr;
    XImage* ballImage = nullptr;
    XImage* offBallImage = nullptr;
    bool dragging = false;
    bool repaintRequested = true;
    bool solidCurve = false;
    XPoint lastMousePoint;
    XEQBandCurves curves;
    int bandCount = kDefaultBandCount;
    int focusBand = -1;
    bool enabledCached = true;
    bool clickEnables = false;
    bool clickEnablesBands = false;
    bool highlightSelectedBand = false;
    bool showBandNumbers = true;
    int bandOnMode = 0;
    double onValue = 1.0;
    double offValue = 0.0;
    double displayRange = kDefaultDisplayRange;
    uint8_t enablePolarity = 1;
    bool centerLine = true;
    bool drawCurveWhileDragging = false;
    XRGB markingColor{0, 0, 0, 255};
    int analyzerDrawMode = kAnalyzerTrace;
    int analyzerBarCount = 0;
    /** Set by the refresh timer and analyzer parameters while there are analyzers; cleared by a repaint. */
    bool analyzerRefresh = false;
    struct Analyzer
    {
        std::unique_ptr<XAnalyzer> source;
        XRGB colour;
    };
    std::vector<Analyzer> analyzers;
    XParam* enableParam = nullptr;
    std::array<ParamTable, kBandParamKinds> bandParams{};
    XParam* offsetParam = nullptr;
    int64_t computedRows = 0;
};
