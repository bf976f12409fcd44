#pragma once

#include "core/FloatParam.h"
#include "core/XParamDesc.h"
#include "device/ChannelParamCallbacks.h"
#include "support/ParamTestSupport.h"
#include "widgets/XEQView.h"

#include <array>
#include <cmath>
#include <memory>

/** Band parameters of the EQ view tests, shaped like the unit's: gain in dB (-15..15 in 0.5 dB steps),
    frequency 20 Hz..20 kHz on 513 logarithmic steps, q 0.4..20 on 100 steps, filter type, band on. */
namespace EQViewTest
{
constexpr int kBands = 4;

inline std::unique_ptr<FloatParam> MakeParam(const char* name, int32_t unit, double min, double max,
                                             double def, uint32_t count, const XParamDescExt* ext = nullptr)
{
    XParamDesc desc = ParamTest::Desc(unit, min, max, def, count, 0, name);
    desc.ext = ext;
    return std::make_unique<FloatParam>(desc);
}

inline const XParamDescExt* LogFrequencyExt()
{
    static const XParamDescExt ext = []
    {
        XParamDescExt made;
        made.indexCallback = LogFrequencyStep;
        return made;
    }();
    return &ext;
}

struct Band
{
    std::unique_ptr<FloatParam> gain = MakeParam("gain", XParamDesc::kTypeGain, -15, 15, 0, 61);
    std::unique_ptr<FloatParam> frequency =
        MakeParam("freq", XParamDesc::kTypeFrequency, 20, 20000, 1000, 513, LogFrequencyExt());
    std::unique_ptr<FloatParam> q = MakeParam("q", 0, 0.4, 20, 0.7, 100);
    std::unique_ptr<FloatParam> type = MakeParam("type", XParamDesc::kTypeInteger, 0, 30, 2, 31);
    std::unique_ptr<FloatParam> on = MakeParam("on", XParamDesc::kTypeOnOff, 0, 1, 1, 2);

    void Set(int filterType, double gainDb, double hz, double qValue)
    {
        type->SetValue(filterType, false);
        gain->SetValue(gainDb, false);
        frequency->SetValue(hz, false);
        q->SetValue(qValue, false);
    }
};

/** kBands (or more) bands bound to a view. */
struct Bands
{
    explicit Bands(int count = kBands) : bands(static_cast<size_t>(count)) {}

    /** Binds the bands, spread over the axis two octaves apart from 30 Hz up so that no balls overlap. */
    void BindTo(XEQView& view)
    {
        view.SetNumBands(static_cast<int>(bands.size()));
        for (size_t i = 0; i < bands.size(); ++i)
        {
            const int index = static_cast<int>(i);
            bands[i].frequency->SetValue(30.0 * std::pow(4.0, static_cast<double>(index % 5)), false);
            view.BindBandParam(XEQView::kBandGain, bands[i].gain.get(), index);
            view.BindBandParam(XEQView::kBandFrequency, bands[i].frequency.get(), index);
            view.BindBandParam(XEQView::kBandQ, bands[i].q.get(), index);
            view.BindBandParam(XEQView::kBandType, bands[i].type.get(), index);
            view.BindBandParam(XEQView::kBandOn, bands[i].on.get(), index);
        }
    }

    Band& operator[](int index) { return bands[static_cast<size_t>(index)]; }

    std::vector<Band> bands;
};
} // namespace EQViewTest
