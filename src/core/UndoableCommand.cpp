#include "core/UndoableCommand.h"

#include "core/UndoHistory.h"
#include "core/XSmartLock.h"

UndoableCommand::UndoableCommand(const XString& name) : XCommand(name) {}

int32_t UndoableCommand::GetTypeCode() const
{
    return kUndoableCommandType;
}

bool UndoableCommand::IsKindOf(int32_t typeCode) const
{
    return typeCode == kUndoableCommandType || XOperation::IsKindOf(typeCode);
}

const char* UndoableCommand::GetClassName() const
{
    return "UndoableCommand";
}

XMessage* UndoableCommand::GetNotification(bool undoing)
{
    return nullptr;
}

bool UndoableCommand::IsUndoable() const
{
    return true;
}

void UndoableCommand::Execute(XMessage* runRequest)
{
    if (!IsEnabled(runRequest))
        return;
    std::unique_ptr<XElement> clone = Clone();
    if (clone == nullptr || clone->GetTypeCode() != kUndoableCommandType)
        return;
    auto* operation = dynamic_cast<UndoableCommand*>(clone.get());
    if (operation == nullptr)
        return;
    operation->request = runRequest;
    const bool finished = operation->Perform();
    // The request dies with its dispatch; a recorded operation must not keep pointing to it.
    operation->request = nullptr;
    if (finished)
        return;

    XSmartLock hold(GetUndoHistoryLock());
    if (UndoHistory* history = GetUndoHistory())
    {
        clone.release();
        history->Push(std::unique_ptr<XOperation>(operation));
    }
}
