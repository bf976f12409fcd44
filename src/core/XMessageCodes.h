#pragma once

#include <cstdint>

/** The four-character code of text such as "pmsg": the first letter in the most significant byte. */
constexpr uint32_t FourCharCode(const char (&text)[5])
{
    return (static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8) |
           static_cast<uint32_t>(static_cast<uint8_t>(text[3]));
}

/** The message codes that the framework's subsystems share. Codes of one subsystem's own dialogs and
    views live with that subsystem. */
namespace XMsgCode
{
/** A parameter's value was set: the code of every ordinary change notification. */
constexpr uint32_t kParamValueSet = 1000000;
/** A parameter was changed by the user. */
constexpr uint32_t kParamChangedByUser = 1000001;
/** Whether a parameter notification's code says its value changed (set by the program or by the user). */
constexpr bool IsValueChange(int32_t code)
{
    return static_cast<uint32_t>(code) == kParamValueSet ||
           static_cast<uint32_t>(code) == kParamChangedByUser;
}
/** Bind the receiving control to the parameter given. */
constexpr uint32_t kBindParam = 1000005;
/** A parameter was destroyed: watchers drop it. */
constexpr uint32_t kParamDestroyed = 1000006;
constexpr uint32_t kParamFlagsChanged = 1000007;
constexpr uint32_t kRefresh = 1000008;

/** Quit request, posted by the "quit" command: the application quits. */
constexpr uint32_t kQuitApplication = 10000005;
/** Close request of a window ("X_CLOSE_REQUESTED"); dialogs end with result 2. */
constexpr uint32_t kCloseRequested = 10000006;
/** "X_TOGGLE_FULLSCREEN". */
constexpr uint32_t kToggleFullscreen = 10000025;
/** The looper asks QuitRequested and, on yes, quits. */
constexpr uint32_t kQuitRequested = 10000033;
/** Leave the loop. */
constexpr uint32_t kLeaveLoop = 10000034;
/** Quit the GUI application (as kQuitApplication). */
constexpr uint32_t kQuitGuiApplication = 10000035;
constexpr uint32_t kShowWindow = 10000043;
/** Close the window (as kCloseRequested). */
constexpr uint32_t kCloseWindow = 10000044;
/** Hide and delete the window given in pointer item "_window". */
constexpr uint32_t kDeleteWindow = 10000045;
constexpr uint32_t kVolumesChanged = 10000049;

/** Open the document "docPath" (string); answered with kDocumentReply. */
constexpr uint32_t kOpenDocument = 20000008;
/** Save the document "docTypeName", "docPath" (strings); answered with kDocumentReply. */
constexpr uint32_t kSaveDocument = 20000009;
/** New document "docTypeName", "docPath"; answered with kDocumentReply. */
constexpr uint32_t kNewDocument = 20000010;
/** Text entry finished: the entered text goes to the bound parameter. */
constexpr uint32_t kTextEntryDone = 20000012;
/** Text entry notification without a commit. */
constexpr uint32_t kTextEntryChanged = 20000013;
/** List selection: "nFirstRow", "nLastRow". */
constexpr uint32_t kListSelection = 20000014;
constexpr uint32_t kListRowClicked = 20000015;
/** Automatic reply of a message destroyed unanswered; also the reply of a synchronous send to a
    looper that has no thread. */
constexpr uint32_t kNoReply = 20000017;
/** Reply to a document request, with int32 "result" (0 success, 0x80000001 failure). */
constexpr uint32_t kDocumentReply = 20000018;
/** Run the command named in "commandname" (string). */
constexpr uint32_t kRunCommand = 20000025;

/** A parameter change carried across threads (XParamMessage). */
constexpr uint32_t kParamMessage = FourCharCode("pmsg");
/** Remove a timer: pointer "pTarget", int32 "timerID". */
constexpr uint32_t kRemoveTimer = FourCharCode("remT");
constexpr uint32_t kVolumeArrived = FourCharCode("volA");
constexpr uint32_t kVolumeRemoved = FourCharCode("volR");
} // namespace XMsgCode
