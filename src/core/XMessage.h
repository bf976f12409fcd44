#pragma once

#include "core/XPoint.h"
#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XResult.h"

#include <cstdint>
#include <memory>

/** The framework's unit of communication between handlers, loopers and threads: a 32-bit "what"
    code, a 32-bit value, three routing fields for replies, a flag word and any number of typed,
    named items (an item is identified by its name, compared ignoring case, and its type, and holds
    one or more values).

    A message is flattened into one contiguous block to cross a message port (see XMsgPort.h) and is
    rebuilt from it on the other side; the flattened layout is also stored in document files, so it
    is fixed: little-endian, a 28-byte header (12 bytes with kFlagShortHeader) and the item nodes
    byte for byte. Unflatten checks every length against the block it is given and never reads
    outside it.

    A message has no lock: it belongs to one thread at a time. A message rebuilt from a port that
    owes a reply is answered at most once, also across its copies: the copies share the obligation,
    and when the last of them goes unanswered the automatic reply kNoReply is sent. Only a block
    read from a port (UnflattenFromPort, ReadFromPort) can owe a reply.

    Failures are result codes: 0 success, -1 bad argument, malformed block or no reply owed,
    XResult::kFailed (0x80000001) for a missing item or a failed port operation. */
class XMessage
{
public:
    /** Item types. */
    static constexpr int32_t kTypeAny = 0; // matches every type in look-ups
    static constexpr int32_t kTypeBool = 1;
    static constexpr int32_t kTypeInt8 = 2;
    static constexpr int32_t kTypeInt32 = 4;
    static constexpr int32_t kTypeFloat = 6;
    static constexpr int32_t kTypeInt64 = 7;
    static constexpr int32_t kTypeMessage = 8;
    static constexpr int32_t kTypePointer = 9;
    static constexpr int32_t kTypeRect = 10;
    static constexpr int32_t kTypePoint = 11;
    static constexpr int32_t kTypeColor = 12;
    static constexpr int32_t kTypeString = 13;
    static constexpr int32_t kTypeRaw = 14;

    /** Flag bits. */
    static constexpr uint32_t kFlagReplyExpected = 0x1;
    static constexpr uint32_t kFlagIsReply = 0x2;
    static constexpr uint32_t kFlagFromPort = 0x4;
    static constexpr uint32_t kFlagCurrentHeader = 0x8; // set in every header this system writes
    static constexpr uint32_t kFlagShortHeader = 0x10;  // header without value and routing
    static constexpr uint32_t kFlagReplySent = 0x10000;

    static constexpr int32_t kHeaderSize = 28;
    static constexpr int32_t kShortHeaderSize = 12;
    /** Bytes of an item node before its name: link, capacity, used size, element size, count, type,
        name length. */
    static constexpr int32_t kNodeHeaderSize = 25;
    static constexpr int32_t kMaxNameLength = 255;
    /** Routing value meaning "none". */
    static constexpr int32_t kNoRoute = -1;

    struct ItemNode;

    /** No items, flags 0, routing fields -1. */
    explicit XMessage(uint32_t what = 0, int32_t value = 0);
    /** Copies the header fields and the reply sink and duplicates every item; the queue link of the
        copy is null. */
    XMessage(const XMessage& other);
    XMessage& operator=(const XMessage& other);
    /** A message that still owes a reply answers with kNoReply first. */
    virtual ~XMessage();

    /** Frees every item; item bytes 0; queue link and reply sink null. */
    void Clear();
    void MakeEmpty() { Clear(); }

    // Header fields ------------------------------------------------------------------------------

    uint32_t GetWhat() const { return what; }
    void SetWhat(uint32_t code) { what = code; }
    int32_t GetValue() const { return value; }
    void SetValue(int32_t newValue) { value = newValue; }
    int32_t GetTargetToken() const { return targetToken; }
    int32_t GetReplyToken() const { return replyToken; }
    int32_t GetReplyPort() const { return replyPort; }
    void SetRouting(int32_t target, int32_t replyPortId, int32_t replyTokenId);
    uint32_t GetFlags() const { return flags; }
    void SetFlags(uint32_t newFlags) { flags = newFlags; }
    /** Sum of the used sizes of all item nodes. */
    int32_t GetItemBytes() const { return itemBytes; }
    /** True when the message came through a port with a reply port and has not been answered. */
    bool IsReplyExpected() const;

    /** Next message while the message waits in a looper's queue; not owned. */
    XMessage* GetQueueLink() const { return queueLink; }
    void SetQueueLink(XMessage* next) { queueLink = next; }
    /** Where a reply goes instead of a port during a synchronous send on the looper's own thread;
        not owned. */
    XMessage* GetReplySink() const { return replySink; }
    void SetReplySink(XMessage* sink) { replySink = sink; }

    // Adding: 0, or -1 on a null name or data, a name longer than 255, a type or size clash, or no
    // memory (the message is then unchanged) -----------------------------------------------------

    /** Appends the value to the item of this name and type (a length-prefixed item takes any size, a
        fixed one only its element size), or makes the item. reserve values' room is set aside when
        the item is made. String and message items must be length-prefixed, and a string value must
        end with its zero. */
    int32_t AddData(const char* name, int32_t type, const void* data, int32_t size, bool fixed,
                    int32_t reserve = 1);
    int32_t AddBool(const char* name, bool v);
    int32_t AddInt32(const char* name, int32_t v);
    int32_t AddFloat(const char* name, float v);
    int32_t AddInt64(const char* name, int64_t v);
    /** Pointer width of this build; valid only inside the process. */
    int32_t AddPointer(const char* name, const void* v);
    int32_t AddRect(const char* name, const XRect& v);
    int32_t AddPoint(const char* name, const XPoint& v);
    int32_t AddColor(const char* name, const XRGB& v);
    /** Length-prefixed, with its terminating zero. */
    int32_t AddString(const char* name, const char* text);
    /** Appends other, flattened, to the message item of this name. */
    int32_t AddMessage(const char* name, const XMessage& other);
    /** Overwrite the value at index when the item and index exist, else add the value. */
    int32_t ReplaceRect(const char* name, const XRect& v, int32_t index = 0);
    int32_t ReplaceColor(const char* name, const XRGB& v, int32_t index = 0);

    // Finding (index counts from 0) --------------------------------------------------------------

    /** The first item whose name has the same length and matches ignoring case, and whose type is
        type (kTypeAny matches any type); null when none or for a null name. */
    const ItemNode* FindItem(const char* name, int32_t type = kTypeAny) const;
    /** Number of values of the item, 0 when missing. */
    int32_t CountValues(int32_t type, const char* name) const;
    /** The value's bytes (not aligned: copy them out) and size; 0 or XResult::kFailed. */
    int32_t FindData(const char* name, int32_t type, const void*& data, int32_t& size,
                     int32_t index = 0) const;

    /** 0, or XResult::kFailed with out unchanged (also when the stored value has another size). */
    int32_t FindBool(const char* name, bool& out, int32_t index = 0) const;
    int32_t FindInt32(const char* name, int32_t& out, int32_t index = 0) const;
    int32_t FindFloat(const char* name, float& out, int32_t index = 0) const;
    int32_t FindInt64(const char* name, int64_t& out, int32_t index = 0) const;
    int32_t FindPointer(const char* name, void*& out, int32_t index = 0) const;
    int32_t FindRect(const char* name, XRect& out, int32_t index = 0) const;
    /** On failure out becomes the zero point. */
    int32_t FindPoint(const char* name, XPoint& out, int32_t index = 0) const;
    int32_t FindColor(const char* name, XRGB& out, int32_t index = 0) const;
    /** out points at the stored text, valid while the item is unchanged. */
    int32_t FindString(const char* name, const char*& out, int32_t index = 0) const;
    /** Rebuilds the nested message into out; a malformed nested block leaves out empty and gives
        XResult::kFailed. */
    int32_t FindMessage(const char* name, XMessage& out, int32_t index = 0) const;

    /** The value, or false, 0, 0, 0.0, null, "" (never null), opaque black when missing. */
    bool GetBool(const char* name, int32_t index = 0) const;
    int8_t GetInt8(const char* name, int32_t index = 0) const;
    int32_t GetInt32(const char* name, int32_t index = 0) const;
    float GetFloat(const char* name, int32_t index = 0) const;
    void* GetPointer(const char* name, int32_t index = 0) const;
    const char* GetString(const char* name, int32_t index = 0) const;
    XRGB GetColor(const char* name, int32_t index = 0) const;

    // Flattening ---------------------------------------------------------------------------------

    /** Header size plus item bytes. */
    int32_t GetFlattenedSize() const;
    /** Writes the header (flags with kFlagCurrentHeader added) and every node; 0, or -1 for a null
        buffer or one that is too small. */
    int32_t Flatten(void* buffer, int32_t capacity) const;
    /** Rebuilds the message from a block of length bytes: the current or the older 28-byte header,
        or the short one, then the nodes. -1 for a null buffer or a malformed block (the message's
        items are then emptied; header fields that were readable are kept); XResult::kFailed when a node
        has used size 0 (the items before it are kept). The order of the nodes is reversed.
        The block did not come through a port (a document's chunk, a nested message): the message
        owes no reply, whatever the block says (kFlagFromPort and kFlagReplyExpected cleared, reply
        port and reply token -1). */
    int32_t Unflatten(const void* buffer, int32_t length);
    /** Unflatten for a block read from a message port: the routing and flags stay as the block has
        them, and a message that owes a reply answers it once (see the class comment). */
    int32_t UnflattenFromPort(const void* buffer, int32_t length);

    // Ports and replies --------------------------------------------------------------------------

    /** Stores the routing fields, then writes the flattened message to the port with its what as
        the block's code (flags kFlagFromPort, and kFlagReplyExpected when replyPortId is not -1,
        added for the flattened copy only). 0 or XResult::kFailed. */
    int32_t SendToPort(int32_t port, int32_t target, int32_t replyPortId, int32_t replyTokenId);
    /** Takes one block from the port, waiting up to timeoutMs (see ReadPort), and rebuilds the
        message from it. 0, or XResult::kFailed when nothing was read or the block did not rebuild. */
    int32_t ReadFromPort(int32_t port, uint32_t timeoutMs);

    /** Answers the message: into the reply sink when one is set (a null reply empties it); else,
        when a reply is owed, sends reply (kFlagIsReply added for the send) to the reply port,
        targeted at the reply token, with the replier's port and token as its own reply routing.
        A message is answered at most once. 0, -1 when no reply is owed, or the send result. */
    int32_t SendReply(XMessage* reply, int32_t replierPort = kNoRoute, int32_t replierToken = kNoRoute);
    /** SendReply with a bare XMessage(code, 0). */
    int32_t SendReplyCode(uint32_t code, int32_t replierPort = kNoRoute, int32_t replierToken = kNoRoute);

private:
    struct ReplyObligation;

    int32_t Rebuild(const void* buffer, int32_t length, bool fromPort);
    int32_t HeaderSize() const;
    int32_t FlattenWithFlags(uint8_t* buffer, int32_t capacity, uint32_t headerFlags) const;
    /** Reads the header of a block; returns its size, or -1 when the block is too short for it. */
    int32_t ReadHeader(const uint8_t* block, int32_t length);
    ItemNode* FindNode(const char* name, int32_t type) const;
    /** Makes a node and returns its value area, or null when out of memory. */
    uint8_t* AddItem(const char* name, int32_t type, const void* data, int32_t size, bool fixed,
                     int32_t reserve);
    /** Appends a value to node (which may move) and returns its value area, or null. */
    uint8_t* AppendValue(ItemNode* node, const void* data, int32_t size);
    /** Overwrites the fixed value at index of the item when it exists with this size. */
    bool OverwriteValue(const char* name, int32_t type, const void* data, int32_t size, int32_t index);
    /** Finds the value at index and copies exactly size bytes of it to out. */
    int32_t CopyValue(const char* name, int32_t type, void* out, int32_t size, int32_t index) const;
    void CopyItemsFrom(const XMessage& other);
    void FreeItems();

    uint32_t what;
    int32_t targetToken = kNoRoute;
    int32_t replyToken = kNoRoute;
    int32_t replyPort = kNoRoute;
    uint32_t flags = 0;
    int32_t itemBytes = 0;
    int32_t value;
    ItemNode* items = nullptr; // newest first; owned
    XMessage* queueLink = nullptr;
    XMessage* replySink = nullptr;
    /** Shared by the copies of a message rebuilt from a port that owes a reply. */
    std::shared_ptr<ReplyObligation> replyObligation;
};
