#include "InstallerProcess.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <juce_core/juce_core.h>
#include <random>
#include <string>
#include <vector>

namespace
{
const std::string kPackageText = "; driver package of the test\n[Version]\nSignature=\"$Windows NT$\"\n";
const std::string kUnitRuleName = "60-krx640-7b3d-a701.rules";
const std::string kBootloaderRuleName = "60-krx640-03eb-6124.rules";

std::string RuleText(const std::string& vendor, const std::string& product)
{
    return "# Lets every user reach the KRX-640 USB device " + vendor + ":" + product +
           ". Written by KRX640DriverInstaller.\nSUBSYSTEM==\"usb\", ATTR{idVendor}==\"" + vendor +
           "\", ATTR{idProduct}==\"" + product + "\", MODE=\"0666\"\n";
}

/** A fake system in a temporary folder: the kernel's USB device list, the udev rules folder, the
    driver store, a udevadm that records its arguments, and a folder holding the package. */
class FakeSystem
{
public:
    FakeSystem()
    {
        for (const char* name : {"sys", "rules", "store", "pkg", "devices"})
            juce::File(root.Child(name)).createDirectory();
        InstallerProcess::WriteFile(PackageFolder() + "/krx640usb.Inf", kPackageText);
        InstallerProcess::WriteFile(root.Child("udevadm"),
                                    "#!/bin/sh\necho \"$*\" >> '" + root.Child("udevadm.calls") + "'\n");
        juce::File(root.Child("udevadm")).setExecutePermission(true);
        // What every machine has besides the unit: a root hub, an interface and a malformed entry.
        AddDevice("usb1", "1d6b\n", "0002\n");
        juce::File(root.Child("sys/1-0:1.0")).createDirectory();
        AddDevice("2-1", "zzzz\n", "a701\n");
        AddDevice("2-2", "7b3d0\n", "a701\n");
    }

    /** A device entry; linked from elsewhere, as the kernel lists them, when asLink is set. */
    void AddDevice(const std::string& name, const std::string& vendor, const std::string& product,
                   bool asLink = false)
    {
        const std::string folder = asLink ? root.Child("devices/" + name) : root.Child("sys/" + name);
        juce::File(folder).createDirectory();
        InstallerProcess::WriteFile(folder + "/idVendor", vendor);
        InstallerProcess::WriteFile(folder + "/idProduct", product);
        if (asLink)
            juce::File(folder).createSymbolicLink(juce::File(root.Child("sys/" + name)), false);
    }

    InstallerProcess::Result Run(const std::vector<std::string>& arguments,
                                 const std::string& workingFolder = {})
    {
        return InstallerProcess::Run(arguments,
                                     {{"KRX640_SYSFS_USB_DIR", root.Child("sys")},
                                      {"KRX640_UDEV_RULES_DIR", rulesFolder},
                                      {"KRX640_DRIVER_STORE", root.Child("store")},
                                      {"KRX640_UDEVADM", root.Child("udevadm")},
                                      {"KRX640_TIME_SCALE", "1000"}},
                                     workingFolder.empty() ? root.Path() : workingFolder);
    }

    std::string PackageFolder() const { return root.Child("pkg"); }
    std::string Sys(const std::string& name) const { return root.Child("sys/" + name); }
    std::string Rule(const std::string& name) const
    {
        return InstallerProcess::ReadFile(rulesFolder + "/" + name);
    }
    std::string StoredPackage() const
    {
        return InstallerProcess::ReadFile(root.Child("store/krx640usb.Inf"));
    }
    std::string UdevadmCalls() const { return InstallerProcess::ReadFile(root.Child("udevadm.calls")); }
    int RuleCount() const { return juce::File(rulesFolder).getNumberOfChildFiles(juce::File::findFiles); }

    TestSupport::TempFolder root;
    std::string rulesFolder = root.Child("rules");
};

std::string InstallingLine(const std::string& folder)
{
    return "Installing " + folder + "\\krx640usb.Inf\n";
}
} // namespace

TEST(LinuxDriverSetupTest, AnAttachedUnitGetsItsRuleAndUdevIsAskedToApplyIt)
{
    FakeSystem system;
    system.AddDevice("1-2", "7b3d\n", "A701\n");
    const auto result = system.Run({system.PackageFolder()});
    EXPECT_EQ(result.output, InstallingLine(system.PackageFolder()) + "Phase 3\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(system.Rule(kUnitRuleName), RuleText("7b3d", "a701"));
    EXPECT_EQ(system.RuleCount(), 1);
    EXPECT_EQ(system.UdevadmCalls(),
              "control --reload-rules\ntrigger --action=add " + system.Sys("1-2") + "\n");
    EXPECT_EQ(system.StoredPackage(), "");
}

TEST(LinuxDriverSetupTest, OnlyTheBootloaderAttachedGetsTheBootloaderRule)
{
    FakeSystem system;
    system.AddDevice("3-1", "03eb\n", "6124\n", true);
    const auto result = system.Run({system.PackageFolder()});
    EXPECT_EQ(result.output, InstallingLine(system.PackageFolder()) + "Phase 3\n");
    EXPECT_EQ(system.Rule(kBootloaderRuleName), RuleText("03eb", "6124"));
    EXPECT_EQ(system.RuleCount(), 1);
    EXPECT_EQ(system.StoredPackage(), "");
}

TEST(LinuxDriverSetupTest, BackslashPathsAreFoundThroughTheFileSystem)
{
    FakeSystem system;
    system.AddDevice("1-2", "7b3d\n", "a701\n");
    juce::File(system.root.Child("E:/Setup")).createDirectory();
    InstallerProcess::WriteFile(system.root.Child("E:/Setup/krx640usb.Inf"), kPackageText);
    const auto withFolder = system.Run({"E:\\Setup"});
    EXPECT_EQ(withFolder.output, "Installing E:\\Setup\\krx640usb.Inf\nPhase 3\n");

    const auto withoutArgument = system.Run({}, system.PackageFolder());
    EXPECT_EQ(withoutArgument.output, "Installing krx640usb.Inf\nPhase 3\n");
    EXPECT_EQ(system.Rule(kUnitRuleName), RuleText("7b3d", "a701"));
}

TEST(LinuxDriverSetupTest, NeitherAttachedCopiesThePackageIntoTheStore)
{
    FakeSystem system;
    const auto result = system.Run({system.PackageFolder()});
    EXPECT_EQ(result.output, InstallingLine(system.PackageFolder()) + "Phase 3\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(system.StoredPackage(), kPackageText);
    EXPECT_EQ(system.RuleCount(), 0);
    EXPECT_EQ(system.UdevadmCalls(), "");
}

TEST(LinuxDriverSetupTest, AMissingPackageIsReportedTwiceAndNothingIsWritten)
{
    FakeSystem system;
    system.AddDevice("1-2", "7b3d\n", "a701\n");
    const std::string emptyFolder = system.root.Child("devices");
    const auto result = system.Run({emptyFolder});
    const std::string notFound = "Driver Install Error: File not found: " + emptyFolder + "\\krx640usb.Inf\n";
    EXPECT_EQ(result.output, InstallingLine(emptyFolder) + notFound + notFound + "Phase 3\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(system.RuleCount(), 0);
    EXPECT_EQ(system.StoredPackage(), "");
}

TEST(LinuxDriverSetupTest, ARuleThatCannotBeWrittenReportsTheSystemError)
{
    FakeSystem system;
    system.AddDevice("1-2", "7b3d\n", "a701\n");
    system.rulesFolder = system.root.Child("not-a-folder");
    InstallerProcess::WriteFile(system.rulesFolder, "a file");
    const auto result = system.Run({system.PackageFolder()});
    // The unit fails with the system's error; the absent bootloader then leads to the store copy.
    EXPECT_EQ(result.output, InstallingLine(system.PackageFolder()) +
                                 "Driver Install Error: Unknown error [" + std::to_string(ENOTDIR) +
                                 "]Phase 3\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(system.UdevadmCalls(), "");
    EXPECT_EQ(system.StoredPackage(), kPackageText);
}

TEST(LinuxDriverSetupTest, RandomDeviceEntriesNeverMatchOrCrash)
{
    FakeSystem system;
    std::mt19937 random(6124);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 40);
    constexpr int kEntries = 40;
    for (int entry = 0; entry < kEntries; ++entry)
    {
        std::string vendor, product;
        for (int i = length(random); i > 0; --i)
            vendor += static_cast<char>(byte(random));
        for (int i = length(random); i > 0; --i)
            product += static_cast<char>(byte(random));
        system.AddDevice("9-" + std::to_string(entry), vendor, product);
    }
    const auto result = system.Run({system.PackageFolder()});
    EXPECT_EQ(result.output, InstallingLine(system.PackageFolder()) + "Phase 3\n");
    EXPECT_EQ(system.RuleCount(), 0);
    EXPECT_EQ(system.StoredPackage(), kPackageText);
}
