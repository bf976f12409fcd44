#pragma once

#include "core/XParam.h"

/** The common base of the parameters that have a descriptor: it keeps its own copy of the
    descriptor (whose ext always points at the parameter's own callback block) and the display
    format callback.

    Flags, min, max and count may be changed on one thread while another reads them; they are read
    and written atomically. Callbacks are set while the parameter is being set up. */
class XBaseParam : public XParam
{
public:
    XBaseParam();

    /** Copies desc and its callback block (null desc: nothing). Type 2 (on/off) forces count 1;
        type 1 (integer) sets count to max - min + 1, truncated, low 32 bits. */
    void SetDesc(const XParamDesc* desc) override;
    int32_t GetType() const override;
    const XParamDesc* GetDesc() const override;
    int32_t GetFlags() const override;
    void SetFlags(int32_t flags) override;
    void* GetClientData() const override;
    void SetClientData(void* data) override;
    int32_t GetId() const override;

    void SetTextCallback(ParamTextCallback callback, int32_t user) override;
    void SetVetoCallback(ParamVetoCallback callback, int32_t user) override;
    void SetValueMapCallback(ParamValueMapCallback callback, int32_t user) override;
    void SetEventCallback(ParamEventCallback callback, int32_t user) override;
    ParamFormatCallback GetFormatCallback() const override;
    void SetFormatCallback(ParamFormatCallback callback, int32_t user, int32_t extra) override;

    double GetMin() const override;
    double GetMax() const override;
    uint32_t GetCount() const override;
    void SetMin(double value) override;
    void SetMax(double value) override;
    void SetCount(uint32_t value) override;
    double GetDefault() const override;

protected:
    /** The own callback block (all zero when the descriptor had none). */
    const XParamDescExt& Ext() const { return ext; }
    /** The format callback's text of value; only when GetFormatCallback is set. */
    XString FormatText(double value) const;
    /** The parameter as callbacks take it. */
    XParam* Self() const { return const_cast<XBaseParam*>(this); }

private:
    XParamDesc desc;
    XParamDescExt ext;
    ParamFormatCallback formatCallback = nullptr;
    int32_t formatUser = 0;
    int32_t formatExtra = 0;
};

/** The step count max - min + 1, truncated toward zero, keeping its low 32 bits; 0 for a
    non-finite or huge span. */
uint32_t SpanCount(double min, double max);
