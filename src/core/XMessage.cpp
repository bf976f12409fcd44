#include "core/XMessage.h"

#include "core/XMemory.h"
#include "core/XMessageCodes.h"
#include "core/XMsgPort.h"
#include "core/XResult.h"
#include "core/XString.h"

#include <atomic>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

// The flattened layout is little-endian and values are copied with memcpy.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the message layout assumes a little-endian host");

namespace
{
// Offsets inside an item node (the same in memory and in a flattened block).
constexpr int32_t kNodeLinkOffset = 0;
constexpr int32_t kNodeCapacityOffset = 4;
constexpr int32_t kNodeUsedOffset = 8;
constexpr int32_t kNodeElementSizeOffset = 12;
constexpr int32_t kNodeCountOffset = 16;
constexpr int32_t kNodeTypeOffset = 20;
constexpr int32_t kNodeNameLengthOffset = 24;
constexpr int32_t kLengthPrefixSize = 4;

// Offsets inside a flattened header.
constexpr int32_t kHeaderTotalOffset = 0;
constexpr int32_t kHeaderWhatOffset = 4;
constexpr int32_t kHeaderFlagsOffset = 8;
constexpr int32_t kHeaderValueOffset = 12;
constexpr int32_t kHeaderTargetOffset = 16;
constexpr int32_t kHeaderReplyTokenOffset = 20;
constexpr int32_t kHeaderReplyPortOffset = 24;
// The older 28-byte header: routing from offset 12, flags at 24, no value.
constexpr int32_t kOldHeaderTargetOffset = 12;
constexpr int32_t kOldHeaderReplyTokenOffset = 16;
constexpr int32_t kOldHeaderReplyPortOffset = 20;
constexpr int32_t kOldHeaderFlagsOffset = 24;

/** Messages of up to this many flattened bytes are sent from a buffer on the stack. */
constexpr int32_t kStackFlattenBytes = 128;
constexpr int64_t kMaxNodeBytes = std::numeric_limits<int32_t>::max();

int32_t Read32(const uint8_t* p)
{
    int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void Write32(uint8_t* p, int32_t v)
{
    std::memcpy(p, &v, sizeof v);
}

bool NamesMatch(const uint8_t* stored, int storedLength, const char* name, size_t nameLength)
{
    if (static_cast<size_t>(storedLength) != nameLength)
        return false;
    for (size_t i = 0; i < nameLength; ++i)
        if (ToLowerChar(static_cast<char>(stored[i])) != ToLowerChar(name[i]))
            return false;
    return true;
}

/** Checks the values of a node image of used bytes against its own fields; true when sound. */
bool NodeValuesAreSound(const uint8_t* image, int32_t used)
{
    const int32_t nameLength = image[kNodeNameLengthOffset];
    if (used < XMessage::kNodeHeaderSize + nameLength)
        return false;
    const int32_t elementSize = Read32(image + kNodeElementSizeOffset);
    const int32_t count = Read32(image + kNodeCountOffset);
    const int32_t type = Read32(image + kNodeTypeOffset);
    if (elementSize < 0 || count < 0)
        return false;
    const int64_t valueBytes = used - XMessage::kNodeHeaderSize - nameLength;
    if (elementSize > 0)
        return type != XMessage::kTypeString && type != XMessage::kTypeMessage &&
               static_cast<int64_t>(count) * elementSize == valueBytes;

    const uint8_t* value = image + XMessage::kNodeHeaderSize + nameLength;
    int64_t left = valueBytes;
    for (int32_t i = 0; i < count; ++i)
    {
        if (left < kLengthPrefixSize)
            return false;
        const int32_t length = Read32(value);
        left -= kLengthPrefixSize;
        if (length < 0 || length > left)
            return false;
        if (type == XMessage::kTypeString && (length < 1 || value[kLengthPrefixSize + length - 1] != 0))
            return false;
        value += kLengthPrefixSize + length;
        left -= length;
    }
    return left == 0;
}
} // namespace

/** One item: the node header fields live in the image in their stored layout, so a node is copied
    to and from a flattened block byte for byte. */
struct XMessage::ItemNode
{
    ItemNode* next;
    int32_t capacity; // bytes of the image

    uint8_t* Image() { return reinterpret_cast<uint8_t*>(this + 1); }
    const uint8_t* Image() const { return reinterpret_cast<const uint8_t*>(this + 1); }

    int32_t Used() const { return Read32(Image() + kNodeUsedOffset); }
    int32_t ElementSize() const { return Read32(Image() + kNodeElementSizeOffset); }
    int32_t Count() const { return Read32(Image() + kNodeCountOffset); }
    int32_t Type() const { return Read32(Image() + kNodeTypeOffset); }
    int32_t NameLength() const { return Image()[kNodeNameLengthOffset]; }
    const uint8_t* Name() const { return Image() + kNodeHeaderSize; }
    const uint8_t* Values() const { return Name() + NameLength(); }
    uint8_t* Values() { return Image() + kNodeHeaderSize + NameLength(); }
    bool IsLengthPrefixed() const { return ElementSize() == 0; }

    /** A node with room for capacity image bytes, its capacity field set; null when out of memory. */
    static ItemNode* Allocate(int32_t capacity)
    {
        void* memory = ::operator new(sizeof(ItemNode) + static_cast<size_t>(capacity), std::nothrow);
        if (memory == nullptr)
            return nullptr;
        auto* node = new (memory) ItemNode{nullptr, capacity};
        std::memset(node->Image(), 0, static_cast<size_t>(capacity));
        Write32(node->Image() + kNodeCapacityOffset, capacity);
        return node;
    }

    /** A node holding a copy of the used bytes of image, capacity = used size. */
    static ItemNode* CopyOf(const uint8_t* image, int32_t used)
    {
        ItemNode* node = Allocate(used);
        if (node == nullptr)
            return nullptr;
        std::memcpy(node->Image(), image, static_cast<size_t>(used));
        Write32(node->Image() + kNodeLinkOffset, 0);
        Write32(node->Image() + kNodeCapacityOffset, used);
        return node;
    }

    static void Free(ItemNode* node)
    {
        if (node == nullptr)
            return;
        node->~ItemNode();
        ::operator delete(node);
    }
};

/** The duty of a message rebuilt from a port to answer once. Copies of the message share it; when
    the last copy goes and no reply was sent, the automatic reply goes to the routing the message
    arrived with. Thread-safe: copies may live on different threads. */
struct XMessage::ReplyObligation
{
    ReplyObligation(int32_t port, int32_t token) : replyPort(port), replyToken(token) {}
    ReplyObligation(const ReplyObligation&) = delete;
    ReplyObligation& operator=(const ReplyObligation&) = delete;

    ~ReplyObligation()
    {
        if (answered.exchange(true))
            return;
        XMessage automaticReply(XMsgCode::kNoReply, 0);
        automaticReply.flags |= kFlagIsReply;
        automaticReply.SendToPort(replyPort, replyToken, kNoRoute, kNoRoute);
    }

    const int32_t replyPort;
    const int32_t replyToken;
    std::atomic<bool> answered{false};
};

// Construction -----------------------------------------------------------------------------------

XMessage::XMessage(uint32_t whatCode, int32_t valueIn) : what(whatCode), value(valueIn) {}

XMessage::XMessage(const XMessage& other) : what(other.what), value(other.value)
{
    *this = other;
}

XMessage& XMessage::operator=(const XMessage& other)
{
    if (this == &other)
        return *this;
    what = other.what;
    value = other.value;
    targetToken = other.targetToken;
    replyToken = other.replyToken;
    replyPort = other.replyPort;
    flags = other.flags;
    replySink = other.replySink;
    queueLink = nullptr;
    replyObligation = other.replyObligation;
    CopyItemsFrom(other);
    return *this;
}

XMessage::~XMessage()
{
    // A shared obligation answers by itself when its last holder goes.
    if (replyObligation == nullptr && IsReplyExpected())
        SendReplyCode(XMsgCode::kNoReply);
    replyObligation.reset();
    FreeItems();
}

void XMessage::CopyItemsFrom(const XMessage& other)
{
    FreeItems();
    ItemNode** tail = &items;
    for (const ItemNode* node = other.items; node != nullptr; node = node->next)
    {
        ItemNode* copy = ItemNode::CopyOf(node->Image(), node->Used());
        if (copy == nullptr)
        {
            FreeItems(); // out of memory: the copy ends without items
            return;
        }
        *tail = copy;
        tail = &copy->next;
        itemBytes += copy->Used();
    }
}

void XMessage::FreeItems()
{
    while (items != nullptr)
    {
        ItemNode* next = items->next;
        ItemNode::Free(items);
        items = next;
    }
    itemBytes = 0;
}

void XMessage::Clear()
{
    FreeItems();
    queueLink = nullptr;
    replySink = nullptr;
}

void XMessage::SetRouting(int32_t target, int32_t replyPortId, int32_t replyTokenId)
{
    targetToken = target;
    replyPort = replyPortId;
    replyToken = replyTokenId;
}

bool XMessage::IsReplyExpected() const
{
    constexpr uint32_t kOwed = kFlagFromPort | kFlagReplyExpected;
    if ((flags & kOwed) != kOwed || (flags & kFlagReplySent) != 0)
        return false;
    return replyObligation == nullptr || !replyObligation->answered.load();
}

// Adding -----------------------------------------------------------------------------------------

XMessage::ItemNode* XMessage::FindNode(const char* name, int32_t type) const
{
    if (name == nullptr)
        return nullptr;
    const size_t nameLength = std::strlen(name);
    for (ItemNode* node = items; node != nullptr; node = node->next)
        if ((type == kTypeAny || node->Type() == type) &&
            NamesMatch(node->Name(), node->NameLength(), name, nameLength))
            return node;
    return nullptr;
}

const XMessage::ItemNode* XMessage::FindItem(const char* name, int32_t type) const
{
    return FindNode(name, type);
}

uint8_t* XMessage::AddItem(const char* name, int32_t type, const void* data, int32_t size, bool fixed,
                           int32_t reserve)
{
    const int32_t nameLength = static_cast<int32_t>(std::strlen(name));
    const int32_t prefix = fixed ? 0 : kLengthPrefixSize;
    const int64_t capacity = (static_cast<int64_t>(size) + prefix) * reserve + nameLength + kNodeHeaderSize;
    const int64_t used = static_cast<int64_t>(size) + prefix + nameLength + kNodeHeaderSize;
    if (capacity > kMaxNodeBytes || static_cast<int64_t>(itemBytes) + used > kMaxNodeBytes - kHeaderSize)
        return nullptr;
    ItemNode* node = ItemNode::Allocate(static_cast<int32_t>(capacity));
    if (node == nullptr)
        return nullptr;

    uint8_t* image = node->Image();
    Write32(image + kNodeUsedOffset, static_cast<int32_t>(used));
    Write32(image + kNodeElementSizeOffset, fixed ? size : 0);
    Write32(image + kNodeCountOffset, 1);
    Write32(image + kNodeTypeOffset, type);
    image[kNodeNameLengthOffset] = static_cast<uint8_t>(nameLength);
    std::memcpy(image + kNodeHeaderSize, name, static_cast<size_t>(nameLength));
    uint8_t* valueArea = image + kNodeHeaderSize + nameLength;
    if (!fixed)
    {
        Write32(valueArea, size);
        valueArea += kLengthPrefixSize;
    }
    if (data != nullptr && size > 0)
        std::memcpy(valueArea, data, static_cast<size_t>(size));

    node->next = items;
    items = node;
    itemBytes += static_cast<int32_t>(used);
    return valueArea;
}

uint8_t* XMessage::AppendValue(ItemNode* node, const void* data, int32_t size)
{
    const bool prefixed = node->IsLengthPrefixed();
    const int32_t used = node->Used();
    const int64_t added = static_cast<int64_t>(size) + (prefixed ? kLengthPrefixSize : 0);
    const int64_t needed = used + added;
    if (needed > kMaxNodeBytes || static_cast<int64_t>(itemBytes) + added > kMaxNodeBytes - kHeaderSize)
        return nullptr;

    if (node->capacity < needed)
    {
        ItemNode* grown = ItemNode::Allocate(static_cast<int32_t>(needed));
        if (grown == nullptr)
            return nullptr;
        std::memcpy(grown->Image(), node->Image(), static_cast<size_t>(used));
        Write32(grown->Image() + kNodeCapacityOffset, grown->capacity);
        ItemNode** link = &items;
        while (*link != node)
            link = &(*link)->next;
        *link = node->next;
        ItemNode::Free(node);
        grown->next = items;
        items = grown;
        node = grown;
    }

    uint8_t* valueArea = node->Image() + used;
    if (prefixed)
    {
        Write32(valueArea, size);
        valueArea += kLengthPrefixSize;
    }
    if (data != nullptr && size > 0)
        std::memcpy(valueArea, data, static_cast<size_t>(size));
    Write32(node->Image() + kNodeCountOffset, node->Count() + 1);
    Write32(node->Image() + kNodeUsedOffset, static_cast<int32_t>(needed));
    itemBytes += static_cast<int32_t>(added);
    return valueArea;
}

int32_t XMessage::AddData(const char* name, int32_t type, const void* data, int32_t size, bool fixed,
                          int32_t reserve)
{
    if (name == nullptr || data == nullptr || size < 0 || (fixed && size == 0) ||
        std::strlen(name) > static_cast<size_t>(kMaxNameLength))
        return -1;
    // Strings and nested messages are always length-prefixed, and a string keeps its terminator, so
    // that readers can rely on both.
    const bool mustBePrefixed = type == kTypeString || type == kTypeMessage;
    if ((mustBePrefixed && fixed) ||
        (type == kTypeString && (size < 1 || static_cast<const char*>(data)[size - 1] != 0)))
        return -1;
    if (reserve < 1)
        reserve = 1;
    ItemNode* node = FindNode(name, type);
    if (node == nullptr)
        return AddItem(name, type, data, size, fixed, reserve) != nullptr ? 0 : -1;
    if (!node->IsLengthPrefixed() && node->ElementSize() != size)
        return -1;
    return AppendValue(node, data, size) != nullptr ? 0 : -1;
}

int32_t XMessage::AddBool(const char* name, bool v)
{
    const uint8_t byte = v ? 1 : 0;
    return AddData(name, kTypeBool, &byte, 1, true);
}

int32_t XMessage::AddInt32(const char* name, int32_t v)
{
    return AddData(name, kTypeInt32, &v, sizeof v, true);
}

int32_t XMessage::AddFloat(const char* name, float v)
{
    return AddData(name, kTypeFloat, &v, sizeof v, true);
}

int32_t XMessage::AddInt64(const char* name, int64_t v)
{
    return AddData(name, kTypeInt64, &v, sizeof v, true);
}

int32_t XMessage::AddPointer(const char* name, const void* v)
{
    return AddData(name, kTypePointer, &v, sizeof v, true);
}

int32_t XMessage::AddRect(const char* name, const XRect& v)
{
    const int32_t edges[4] = {v.left, v.top, v.right, v.bottom};
    return AddData(name, kTypeRect, edges, sizeof edges, true);
}

int32_t XMessage::AddPoint(const char* name, const XPoint& v)
{
    const int32_t coordinates[2] = {v.x, v.y};
    return AddData(name, kTypePoint, coordinates, sizeof coordinates, true);
}

int32_t XMessage::AddColor(const char* name, const XRGB& v)
{
    const uint8_t bytes[4] = {v.r, v.g, v.b, v.a};
    return AddData(name, kTypeColor, bytes, sizeof bytes, true);
}

int32_t XMessage::AddString(const char* name, const char* text)
{
    if (text == nullptr)
        return -1;
    const size_t length = std::strlen(text) + 1;
    if (length > static_cast<size_t>(kMaxNodeBytes))
        return -1;
    return AddData(name, kTypeString, text, static_cast<int32_t>(length), false);
}

int32_t XMessage::AddMessage(const char* name, const XMessage& other)
{
    // Flattened aside first: other may be this message itself.
    const int32_t size = other.GetFlattenedSize();
    std::vector<uint8_t> flattened;
    try
    {
        flattened.resize(static_cast<size_t>(size));
    }
    catch (const std::bad_alloc&)
    {
        return -1;
    }
    if (other.Flatten(flattened.data(), size) != 0)
        return -1;
    return AddData(name, kTypeMessage, flattened.data(), size, false);
}

bool XMessage::OverwriteValue(const char* name, int32_t type, const void* data, int32_t size, int32_t index)
{
    ItemNode* node = FindNode(name, type);
    if (node == nullptr || index < 0 || index >= node->Count() || node->ElementSize() != size)
        return false;
    std::memcpy(node->Values() + static_cast<size_t>(index) * size, data, static_cast<size_t>(size));
    return true;
}

int32_t XMessage::ReplaceRect(const char* name, const XRect& v, int32_t index)
{
    const int32_t edges[4] = {v.left, v.top, v.right, v.bottom};
    return OverwriteValue(name, kTypeRect, edges, sizeof edges, index) ? 0 : AddRect(name, v);
}

int32_t XMessage::ReplaceColor(const char* name, const XRGB& v, int32_t index)
{
    const uint8_t bytes[4] = {v.r, v.g, v.b, v.a};
    return OverwriteValue(name, kTypeColor, bytes, sizeof bytes, index) ? 0 : AddColor(name, v);
}

// Finding ----------------------------------------------------------------------------------------

int32_t XMessage::CountValues(int32_t type, const char* name) const
{
    const ItemNode* node = FindNode(name, type);
    return node != nullptr ? node->Count() : 0;
}

int32_t XMessage::FindData(const char* name, int32_t type, const void*& data, int32_t& size,
                           int32_t index) const
{
    const ItemNode* node = FindNode(name, type);
    if (node == nullptr || index < 0 || index >= node->Count())
        return XResult::kFailed;
    const uint8_t* valueArea = node->Values();
    if (!node->IsLengthPrefixed())
    {
        data = valueArea + static_cast<size_t>(index) * node->ElementSize();
        size = node->ElementSize();
        return 0;
    }
    // Every node was checked when it was made or rebuilt, so the lengths stay inside it.
    for (int32_t i = 0; i < index; ++i)
        valueArea += kLengthPrefixSize + Read32(valueArea);
    size = Read32(valueArea);
    data = valueArea + kLengthPrefixSize;
    return 0;
}

int32_t XMessage::CopyValue(const char* name, int32_t type, void* out, int32_t size, int32_t index) const
{
    const void* data = nullptr;
    int32_t storedSize = 0;
    if (FindData(name, type, data, storedSize, index) != 0 || storedSize != size)
        return XResult::kFailed;
    std::memcpy(out, data, static_cast<size_t>(size));
    return 0;
}

int32_t XMessage::FindBool(const char* name, bool& out, int32_t index) const
{
    uint8_t byte = 0;
    if (CopyValue(name, kTypeBool, &byte, 1, index) != 0)
        return XResult::kFailed;
    out = byte != 0;
    return 0;
}

int32_t XMessage::FindInt32(const char* name, int32_t& out, int32_t index) const
{
    return CopyValue(name, kTypeInt32, &out, sizeof out, index);
}

int32_t XMessage::FindFloat(const char* name, float& out, int32_t index) const
{
    return CopyValue(name, kTypeFloat, &out, sizeof out, index);
}

int32_t XMessage::FindInt64(const char* name, int64_t& out, int32_t index) const
{
    return CopyValue(name, kTypeInt64, &out, sizeof out, index);
}

int32_t XMessage::FindPointer(const char* name, void*& out, int32_t index) const
{
    return CopyValue(name, kTypePointer, &out, sizeof out, index);
}

int32_t XMessage::FindRect(const char* name, XRect& out, int32_t index) const
{
    int32_t edges[4];
    if (CopyValue(name, kTypeRect, edges, sizeof edges, index) != 0)
        return XResult::kFailed;
    out = XRect(edges[0], edges[1], edges[2], edges[3]);
    return 0;
}

int32_t XMessage::FindPoint(const char* name, XPoint& out, int32_t index) const
{
    int32_t coordinates[2];
    if (CopyValue(name, kTypePoint, coordinates, sizeof coordinates, index) != 0)
    {
        out = XPoint();
        return XResult::kFailed;
    }
    out = XPoint(coordinates[0], coordinates[1]);
    return 0;
}

int32_t XMessage::FindColor(const char* name, XRGB& out, int32_t index) const
{
    uint8_t bytes[4];
    if (CopyValue(name, kTypeColor, bytes, sizeof bytes, index) != 0)
        return XResult::kFailed;
    out = XRGB(bytes[0], bytes[1], bytes[2], bytes[3]);
    return 0;
}

int32_t XMessage::FindString(const char* name, const char*& out, int32_t index) const
{
    const void* data = nullptr;
    int32_t size = 0;
    if (FindData(name, kTypeString, data, size, index) != 0)
        return XResult::kFailed;
    // A string value always ends with its zero (checked when added or rebuilt).
    out = static_cast<const char*>(data);
    return 0;
}

int32_t XMessage::FindMessage(const char* name, XMessage& out, int32_t index) const
{
    const void* data = nullptr;
    int32_t size = 0;
    if (FindData(name, kTypeMessage, data, size, index) != 0)
        return XResult::kFailed;
    int32_t result;
    if (&out == this)
    {
        // Rebuilding into this message frees the node that holds the block.
        const std::vector<uint8_t> block(static_cast<const uint8_t*>(data),
                                         static_cast<const uint8_t*>(data) + size);
        result = out.Unflatten(block.data(), size);
    }
    else
        result = out.Unflatten(data, size);
    if (result != 0)
    {
        out.Clear();
        return XResult::kFailed;
    }
    return 0;
}

bool XMessage::GetBool(const char* name, int32_t index) const
{
    bool v = false;
    FindBool(name, v, index);
    return v;
}

int8_t XMessage::GetInt8(const char* name, int32_t index) const
{
    int8_t v = 0;
    CopyValue(name, kTypeInt8, &v, sizeof v, index);
    return v;
}

int32_t XMessage::GetInt32(const char* name, int32_t index) const
{
    int32_t v = 0;
    FindInt32(name, v, index);
    return v;
}

float XMessage::GetFloat(const char* name, int32_t index) const
{
    float v = 0.0f;
    FindFloat(name, v, index);
    return v;
}

void* XMessage::GetPointer(const char* name, int32_t index) const
{
    void* v = nullptr;
    FindPointer(name, v, index);
    return v;
}

const char* XMessage::GetString(const char* name, int32_t index) const
{
    const char* text = nullptr;
    if (FindString(name, text, index) != 0)
        return XString::Empty().CStr();
    return text;
}

XRGB XMessage::GetColor(const char* name, int32_t index) const
{
    XRGB v(0, 0, 0, 255);
    FindColor(name, v, index);
    return v;
}

// Flattening -------------------------------------------------------------------------------------

int32_t XMessage::HeaderSize() const
{
    return (flags & kFlagShortHeader) != 0 ? kShortHeaderSize : kHeaderSize;
}

int32_t XMessage::GetFlattenedSize() const
{
    return HeaderSize() + itemBytes;
}

int32_t XMessage::Flatten(void* buffer, int32_t capacity) const
{
    return FlattenWithFlags(static_cast<uint8_t*>(buffer), capacity, flags);
}

int32_t XMessage::FlattenWithFlags(uint8_t* buffer, int32_t capacity, uint32_t headerFlags) const
{
    const int32_t headerSize = (headerFlags & kFlagShortHeader) != 0 ? kShortHeaderSize : kHeaderSize;
    if (buffer == nullptr || capacity < headerSize)
        return -1;
    int32_t offset = headerSize;
    for (const ItemNode* node = items; node != nullptr; node = node->next)
    {
        const int32_t used = node->Used();
        if (used > capacity - offset)
            return -1;
        std::memcpy(buffer + offset, node->Image(), static_cast<size_t>(used));
        Write32(buffer + offset + kNodeLinkOffset, 0);
        offset += used;
    }
    Write32(buffer + kHeaderTotalOffset, offset);
    Write32(buffer + kHeaderWhatOffset, static_cast<int32_t>(what));
    Write32(buffer + kHeaderFlagsOffset, static_cast<int32_t>(headerFlags | kFlagCurrentHeader));
    if (headerSize == kHeaderSize)
    {
        Write32(buffer + kHeaderValueOffset, value);
        Write32(buffer + kHeaderTargetOffset, targetToken);
        Write32(buffer + kHeaderReplyTokenOffset, replyToken);
        Write32(buffer + kHeaderReplyPortOffset, replyPort);
    }
    return 0;
}

int32_t XMessage::ReadHeader(const uint8_t* block, int32_t length)
{
    if (length < kShortHeaderSize)
        return -1;
    const uint32_t flagWord = static_cast<uint32_t>(Read32(block + kHeaderFlagsOffset));
    const bool current = (flagWord & kFlagCurrentHeader) != 0;
    const int32_t headerSize = current && (flagWord & kFlagShortHeader) != 0 ? kShortHeaderSize : kHeaderSize;
    if (length < headerSize)
        return -1;
    what = static_cast<uint32_t>(Read32(block + kHeaderWhatOffset));
    if (!current)
    {
        targetToken = Read32(block + kOldHeaderTargetOffset);
        replyToken = Read32(block + kOldHeaderReplyTokenOffset);
        replyPort = Read32(block + kOldHeaderReplyPortOffset);
        flags = static_cast<uint32_t>(Read32(block + kOldHeaderFlagsOffset));
        return headerSize;
    }
    flags = flagWord;
    if (headerSize == kHeaderSize)
    {
        value = Read32(block + kHeaderValueOffset);
        targetToken = Read32(block + kHeaderTargetOffset);
        replyToken = Read32(block + kHeaderReplyTokenOffset);
        replyPort = Read32(block + kHeaderReplyPortOffset);
    }
    return headerSize;
}

int32_t XMessage::Unflatten(const void* buffer, int32_t length)
{
    return Rebuild(buffer, length, false);
}

int32_t XMessage::UnflattenFromPort(const void* buffer, int32_t length)
{
    return Rebuild(buffer, length, true);
}

int32_t XMessage::Rebuild(const void* buffer, int32_t length, bool fromPort)
{
    if (buffer == nullptr)
        return -1;
    // Rebuilding ends what the message owed before (answered automatically when nobody else holds
    // that duty).
    replyObligation.reset();
    Clear();
    const auto* block = static_cast<const uint8_t*>(buffer);
    const int32_t headerSize = ReadHeader(block, length);
    if (headerSize < 0)
        return -1;
    if (!fromPort)
    {
        // A block from a file or from inside another message is no request of a sender waiting at
        // a port: answering it would post to whatever port its bytes name.
        flags &= ~(kFlagFromPort | kFlagReplyExpected);
        replyPort = kNoRoute;
        replyToken = kNoRoute;
    }
    if (IsReplyExpected() && replyPort >= 0)
        replyObligation = std::make_shared<ReplyObligation>(replyPort, replyToken);

    const int32_t total = Read32(block + kHeaderTotalOffset);
    if (total < headerSize || total > length)
        return -1;
    int32_t offset = headerSize;
    while (offset < total)
    {
        const uint8_t* image = block + offset;
        if (total - offset < kNodeHeaderSize)
        {
            Clear();
            return -1;
        }
        const int32_t used = Read32(image + kNodeUsedOffset);
        if (used == 0)
            return XResult::kFailed;
        if (used < kNodeHeaderSize || used > total - offset || !NodeValuesAreSound(image, used))
        {
            Clear();
            return -1;
        }
        ItemNode* node = ItemNode::CopyOf(image, used);
        if (node == nullptr)
        {
            Clear();
            return -1;
        }
        node->next = items;
        items = node;
        itemBytes += used;
        offset += used;
    }
    return 0;
}

// Ports and replies ------------------------------------------------------------------------------

int32_t XMessage::SendToPort(int32_t port, int32_t target, int32_t replyPortId, int32_t replyTokenId)
{
    SetRouting(target, replyPortId, replyTokenId);
    uint32_t sendFlags = flags | kFlagFromPort;
    if (replyPortId != kNoRoute)
        sendFlags |= kFlagReplyExpected;

    const int32_t size = GetFlattenedSize();
    uint8_t stackBuffer[kStackFlattenBytes];
    std::unique_ptr<uint8_t[]> heapBuffer;
    uint8_t* buffer = stackBuffer;
    if (size > kStackFlattenBytes)
    {
        heapBuffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(size)]);
        if (heapBuffer == nullptr)
            return XResult::kFailed;
        buffer = heapBuffer.get();
    }
    if (FlattenWithFlags(buffer, size, sendFlags) != 0)
        return XResult::kFailed;
    return WritePort(port, what, buffer, size, 0) == 0 ? 0 : XResult::kFailed;
}

int32_t XMessage::ReadFromPort(int32_t port, uint32_t timeoutMs)
{
    XMemory block;
    if (ReadPort(port, nullptr, &block, timeoutMs) != 0)
        return XResult::kFailed;
    return UnflattenFromPort(block.GetData(), block.GetLength()) == 0 ? 0 : XResult::kFailed;
}

int32_t XMessage::SendReply(XMessage* reply, int32_t replierPort, int32_t replierToken)
{
    if (replySink != nullptr)
    {
        if (reply == nullptr)
            replySink->Clear();
        else
            *replySink = *reply;
        return 0;
    }
    if (reply == nullptr || !IsReplyExpected())
        return -1;
    // A message rebuilt from a port answers to the routing it arrived with.
    const int32_t port = replyObligation != nullptr ? replyObligation->replyPort : replyPort;
    const int32_t token = replyObligation != nullptr ? replyObligation->replyToken : replyToken;
    if (port < 0)
        return -1;
    flags |= kFlagReplySent;
    if (replyObligation != nullptr && replyObligation->answered.exchange(true))
        return -1;

    const uint32_t savedFlags = reply->flags;
    reply->flags |= kFlagIsReply;
    const int32_t result = reply->SendToPort(port, token, replierPort, replierToken);
    reply->flags = savedFlags;
    return result;
}

int32_t XMessage::SendReplyCode(uint32_t code, int32_t replierPort, int32_t replierToken)
{
    XMessage reply(code, 0);
    return SendReply(&reply, replierPort, replierToken);
}
