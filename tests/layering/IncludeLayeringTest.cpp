// The layering of the source tree, checked on every source and header of src/, tools/ and installer/:
// no file includes a header of a layer above its own, the headless layers never include JUCE's
// windowed modules, and only the platform layer includes the system's headers. All libraries share
// one include root, so an upward include of a header-only file would still build: this test is what
// catches it.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
/** What a unit of the tree may include besides its own folder. A unit is a folder of src/ (with
    src/device/ui, the device's windows, apart from the device's model), tools/<name> or installer. */
struct UnitRule
{
    std::set<std::string> mayInclude;
    /** Whether it may include JUCE's windowed modules (juce_gui_basics, juce_gui_extra). */
    bool windowed = false;
    /** Whether it may include the system's headers (POSIX, Linux, X11, image and font libraries). */
    bool systemHeaders = false;
};

const std::string kPlatform = "src/platform";
const std::string kCore = "src/core";
const std::string kDevice = "src/device";
const std::string kDeviceWindows = "src/device/ui";
const std::string kGui = "src/gui";
const std::string kWidgets = "src/widgets";
const std::string kWindows = "src/windows";
const std::string kFiles = "src/files";
const std::string kApp = "src/app";
const std::string kInstaller = "installer";
const std::string kSkinGenerator = "tools/skingen";
/** The simulated unit plays the unit's end of the pipes as a program apart from the editor, on the
    system's FIFOs and poll directly. */
const std::string kSimulatedUnit = "tools/krx640-sim";
/** Any other program of tools/. */
const std::string kOtherTool = "tools/*";

const std::map<std::string, UnitRule>& Rules()
{
    static const std::map<std::string, UnitRule> rules = {
        {kPlatform, {{}, false, true}},
        {kCore, {{kPlatform}}},
        {kDevice, {{kCore, kPlatform}}},
        {kGui, {{kCore, kPlatform}, true}},
        {kWidgets, {{kGui, kDevice, kCore, kPlatform}, true}},
        {kWindows, {{kWidgets, kGui, kDevice, kCore, kPlatform}, true}},
        {kFiles, {{kWidgets, kGui, kCore, kPlatform}, true}},
        {kDeviceWindows, {{kDevice, kGui, kCore, kPlatform}, true}},
        {kApp, {{kWindows, kFiles, kWidgets, kGui, kDeviceWindows, kDevice, kCore, kPlatform}, true}},
        {kInstaller, {{kCore, kPlatform}}},
        {kSkinGenerator, {{kGui, kCore, kPlatform}, true}},
        {kSimulatedUnit, {{kCore, kPlatform}, false, true}},
        {kOtherTool, {{kCore, kPlatform}}},
    };
    return rules;
}

/** The C++ standard library's headers, which every layer may include. */
const std::set<std::string>& StandardHeaders()
{
    static const std::set<std::string> headers = []
    {
        std::istringstream names(
            "algorithm any array atomic bitset cassert cctype cerrno cfenv cfloat charconv chrono "
            "cinttypes climits clocale cmath codecvt complex condition_variable csetjmp csignal cstdarg "
            "cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype deque exception execution "
            "filesystem forward_list fstream functional future initializer_list iomanip ios iosfwd "
            "iostream istream iterator limits list locale map memory memory_resource mutex new numeric "
            "optional ostream queue random ratio regex scoped_allocator set shared_mutex sstream stack "
            "stdexcept streambuf string string_view system_error thread tuple type_traits typeindex "
            "typeinfo unordered_map unordered_set utility valarray variant vector");
        std::set<std::string> set;
        for (std::string name; names >> name;)
            set.insert(name);
        return set;
    }();
    return headers;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

/** The unit of a path relative to the root ("src/gui/XView.h" is in src/gui); empty for a path
    outside every unit (tests, data). */
std::string UnitOf(const std::string& path)
{
    if (StartsWith(path, kDeviceWindows + "/"))
        return kDeviceWindows;
    if (StartsWith(path, "src/") || StartsWith(path, "tools/"))
    {
        const size_t second = path.find('/', path.find('/') + 1);
        return second == std::string::npos ? std::string() : path.substr(0, second);
    }
    if (StartsWith(path, kInstaller + "/"))
        return kInstaller;
    return {};
}

const UnitRule* RuleOf(const std::string& unit)
{
    const auto& rules = Rules();
    if (const auto found = rules.find(unit); found != rules.end())
        return &found->second;
    if (StartsWith(unit, "tools/"))
        return &rules.at(kOtherTool);
    return nullptr;
}

/** Where a quoted include leads, relative to the root: the including file's own folder first, then
    src/, the include root of every library and program. Empty when neither holds the file. */
std::string ResolveQuoted(const std::string& from, const std::string& included,
                          const std::function<bool(const std::string&)>& exists)
{
    const fs::path ownFolder = fs::path(from).parent_path();
    for (const fs::path& candidate : {ownFolder / included, fs::path("src") / included})
    {
        const std::string normal = candidate.lexically_normal().generic_string();
        if (!StartsWith(normal, "../") && exists(normal))
            return normal;
    }
    return {};
}

/** The fault of one include line of a file, or empty when the line is allowed (or no include). */
std::string IncludeFault(const std::string& from, const std::string& line,
                         const std::function<bool(const std::string&)>& exists)
{
    static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::smatch match;
    if (!std::regex_search(line, match, includeLine))
        return {};
    const std::string unit = UnitOf(from);
    const UnitRule* rule = RuleOf(unit);
    if (rule == nullptr)
        return {};
    const std::string included = match[2];
    if (match[1] == "<")
    {
        if (StandardHeaders().count(included) != 0 || StartsWith(included, "sanitizer/"))
            return {};
        if (StartsWith(included, "juce_gui_basics/") || StartsWith(included, "juce_gui_extra/"))
            return rule->windowed ? std::string()
                                  : unit + " is headless and may not include JUCE's windowed modules";
        if (StartsWith(included, "juce_"))
            return {};
        return rule->systemHeaders ? std::string() : "only src/platform includes the system's headers";
    }
    const std::string target = ResolveQuoted(from, included, exists);
    if (target.empty())
        return "the header is in neither the file's folder nor src/";
    const std::string targetUnit = UnitOf(target);
    if (targetUnit.empty() || targetUnit == unit || rule->mayInclude.count(targetUnit) != 0)
        return {};
    return unit + " may not include " + targetUnit;
}

bool IsSourceFile(const fs::path& path)
{
    const std::string extension = path.extension().string();
    return extension == ".h" || extension == ".hpp" || extension == ".cpp" || extension == ".cc" ||
           extension == ".inl";
}
} // namespace

TEST(IncludeLayering, TheRulesJudgeEachKindOfInclude)
{
    const std::set<std::string> tree = {"src/core/XString.h",
                                        "src/gui/XView.h",
                                        "src/device/XParamDoc.h",
                                        "src/device/ui/DeviceJobWindow.h",
                                        "src/widgets/XEQView.h",
                                        "src/windows/SubWindow.h",
                                        "src/app/QM7App.h",
                                        "src/files/XListView.h",
                                        "src/platform/PlatformClock.h",
                                        "tools/skingen/SkinPainter.h",
                                        "installer/LastError.h",
                                        "data/factory/Names.h"};
    const auto exists = [&tree](const std::string& path) { return tree.count(path) != 0; };
    struct Case
    {
        const char* from;
        const char* line;
        bool allowed;
    };
    const Case cases[] = {
        {"src/core/XString.cpp", "#include \"core/XString.h\"", true},
        {"src/core/XString.cpp", "#include \"platform/PlatformClock.h\"", true},
        {"src/core/XFile.cpp", "#include \"gui/XView.h\"", false},
        {"src/core/XFile.cpp", "  #  include \"device/XParamDoc.h\" // a comment", false},
        {"src/platform/PlatformFile.cpp", "#include \"core/XString.h\"", false},
        {"src/device/XParamDoc.cpp", "#include \"device/ui/DeviceJobWindow.h\"", false},
        {"src/device/XParamDoc.cpp", "#include \"gui/XView.h\"", false},
        {"src/device/ui/DeviceJobWindow.cpp", "#include \"gui/XView.h\"", true},
        {"src/device/ui/DeviceJobWindow.cpp", "#include \"widgets/XEQView.h\"", false},
        {"src/gui/XView.cpp", "#include \"widgets/XEQView.h\"", false},
        {"src/gui/XView.cpp", "#include \"device/XParamDoc.h\"", false},
        {"src/widgets/XEQView.cpp", "#include \"device/XParamDoc.h\"", true},
        {"src/widgets/XEQView.cpp", "#include \"windows/SubWindow.h\"", false},
        {"src/widgets/XEQView.cpp", "#include \"app/QM7App.h\"", false},
        {"src/windows/SubWindow.cpp", "#include \"widgets/XEQView.h\"", true},
        {"src/windows/SubWindow.cpp", "#include \"app/QM7App.h\"", false},
        {"src/files/XListView.cpp", "#include \"widgets/XEQView.h\"", true},
        {"src/files/XListView.cpp", "#include \"device/XParamDoc.h\"", false},
        {"src/files/XListView.cpp", "#include \"windows/SubWindow.h\"", false},
        {"src/app/QM7App.cpp", "#include \"device/ui/DeviceJobWindow.h\"", true},
        {"src/app/Names.cpp", "#include \"../../data/factory/Names.h\"", true},
        {"src/app/QM7App.cpp", "#include \"NotThere.h\"", false},
        {"tools/skingen/Main.cpp", "#include \"SkinPainter.h\"", true},
        {"tools/skingen/Main.cpp", "#include \"gui/XView.h\"", true},
        {"tools/skingen/Main.cpp", "#include \"widgets/XEQView.h\"", false},
        {"tools/krx640-sim/SimUnit.cpp", "#include \"gui/XView.h\"", false},
        {"tools/krx640-sim/SimUnit.cpp", "#include \"../../src/device/XParamDoc.h\"", false},
        {"tools/other/Main.cpp", "#include \"device/XParamDoc.h\"", false},
        {"installer/Main.cpp", "#include \"LastError.h\"", true},
        {"installer/Main.cpp", "#include \"platform/PlatformClock.h\"", true},
        {"installer/Main.cpp", "#include \"device/XParamDoc.h\"", false},
        {"src/core/XMutex.cpp", "#include <mutex>", true},
        {"src/core/XMutex.cpp", "#include <sanitizer/tsan_interface.h>", true},
        {"src/core/XMutex.cpp", "#include <juce_core/juce_core.h>", true},
        {"src/device/XParamDoc.cpp", "#include <juce_gui_basics/juce_gui_basics.h>", false},
        {"src/gui/XView.cpp", "#include <juce_gui_extra/juce_gui_extra.h>", true},
        {"src/core/XFile.cpp", "#include <unistd.h>", false},
        {"src/gui/XView.cpp", "#include <X11/Xlib.h>", false},
        {"src/widgets/XEQView.cpp", "#include <sys/stat.h>", false},
        {"src/platform/PlatformFile.cpp", "#include <fcntl.h>", true},
        {"tools/krx640-sim/SimPipeEndpoint.cpp", "#include <poll.h>", true},
        {"tools/skingen/Main.cpp", "#include <unistd.h>", false},
        {"installer/Main.cpp", "#include <sys/stat.h>", false},
        {"src/core/XFile.cpp", "// #include \"gui/XView.h\"", true},
        {"src/core/XFile.cpp", "int include = 0;", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IncludeFault(c.from, c.line, exists).empty(), c.allowed) << c.from << ": " << c.line;
}

TEST(IncludeLayering, NoFileIncludesAHeaderOfALayerAboveItsOwn)
{
    const fs::path root(KRX_SOURCE_DIR);
    const auto exists = [&root](const std::string& path) { return fs::is_regular_file(root / path); };
    std::vector<std::string> faults;
    size_t filesRead = 0;
    for (const char* top : {"src", "tools", "installer"})
    {
        if (!fs::is_directory(root / top))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / top))
        {
            if (!entry.is_regular_file() || !IsSourceFile(entry.path()))
                continue;
            const std::string from = entry.path().lexically_relative(root).generic_string();
            std::ifstream file(entry.path());
            ASSERT_TRUE(file) << from;
            ++filesRead;
            std::string line;
            for (int number = 1; std::getline(file, line); ++number)
            {
                const std::string fault = IncludeFault(from, line, exists);
                if (!fault.empty())
                    faults.push_back(from + ":" + std::to_string(number) + ": " + line + "  (" + fault + ")");
            }
        }
    }
    EXPECT_GT(filesRead, 100u) << "the tree was not found at " << root;
    std::ostringstream report;
    for (const std::string& fault : faults)
        report << "\n  " << fault;
    EXPECT_TRUE(faults.empty()) << faults.size() << " include(s) against the layering:" << report.str();
}
