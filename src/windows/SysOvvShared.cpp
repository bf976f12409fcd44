#include "windows/SysOvvShared.h"

#include "core/XParamDesc.h"
#include "windows/LocalParamDesc.h"

namespace
{
/** The ISO 1/3-octave centres of the graphic equaliser's bands. */
constexpr double kGeqCentres[SysOvvShared::kGeqBandCount] = {
    20,  25,   31.5, 40,   50,   63,   80,   100,  125,  160,  200,  250,   315,   400,   500,  630,
    800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};

void Setup(FloatParam& param, const XParamDesc& desc, double value)
{
    param.SetDesc(&desc);
    param.ChangeValue(value, true);
}
} // namespace

SysOvvShared::SysOvvShared()
{
    constexpr int32_t kInteger = XParamDesc::kTypeInteger;
    Setup(zeroGain, LocalParamDesc(nullptr, XParamDesc::kTypeGain, -15, 15, 0, 31), 0.0);
    Setup(one, LocalParamDesc(nullptr, kInteger, 0, 1, 1, 2), 1.0);
    Setup(zero, LocalParamDesc(nullptr, kInteger, 0, 1, 0, 2), 0.0);
    Setup(geqQ, LocalParamDesc(nullptr, 0, 0, 10, kGeqQ, 1001), kGeqQ);
    Setup(geqType, LocalParamDesc(nullptr, kInteger, kGeqType, kGeqType, kGeqType, 1), kGeqType);
    Setup(bypassed, LocalParamDesc(nullptr, kInteger, 0, 1, 1, 2), 1.0);
    const XParamDesc frequency = LocalParamDesc(nullptr, XParamDesc::kTypeFrequency, 20, 20000, 1000, 256);
    for (int32_t band = 0; band < kGeqBandCount; ++band)
        Setup(geqFrequencies[static_cast<size_t>(band)], frequency, kGeqCentres[band]);
}

XParam* SysOvvShared::GeqFrequency(int32_t band)
{
    return band >= 0 && band < kGeqBandCount ? &geqFrequencies[static_cast<size_t>(band)] : nullptr;
}
