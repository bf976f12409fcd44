#include "platform/PlatformRegistry.h"

#include "platform/PlatformSystemInfo.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <utility>
#include <vector>

namespace
{
const char* const kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE",
                                  "HKEY_USERS",        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                                  "HKEY_DYN_DATA"};
constexpr uint32_t kFirstRootKey = 0x80000000u;
constexpr uint32_t kRootKeyCount = 7;

struct Value
{
    bool isDword = true;
    uint32_t dword = 0;
    std::string text;
};

struct Key
{
    std::string displayPath;             // as first written
    std::map<std::string, Value> values; // by value name, as written (value names are exact)
    /** Lines of the file under this key that could not be read, written back as they stood. */
    std::vector<std::string> keptLines;
};

constexpr const char* kDwordPrefix = "dword:";
constexpr uint64_t kDwordLimit = 0xFFFFFFFFull;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

/** The line without the blanks at its ends. */
std::string Trimmed(const std::string& line)
{
    size_t begin = 0;
    size_t end = line.size();
    while (begin < end && IsBlank(line[begin]))
        ++begin;
    while (end > begin && IsBlank(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

/** The hexadecimal digits of text (at least one) as a 32-bit value; false for any other character
    or a value that needs more than 32 bits. */
bool ReadHexDword(const std::string& text, uint32_t& value)
{
    if (text.empty())
        return false;
    uint64_t wide = 0;
    for (char c : text)
    {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        wide = wide * 16 + static_cast<uint64_t>(digit);
        if (wide > kDwordLimit)
            return false;
    }
    value = static_cast<uint32_t>(wide);
    return true;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

/** Root name and sub-key, with separators tidied: no leading, trailing or doubled backslashes. */
std::string JoinPath(uint32_t rootKey, const std::string& subKey)
{
    std::string path = kRootNames[rootKey - kFirstRootKey];
    std::string component;
    auto flush = [&]
    {
        if (!component.empty())
            path += "\\" + component;
        component.clear();
    };
    for (char c : subKey)
    {
        if (c == '\\' || c == '/')
            flush();
        else
            component += c;
    }
    flush();
    return path;
}

bool IsKnownRoot(uint32_t rootKey)
{
    return rootKey >= kFirstRootKey && rootKey < kFirstRootKey + kRootKeyCount;
}

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text)
    {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n')
        {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out;
}

/** Reads a quoted, escaped text starting at line[pos] == '"'; pos ends after the closing quote. */
bool ReadQuoted(const std::string& line, size_t& pos, std::string& out)
{
    if (pos >= line.size() || line[pos] != '"')
        return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos)
    {
        const char c = line[pos];
        if (c == '"')
        {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < line.size())
        {
            ++pos;
            out += line[pos] == 'n' ? '\n' : line[pos];
            continue;
        }
        out += c;
    }
    return false;
}

/** One value line ("name"=dword:hex or "name"="text", blanks at the ends trimmed); false when the
    line is not one. */
bool ReadValueLine(const std::string& line, std::string& name, Value& value)
{
    size_t pos = 0;
    if (!ReadQuoted(line, pos, name) || pos >= line.size() || line[pos] != '=')
        return false;
    ++pos;
    if (line.compare(pos, std::char_traits<char>::length(kDwordPrefix), kDwordPrefix) == 0)
    {
        value.isDword = true;
        return ReadHexDword(line.substr(pos + std::char_traits<char>::length(kDwordPrefix)), value.dword);
    }
    value.isDword = false;
    return ReadQuoted(line, pos, value.text) && pos == line.size();
}

class Store
{
public:
    std::mutex lock;                 // guards every field
    std::map<std::string, Key> keys; // by lower-cased full path
    /** Lines before the first key that could not be read, written back first. */
    std::vector<std::string> keptLines;
    std::string filePath;

    Key* Find(const std::string& fullPath)
    {
        auto found = keys.find(Lower(fullPath));
        return found == keys.end() ? nullptr : &found->second;
    }

    Key& Create(const std::string& fullPath)
    {
        // Parents exist too, as in a real key tree.
        size_t cut = fullPath.find('\\');
        while (cut != std::string::npos)
        {
            const std::string parent = fullPath.substr(0, cut);
            auto& key = keys[Lower(parent)];
            if (key.displayPath.empty())
                key.displayPath = parent;
            cut = fullPath.find('\\', cut + 1);
        }
        auto& key = keys[Lower(fullPath)];
        if (key.displayPath.empty())
            key.displayPath = fullPath;
        return key;
    }

    /** Reads the file; every line that cannot be read is kept where it stood (see keptLines) and
        described in unreadable. */
    void Load(std::vector<std::string>& unreadable)
    {
        keys.clear();
        keptLines.clear();
        std::ifstream in(filePath);
        std::string line;
        Key* current = nullptr;
        for (int number = 1; std::getline(in, line); ++number)
        {
            const std::string raw = line; // kept lines are written back byte for byte
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const std::string text = Trimmed(line);
            if (text.empty())
                continue;
            if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
            {
                current = &Create(text.substr(1, text.size() - 2));
                continue;
            }
            std::string name;
            Value value;
            if (current != nullptr && ReadValueLine(text, name, value))
            {
                current->values[name] = value;
                continue;
            }
            (current != nullptr ? current->keptLines : keptLines).push_back(raw);
            unreadable.push_back("line " + std::to_string(number) + ": " + line);
        }
    }

    bool Save()
    {
        if (filePath.empty())
            return true;
        std::ostringstream out;
        for (const std::string& kept : keptLines)
            out << kept << '\n';
        for (const auto& [lowered, key] : keys)
        {
            out << '[' << key.displayPath << "]\n";
            for (const auto& [name, value] : key.values)
            {
                char dword[16];
                std::snprintf(dword, sizeof dword, "%08x", value.dword);
                out << '"' << Escape(name) << "\"="
                    << (value.isDword ? std::string("dword:") + dword : '"' + Escape(value.text) + '"')
                    << '\n';
            }
            for (const std::string& kept : key.keptLines)
                out << kept << '\n';
        }
        const std::string temporary = filePath + ".tmp";
        {
            std::ofstream file(temporary, std::ios::trunc);
            file << out.str();
            if (!file.flush())
                return false;
        }
        return std::rename(temporary.c_str(), filePath.c_str()) == 0;
    }
};

Store& TheStore()
{
    static Store store;
    return store;
}

} // namespace

bool PlatformRegistry::Open(const std::string& makerName, const std::string& applicationName,
                            std::vector<std::string>* unreadable)
{
    const std::string folder = PlatformSystemInfo::ConfigFolder() + "/" + makerName + "/" + applicationName;

    auto& store = TheStore();
    std::lock_guard<std::mutex> hold(store.lock);
    if (!PlatformSystemInfo::MakeFolders(folder))
    {
        store.filePath.clear();
        return false;
    }
    store.filePath = folder + "/registry.txt";
    std::vector<std::string> lines;
    store.Load(lines);
    if (unreadable != nullptr)
        *unreadable = std::move(lines);
    return true;
}

std::string PlatformRegistry::FilePath()
{
    auto& store = TheStore();
    std::lock_guard<std::mutex> hold(store.lock);
    return store.filePath;
}

bool PlatformRegistry::KeyExists(uint32_t rootKey, const std::string& subKey)
{
    if (!IsKnownRoot(rootKey))
        return false;
    auto& store = TheStore();
    std::lock_guard<std::mutex> hold(store.lock);
    return store.Find(JoinPath(rootKey, subKey)) != nullptr;
}

bool PlatformRegistry::CreateKey(uint32_t rootKey, const std::string& subKey)
{
    if (!IsKnownRoot(rootKey))
        return false;
    auto& store = TheStore();
    std::lock_guard<std::mutex> hold(store.lock);
    const std::string path = JoinPath(rootKey, subKey);
    if (store.Find(path) != nullptr)
        return true;
    store.Create(path);
    store.Save();
    return true;
}

bool PlatformRegistry::ReadDword(uint32_t rootKey, const std::string& subKey, const std::string& valueName,
                                 uint32_t& value)
{
    if (!IsKnownRoot(rootKey))
        return false;
    auto& store = TheStore();
    std::lock_guard<std::mutex> hold(store.lock);
    const Key* key = store.Find(JoinPath(rootKey, subKey));
    if (key == nullptr)
        return false;
    auto found = key->values.find(valueName);
    if (found == key->values.end() || !found->second.isDword)
        return false;
    value = found->second.dword;
    return true;
}

bool PlatformRegistry::ReadString(uint32_t rootKey, const std::string& subKey, const std::string& valueName,
                                  std::string& text)
{
    if (!IsKnownRoot(rootKey))
        return false;
    auto& store = TheStore();
    std::lock_guard<std::mutex> hold(store.lock);
    const Key* key = store.Find(JoinPath(rootKey, subKey));
    if (key == nullptr)
        return false;
    auto found = key->values.find(valueName);
    if (found == key->values.end() || found->second.isDword)
        return false;
    text = found->second.text;
    return true;
}

bool PlatformRegistry::WriteDword(uint32_t rootKey, const std::string& subKey, const std::string& valueName,
                                  uint32_t value)
{
    if (!IsKnownRoot(rootKey))
        return false;
    auto& store = TheStore();
    std::lock_guard<std::mutex> hold(store.lock);
    auto& stored = store.Create(JoinPath(rootKey, subKey)).values[valueName];
    stored = Value{true, value, {}};
    return store.Save();
}

bool PlatformRegistry::WriteString(uint32_t rootKey, const std::string& subKey, const std::string& valueName,
                                   const std::string& text)
{
    if (!IsKnownRoot(rootKey))
        return false;
    auto& store = TheStore();
    std::lock_guard<std::mutex> hold(store.lock);
    auto& stored = store.Create(JoinPath(rootKey, subKey)).values[valueName];
    stored = Value{false, 0, text};
    return store.Save();
}

void PlatformRegistry::Reset()
{
    auto& store = TheStore();
    std::lock_guard<std::mutex> hold(store.lock);
    store.keys.clear();
    store.keptLines.clear();
    store.filePath.clear();
}
