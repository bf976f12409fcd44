#include "device/IParamSendingState.h"

#include <atomic>

namespace
{
std::atomic<IParamSendingState*> registeredState{nullptr};
}

void SetParamSendingState(IParamSendingState* state)
{
    registeredState.store(state, std::memory_order_release);
}

bool IsParamSendingSuspended()
{
    IParamSendingState* state = registeredState.load(std::memory_order_acquire);
    return state != nullptr && state->IsParamSendingSuspended();
}
