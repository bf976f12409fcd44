#include "windows/SysOvvShared.h"

#include "core/XParamDesc.h"
#include "windows/LocalParamDesc.h"
#include "windows/MasterGraphicEqWindow.h"

namespace
{
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
}

XParam* SysOvvShared::GeqFrequency(int32_t band)
{
    return band >= 0 && band < kGeqBandCount ? MasterGraphicEqWindow::BandFrequency(band) : nullptr;
}
