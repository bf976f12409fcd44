#include "core/XDocument.h"

#include "core/XMemory.h"
#include "core/XMessage.h"
#include "core/XMsgPort.h"
#include "core/XResult.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{

/** Little-endian document bytes, built field by field. */
class Bytes
{
public:
    Bytes& Int16(int value)
    {
        for (int i = 0; i < 2; ++i)
            data.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
        return *this;
    }
    Bytes& Int32(int32_t value)
    {
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
        return *this;
    }
    Bytes& String(const char* text)
    {
        const int32_t length = static_cast<int32_t>(std::strlen(text)) + 1;
        Int32(length);
        data.insert(data.end(), text, text + length);
        return *this;
    }
    Bytes& Raw(const std::vector<uint8_t>& bytes)
    {
        data.insert(data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    /** The 'twdo' header with the four identification texts. */
    Bytes& Header(int32_t headerVersion, int32_t fileVersion)
    {
        return Int32(0x7477646F)
            .Int32(headerVersion)
            .Int32(fileVersion)
            .String("Preset")
            .String("RQ")
            .String("KRX-640")
            .String("1.0");
    }
    /** A chunk head in the form of the header version. */
    Bytes& Head(int32_t headerVersion, int32_t id, int32_t type, int32_t size)
    {
        if (headerVersion >= 2)
            return Int32(id).Int32(type).Int32(size);
        return Int16(id).Int16(type).Int32(size);
    }
    Bytes& RawChunk(int32_t headerVersion, int32_t id, const std::vector<uint8_t>& payload)
    {
        return Head(headerVersion, id, 2, static_cast<int32_t>(payload.size())).Raw(payload);
    }
    Bytes& MessageChunk(int32_t headerVersion, int32_t id, const XMessage& message)
    {
        const std::vector<uint8_t> flat = Flat(message);
        Head(headerVersion, id, 1, static_cast<int32_t>(flat.size()) + 4);
        return Int32(static_cast<int32_t>(flat.size())).Raw(flat);
    }

    static std::vector<uint8_t> Flat(const XMessage& message)
    {
        std::vector<uint8_t> flat(static_cast<size_t>(message.GetFlattenedSize()));
        EXPECT_EQ(message.Flatten(flat.data(), static_cast<int32_t>(flat.size())), 0);
        return flat;
    }

    std::vector<uint8_t> data;
};

XMessage VersionMessage()
{
    XMessage message(0x76657273);
    message.AddString("fileType", "Show");
    message.AddString("vendorStr", "Maker");
    message.AddString("appStr", "Editor");
    message.AddString("appVersion", "2.5");
    return message;
}

/** A document that records what its handlers were given. */
class RecordingDocument : public XDocument
{
public:
    struct Chunk
    {
        int id;
        bool isMessage;
        std::vector<uint8_t> raw;
        int32_t value;
    };

    using XDocument::XDocument;

    XString GetFileExtension() override { return "kdoc"; }
    int32_t HandleMsgChunk(int id, XMessage& message) override
    {
        chunks.push_back({id, true, {}, message.GetInt32("value")});
        if (id == throwStdOn)
            throw std::runtime_error("boom");
        if (id == throwOtherOn)
            throw 42;
        return id == failOn ? failResult : XDocument::HandleMsgChunk(id, message);
    }
    int32_t HandleRawChunk(int id, XMemory& data) override
    {
        chunks.push_back(
            {id, false, std::vector<uint8_t>(data.GetData(), data.GetData() + data.GetLength()), 0});
        return id == failOn ? failResult : 0;
    }
    void PathChanged() override { ++pathChanges; }

    std::vector<Chunk> chunks;
    int failOn = -2;
    int32_t failResult = 0;
    int throwStdOn = -2;
    int throwOtherOn = -2;
    int pathChanges = 0;
};

XMessage ValueMessage(int32_t value)
{
    XMessage message(0x63686E6B);
    message.AddInt32("value", value);
    return message;
}

class XDocumentTest : public ::testing::Test
{
protected:
    TestSupport::TempFolder folder;

    std::string Put(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        std::ofstream(folder.Child(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return folder.Child(name);
    }
    std::vector<uint8_t> Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};
} // namespace

TEST_F(XDocumentTest, WriteHeaderWritesTheMarkedHeaderThatReadHeaderReadsBack)
{
    const std::string path = Put("doc.kdoc", {});
    XDocument writer(path.c_str());
    ASSERT_EQ(writer.WriteHeader(7, "Preset", "RQ", nullptr, "1.0"), 0);

    const std::vector<uint8_t> expected =
        Bytes().Int32(0x7477646F).Int32(2).Int32(7).String("Preset").String("RQ").Int32(0).String("1.0").data;
    const std::vector<uint8_t> written = Contents(path);
    EXPECT_EQ(written, expected);
    ASSERT_GE(written.size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>(written.begin(), written.begin() + 4),
              (std::vector<uint8_t>{0x6F, 0x64, 0x77, 0x74}));

    XDocument reader(path.c_str());
    ASSERT_EQ(reader.ReadHeader(), 0);
    EXPECT_EQ(reader.GetHeaderVersion(), 2);
    EXPECT_EQ(reader.GetFileVersion(), 7);
    EXPECT_STREQ(reader.GetFileType().CStr(), "Preset");
    EXPECT_STREQ(reader.GetVendorStr().CStr(), "RQ");
    EXPECT_STREQ(reader.GetAppStr().CStr(), "");
    EXPECT_STREQ(reader.GetAppVersion().CStr(), "1.0");
    EXPECT_FALSE(reader.IsOldFormat());
    EXPECT_FALSE(reader.GetFile().IsOpen());
}

TEST_F(XDocumentTest, HeaderFailuresAreReturned)
{
    XDocument missing(folder.Child("missing.kdoc").c_str());
    EXPECT_EQ(missing.WriteHeader(1, "a", "b", "c", "d"), XResult::kFileNotFound) << "the file must exist";
    EXPECT_EQ(missing.ReadHeader(), XResult::kFileNotFound);
    EXPECT_EQ(missing.Load(), XResult::kFileNotFound);

    XDocument untitled;
    EXPECT_EQ(untitled.Load(), XResult::kFailed);

    struct stat info
    {
    };
    if (::stat("/dev/full", &info) == 0)
    {
        XDocument full("/dev/full");
        EXPECT_EQ(full.WriteHeader(1, "a", "b", "c", "d"), XResult::kWriteRefused)
            << "a refused write is not a success";
    }
}

TEST_F(XDocumentTest, HeaderOnlyFileLoadsCompleteWithoutHandlers)
{
    const std::string path = Put("header.kdoc", Bytes().Header(2, 3).data);
    RecordingDocument document;
    ASSERT_EQ(document.Open(path.c_str()), 0);
    EXPECT_TRUE(document.chunks.empty());
    EXPECT_EQ(document.GetFileVersion(), 3);
    EXPECT_STREQ(document.GetAppStr().CStr(), "KRX-640");
    EXPECT_STREQ(document.GetPath().CStr(), path.c_str()) << "Open keeps the path it loaded from";
    EXPECT_FALSE(document.GetFile().IsOpen());
}

TEST_F(XDocumentTest, ChunkHeadsFollowTheHeaderVersion)
{
    for (const int32_t headerVersion : {2, 3, 1, 0})
    {
        SCOPED_TRACE(headerVersion);
        const Bytes file = Bytes()
                               .Header(headerVersion, 1)
                               .MessageChunk(headerVersion, 3, ValueMessage(77))
                               .RawChunk(headerVersion, 999, {1, 2, 3})
                               .MessageChunk(headerVersion, 14, VersionMessage());
        RecordingDocument document;
        ASSERT_EQ(document.Open(Put("chunks.kdoc", file.data).c_str()), 0);
        ASSERT_EQ(document.chunks.size(), 3u);
        EXPECT_EQ(document.chunks[0].id, 3);
        EXPECT_TRUE(document.chunks[0].isMessage);
        EXPECT_EQ(document.chunks[0].value, 77);
        EXPECT_EQ(document.chunks[1].id, 999);
        EXPECT_FALSE(document.chunks[1].isMessage);
        EXPECT_EQ(document.chunks[1].raw, (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(document.chunks[2].id, 14);
        EXPECT_STREQ(document.GetFileType().CStr(), "Show") << "the version chunk replaces the texts";
        EXPECT_STREQ(document.GetVendorStr().CStr(), "Maker");
        EXPECT_STREQ(document.GetAppStr().CStr(), "Editor");
        EXPECT_STREQ(document.GetAppVersion().CStr(), "2.5");
    }
}

TEST_F(XDocumentTest, EndMarkersEndTheLoadAsComplete)
{
    struct Case
    {
        const char* what;
        int32_t id;
        int32_t size;
    };
    const Case cases[] = {
        {"id 1000", 1000, 3},
        {"id -1", -1, 3},
        {"size 0", 5, 0},
        {"negative size", 5, -4},
        {"size past the end of the file", 5, 1000},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const Bytes file = Bytes()
                               .Header(2, 1)
                               .RawChunk(2, 1, {9})
                               .Head(2, c.id, 2, c.size)
                               .Raw({1, 2, 3})
                               .RawChunk(2, 2, {8});
        RecordingDocument document;
        EXPECT_EQ(document.Open(Put("end.kdoc", file.data).c_str()), 0);
        ASSERT_EQ(document.chunks.size(), 1u);
        EXPECT_EQ(document.chunks[0].id, 1);
    }
}

TEST_F(XDocumentTest, TruncatedChunkHeadEndsTheLoadAsComplete)
{
    std::vector<uint8_t> bytes = Bytes().Header(2, 1).RawChunk(2, 1, {9}).Int32(4).Int16(2).data;
    RecordingDocument document;
    EXPECT_EQ(document.Open(Put("cut.kdoc", bytes).c_str()), 0);
    EXPECT_EQ(document.chunks.size(), 1u);
}

TEST_F(XDocumentTest, AMessageReadFromAFilePostsToNoPort)
{
    // Messages that claim to have come through a port and to wait for a reply at one: destroying
    // them once handled posted the automatic reply to that port.
    const int32_t port = CreatePort("document reply", 8);
    XMessage request = ValueMessage(5);
    request.SetRouting(-1, port, 3);
    request.SetFlags(XMessage::kFlagFromPort | XMessage::kFlagReplyExpected);
    XMessage header = VersionMessage();
    header.AddInt32("fileVersion", 4);
    header.SetRouting(-1, port, 3);
    header.SetFlags(XMessage::kFlagFromPort | XMessage::kFlagReplyExpected);

    const Bytes current = Bytes().Header(2, 1).MessageChunk(2, 3, request);
    const Bytes older = Bytes().MessageChunk(1, 0, header).MessageChunk(1, 3, request);
    for (const Bytes* file : {&current, &older})
    {
        RecordingDocument document;
        ASSERT_EQ(document.Open(Put("request.kdoc", file->data).c_str()), 0);
        ASSERT_EQ(document.chunks.size(), 1u);
        EXPECT_EQ(document.chunks[0].value, 5);
    }
    EXPECT_EQ(CountPortBlocks(port), 0);
    DeletePort(port);
}

TEST_F(XDocumentTest, FileWithoutMarkIsReadInTheOlderLayout)
{
    XMessage header(0x68647220);
    header.AddInt32("fileVersion", 5);
    header.AddString("fileType", "Old");
    header.AddString("vendorStr", "V");
    header.AddString("appStr", "A");
    header.AddString("appVersion", "0.9");
    const Bytes file =
        Bytes().MessageChunk(1, 0, header).RawChunk(1, 7, {4, 5}).MessageChunk(1, 8, ValueMessage(3));

    RecordingDocument document;
    ASSERT_EQ(document.Open(Put("old.kdoc", file.data).c_str()), 0);
    EXPECT_TRUE(document.IsOldFormat());
    EXPECT_EQ(document.GetHeaderVersion(), -1);
    EXPECT_EQ(document.GetFileVersion(), 5);
    EXPECT_STREQ(document.GetFileType().CStr(), "Old");
    EXPECT_STREQ(document.GetAppVersion().CStr(), "0.9");
    ASSERT_EQ(document.chunks.size(), 2u) << "the header chunk itself is not handed on";
    EXPECT_EQ(document.chunks[0].id, 7);
    EXPECT_EQ(document.chunks[1].value, 3);

    const Bytes empty = Bytes().Head(1, 0, 1, 4).Int32(0).RawChunk(1, 2, {1});
    RecordingDocument emptyHeader;
    ASSERT_EQ(emptyHeader.Open(Put("old0.kdoc", empty.data).c_str()), 0);
    EXPECT_TRUE(emptyHeader.IsOldFormat());
    EXPECT_EQ(emptyHeader.chunks.size(), 1u);
}

TEST_F(XDocumentTest, LengthsInsideTheFileAreBoundedByChunkAndFile)
{
    // A message chunk whose inner length claims more than the chunk holds is skipped; the next chunk is read.
    const std::vector<uint8_t> flat = Bytes::Flat(ValueMessage(1));
    const Bytes lying = Bytes()
                            .Header(2, 1)
                            .Head(2, 4, 1, static_cast<int32_t>(flat.size()) + 4)
                            .Int32(static_cast<int32_t>(flat.size()) + 1000)
                            .Raw(flat)
                            .Head(2, 5, 1, 2)
                            .Raw({0, 0})
                            .RawChunk(2, 6, {6});
    RecordingDocument document;
    ASSERT_EQ(document.Open(Put("lying.kdoc", lying.data).c_str()), 0);
    ASSERT_EQ(document.chunks.size(), 1u);
    EXPECT_EQ(document.chunks[0].id, 6);

    // An older header whose message length runs past the file ends the load, complete.
    const Bytes oldLying = Bytes().Head(1, 0, 1, 8).Int32(0x7FFFFFF0).Int32(0).RawChunk(1, 2, {1});
    RecordingDocument old;
    ASSERT_EQ(old.Open(Put("oldlying.kdoc", oldLying.data).c_str()), 0);
    EXPECT_TRUE(old.IsOldFormat());
    EXPECT_TRUE(old.chunks.empty());

    // A header text whose length runs past the file.
    const Bytes badText = Bytes().Int32(0x7477646F).Int32(2).Int32(1).Int32(1 << 30).Raw({'x', 0});
    RecordingDocument text;
    ASSERT_EQ(text.Open(Put("badtext.kdoc", badText.data).c_str()), 0);
    EXPECT_TRUE(text.chunks.empty());
}

TEST_F(XDocumentTest, HandlerResultAbortsAndExceptionsAreContained)
{
    const Bytes file = Bytes()
                           .Header(2, 1)
                           .MessageChunk(2, 1, ValueMessage(1))
                           .MessageChunk(2, 2, ValueMessage(2))
                           .MessageChunk(2, 3, ValueMessage(3))
                           .RawChunk(2, 4, {4});
    const std::string path = Put("handlers.kdoc", file.data);

    RecordingDocument throwing;
    throwing.throwStdOn = 1;
    throwing.throwOtherOn = 2;
    ASSERT_EQ(throwing.Open(path.c_str()), 0);
    EXPECT_EQ(throwing.chunks.size(), 4u) << "a throwing handler does not end the load";

    RecordingDocument failing;
    failing.failOn = 3;
    failing.failResult = 0x12345;
    EXPECT_EQ(failing.Open(path.c_str()), 0x12345);
    EXPECT_EQ(failing.chunks.size(), 3u);
    EXPECT_FALSE(failing.GetFile().IsOpen());
}

TEST_F(XDocumentTest, PathsOfOpenImportSaveAndExport)
{
    const std::string path = Put("paths.kdoc", Bytes().Header(2, 1).data);

    RecordingDocument document(path.c_str());
    EXPECT_EQ(document.pathChanges, 0) << "the constructor takes the path without the hook";
    EXPECT_EQ(document.Save(), 0);

    RecordingDocument untitled;
    EXPECT_EQ(untitled.Save(), XResult::kFailed);
    EXPECT_EQ(untitled.ImportFrom(path.c_str()), 0);
    EXPECT_STREQ(untitled.GetPath().CStr(), "") << "an imported document stays untitled";
    EXPECT_FALSE(untitled.GetKeepPath());
    EXPECT_GT(untitled.pathChanges, 0);

    EXPECT_EQ(untitled.ExportTo(folder.Child("copy.kdoc").c_str()), 0);
    EXPECT_FALSE(untitled.GetKeepPath());

    untitled.SetModified(true);
    EXPECT_TRUE(untitled.IsModified());
    untitled.Reset();
    EXPECT_STREQ(untitled.GetPath().CStr(), "");
}

TEST_F(XDocumentTest, MakeUntitledPathNumbersFromOne)
{
    const ScopedEnvironment home("HOME", folder.Path());
    const ScopedEnvironment config("XDG_CONFIG_HOME", folder.Child("config"));
    RecordingDocument document;
    EXPECT_STREQ(document.MakeUntitledPath("", "", "").CStr(),
                 (folder.Path() + "/Documents\\Project01.kdoc").c_str());

    const std::string presets = folder.Path() + "/";
    for (const char* name : {"Project01.qm7", "Project02.qm7", "Project03.qm7"})
        Put(name, {1});
    EXPECT_STREQ(document.MakeUntitledPath(presets.c_str(), "qm7", nullptr).CStr(),
                 (presets + "Project04.qm7").c_str());
    EXPECT_STREQ(document.MakeUntitledPath(presets.c_str(), ".qm7", "Project").CStr(),
                 (presets + "Project01.kdoc").c_str())
        << "an extension with a leading '.' means the document's own";
    EXPECT_STREQ(document.MakeUntitledPath(presets.c_str(), "qm7", "C:\\shows\\Show.qm7").CStr(),
                 (presets + "Show01.qm7").c_str());
}

TEST_F(XDocumentTest, RandomAndDamagedFilesNeverBreakTheLoad)
{
    const Bytes valid = Bytes()
                            .Header(2, 1)
                            .MessageChunk(2, 3, ValueMessage(77))
                            .RawChunk(2, 9, {1, 2, 3})
                            .MessageChunk(2, 14, VersionMessage());
    const Bytes old = Bytes().MessageChunk(1, 0, VersionMessage()).MessageChunk(1, 2, ValueMessage(1));
    std::mt19937 random(1234);
    for (int round = 0; round < 400; ++round)
    {
        std::vector<uint8_t> bytes = (round % 2 == 0 ? valid : old).data;
        if (round % 5 == 0)
        {
            bytes.resize(random() % 200);
            for (uint8_t& byte : bytes)
                byte = static_cast<uint8_t>(random());
        }
        else
        {
            for (int flips = 1 + static_cast<int>(random() % 6); flips > 0; --flips)
                bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
            if (random() % 3 == 0)
                bytes.resize(random() % bytes.size());
        }
        RecordingDocument document;
        const int32_t result = document.Open(Put("random.kdoc", bytes).c_str());
        EXPECT_EQ(result, 0) << "round " << round;
        EXPECT_FALSE(document.GetFile().IsOpen());
    }
}
