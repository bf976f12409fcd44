#include "widgets/XEQView.h"

#include "core/ModifierKeyState.h"
#include "core/ParamRegistry.h"
#include "core/Timecode.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "gui/DescriptionItems.h"
#include "gui/GuiHelpers.h"
#include "gui/XCanvas.h"
#include "gui/XFont.h"
#include "gui/XImage.h"
#include "gui/XResourceManager.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace
{
constexpr XRGB kShadingColor1(80, 240, 120, 80);
constexpr XRGB kShadingColor2(220, 240, 220, 80);
constexpr XRGB kShadingColor3(180, 80, 220, 80);
constexpr XRGB kShadingColor4(110, 110, 250, 80);
constexpr XRGB kShadingColor5(80, 130, 250, 80);
constexpr XRGB kShadingColor6(40, 160, 120, 80);
constexpr XRGB kBallColor(255, 0, 0, 255);
constexpr XRGB kCurveColor(0, 0, 255, 255);
constexpr XRGB kGreyLineColor(80, 82, 83, 255);
constexpr XRGB kDraggedCurveColor(255, 255, 255, 255);
constexpr XRGB kBlack(0, 0, 0, 255);
constexpr XRGB kDefaultAnalyzerColour(120, 200, 120, 255);
constexpr uint32_t kDefaultBallRadius = 7;
constexpr uint32_t kDefaultLineWidth = 1;
/** The unshaded ball is drawn at this brightness under the coloured one. */
constexpr double kBallShadowPercent = 80.0;
/** Band numbers are drawn this much smaller than the ball's inner rectangle. */
constexpr int32_t kBandNumberShrink = 3;
constexpr int kShadingColours = 6;
constexpr const char* kBandNumberFont = "arial";
/** Added before a fraction is truncated to steps or pixels, so that a value that lies on a step or pixel
    but came out a rounding error below it is not taken one step or pixel lower. */
constexpr double kTruncationGuard = 1e-9;
/** The frequency axis spans 20 Hz .. 20 kHz, three decades. */
const double kAxisOctaves = std::log2(1000.0);

std::atomic<int64_t> bandTotal{0};

XRect Grow(const XRect& rect, int32_t by)
{
    return XRect(rect.left - by, rect.top - by, rect.right + by, rect.bottom + by);
}

bool Contains(const XRect& rect, const XPoint& point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}
} // namespace

// Properties -----------------------------------------------------------------------------------------

XClassPropertyTable* XEQView::GetClassPropertyTable()
{
    static XClassPropertyTable* const table =
        new XClassPropertyTable("XEQView", XView::GetClassPropertyTable());
    return table;
}

#define KRX_EQ_PROPERTY_DEFINITION(Name, Type, TypeName, Default)                                            \
    XEQView::_prop_##Name::_prop_##Name(XEQView* owner) : PropertyTyped<Type>(owner, Default)                \
    {                                                                                                        \
        GetInfo();                                                                                           \
    }                                                                                                        \
    const XPropertyInfo& XEQView::_prop_##Name::GetInfo() const                                              \
    {                                                                                                        \
        static const XPropertyInfo& info =                                                                   \
            GetClassPropertyTable()->AddProperty(TypeName, #Name, XVariant(Type(Default)));                  \
        return info;                                                                                         \
    }

KRX_EQ_PROPERTY_DEFINITION(DrawCurveShading, bool, "bool", false)
KRX_EQ_PROPERTY_DEFINITION(CrossOverMode, bool, "bool", false)
KRX_EQ_PROPERTY_DEFINITION(ShadingColor1, XRGB, "XRGB", kShadingColor1)
KRX_EQ_PROPERTY_DEFINITION(ShadingColor2, XRGB, "XRGB", kShadingColor2)
KRX_EQ_PROPERTY_DEFINITION(ShadingColor3, XRGB, "XRGB", kShadingColor3)
KRX_EQ_PROPERTY_DEFINITION(ShadingColor4, XRGB, "XRGB", kShadingColor4)
KRX_EQ_PROPERTY_DEFINITION(ShadingColor5, XRGB, "XRGB", kShadingColor5)
KRX_EQ_PROPERTY_DEFINITION(ShadingColor6, XRGB, "XRGB", kShadingColor6)
KRX_EQ_PROPERTY_DEFINITION(BallColor, XRGB, "XRGB", kBallColor)
KRX_EQ_PROPERTY_DEFINITION(FocusBallColor, XRGB, "XRGB", kBallColor)
KRX_EQ_PROPERTY_DEFINITION(BallRadius, uint32_t, "uint32", kDefaultBallRadius)
KRX_EQ_PROPERTY_DEFINITION(ActiveBallRadius, uint32_t, "uint32", kDefaultBallRadius)
KRX_EQ_PROPERTY_DEFINITION(EQCurveColor, XRGB, "XRGB", kCurveColor)
KRX_EQ_PROPERTY_DEFINITION(EQCurveShadeColor, XRGB, "XRGB", kGreyLineColor)
KRX_EQ_PROPERTY_DEFINITION(CenterLineColor, XRGB, "XRGB", kGreyLineColor)
KRX_EQ_PROPERTY_DEFINITION(DraggedCurveColor, XRGB, "XRGB", kDraggedCurveColor)
KRX_EQ_PROPERTY_DEFINITION(LineWidth, uint32_t, "uint32", kDefaultLineWidth)
#undef KRX_EQ_PROPERTY_DEFINITION

// Construction ---------------------------------------------------------------------------------------

XEQView::XEQView()
    : drawCurveShading(this), crossOverMode(this), shadingColor1(this), shadingColor2(this),
      shadingColor3(this), shadingColor4(this), shadingColor5(this), shadingColor6(this), ballColor(this),
      focusBallColor(this), ballRadius(this), activeBallRadius(this), curveColor(this), curveShadeColor(this),
      centerLineColor(this), draggedCurveColor(this), lineWidth(this)
{
    Initialise();
}

XEQView::XEQView(const XRect& frame) : XEQView()
{
    SetFrame(frame);
}

void XEQView::Initialise()
{
    curves.InvalidateAllBands();
}

XEQView::~XEQView()
{
    // No notification may reach the half-destroyed view; every watch goes at once.
    XParam::ForgetWatcher(this);
    if (focusBand >= 0 && dragging)
        ShowMousePointer();
}

// Binding --------------------------------------------------------------------------------------------

void XEQView::SetBandOnMode(int mode)
{
    bandOnMode = mode;
    if (mode == 0)
    {
        onValue = 1.0;
        offValue = 0.0;
    }
    else if (mode == 1)
    {
        onValue = 0.0;
        offValue = 1.0;
    }
}

int XEQView::SetNumBands(int count)
{
    bandCount = std::clamp(count, 0, kMaxBands);
    bandTotal.fetch_add(bandCount);
    return bandCount;
}

int64_t XEQView::GetBandTotal()
{
    return bandTotal.load();
}

void XEQView::WatchParam(XParam* param, int32_t key)
{
    if (param != nullptr)
        param->AddWatcher(this, key, true);
}

void XEQView::UnwatchParam(XParam* param)
{
    if (param != nullptr)
        param->RemoveWatcher(this);
}

void XEQView::BindBandParam(int kind, XParam* param, int band)
{
    if (band < 0 || band >= kMaxBands)
        return;
    if (kind >= 0 && kind < kBandParamKinds)
    {
        XParam*& slot = bandParams[static_cast<size_t>(kind)][static_cast<size_t>(band)];
        UnwatchParam(slot);
        slot = param;
    }
    WatchParam(param, band + 1);
    curves.InvalidateBand(band);
}

XParam* XEQView::GetBandParam(int kind, int band) const
{
    if (kind < 0 || kind >= kBandParamKinds || band < 0 || band >= kMaxBands)
        return nullptr;
    return bandParams[static_cast<size_t>(kind)][static_cast<size_t>(band)];
}

void XEQView::BindEnableParam(XParam* param)
{
    UnwatchParam(enableParam);
    enableParam = param;
    WatchParam(param, 0);
}

void XEQView::BindOffsetParam(XParam* param)
{
    UnwatchParam(offsetParam);
    offsetParam = param;
    WatchParam(param, 0);
}

void XEQView::UnwatchAll()
{
    XParam::ForgetWatcher(this);
    // The control's own parameters stay watched.
    if (XParam* own = XControl::GetPot())
        own->AddWatcher(this, 0, false);
    if (XParam* disabling = GetDisableParam())
        disabling->AddWatcher(this, 0, false);
    if (XParam* show = GetShowParam())
        show->AddWatcher(this, 0, false);
}

void XEQView::ForgetParam(XParam* param)
{
    for (Analyzer& analyzer : analyzers)
        if (analyzer.source->GetParam() == param)
            analyzer.source->SetParam(nullptr);
    if (param == enableParam)
        enableParam = nullptr;
    if (param == offsetParam)
        offsetParam = nullptr;
    for (ParamTable& table : bandParams)
        std::replace(table.begin(), table.end(), param, static_cast<XParam*>(nullptr));
}

// Analyzers ------------------------------------------------------------------------------------------

void XEQView::AddAnalyzer(std::unique_ptr<XAnalyzer> analyzer, const XRGB* colour)
{
    if (analyzer == nullptr)
        return;
    WatchParam(analyzer->GetParam(), 0);
    analyzers.push_back(Analyzer{std::move(analyzer), colour != nullptr ? *colour : kDefaultAnalyzerColour});
    analyzerRefresh = true;
}

void XEQView::DrawAnalyzers(XCanvas& canvas, const XRect& inner)
{
    std::vector<float> bars;
    std::vector<int32_t> trace;
    for (const Analyzer& analyzer : analyzers)
    {
        canvas.SetForeColor(analyzer.colour);
        if (analyzerDrawMode == kAnalyzerBars || analyzerDrawMode == kAnalyzerCentred)
        {
            analyzer.source->GetBarValues(analyzerBarCount, bars);
            DrawAnalyzerBars(canvas, bars, inner, analyzerDrawMode == kAnalyzerCentred);
        }
        else
        {
            analyzer.source->ResampleToColumns(trace, inner.Width(), inner.Height(),
                                               Timecode::GetSampleRate());
            DrawAnalyzerTrace(canvas, trace, inner);
        }
    }
}

void XEQView::DrawAnalyzerBars(XCanvas& canvas, const std::vector<float>& values, const XRect& rect,
                               bool centred)
{
    const auto count = static_cast<int32_t>(values.size());
    if (count == 0)
        return;
    int32_t gap = 1;
    int32_t barWidth = (rect.Width() - count) / count;
    if (barWidth < 1)
    {
        gap = 0;
        barWidth = rect.Width() / count;
    }
    const double halfHeight = 0.5 * rect.Height();
    const int32_t middle = rect.top + rect.Height() / 2;
    int32_t x = rect.left;
    for (float raw : values)
    {
        const double value = std::clamp(static_cast<double>(raw), 0.0, 1.0);
        if (centred)
        {
            const auto reach = static_cast<int32_t>(std::ceil(halfHeight * value));
            canvas.FillRect(XRect(x, middle - reach, x + barWidth, middle + reach));
        }
        else
        {
            const auto reach = static_cast<int32_t>(rect.Height() * value);
            canvas.FillRect(XRect(x, rect.bottom - reach, x + barWidth, rect.bottom));
        }
        x += barWidth + gap;
    }
}

void XEQView::DrawAnalyzerTrace(XCanvas& canvas, const std::vector<int32_t>& values, const XRect& rect)
{
    if (values.empty())
        return;
    const int32_t top = rect.Height() - 2;
    int32_t previousY = rect.bottom - std::min(top, values.front()) - 1;
    for (size_t i = 0; i < values.size(); ++i)
    {
        const int32_t value = std::min(top, values[i]);
        if (value <= 0)
            continue;
        const int32_t y = rect.bottom - value - 1;
        const auto x = rect.left + static_cast<int32_t>(i);
        canvas.DrawLine(x + 1, previousY, x + 2, y, 1, 1);
        previousY = y;
    }
}

// Curves ---------------------------------------------------------------------------------------------

namespace
{
/** Stores a look property and repaints the view when it changed. */
template <typename Property, typename Value>
void SetLook(XEQView& view, Property& property, const Value& value)
{
    if (property.Get() == value)
        return;
    property.Set(value);
    view.Invalidate();
}
} // namespace

void XEQView::SetBallColor(const XRGB& colour)
{
    SetLook(*this, ballColor, colour);
}

void XEQView::SetFocusBallColor(const XRGB& colour)
{
    SetLook(*this, focusBallColor, colour);
}

void XEQView::SetBallRadius(uint32_t radius)
{
    SetLook(*this, ballRadius, radius);
}

void XEQView::SetCurveColor(const XRGB& colour)
{
    SetLook(*this, curveColor, colour);
}

void XEQView::SetDraggedCurveColor(const XRGB& colour)
{
    SetLook(*this, draggedCurveColor, colour);
}

void XEQView::SetCenterLineColor(const XRGB& colour)
{
    SetLook(*this, centerLineColor, colour);
}

void XEQView::SetLineWidth(uint32_t width)
{
    SetLook(*this, lineWidth, width);
}

void XEQView::InvalidateBand(int band)
{
    if (band >= 0 && band < bandCount)
        curves.InvalidateBand(band);
}

void XEQView::InvalidateAllBands()
{
    curves.InvalidateAllBands();
}

bool XEQView::AnyBandDirty() const
{
    for (int band = 0; band < bandCount; ++band)
        if (curves.IsBandDirty(band))
            return true;
    return false;
}

void XEQView::SetDisplayRange(double range)
{
    if (range == displayRange)
        return;
    if (!(range >= kMinDisplayRange && range <= kMaxDisplayRange))
        range = kDefaultDisplayRange;
    displayRange = range;
    // A band that is flat at 0 dB (a peaking band without gain) looks the same at any range.
    static constexpr int kPeakingType = 2;
    for (int band = 0; band < bandCount; ++band)
    {
        const XParam* type = GetBandParam(kBandType, band);
        const XParam* gain = GetBandParam(kBandGain, band);
        if ((type != nullptr && XEQFilterMath::FilterTypeFromValue(type->GetValue()) != kPeakingType) ||
            (gain != nullptr && gain->GetValue() != 0.0))
            curves.InvalidateBand(band);
    }
    if (UpdateCurves())
        Invalidate();
}

bool XEQView::ReadBandSettings(int band, XEQBandSettings& settings) const
{
    const XParam* gain = GetBandParam(kBandGain, band);
    const XParam* frequency = GetBandParam(kBandFrequency, band);
    const XParam* q = GetBandParam(kBandQ, band);
    const XParam* type = GetBandParam(kBandType, band);
    if (gain == nullptr || frequency == nullptr || q == nullptr || type == nullptr)
        return false;
    settings.type = XEQFilterMath::FilterTypeFromValue(type->GetValue());
    settings.gain = static_cast<float>(gain->GetValue());
    settings.frequency = static_cast<float>(frequency->GetValue());
    settings.q = static_cast<float>(q->GetValue());
    return true;
}

XEQRowGeometry XEQView::RowGeometry() const
{
    const XRect inner = GetInnerRect();
    XEQRowGeometry geometry;
    geometry.width = inner.Width();
    geometry.height = inner.Height();
    geometry.displayRange = displayRange;
    geometry.sampleRate = Timecode::GetSampleRate();
    geometry.upperFrequency =
        XEQFilterMath::UpperFrequency(GetBandParam(kBandFrequency, 0) != nullptr, geometry.sampleRate);
    return geometry;
}

bool XEQView::UpdateCurves()
{
    const XEQRowGeometry geometry = RowGeometry();
    int recomputed = 0;
    for (int band = 0; band < bandCount; ++band)
    {
        if (!curves.IsBandDirty(band))
            continue;
        XEQBandSettings settings;
        const bool bound = ReadBandSettings(band, settings);
        curves.ComputeBandCurve(band, bound ? &settings : nullptr, geometry);
        ++recomputed;
    }
    if (recomputed == 0)
        return false;
    computedRows += recomputed;
    curves.SumBandCurves(recomputed, bandCount, XEQFilterMath::ClampedWidth(geometry.width),
                         [this](int band) { return IsBandOn(band); });
    return true;
}

void XEQView::OnRefresh(bool refresh)
{
    if (refresh)
        UpdateCurves();
}

void XEQView::RefreshIfChanged()
{
    const bool enabled = IsEQEnabled();
    if (!repaintRequested && !AnyBandDirty() && enabled == enabledCached && !analyzerRefresh)
        return;
    const XEQBandCurves::Row before = curves.GetSummedRow();
    UpdateCurves();
    if (repaintRequested || analyzerRefresh || enabled != enabledCached || before != curves.GetSummedRow())
        Invalidate();
}

void XEQView::RefreshEnableParam()
{
    if (IsVisible() && IsEQEnabled() != enabledCached)
        Invalidate();
}

// State ----------------------------------------------------------------------------------------------

bool XEQView::IsEQEnabled() const
{
    if (enableParam == nullptr)
        return true;
    const double value = enableParam->GetValue();
    return enablePolarity == 1 ? value > 0.0 : value == 0.0;
}

bool XEQView::IsBandOn(int band) const
{
    const XParam* on = GetBandParam(kBandOn, band);
    if (on != nullptr && on->GetValue() != offValue)
        return true;
    return bandCount == 1 && on == enableParam;
}

XRect XEQView::GetInnerRect() const
{
    return XRect(kInnerMargin, kInnerMargin, getWidth() - kInnerMargin, getHeight() - kInnerMargin);
}

double XEQView::FrequencyToX(double frequency) const
{
    const XRect inner = GetInnerRect();
    return inner.left + std::log2(frequency / XEQFilterMath::kLowestFrequency) * inner.Width() / kAxisOctaves;
}

int32_t XEQView::FrequencyAxisEnd(int band) const
{
    const XRect inner = GetInnerRect();
    const XParam* frequency = GetBandParam(kBandFrequency, band);
    // Without a frequency parameter the axis ends at 20 kHz, so that a drag never divides by zero.
    const double top = frequency != nullptr ? frequency->GetMax() : XEQFilterMath::kHighestFrequency;
    if (!(top > 0.0) || !std::isfinite(top))
        return inner.left;
    return static_cast<int32_t>(std::lround(FrequencyToX(top)));
}

XRect XEQView::BallRect(int band) const
{
    if (band < 0 || band >= bandCount)
        return XRect();
    const XRect inner = GetInnerRect();
    const int32_t axisSpan = std::abs(FrequencyAxisEnd(band) - inner.left);

    double vertical = 0.5;
    if (const XParam* gain = GetBandParam(kBandGain, band))
    {
        if (gain->GetType() == kDecibelUnitCode)
            vertical = 0.5 - (gain->GetMax() / displayRange) * (gain->GetNormalised() - 0.5);
        else
            vertical = 1.0 - gain->GetNormalised();
    }
    const XParam* frequency = GetBandParam(kBandFrequency, band);
    const double horizontal = frequency != nullptr ? frequency->GetNormalised() : 0.0;

    const int32_t x = inner.left + static_cast<int32_t>(horizontal * axisSpan + kTruncationGuard) + 1;
    const int32_t y = inner.top + static_cast<int32_t>(vertical * inner.Height() + kTruncationGuard);
    if (ballImage != nullptr)
    {
        const int32_t left = x - ballImage->GetWidth() / 2;
        const int32_t top = y - ballImage->GetHeight() / 2;
        return XRect(left, top, left + ballImage->GetWidth(), top + ballImage->GetHeight());
    }
    const auto radius = static_cast<int32_t>(ballRadius.Get());
    return XRect(x - radius, y - radius, x + radius, y + radius);
}

int XEQView::HitTestBand(const XPoint& point) const
{
    if (!IsVisible())
        return 0;
    if (bandCount == 0)
        return -1;
    if (!IsLargeView())
    {
        if (point.y < 0 || point.y >= getHeight())
            return -1;
        const double strip = static_cast<double>(getWidth()) / bandCount;
        for (int band = bandCount - 1; band >= 0; --band)
            if (point.x >= band * strip && point.x < (band + 1) * strip)
                return band;
        return -1;
    }
    const int selected = GetSelectedBand();
    if (highlightSelectedBand && selected >= 0 && Contains(Grow(BallRect(selected), kHitMargin), point))
        return selected;
    for (int band = bandCount - 1; band >= 0; --band)
        if (Contains(Grow(BallRect(band), kHitMargin), point))
            return band;
    return -1;
}

// Attributes and style -------------------------------------------------------------------------------

void XEQView::ReadAttributes(XMessage& block)
{
    XControl::ReadAttributes(block);
    XResourceManager& resources = GetResourceManager();

    const bool hasFirst = block.FindItem("imagename") != nullptr || block.FindItem("imageDesc") != nullptr;
    if (hasFirst)
    {
        backgroundImage1 = resources.GetImageFromAttributes(block, 0);
        backgroundImage2 = resources.GetImageFromAttributes(block, 1);
        if (backgroundImage2 == nullptr)
            backgroundImage2 = backgroundImage1;
    }

    int32_t number = 0;
    // A description may name more bands than the view holds: the count is limited like SetNumBands's.
    if (block.FindInt32("numbands", number) == 0)
        bandCount = std::clamp<int>(number, 0, kMaxBands);
    if (block.FindInt32("ballradius", number) == 0 && number >= 0)
        ballRadius.Set(static_cast<uint32_t>(number));

    const char* text = nullptr;
    if (block.FindString("ballimage", text) == 0 && text != nullptr && text[0] != '\0')
    {
        ballImage = resources.GetImage(XString(text));
        if (ballImage != nullptr)
        {
            ballRadius.Set(static_cast<uint32_t>(ballImage->GetHeight() / 2));
            offBallImage = ballImage;
            if (block.FindString("offballimage", text) == 0 && text != nullptr && text[0] != '\0')
                if (XImage* off = resources.GetImage(XString(text)))
                    offBallImage = off;
        }
    }

    DescriptionItems::FindFlag(block, "clickEnables", clickEnables);
    DescriptionItems::FindFlag(block, "clickEnablesBands", clickEnablesBands);
    DescriptionItems::FindFlag(block, "solidCurve", solidCurve);
    DescriptionItems::FindFlag(block, "drawCurveWhileDragging", drawCurveWhileDragging);
    if (block.FindInt32("numAnalyzerBars", number) == 0)
        analyzerBarCount = number;
    if (block.FindString("analyzerDrawMode", text) == 0 && text != nullptr)
    {
        const XString mode(text);
        analyzerDrawMode = mode.EqualsNoCase("center") ? kAnalyzerCentred
                           : mode.EqualsNoCase("bars") ? kAnalyzerBars
                                                       : kAnalyzerTrace;
    }

    BindParamsFromAttributes(block);
}

void XEQView::BindParamsFromAttributes(XMessage& block)
{
    UnwatchAll();
    enableParam = nullptr;
    offsetParam = nullptr;
    for (ParamTable& table : bandParams)
        table.fill(nullptr);

    const char* basePath = nullptr;
    const bool byPath = block.FindString("basepath", basePath) == 0 && basePath != nullptr;
    if (byPath)
        enableParam = FindParam("%s\\eqenable", basePath);
    else
        enableParam = DescriptionItems::FindParamItem(block, "enable", 0);

    for (int band = 0; band < kMaxBands; ++band)
    {
        const int number = band + 1;
        XParam* found[kBandParamKinds] = {};
        if (byPath)
        {
            found[kBandGain] = FindParam("%s\\eqband%dgain", basePath, number);
            found[kBandFrequency] = FindParam("%s\\eqband%dfreq", basePath, number);
            found[kBandQ] = FindParam("%s\\eqband%dq", basePath, number);
            found[kBandType] = FindParam("%s\\eqband%dtype", basePath, number);
            found[kBandOn] = FindParam("%s\\eqband%don", basePath, number);
        }
        else
        {
            found[kBandGain] = DescriptionItems::FindParamItem(block, "gain", band);
            found[kBandFrequency] = DescriptionItems::FindParamItem(block, "freq", band);
            found[kBandQ] = DescriptionItems::FindParamItem(block, "q", band);
            found[kBandType] = DescriptionItems::FindParamItem(block, "type", band);
            found[kBandOn] = DescriptionItems::FindParamItem(block, "bandon", band);
        }
        if (found[kBandOn] == nullptr)
            found[kBandOn] = enableParam;
        for (int kind = 0; kind < kBandParamKinds; ++kind)
            bandParams[static_cast<size_t>(kind)][static_cast<size_t>(band)] = found[kind];
    }

    WatchParam(enableParam, 0);
    for (int band = 0; band < kMaxBands; ++band)
        for (const ParamTable& table : bandParams)
            if (XParam* param = table[static_cast<size_t>(band)]; param != nullptr && param != enableParam)
                WatchParam(param, band + 1);
    curves.InvalidateAllBands();
}

void XEQView::ApplyStyle()
{
    XControl::ApplyStyle();
    if (backgroundImage1 != nullptr)
    {
        const XRect frame = GetFrame();
        SetFrameXYWH(frame.left, frame.top, backgroundImage1->GetWidth(), backgroundImage1->GetHeight());
    }
    if (backgroundImage2 == nullptr)
        backgroundImage2 = backgroundImage1;
}

void XEQView::Show()
{
    RefreshIfChanged();
    XControl::Show();
    StartTimer(kRefreshTimerId, kRefreshPeriodMs, false);
}

void XEQView::Hide()
{
    StopTimer(kRefreshTimerId);
    XControl::Hide();
}

void XEQView::SizeChanged(int32_t dw, int32_t dh)
{
    XControl::SizeChanged(dw, dh);
    // Every row depends on the inner width and height.
    curves.InvalidateAllBands();
}

void XEQView::HandleTimer(int32_t timerId)
{
    if (timerId == kRefreshTimerId)
    {
        if (!analyzers.empty())
            analyzerRefresh = true;
        RefreshIfChanged();
    }
    else
        XControl::HandleTimer(timerId);
}

XParam* XEQView::GetPot() const
{
    return IsLargeView() ? nullptr : enableParam;
}

// Parameters -----------------------------------------------------------------------------------------

void XEQView::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param == nullptr)
        return;
    if (param == XControl::GetPot() || param == GetDisableParam() || param == GetShowParam())
    {
        XControl::ParamChanged(code, param, key);
        if (static_cast<uint32_t>(code) != XMsgCode::kParamDestroyed)
            return;
    }
    if (static_cast<uint32_t>(code) == XMsgCode::kParamDestroyed)
    {
        ForgetParam(param);
        curves.InvalidateAllBands();
        repaintRequested = true;
        return;
    }
    if (param == enableParam)
    {
        // Bands without an on parameter of their own switch with the enable parameter.
        for (int band = 0; band < bandCount; ++band)
            if (GetBandParam(kBandOn, band) == enableParam)
                curves.InvalidateBand(band);
        if (IsVisible() && IsEQEnabled() != enabledCached)
            Invalidate();
        return;
    }
    if (param == offsetParam)
    {
        if (IsVisible())
            repaintRequested = true;
        return;
    }
    for (const Analyzer& analyzer : analyzers)
    {
        // The curves do not depend on an analyzer: only the picture changes.
        if (analyzer.source->GetParam() == param)
        {
            analyzerRefresh = true;
            return;
        }
    }
    if (key >= 1 && key <= bandCount)
        curves.InvalidateBand(key - 1);
    else
        curves.InvalidateAllBands();
}

// Mouse and keys -------------------------------------------------------------------------------------

bool XEQView::HandleKeyPress(int32_t keyCode, XKeyInfo& modifiers)
{
    if (modifiers != 0)
        return false;
    if (IsEnabled() && (keyCode == kKeyUp || keyCode == kKeyDown))
    {
        if (XParam* param = GetPot())
        {
            const auto steps = static_cast<int32_t>(GetDragScale());
            param->StepBy(keyCode == kKeyUp ? steps : -steps, true);
        }
        return true;
    }
    return XControl::HandleKeyPress(keyCode, modifiers);
}

bool XEQView::MouseDown(const XPoint& point, int32_t button)
{
    if (!IsEnabled())
        return XControl::MouseDown(point, button);
    if (button != kButtonLeft)
        return ContextClick(point);

    focusBand = HitTestBand(point);
    if (clickEnablesBands && focusBand >= 0)
    {
        XParam* on = GetBandParam(kBandOn, focusBand);
        if (on != nullptr && on->GetValue() == offValue)
            on->ChangeValue(onValue, true);
    }
    if (clickEnables)
    {
        if (enableParam != nullptr)
            enableParam->StepBy(1, true);
        dragging = false;
        focusBand = -1;
        if (!IsLargeView())
            GetWindow()->SetCurrentControl(this);
    }
    else if (focusBand >= 0)
    {
        HideMousePointer();
        dragging = true;
        lastMousePoint = point;
        FocusChanged(true);
    }
    return true;
}

bool XEQView::MayDragChange(const XParam* param) const
{
    if (param == nullptr)
        return false;
    // Looked up each time: the application makes it after the views may exist.
    const XParam* lock = FindParam("%s", kEditLockParamPath);
    return lock != nullptr && lock->GetValue() != 0.0 && (param->GetFlags() & kNoDragFlags) == 0;
}

void XEQView::DragStep(const XPoint& point)
{
    const XRect inner = GetInnerRect();
    const int32_t axisEnd = FrequencyAxisEnd(focusBand);
    const int32_t axisSpan = std::abs(axisEnd - inner.left);
    const XPoint clamped(std::clamp(point.x, inner.left, std::max(inner.left, axisEnd)),
                         std::clamp(point.y, inner.top, std::max(inner.top, inner.bottom)));
    const int32_t dx = clamped.x - lastMousePoint.x;
    const int32_t dy = clamped.y - lastMousePoint.y;

    XParam* gain = GetBandParam(kBandGain, focusBand);
    XParam* frequency = GetBandParam(kBandFrequency, focusBand);
    XParam* q = GetBandParam(kBandQ, focusBand);
    if (IsControlKeyDown())
    {
        if (dx != 0 && axisSpan != 0 && MayDragChange(q))
        {
            const auto steps = static_cast<int32_t>(static_cast<double>(q->GetCount()) / axisSpan * dx);
            q->StepBy(steps, true);
        }
    }
    else
    {
        if (dy != 0 && inner.Height() != 0 && MayDragChange(gain))
        {
            double fraction = static_cast<double>(clamped.y - inner.top) / inner.Height();
            if (gain->GetType() == kDecibelUnitCode && gain->GetMax() != 0.0)
                fraction = (displayRange / gain->GetMax()) * (fraction - 0.5) + 0.5;
            // Held to the axis both ways: the top edge of a range wider than the gain's never asks for
            // more than the maximum.
            fraction = std::clamp(fraction, 0.0, 1.0);
            gain->ChangeNormalised(1.0 - fraction + kTruncationGuard, true);
        }
        if (dx != 0 && axisSpan != 0 && MayDragChange(frequency))
            frequency->ChangeNormalised(
                static_cast<double>(clamped.x - inner.left) / axisSpan + kTruncationGuard, true);
    }
    lastMousePoint = clamped;
}

bool XEQView::MouseMoved(const XPoint& point, int32_t button)
{
    if (!dragging || focusBand < 0)
        return XControl::MouseMoved(point, button);
    if (!IsEnabled())
        return XView::MouseMoved(point, button);
    DragStep(point);
    RefreshIfChanged();
    return true;
}

bool XEQView::MouseUp(const XPoint& point, int32_t button)
{
    if (dragging && IsLargeView() && focusBand >= 0)
        Invalidate();
    const bool wasDragging = dragging;
    dragging = false;
    focusBand = -1;
    if (wasDragging)
        ShowMousePointer();
    XView* window = GetWindow();
    if (window->GetCurrentControl() == this)
        window->SetCurrentControl(nullptr);
    return XView::MouseUp(point, button);
}

// Drawing --------------------------------------------------------------------------------------------

const XRGB& XEQView::ShadingColor(int pair) const
{
    switch (pair)
    {
    case 1:
        return shadingColor2.Get();
    case 2:
        return shadingColor3.Get();
    case 3:
        return shadingColor4.Get();
    case 4:
        return shadingColor5.Get();
    case 5:
        return shadingColor6.Get();
    default:
        return shadingColor1.Get();
    }
}

void XEQView::DrawRow(XCanvas& canvas, const XEQBandCurves::Row& row, int32_t left, int32_t columns,
                      int32_t baseY)
{
    for (int32_t i = 0; i + 1 < columns; ++i)
        canvas.DrawLine(left + i, baseY + row[static_cast<size_t>(i)], left + i + 1,
                        baseY + row[static_cast<size_t>(i + 1)], 1, 1);
}

void XEQView::DrawShading(XCanvas& canvas, const XRect& inner, int32_t columns, int32_t cy, int32_t shift)
{
    const XEQBandCurves::Row& summed = curves.GetSummedRow();
    if (!crossOverMode.Get())
    {
        canvas.SetForeColor(shadingColor1.Get());
        for (int32_t i = 0; i + 1 < columns; ++i)
        {
            const int32_t y = cy + summed[static_cast<size_t>(i + 1)] - shift;
            if (y != inner.bottom)
                canvas.DrawLine(inner.left + i, inner.bottom, inner.left + i, y, 1, 1);
        }
        return;
    }
    for (int pair = 0; pair < bandCount / 2; ++pair)
    {
        const int low = 2 * pair;
        const XParam* on = GetBandParam(kBandOn, low);
        if (on == nullptr || on->GetValue() == offValue)
            continue;
        canvas.SetForeColor(ShadingColor(pair < kShadingColours ? pair : 0));
        const XEQBandCurves::Row& first = curves.GetBandRow(low);
        const XEQBandCurves::Row& second = curves.GetBandRow(low + 1);
        for (int32_t i = 0; i < columns; ++i)
        {
            const auto index = static_cast<size_t>(i);
            canvas.DrawLine(inner.left + i, inner.bottom, inner.left + i, cy + first[index] + second[index],
                            1, 1);
        }
    }
}

void XEQView::DrawBall(XCanvas& canvas, int band, bool highlighted)
{
    const XRect rect = BallRect(band);
    if (rect.IsEmpty())
        return;
    if (ballImage != nullptr)
    {
        const XParam* on = GetBandParam(kBandOn, band);
        const bool off = !enabledCached || on == nullptr || on->GetValue() == offValue;
        const XImage* image = off ? offBallImage : ballImage;
        canvas.BlitImage(image, XRect(0, 0, image->GetWidth(), image->GetHeight()), rect,
                         XCanvas::kRopTransparent);
        return;
    }
    const int32_t cx = (rect.left + rect.right) / 2;
    const int32_t cy = (rect.top + rect.bottom) / 2;
    const int32_t radius = rect.Width() / 2;
    XRGB shadow = ballColor.Get();
    shadow.ScaleBrightness(kBallShadowPercent);
    canvas.SetForeColor(shadow);
    canvas.FillCircle(cx, cy, radius);
    canvas.SetForeColor(highlighted ? focusBallColor.Get() : ballColor.Get());
    if (highlighted)
        canvas.FillCircle(cx - 1, cy + 1, radius);
    else
        canvas.FillCircle(cx + 1, cy - 1, radius);

    if (showBandNumbers)
    {
        const XRect textRect(rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2);
        const int32_t size = std::min(textRect.Width(), textRect.Height()) - kBandNumberShrink;
        if (size > 0)
        {
            XFont* previous = canvas.GetFont();
            canvas.SetFont(XFont::GetFont(XString(kBandNumberFont), size, false, false, false));
            canvas.SetForeColor(GetTextColor());
            XString number;
            number.Format("%d", band + 1);
            canvas.DrawText(textRect, number, XCanvas::kJustifyCentred);
            canvas.SetFont(previous);
        }
    }
}

void XEQView::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    repaintRequested = false;
    PrepareCanvas(canvas);
    const XRect bounds = GetBounds();
    if (!IsTransparent())
        canvas.EraseRect(bounds);

    const XRect inner = GetInnerRect();
    const int32_t columns = std::min(inner.Width(), static_cast<int32_t>(XEQBandCurves::kRowLength));
    const int32_t cy = inner.top + inner.Height() / 2;
    enabledCached = IsEQEnabled();

    DrawBackground(canvas, bounds, inner, cy);

    if (!analyzers.empty())
        DrawAnalyzers(canvas, inner);
    analyzerRefresh = false;

    int32_t shift = 0;
    if (offsetParam != nullptr)
    {
        const double pixelsPerHalfDb = inner.Height() / displayRange * 0.5;
        shift = static_cast<int32_t>(std::trunc(offsetParam->GetValue()) * pixelsPerHalfDb);
    }

    if (drawCurveShading.Get())
    {
        DrawShading(canvas, inner, columns, cy, shift);
        if (crossOverMode.Get())
            return;
    }

    DrawSummedCurve(canvas, inner, columns, cy, shift);

    const bool large = IsLargeView();
    if (drawCurveWhileDragging && dragging && large && focusBand >= 0)
    {
        canvas.SetForeColor(draggedCurveColor.Get());
        DrawRow(canvas, curves.GetBandRow(focusBand), inner.left, columns, cy);
    }

    if (large)
        DrawBalls(canvas);
}

void XEQView::DrawBackground(XCanvas& canvas, const XRect& bounds, const XRect& inner, int32_t cy)
{
    if (backgroundImage1 != nullptr)
    {
        const XImage* image = enabledCached ? backgroundImage1 : backgroundImage2;
        canvas.BlitImage(image, XRect(0, 0, image->GetWidth(), image->GetHeight()), bounds,
                         XCanvas::kRopCopy);
    }
    else if (centerLine)
    {
        canvas.SetForeColor(centerLineColor.Get());
        canvas.DrawLine(inner.left, cy, inner.right - 1, cy, 1, 1);
        canvas.SetForeColor(kBlack);
        canvas.DrawLine(inner.left + 1, cy + 1, inner.right, cy + 1, 1, 1);
    }
}

void XEQView::DrawSummedCurve(XCanvas& canvas, const XRect& inner, int32_t columns, int32_t cy, int32_t shift)
{
    const XEQBandCurves::Row& summed = curves.GetSummedRow();
    const int32_t penWidth = canvas.GetPenWidth();
    canvas.SetPenWidth(static_cast<int32_t>(lineWidth.Get()));
    if (enabledCached)
    {
        canvas.SetForeColor(curveColor.Get());
        if (solidCurve)
        {
            for (int32_t i = 0; i < columns; ++i)
                canvas.DrawLine(inner.left + i, cy + summed[static_cast<size_t>(i)] - shift, inner.left + i,
                                cy, 1, 1);
        }
        else
        {
            DrawRow(canvas, summed, inner.left, columns, cy - shift);
        }
    }
    else if (bandCount != 0)
    {
        canvas.SetForeColor(curveShadeColor.Get());
        DrawRow(canvas, summed, inner.left + 1, columns, cy + 1 - shift);
    }
    canvas.SetPenWidth(penWidth);
}

void XEQView::DrawBalls(XCanvas& canvas)
{
    const int selected = highlightSelectedBand ? GetSelectedBand() : -1;
    for (int band = 0; band < bandCount; ++band)
        if (band != selected)
            DrawBall(canvas, band, false);
    if (selected >= 0 && selected < bandCount)
        DrawBall(canvas, selected, true);
}
