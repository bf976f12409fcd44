#include "platform/PlatformPipe.h"
#include "platform/UsbDeviceInterface.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{
/** A device folder of the test's own with units made of real FIFOs. */
class UsbPipesTest : public ::testing::Test
{
protected:
    TestSupport::TempFolder folder;

    void SetUp() override { ::setenv("KRX640_USB_DIR", folder.Path().c_str(), 1); }
    void TearDown() override { ::unsetenv("KRX640_USB_DIR"); }

    std::string MakeUnit(const std::string& name, bool withBothPipes = true)
    {
        const std::string path = folder.Child(name);
        ::mkdir(path.c_str(), 0700);
        ::mkfifo((path + "/PIPE00").c_str(), 0600);
        if (withBothPipes)
            ::mkfifo((path + "/PIPE01").c_str(), 0600);
        return path;
    }
};
} // namespace

TEST_F(UsbPipesTest, EnumeratesOnlyCompleteUnitsSortedAndCapped)
{
    MakeUnit("unit1");
    MakeUnit("unit0");
    MakeUnit("half", false);
    EXPECT_EQ(UsbDeviceInterface::DeviceFolder(), folder.Path());
    const auto paths = UsbDeviceInterface::EnumerateDevicePaths(128);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], folder.Child("unit0"));
    EXPECT_EQ(paths[1], folder.Child("unit1"));
    EXPECT_EQ(UsbDeviceInterface::EnumerateDevicePaths(1).size(), 1u);
}

TEST_F(UsbPipesTest, DefaultFolderFollowsTheRuntimeFolder)
{
    ::unsetenv("KRX640_USB_DIR");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = runtime ? runtime : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/42", 1);
    EXPECT_EQ(UsbDeviceInterface::DeviceFolder(), "/run/user/42/krx640-usb");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(UsbDeviceInterface::DeviceFolder().rfind("/tmp/krx640-usb-", 0), 0u);
    if (!saved.empty())
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

TEST_F(UsbPipesTest, WriteEndWithoutReaderCannotOpen)
{
    const std::string unit = MakeUnit("unit0");
    PlatformPipe toUnit;
    EXPECT_EQ(toUnit.Open(unit + "\\PIPE00", PlatformPipe::Direction::write), ENXIO);
    EXPECT_FALSE(toUnit.IsOpen());
}

TEST_F(UsbPipesTest, BytesTravelAndTheGoneWriterIsAFailedRead)
{
    const std::string unit = MakeUnit("unit0");
    PlatformPipe editorSide, unitSide;
    ASSERT_EQ(editorSide.Open(unit + "\\PIPE01", PlatformPipe::Direction::read), 0);
    ASSERT_EQ(unitSide.Open(unit + "/PIPE01", PlatformPipe::Direction::write), 0);

    char buffer[16] = {};
    EXPECT_EQ(editorSide.Read(buffer, sizeof buffer, 5), 0) << "nothing sent yet";
    EXPECT_EQ(unitSide.Write("frame", 5), 5);
    EXPECT_EQ(editorSide.Read(buffer, sizeof buffer, 100), 5);
    EXPECT_EQ(std::string(buffer, 5), "frame");

    unitSide.Close();
    EXPECT_EQ(editorSide.Read(buffer, sizeof buffer, 100), -1);
}

TEST_F(UsbPipesTest, WritingToAGoneReaderFailsWithoutASignal)
{
    const std::string unit = MakeUnit("unit0");
    PlatformPipe reader, writer;
    ASSERT_EQ(reader.Open(unit + "/PIPE00", PlatformPipe::Direction::read), 0);
    ASSERT_EQ(writer.Open(unit + "/PIPE00", PlatformPipe::Direction::write), 0);
    reader.Close();
    EXPECT_EQ(writer.Write("x", 1), -1);
    PlatformPipe closed;
    EXPECT_EQ(closed.Write("x", 1), -1);
    EXPECT_EQ(closed.Read(nullptr, 0, 0), -1);
}
