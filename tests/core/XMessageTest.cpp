#include "core/XMessage.h"

#include "core/XMemory.h"
#include "core/XMessageCodes.h"
#include "core/XMsgPort.h"
#include "core/XParamMessage.h"
#include "core/XResult.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace
{

std::vector<uint8_t> FlattenToVector(const XMessage& message)
{
    std::vector<uint8_t> block(static_cast<size_t>(message.GetFlattenedSize()));
    EXPECT_EQ(0, message.Flatten(block.data(), static_cast<int32_t>(block.size())));
    return block;
}

void Put32(std::vector<uint8_t>& block, size_t offset, int32_t v)
{
    std::memcpy(block.data() + offset, &v, sizeof v);
}

int32_t Get32(const std::vector<uint8_t>& block, size_t offset)
{
    int32_t v;
    std::memcpy(&v, block.data() + offset, sizeof v);
    return v;
}

/** Appends one item node in the stored layout (capacity = used size). */
void AppendNode(std::vector<uint8_t>& block, const char* name, int32_t type, int32_t elementSize,
                int32_t count, const std::vector<uint8_t>& values)
{
    const size_t nameLength = std::strlen(name);
    const int32_t used = static_cast<int32_t>(XMessage::kNodeHeaderSize + nameLength + values.size());
    const size_t at = block.size();
    block.resize(at + static_cast<size_t>(used));
    Put32(block, at + 4, used);
    Put32(block, at + 8, used);
    Put32(block, at + 12, elementSize);
    Put32(block, at + 16, count);
    Put32(block, at + 20, type);
    block[at + 24] = static_cast<uint8_t>(nameLength);
    std::memcpy(block.data() + at + 25, name, nameLength);
    std::memcpy(block.data() + at + 25 + nameLength, values.data(), values.size());
}

/** A current 28-byte header followed by nodes; call SealTotal when the nodes are in. */
std::vector<uint8_t> HeaderBlock(uint32_t what, uint32_t flags)
{
    std::vector<uint8_t> block(XMessage::kHeaderSize, 0);
    Put32(block, 4, static_cast<int32_t>(what));
    Put32(block, 8, static_cast<int32_t>(flags | XMessage::kFlagCurrentHeader));
    Put32(block, 16, -1);
    Put32(block, 20, -1);
    Put32(block, 24, -1);
    return block;
}

void SealTotal(std::vector<uint8_t>& block)
{
    Put32(block, 0, static_cast<int32_t>(block.size()));
}

std::vector<uint8_t> LengthPrefixed(const std::vector<std::vector<uint8_t>>& values)
{
    std::vector<uint8_t> out;
    for (const auto& v : values)
    {
        const int32_t length = static_cast<int32_t>(v.size());
        out.insert(out.end(), reinterpret_cast<const uint8_t*>(&length),
                   reinterpret_cast<const uint8_t*>(&length) + 4);
        out.insert(out.end(), v.begin(), v.end());
    }
    return out;
}

/** A message with one item of every kind the framework adds. */
XMessage MessageWithEveryItem()
{
    XMessage message(FourCharCode("test"), 42);
    message.AddBool("flag", true);
    message.AddInt32("count", 7);
    message.AddInt32("count", -8);
    message.AddFloat("gain", 1.5f);
    message.AddInt64("timestamp", 0x123456789ALL);
    message.AddPointer("self", &message);
    message.AddRect("frame", XRect(1, 2, 30, 40));
    message.AddPoint("where", XPoint(-5, 6));
    message.AddColor("tint", XRGB(10, 20, 30, 40));
    message.AddString("title", "hello");
    message.AddString("title", "");
    const uint8_t raw[3] = {9, 8, 7};
    message.AddData("raw", XMessage::kTypeRaw, raw, sizeof raw, true);
    return message;
}

void ExpectEveryItem(const XMessage& message, const void* expectedPointer)
{
    EXPECT_TRUE(message.GetBool("flag"));
    EXPECT_EQ(2, message.CountValues(XMessage::kTypeInt32, "count"));
    EXPECT_EQ(7, message.GetInt32("count", 0));
    EXPECT_EQ(-8, message.GetInt32("count", 1));
    EXPECT_EQ(1.5f, message.GetFloat("gain"));
    int64_t timestamp = 0;
    EXPECT_EQ(0, message.FindInt64("timestamp", timestamp));
    EXPECT_EQ(0x123456789ALL, timestamp);
    EXPECT_EQ(expectedPointer, message.GetPointer("self"));
    XRect frame;
    EXPECT_EQ(0, message.FindRect("frame", frame));
    EXPECT_EQ(XRect(1, 2, 30, 40), frame);
    XPoint where;
    EXPECT_EQ(0, message.FindPoint("where", where));
    EXPECT_EQ(XPoint(-5, 6), where);
    EXPECT_EQ(XRGB(10, 20, 30, 40), message.GetColor("tint"));
    EXPECT_STREQ("hello", message.GetString("title", 0));
    EXPECT_STREQ("", message.GetString("title", 1));
    const void* raw = nullptr;
    int32_t rawSize = 0;
    EXPECT_EQ(0, message.FindData("raw", XMessage::kTypeRaw, raw, rawSize));
    ASSERT_EQ(3, rawSize);
    EXPECT_EQ(0, std::memcmp(raw, "\x09\x08\x07", 3));
}
} // namespace

TEST(XMessageItems, SameNameAndTypeAppendsOtherTypeMakesNewItem)
{
    XMessage message(1, 0);
    EXPECT_EQ(0, message.AddInt32("level", 10));
    EXPECT_EQ(0, message.AddInt32("LEVEL", 20));
    EXPECT_EQ(2, message.CountValues(XMessage::kTypeInt32, "level"));
    EXPECT_EQ(20, message.GetInt32("level", 1));

    EXPECT_EQ(0, message.AddFloat("level", 0.25f));
    EXPECT_EQ(1, message.CountValues(XMessage::kTypeFloat, "level"));
    EXPECT_EQ(2, message.CountValues(XMessage::kTypeInt32, "level"));
    EXPECT_EQ(0.25f, message.GetFloat("level"));

    const int32_t itemBytes = message.GetItemBytes();
    const int16_t shortValue = 3;
    EXPECT_EQ(-1, message.AddData("level", XMessage::kTypeInt32, &shortValue, sizeof shortValue, true));
    EXPECT_EQ(itemBytes, message.GetItemBytes());
    EXPECT_EQ(2, message.CountValues(XMessage::kTypeInt32, "level"));
    EXPECT_EQ(10, message.GetInt32("level", 0));
}

TEST(XMessageItems, BadArgumentsAreRefused)
{
    XMessage message;
    const int32_t v = 1;
    EXPECT_EQ(-1, message.AddInt32(nullptr, 1));
    EXPECT_EQ(-1, message.AddData("x", XMessage::kTypeInt32, nullptr, 4, true));
    EXPECT_EQ(-1, message.AddString("x", nullptr));
    EXPECT_EQ(-1, message.AddData("s", XMessage::kTypeString, "ab", 2, false)); // no terminator
    EXPECT_EQ(-1, message.AddData("s", XMessage::kTypeString, "a", 2, true));   // strings are prefixed
    EXPECT_EQ(0, message.AddData("s", XMessage::kTypeString, "a", 2, false));
    EXPECT_EQ(-1, message.AddData(std::string(256, 'n').c_str(), XMessage::kTypeInt32, &v, 4, true));
    const int32_t itemBytes = message.GetItemBytes();
    EXPECT_EQ(0, message.AddData(std::string(255, 'n').c_str(), XMessage::kTypeInt32, &v, 4, true));
    EXPECT_EQ(itemBytes + XMessage::kNodeHeaderSize + 255 + 4, message.GetItemBytes());
}

TEST(XMessageItems, FindItemIgnoresCaseButNotLength)
{
    XMessage message;
    message.AddInt32("name", 1);
    EXPECT_NE(nullptr, message.FindItem("Name"));
    EXPECT_NE(nullptr, message.FindItem("NAME", XMessage::kTypeInt32));
    EXPECT_EQ(nullptr, message.FindItem("Name", XMessage::kTypeFloat));
    EXPECT_EQ(nullptr, message.FindItem("nam"));
    EXPECT_EQ(nullptr, message.FindItem("names"));
    EXPECT_EQ(nullptr, message.FindItem(nullptr));
}

TEST(XMessageItems, MissingItemsGiveDefaults)
{
    XMessage message;
    message.AddInt32("present", 5);
    EXPECT_EQ(XRGB(0, 0, 0, 255), message.GetColor("tint"));
    ASSERT_NE(nullptr, message.GetString("title"));
    EXPECT_STREQ("", message.GetString("title"));
    EXPECT_FALSE(message.GetBool("flag"));
    EXPECT_EQ(0, message.GetInt8("byte"));
    EXPECT_EQ(0, message.GetInt32("count"));
    EXPECT_EQ(0, message.GetInt32("present", 1)); // index past the values
    EXPECT_EQ(0.0f, message.GetFloat("gain"));
    EXPECT_EQ(nullptr, message.GetPointer("self"));

    int32_t out = 77;
    EXPECT_EQ(XResult::kFailed, message.FindInt32("count", out));
    EXPECT_EQ(XResult::kFailed, message.FindInt32("present", out, -1));
    EXPECT_EQ(77, out);
    XPoint point(3, 4);
    EXPECT_EQ(XResult::kFailed, message.FindPoint("where", point));
    EXPECT_EQ(XPoint(), point);
    XRect rect(1, 1, 2, 2);
    EXPECT_EQ(XResult::kFailed, message.FindRect("frame", rect));
    EXPECT_EQ(XRect(1, 1, 2, 2), rect);
}

TEST(XMessageItems, GrowingItemKeepsEveryValue)
{
    XMessage message;
    for (int32_t i = 0; i < 100; ++i)
    {
        ASSERT_EQ(0, message.AddInt32("n", i));
        ASSERT_EQ(0, message.AddString("s", std::to_string(i).c_str()));
    }
    message.AddBool("other", true);
    EXPECT_EQ(100, message.CountValues(XMessage::kTypeInt32, "n"));
    for (int32_t i = 0; i < 100; ++i)
    {
        EXPECT_EQ(i, message.GetInt32("n", i));
        EXPECT_EQ(std::to_string(i), message.GetString("s", i));
    }
    EXPECT_TRUE(message.GetBool("other"));
}

TEST(XMessageItems, ReplaceOverwritesAtIndexOrAdds)
{
    XMessage message;
    EXPECT_EQ(0, message.ReplaceRect("r", XRect(0, 0, 1, 1), 0)); // adds
    EXPECT_EQ(0, message.ReplaceRect("r", XRect(0, 0, 2, 2), 0)); // overwrites
    EXPECT_EQ(0, message.ReplaceRect("r", XRect(0, 0, 3, 3), 5)); // index missing: adds
    EXPECT_EQ(2, message.CountValues(XMessage::kTypeRect, "r"));
    XRect r;
    message.FindRect("r", r, 0);
    EXPECT_EQ(XRect(0, 0, 2, 2), r);
    message.FindRect("r", r, 1);
    EXPECT_EQ(XRect(0, 0, 3, 3), r);

    EXPECT_EQ(0, message.ReplaceColor("c", XRGB(1, 2, 3), 0));
    EXPECT_EQ(0, message.ReplaceColor("c", XRGB(4, 5, 6, 7), 0));
    EXPECT_EQ(1, message.CountValues(XMessage::kTypeColor, "c"));
    EXPECT_EQ(XRGB(4, 5, 6, 7), message.GetColor("c"));
}

TEST(XMessageItems, CopyAndAssignDuplicateItems)
{
    XMessage original = MessageWithEveryItem();
    XMessage next;
    original.SetQueueLink(&next);
    XMessage copy(original);
    EXPECT_EQ(nullptr, copy.GetQueueLink());
    EXPECT_EQ(original.GetItemBytes(), copy.GetItemBytes());
    original.Clear();
    EXPECT_EQ(0, original.GetItemBytes());
    ExpectEveryItem(copy, &original);

    XMessage assigned(99, 1);
    assigned.AddInt32("gone", 1);
    assigned = copy;
    assigned = assigned;
    EXPECT_EQ(FourCharCode("test"), assigned.GetWhat());
    EXPECT_EQ(42, assigned.GetValue());
    EXPECT_EQ(nullptr, assigned.FindItem("gone"));
    ExpectEveryItem(assigned, &original);
}

TEST(XMessageFlatten, RoundTripKeepsHeaderAndEveryItem)
{
    XMessage message = MessageWithEveryItem();
    message.SetRouting(3, 4, 5);
    message.SetFlags(XMessage::kFlagIsReply);
    const std::vector<uint8_t> block = FlattenToVector(message);
    EXPECT_EQ(static_cast<int32_t>(block.size()), Get32(block, 0));

    XMessage rebuilt;
    ASSERT_EQ(0, rebuilt.UnflattenFromPort(block.data(), static_cast<int32_t>(block.size())));
    EXPECT_EQ(message.GetWhat(), rebuilt.GetWhat());
    EXPECT_EQ(42, rebuilt.GetValue());
    EXPECT_EQ(3, rebuilt.GetTargetToken());
    EXPECT_EQ(4, rebuilt.GetReplyPort());
    EXPECT_EQ(5, rebuilt.GetReplyToken());
    EXPECT_EQ(XMessage::kFlagIsReply | XMessage::kFlagCurrentHeader, rebuilt.GetFlags());
    EXPECT_EQ(message.GetItemBytes(), rebuilt.GetItemBytes());
    ExpectEveryItem(rebuilt, &message);

    // Flattening the rebuilt message gives a block of the same size (node order is reversed).
    EXPECT_EQ(block.size(), FlattenToVector(rebuilt).size());
}

TEST(XMessageFlatten, StoredLayoutIsExact)
{
    XMessage message(0x706D7367, -2);
    message.SetRouting(7, 8, 9);
    message.AddInt32("ab", 0x01020304);
    const std::vector<uint8_t> block = FlattenToVector(message);
    const std::vector<uint8_t> expected = {
        59, 0, 0, 0, 0x67, 0x73, 0x6D, 0x70, 8,  0,   0,   0, 0xFE, 0xFF, 0xFF, 0xFF,
        7,  0, 0, 0, 9,    0,    0,    0,    8,  0,   0,   0, // header
        0,  0, 0, 0, 31,   0,    0,    0,    31, 0,   0,   0, 4,    0,    0,    0,
        1,  0, 0, 0, 4,    0,    0,    0,    2,  'a', 'b', 4, 3,    2,    1}; // node: link, capacity, used,
                                                                              // element size, count, type,
                                                                              // name, value
    EXPECT_EQ(expected, block);

    message.SetFlags(XMessage::kFlagShortHeader);
    const std::vector<uint8_t> shortBlock = FlattenToVector(message);
    ASSERT_EQ(12u + 31u, shortBlock.size());
    EXPECT_EQ(XMessage::kFlagShortHeader | XMessage::kFlagCurrentHeader,
              static_cast<uint32_t>(Get32(shortBlock, 8)));
}

TEST(XMessageFlatten, ShortHeaderKeepsValueAndRoutingOfTheReader)
{
    XMessage message(5, 123);
    message.SetRouting(1, 2, 3);
    message.SetFlags(XMessage::kFlagShortHeader);
    message.AddString("s", "text");
    const std::vector<uint8_t> block = FlattenToVector(message);

    XMessage rebuilt;
    ASSERT_EQ(0, rebuilt.Unflatten(block.data(), static_cast<int32_t>(block.size())));
    EXPECT_EQ(5u, rebuilt.GetWhat());
    EXPECT_EQ(0, rebuilt.GetValue());
    EXPECT_EQ(-1, rebuilt.GetTargetToken());
    EXPECT_EQ(-1, rebuilt.GetReplyPort());
    EXPECT_EQ(-1, rebuilt.GetReplyToken());
    EXPECT_STREQ("text", rebuilt.GetString("s"));
}

TEST(XMessageFlatten, OlderHeaderIsRead)
{
    std::vector<uint8_t> block(XMessage::kHeaderSize, 0);
    Put32(block, 4, 77);
    Put32(block, 8, 0x12345670); // not read: 0x8 clear marks the older layout
    Put32(block, 12, 11);        // target token
    Put32(block, 16, 12);        // reply token
    Put32(block, 20, 13);        // reply port
    Put32(block, 24, static_cast<int32_t>(XMessage::kFlagIsReply));
    const int32_t v = 99;
    AppendNode(block, "v", XMessage::kTypeInt32, 4, 1,
               std::vector<uint8_t>((const uint8_t*)&v, (const uint8_t*)&v + 4));
    SealTotal(block);

    XMessage rebuilt(1, 555);
    ASSERT_EQ(0, rebuilt.UnflattenFromPort(block.data(), static_cast<int32_t>(block.size())));
    EXPECT_EQ(77u, rebuilt.GetWhat());
    EXPECT_EQ(555, rebuilt.GetValue());
    EXPECT_EQ(11, rebuilt.GetTargetToken());
    EXPECT_EQ(12, rebuilt.GetReplyToken());
    EXPECT_EQ(13, rebuilt.GetReplyPort());
    EXPECT_EQ(XMessage::kFlagIsReply, rebuilt.GetFlags());
    EXPECT_EQ(99, rebuilt.GetInt32("v"));
}

TEST(XMessageFlatten, OnlyABlockFromAPortOwesAReply)
{
    const int32_t port = CreatePort("reply duty", 4);
    // A block that names the port as its reply port and asks for a reply, in each header layout.
    std::vector<uint8_t> current =
        HeaderBlock(FourCharCode("doc "), XMessage::kFlagFromPort | XMessage::kFlagReplyExpected);
    Put32(current, 20, 9); // reply token
    Put32(current, 24, port);
    SealTotal(current);
    std::vector<uint8_t> older(XMessage::kHeaderSize, 0);
    Put32(older, 4, 77);
    Put32(older, 16, 9);
    Put32(older, 20, port);
    Put32(older, 24, static_cast<int32_t>(XMessage::kFlagFromPort | XMessage::kFlagReplyExpected));
    SealTotal(older);

    for (const std::vector<uint8_t>* block : {&current, &older})
    {
        {
            XMessage fromFile;
            ASSERT_EQ(0, fromFile.Unflatten(block->data(), static_cast<int32_t>(block->size())));
            EXPECT_FALSE(fromFile.IsReplyExpected());
            EXPECT_EQ(0u, fromFile.GetFlags() & (XMessage::kFlagFromPort | XMessage::kFlagReplyExpected));
            EXPECT_EQ(-1, fromFile.GetReplyPort());
            EXPECT_EQ(-1, fromFile.GetReplyToken());
            EXPECT_EQ(-1, fromFile.SendReplyCode(1));
            XMessage copy(fromFile);
        }
        EXPECT_EQ(0, CountPortBlocks(port)) << "destroying it posts nothing";

        {
            XMessage fromPort;
            ASSERT_EQ(0, fromPort.UnflattenFromPort(block->data(), static_cast<int32_t>(block->size())));
            EXPECT_TRUE(fromPort.IsReplyExpected());
            EXPECT_EQ(port, fromPort.GetReplyPort());
        }
        ASSERT_EQ(1, CountPortBlocks(port));
        XMessage reply;
        ASSERT_EQ(0, reply.ReadFromPort(port, 0));
        EXPECT_EQ(XMsgCode::kNoReply, reply.GetWhat());
        EXPECT_EQ(9, reply.GetTargetToken());
    }

    // A message nested in another is no request either.
    XMessage nested;
    ASSERT_EQ(0, nested.UnflattenFromPort(current.data(), static_cast<int32_t>(current.size())));
    XMessage outer;
    outer.AddMessage("inner", nested);
    {
        XMessage found;
        ASSERT_EQ(0, outer.FindMessage("inner", found));
        EXPECT_FALSE(found.IsReplyExpected());
    }
    EXPECT_EQ(0, CountPortBlocks(port));
    nested.SendReplyCode(1);
    XMessage answer;
    ASSERT_EQ(0, answer.ReadFromPort(port, 0));
    DeletePort(port);
}

TEST(XMessageFlatten, FlattenRefusesSmallOrNullBuffer)
{
    XMessage message;
    message.AddInt32("x", 1);
    std::vector<uint8_t> block(static_cast<size_t>(message.GetFlattenedSize() - 1));
    EXPECT_EQ(-1, message.Flatten(block.data(), static_cast<int32_t>(block.size())));
    EXPECT_EQ(-1, message.Flatten(nullptr, 1000));
}

TEST(XMessageFlatten, NestedMessagesRoundTrip)
{
    XMessage inner = MessageWithEveryItem();
    XMessage outer(2, 0);
    ASSERT_EQ(0, outer.AddMessage("inner", inner));
    ASSERT_EQ(0, outer.AddMessage("inner", outer)); // itself, as it stood
    EXPECT_EQ(2, outer.CountValues(XMessage::kTypeMessage, "inner"));

    XMessage found;
    ASSERT_EQ(0, outer.FindMessage("inner", found, 0));
    ExpectEveryItem(found, &inner);
    ASSERT_EQ(0, outer.FindMessage("inner", found, 1));
    EXPECT_EQ(2u, found.GetWhat());
    EXPECT_EQ(1, found.CountValues(XMessage::kTypeMessage, "inner"));
    ASSERT_EQ(0, outer.FindMessage("inner", outer, 0)); // into the message that holds it
    ExpectEveryItem(outer, &inner);
}

TEST(XMessageFlatten, MalformedNestedMessageLeavesTargetEmpty)
{
    std::vector<uint8_t> bogus = HeaderBlock(1, 0);
    Put32(bogus, 0, 1000); // claims more than it holds
    XMessage outer;
    outer.AddData("inner", XMessage::kTypeMessage, bogus.data(), static_cast<int32_t>(bogus.size()), false);
    XMessage target;
    target.AddInt32("old", 1);
    EXPECT_EQ(XResult::kFailed, outer.FindMessage("inner", target));
    EXPECT_EQ(0, target.GetItemBytes());
}

TEST(XMessageFlatten, MalformedBlocksAreRefusedInsideTheirBounds)
{
    const int32_t four = 4;
    const std::vector<uint8_t> int32Value((const uint8_t*)&four, (const uint8_t*)&four + 4);
    struct Case
    {
        const char* what;
        std::vector<uint8_t> block;
        int32_t expected;
    };
    std::vector<Case> cases;
    auto add = [&cases](const char* what, std::vector<uint8_t> block, int32_t expected) {
        cases.push_back({what, std::move(block), expected});
    };

    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        AppendNode(b, "v", XMessage::kTypeInt32, 4, 1, int32Value);
        SealTotal(b);
        add("truncated: total beyond the block", std::vector<uint8_t>(b.begin(), b.end() - 1), -1);
        std::vector<uint8_t> extra = b;
        Put32(extra, 0, Get32(extra, 0) - 2); // nodes run past the total
        add("nodes past the total size", extra, -1);
        Put32(b, 0 + XMessage::kHeaderSize + 8, 0);
        add("used size 0", b, XResult::kFailed);
    }
    add("shorter than a short header", std::vector<uint8_t>(11, 0), -1);
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        b.resize(20);
        add("shorter than its 28-byte header", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        Put32(b, 0, 4);
        add("total below the header", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        b.resize(b.size() + 10, 0);
        SealTotal(b);
        add("a node shorter than its header", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        AppendNode(b, "v", XMessage::kTypeInt32, 4, 1, int32Value);
        SealTotal(b);
        Put32(b, XMessage::kHeaderSize + 8, 1000);
        add("used size past the block", b, -1);
        Put32(b, XMessage::kHeaderSize + 8, 20);
        add("used size below the node header", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        AppendNode(b, "v", XMessage::kTypeInt32, 4, 1, int32Value);
        SealTotal(b);
        b[XMessage::kHeaderSize + 24] = 200;
        add("name longer than the node", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        AppendNode(b, "v", XMessage::kTypeInt32, 4, 3, int32Value);
        SealTotal(b);
        add("fixed values past the node", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        AppendNode(b, "v", XMessage::kTypeInt32, 4, -1, int32Value);
        SealTotal(b);
        add("negative count", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        std::vector<uint8_t> values = LengthPrefixed({{'a', 0}});
        Put32(values, 0, 50);
        AppendNode(b, "s", XMessage::kTypeString, 0, 1, values);
        SealTotal(b);
        add("value length past the block", b, -1);
        Put32(b, XMessage::kHeaderSize + 25 + 1, -3);
        add("negative value length", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        AppendNode(b, "s", XMessage::kTypeString, 0, 2, LengthPrefixed({{'a', 0}}));
        SealTotal(b);
        add("fewer values than counted", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        AppendNode(b, "s", XMessage::kTypeString, 0, 1, LengthPrefixed({{'a', 'b'}}));
        SealTotal(b);
        add("string without terminator", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        AppendNode(b, "s", XMessage::kTypeString, 0, 1, LengthPrefixed({{}}));
        SealTotal(b);
        add("string of length 0", b, -1);
    }
    {
        std::vector<uint8_t> b = HeaderBlock(1, 0);
        AppendNode(b, "s", XMessage::kTypeString, 2, 1, {'a', 0});
        SealTotal(b);
        add("string stored as fixed values", b, -1);
    }

    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        // An exact-size heap copy, so that any read past the block is caught by the address sanitizer.
        std::unique_ptr<uint8_t[]> exact(new uint8_t[c.block.size()]);
        std::memcpy(exact.get(), c.block.data(), c.block.size());
        XMessage message;
        message.AddInt32("old", 1);
        EXPECT_EQ(c.expected, message.Unflatten(exact.get(), static_cast<int32_t>(c.block.size())));
        EXPECT_EQ(nullptr, message.FindItem("old"));
        if (c.expected == -1)
        {
            EXPECT_EQ(0, message.GetItemBytes());
        }
    }

    XMessage message;
    EXPECT_EQ(-1, message.Unflatten(nullptr, 100));
}

TEST(XMessageFlatten, UsedSizeZeroKeepsTheItemsBeforeIt)
{
    std::vector<uint8_t> b = HeaderBlock(9, 0);
    const int32_t v = 5;
    AppendNode(b, "first", XMessage::kTypeInt32, 4, 1,
               std::vector<uint8_t>((const uint8_t*)&v, (const uint8_t*)&v + 4));
    const size_t second = b.size();
    AppendNode(b, "second", XMessage::kTypeInt32, 4, 1,
               std::vector<uint8_t>((const uint8_t*)&v, (const uint8_t*)&v + 4));
    Put32(b, second + 8, 0);
    SealTotal(b);
    XMessage message;
    EXPECT_EQ(XResult::kFailed, message.Unflatten(b.data(), static_cast<int32_t>(b.size())));
    EXPECT_EQ(9u, message.GetWhat());
    EXPECT_EQ(5, message.GetInt32("first"));
    EXPECT_EQ(nullptr, message.FindItem("second"));
}

TEST(XMessageFlatten, RandomBlocksNeverReadOutOfBounds)
{
    std::mt19937 random(20240611);
    const std::vector<uint8_t> valid = FlattenToVector(MessageWithEveryItem());
    int rebuiltCount = 0;
    for (int round = 0; round < 20000; ++round)
    {
        std::vector<uint8_t> block;
        if (round % 2 == 0)
        {
            // A valid block with a few bytes changed and maybe cut short.
            block = valid;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes; ++i)
                block[random() % block.size()] = static_cast<uint8_t>(random());
            if (random() % 4 == 0)
                block.resize(random() % block.size());
        }
        else
        {
            block.resize(random() % 200);
            for (uint8_t& byte : block)
                byte = static_cast<uint8_t>(random() % 4 == 0 ? random() : random() % 40);
            if (block.size() >= 12)
                Put32(block, 0, static_cast<int32_t>(block.size() - random() % 3));
        }
        // An exact-size heap copy, so that any read past the block is caught by the address sanitizer.
        std::unique_ptr<uint8_t[]> exact(new uint8_t[block.size()]);
        if (!block.empty())
            std::memcpy(exact.get(), block.data(), block.size());

        XMessage message;
        if (message.Unflatten(exact.get(), static_cast<int32_t>(block.size())) != 0)
            continue;
        ++rebuiltCount;
        // Whatever rebuilt must be readable and flatten back to the same size.
        for (const char* name :
             {"flag", "count", "gain", "timestamp", "self", "frame", "where", "tint", "title", "raw"})
        {
            for (int32_t index = 0; index < 3; ++index)
            {
                const void* data = nullptr;
                int32_t size = 0;
                message.FindData(name, XMessage::kTypeAny, data, size, index);
                message.GetString(name, index);
                message.GetColor(name, index);
                XMessage nested;
                message.FindMessage(name, nested, index);
            }
        }
        std::vector<uint8_t> again(static_cast<size_t>(message.GetFlattenedSize()));
        EXPECT_EQ(0, message.Flatten(again.data(), static_cast<int32_t>(again.size())));
    }
    EXPECT_GT(rebuiltCount, 0);
}

TEST(XMessageCodes, FourCharCodesPutTheFirstLetterHigh)
{
    EXPECT_EQ(0x706D7367u, XMsgCode::kParamMessage);
    EXPECT_EQ(0x72656D54u, XMsgCode::kRemoveTimer);
    EXPECT_EQ(0x766F6C41u, XMsgCode::kVolumeArrived);
    EXPECT_EQ(0x766F6C52u, XMsgCode::kVolumeRemoved);
}

TEST(XParamMessage, CarriesParameterCodeAndKeyThroughAPort)
{
    auto* param = reinterpret_cast<XParam*>(static_cast<uintptr_t>(0x1234567890ULL));
    XParamMessage sent(param, 1000001, 0x6C636B);
    EXPECT_EQ(XMsgCode::kParamMessage, sent.GetWhat());
    EXPECT_EQ(0, sent.GetValue());

    const int32_t port = CreatePort("pmsg test", 4);
    ASSERT_EQ(0, sent.SendToPort(port, 5, -1, -1));
    XMessage received;
    ASSERT_EQ(0, received.ReadFromPort(port, 0));
    const XParamMessage rebuilt(received);
    EXPECT_EQ(param, rebuilt.GetParam());
    EXPECT_EQ(1000001, rebuilt.GetCode());
    EXPECT_EQ(0x6C636B, rebuilt.GetKey());
    EXPECT_EQ(5, rebuilt.GetTargetToken());

    const XParamMessage empty(XMessage(XMsgCode::kParamMessage, 0));
    EXPECT_EQ(nullptr, empty.GetParam());
    EXPECT_EQ(0, empty.GetCode());
    EXPECT_EQ(0, empty.GetKey());
    DeletePort(port);
}

TEST(XMessageValueTypes, FromTextReadsCommaSeparatedNumbers)
{
    struct Case
    {
        const char* text;
        XRect rect;
    };
    const Case cases[] = {
        {"1,2,3,4", XRect(1, 2, 3, 4)},
        {" 10 , 20,\t30 , 40 ", XRect(10, 20, 30, 40)},
        {"-5,-6,5,6", XRect(-5, -6, 5, 6)},
        {"1 0,2,30,40", XRect(10, 2, 30, 40)},
        {"5,5,1,1", XRect()}, // right < left
        {"1,2", XRect()},     // missing edges read 0: right < left
        {"0,0,7", XRect(0, 0, 7, 0)},
        {"", XRect()},
        {nullptr, XRect()},
        {"x,1,2,3", XRect(0, 1, 2, 3)},
        {"99999999999,0,99999999999,0", XRect(2147483647, 0, 2147483647, 0)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text != nullptr ? c.text : "(null)");
        EXPECT_EQ(c.rect, XRect::FromText(c.text));
    }
    EXPECT_EQ(XPoint(3, -4), XPoint::FromText(" 3 ,-4"));
    EXPECT_EQ(XPoint(3, 0), XPoint::FromText("3"));
    EXPECT_EQ(XPoint(), XPoint::FromText(nullptr));
    EXPECT_TRUE(XRect(0, 0, 0, 0).IsValid());
    EXPECT_FALSE(XRect(0, 1, 0, 0).IsValid());
}
