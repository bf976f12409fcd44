#include "widgets/QM7DelayGraph.h"

#include "core/ParamRegistry.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "device/DelayUnits.h"
#include "gui/XCanvas.h"
#include "gui/XFont.h"

namespace
{
const XRGB kZeroLineColour(255, 255, 255, 255);
const XRGB kGridColour(100, 100, 100, 80);
const XRGB kTextColour(230, 230, 230, 255);
constexpr int32_t kCentred = 4;
constexpr double kInchesPerFoot = 12.0;
constexpr double kCentimetresPerMetre = 100.0;
constexpr double kMicrosecondsPerMs = 1000.0;
} // namespace

QM7DelayGraph::QM7DelayGraph(const XRect& frame, int32_t originXIn, XParam* unitsParamIn)
    : XView(frame), originX(originXIn), unitsParam(unitsParamIn)
{
    SetTransparent(true);
    if (unitsParam != nullptr)
        unitsParam->AddWatcher(this, kUnitsKey, true);
    temperatureParam = FindParam("%s", kTemperaturePath);
    if (temperatureParam != nullptr)
        temperatureParam->AddWatcher(this, kTemperatureKey, true);
}

QM7DelayGraph::~QM7DelayGraph()
{
    // Before the view's parts go: no parameter may call into it while it is torn down.
    XParam::ForgetWatcher(this);
}

void QM7DelayGraph::SetOriginOffset(int32_t offset)
{
    originOffset = offset;
    Invalidate();
}

void QM7DelayGraph::SetScale(int32_t divisor, double value)
{
    scaleDivisor = divisor;
    scaleValue = value;
    Invalidate();
}

int32_t QM7DelayGraph::GetUnit() const
{
    return unitsParam != nullptr ? static_cast<int32_t>(unitsParam->GetValue()) : kUnitMs;
}

XString QM7DelayGraph::GetUnitName(int32_t unit)
{
    switch (unit)
    {
    case kUnitMs:
        return "ms";
    case kUnitUs:
        return "us";
    case kUnitFeet:
        return "ft";
    case kUnitInches:
        return "in";
    case kUnitMeters:
        return "m";
    case kUnitCentimeters:
        return "cm";
    default:
        return "---";
    }
}

int32_t QM7DelayGraph::GetGridStep() const
{
    switch (GetUnit())
    {
    case kUnitUs:
        return 100000;
    case kUnitInches:
        return 1000;
    case kUnitMeters:
        return 25;
    case kUnitCentimeters:
        return 2500;
    default:
        return 100;
    }
}

int32_t QM7DelayGraph::ToPixels(int32_t amount) const
{
    if (scaleDivisor == 0 || scaleValue == 0.0)
        return 0;
    const double msPerPixel = scaleValue / scaleDivisor;
    double ms = 0.0;
    switch (GetUnit())
    {
    case kUnitMs:
        ms = amount;
        break;
    case kUnitUs:
        ms = amount / kMicrosecondsPerMs;
        break;
    case kUnitFeet:
        ms = FeetToDelayMs(amount);
        break;
    case kUnitInches:
        ms = FeetToDelayMs(amount / kInchesPerFoot);
        break;
    case kUnitMeters:
        ms = MetersToDelayMs(amount);
        break;
    case kUnitCentimeters:
        ms = MetersToDelayMs(amount / kCentimetresPerMetre);
        break;
    default:
        return 0;
    }
    return static_cast<int32_t>(ms / msPerPixel);
}

void QM7DelayGraph::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && (param == unitsParam || param == temperatureParam))
    {
        if (IsValueChangeCode(code))
            Invalidate();
        else if (code == static_cast<int32_t>(XMsgCode::kParamDestroyed))
            (param == unitsParam ? unitsParam : temperatureParam) = nullptr;
    }
    XView::ParamChanged(code, param, key);
}

void QM7DelayGraph::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    XView::Draw(canvas);
    PrepareCanvas(canvas);
    DrawScale(canvas);
}

void QM7DelayGraph::DrawScale(XCanvas& canvas)
{
    const int32_t unit = GetUnit();
    if (unit < kUnitMs || unit > kUnitCentimeters)
        return;
    const XRect bounds = GetBounds();
    const int32_t width = bounds.Width();
    const int32_t height = bounds.Height();
    const int32_t x0 = originX + originOffset;
    const int32_t step = GetGridStep();

    canvas.SetPenWidth(1);
    canvas.SetForeColor(kZeroLineColour);
    canvas.DrawLine(x0, kGridTop, x0, height, 1, 1);
    canvas.SetForeColor(kGridColour);
    DrawGridRun(canvas, 1, x0, step, width, height);
    DrawGridRun(canvas, -1, x0, step, width, height);

    canvas.SetForeColor(kTextColour);
    XString zero;
    zero.Format("0 %s", GetUnitName(unit).CStr());
    canvas.DrawText(XRect(x0 - kZeroLabelHalfWidth, kTextTop, x0 + kZeroLabelHalfWidth, kTextBottom), zero,
                    kCentred);
    DrawLabelRun(canvas, 1, x0, step, width);
    DrawLabelRun(canvas, -1, x0, step, width);
}

void QM7DelayGraph::DrawGridRun(XCanvas& canvas, int32_t direction, int32_t x0, int32_t step, int32_t width,
                                int32_t height)
{
    int32_t previous = x0;
    for (int32_t k = 1;; ++k)
    {
        const int32_t x = ToPixels(direction * k * step) + x0;
        // A scale that does not move the line any further would never leave the view.
        if (x == previous || (direction > 0 ? x >= width : x < 0))
            return;
        canvas.DrawLine(x, kGridTop, x, height, 1, 1);
        previous = x;
    }
}

void QM7DelayGraph::DrawLabelRun(XCanvas& canvas, int32_t direction, int32_t x0, int32_t step, int32_t width)
{
    const XString unitName = GetUnitName(GetUnit());
    XFont* font = canvas.GetFont();
    int32_t previous = x0;
    for (int32_t k = 2;; k += 2)
    {
        const int32_t amount = direction * k * step;
        const int32_t x = ToPixels(amount) + x0;
        if (x == previous)
            return;
        XString text;
        text.Format("%d %s", amount, unitName.CStr());
        const int32_t textWidth = font != nullptr ? font->GetStringWidth(text) : 1;
        const int32_t left = x - textWidth / 2;
        const XRect box(left, kTextTop, left + textWidth, kTextBottom);
        if (direction > 0 ? box.right >= width : box.left < 0)
            return;
        canvas.DrawText(box, text, kCentred);
        previous = x;
    }
}
