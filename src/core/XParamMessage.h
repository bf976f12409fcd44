#pragma once

#include "core/XMessage.h"

class XParam;

/** A parameter change carried across threads: what 'pmsg', value 0 and one raw item "pd" holding
    the parameter pointer, the notification code and the watcher's key.

    The pointer is only meaningful inside the process, and the parameter must outlive the delivery;
    the item has pointer width plus two int32 (16 bytes in a 64-bit build). */
class XParamMessage : public XMessage
{
public:
    static constexpr const char* kItemName = "pd";

    XParamMessage(XParam* param, int32_t code, int32_t key);
    /** Copies a received message and reads "pd" back; parameter, code and key are all 0 when the
        item is missing or has another size. */
    explicit XParamMessage(const XMessage& received);

    XParam* GetParam() const { return param; }
    int32_t GetCode() const { return code; }
    int32_t GetKey() const { return key; }

private:
    XParam* param = nullptr;
    int32_t code = 0;
    int32_t key = 0;
};
