#include "widgets/XEQViewBg.h"

#include "core/XRGB.h"
#include "gui/XCanvas.h"
#include "gui/XFont.h"

#include <cmath>

namespace
{
constexpr XRGB kDecadeLineColor(140, 140, 140, 255);
constexpr XRGB kGridLineColor(100, 100, 100, 80);
constexpr XRGB kLabelColor(230, 230, 230, 255);
constexpr const char* kLabelFontFamily = "arial";
constexpr int32_t kLabelFontSize = 9;
constexpr int32_t kGridPenWidth = 1;
constexpr int32_t kLabelPenWidth = 2;
/** The axis's ends lie this far inside the view. */
constexpr int32_t kAxisMargin = 2;
/** Keeps both logarithms finite for a frequency of 0. */
constexpr double kLogGuard = 1e-200;

bool IsDecade(double frequency)
{
    return frequency == 100.0 || frequency == 1000.0 || frequency == 10000.0;
}
} // namespace

XEQViewBg::XEQViewBg(const XRect& frame) : XView(frame)
{
    SetTransparent(true);
    graphFrame = XRect(0, 0, frame.Width(), frame.Height());
    labelBand = XRect(0, graphFrame.bottom + kLabelGap, 0, graphFrame.bottom + kLabelGap + kLabelHeight);
    GrowBy(0, kLabelHeight);
}

void XEQViewBg::SetLabelBand(int32_t top, int32_t bottom)
{
    const int32_t viewTop = GetFrame().top;
    labelBand.top = top - viewTop;
    labelBand.bottom = bottom - viewTop;
}

void XEQViewBg::OffsetLabelBand(int32_t dy)
{
    labelBand.top += dy;
    labelBand.bottom += dy;
}

int32_t XEQViewBg::FrequencyToX(double frequency) const
{
    const double span = std::log2(maxFrequency / minFrequency + kLogGuard);
    const double octaves = std::log2(frequency / minFrequency + kLogGuard);
    return static_cast<int32_t>(std::lround(kAxisMargin + octaves * (getWidth() - 2 * kAxisMargin) / span));
}

double XEQViewBg::NextGridFrequency(double frequency)
{
    if (frequency < 100.0)
        return frequency + 10.0;
    if (frequency < 1000.0)
        return frequency + 100.0;
    if (frequency < 10000.0)
        return frequency + 1000.0;
    return frequency + 10000.0;
}

XString XEQViewBg::FrequencyLabel(double frequency)
{
    XString label;
    if (frequency < 1000.0)
        label.Format("%d", static_cast<int>(std::trunc(frequency)));
    else
        label.Format("%dk", static_cast<int>(std::trunc(frequency / 1000.0)));
    const char first = label.CStr()[0];
    if (first != '2' && first != '5' && first != '1')
        return XString();
    return label;
}

XRect XEQViewBg::LabelRect(int32_t x, int32_t width) const
{
    const int32_t right = getWidth();
    XRect rect(x - width / 2, labelBand.top, x - width / 2 + width, labelBand.bottom);
    if (rect.left < 0)
    {
        rect.right -= rect.left;
        rect.left = 0;
    }
    else if (rect.right > right)
    {
        rect.left -= rect.right - right;
        rect.right = right;
    }
    return rect;
}

void XEQViewBg::Draw(XCanvas& canvas)
{
    if (!IsVisible())
        return;
    XView::Draw(canvas);
    PrepareCanvas(canvas);
    DrawGrid(canvas);
}

void XEQViewBg::DrawGrid(XCanvas& canvas)
{
    const int32_t savedPenWidth = canvas.GetPenWidth();
    XFont* const savedFont = canvas.GetFont();
    const int32_t right = getWidth();

    canvas.SetPenWidth(kGridPenWidth);
    for (double f = minFrequency; f <= maxFrequency; f = NextGridFrequency(f))
    {
        const int32_t x = FrequencyToX(f);
        if (x >= right)
            break;
        canvas.SetForeColor(IsDecade(f) ? kDecadeLineColor : kGridLineColor);
        canvas.DrawLine(x, kAxisMargin, x, graphFrame.Height(), 1, 1);
    }

    canvas.SetPenWidth(kLabelPenWidth);
    canvas.SetForeColor(kLabelColor);
    XFont* const font = XFont::GetFont(XString(kLabelFontFamily), kLabelFontSize, false, false, false);
    canvas.SetFont(font);
    for (double f = minFrequency; f <= maxFrequency; f = NextGridFrequency(f))
    {
        const int32_t x = FrequencyToX(f);
        if (x >= right)
            break;
        const XString label = FrequencyLabel(f);
        if (label.IsEmpty())
            continue;
        const int32_t width = font != nullptr ? font->GetStringWidth(label) : 1;
        canvas.DrawText(LabelRect(x, width), label, XCanvas::kJustifyCentred);
    }

    canvas.SetPenWidth(savedPenWidth);
    canvas.SetFont(savedFont);
}
