#include "core/FrameworkCommands.h"

#include "core/UndoHistory.h"
#include "core/XApplication.h"
#include "core/XMessage.h"
#include "core/XMessageCodes.h"
#include "core/XSmartLock.h"

namespace
{
/** The base text with a blank and the suffix behind it when the suffix is not empty. */
XString WithSuffix(const char* base, const XString& suffix)
{
    XString text(base);
    if (!suffix.IsEmpty())
    {
        text += " ";
        text += suffix;
    }
    return text;
}

XString MenuLabelOf(const XString& item)
{
    XApplication* application = GetApplication();
    return application != nullptr ? application->GetMenuLabel(XCommand::kMenuSection, item.CStr()) : item;
}
} // namespace

// Quit ----------------------------------------------------------------------------------------------

QuitCommand::QuitCommand() : XCommand("quit") {}

void QuitCommand::Execute(XMessage* request)
{
    if (XApplication* application = GetApplication())
    {
        XMessage closeRequest(XMsgCode::kQuitApplication, 0);
        application->PostMessage(&closeRequest);
    }
}

XString QuitCommand::GetTitle()
{
    return "Quit";
}

bool QuitCommand::IsEnabled(XMessage* request)
{
    return true;
}

// Undo ----------------------------------------------------------------------------------------------

UndoLastCommand::UndoLastCommand() : XCommand("undo") {}

void UndoLastCommand::Execute(XMessage* request)
{
    XSmartLock hold(GetUndoHistoryLock());
    if (UndoHistory* history = GetUndoHistory())
        history->Undo(1);
}

XString UndoLastCommand::GetTitle()
{
    XSmartLock hold(GetUndoHistoryLock());
    UndoHistory* history = GetUndoHistory();
    return WithSuffix("Undo", history != nullptr ? history->GetUndoName() : XString());
}

XString UndoLastCommand::GetMenuLabel()
{
    XSmartLock hold(GetUndoHistoryLock());
    XString label = MenuLabelOf("Undo");
    if (UndoHistory* history = GetUndoHistory())
    {
        label += " ";
        label += MenuLabelOf(history->GetUndoName());
    }
    return label;
}

bool UndoLastCommand::HasDynamicLabel()
{
    return true;
}

bool UndoLastCommand::IsEnabled(XMessage* request)
{
    XSmartLock hold(GetUndoHistoryLock());
    UndoHistory* history = GetUndoHistory();
    return history != nullptr && history->CanUndo();
}

// Redo ----------------------------------------------------------------------------------------------

RedoLastCommand::RedoLastCommand() : XCommand("redo") {}

void RedoLastCommand::Execute(XMessage* request)
{
    XSmartLock hold(GetUndoHistoryLock());
    if (UndoHistory* history = GetUndoHistory())
        history->Redo(1);
}

XString RedoLastCommand::GetTitle()
{
    XSmartLock hold(GetUndoHistoryLock());
    UndoHistory* history = GetUndoHistory();
    return WithSuffix("Redo", history != nullptr ? history->GetRedoName() : XString());
}

bool RedoLastCommand::HasDynamicLabel()
{
    return true;
}

bool RedoLastCommand::IsEnabled(XMessage* request)
{
    XSmartLock hold(GetUndoHistoryLock());
    UndoHistory* history = GetUndoHistory();
    return history != nullptr && history->CanRedo();
}

// Clear history -------------------------------------------------------------------------------------

ClearHistoryCommand::ClearHistoryCommand() : XCommand("clearhistory") {}

void ClearHistoryCommand::Execute(XMessage* request)
{
    XSmartLock hold(GetUndoHistoryLock());
    if (UndoHistory* history = GetUndoHistory())
        history->Clear();
}

XString ClearHistoryCommand::GetTitle()
{
    return "Clear History";
}

bool ClearHistoryCommand::IsEnabled(XMessage* request)
{
    XSmartLock hold(GetUndoHistoryLock());
    UndoHistory* history = GetUndoHistory();
    return history != nullptr && (history->CanUndo() || history->CanRedo());
}

// Top undo ------------------------------------------------------------------------------------------

TopUndoCommand::TopUndoCommand() : UndoableCommand("topundo") {}

std::unique_ptr<XElement> TopUndoCommand::Clone() const
{
    return std::make_unique<TopUndoCommand>();
}

XString TopUndoCommand::GetTitle()
{
    return "Top Level";
}

bool TopUndoCommand::IsEnabled(XMessage* request)
{
    return false;
}

void TopUndoCommand::Undo() {}

void TopUndoCommand::Redo() {}

bool TopUndoCommand::Perform()
{
    return false;
}
