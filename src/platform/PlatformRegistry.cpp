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
};

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

class Store
{
public:
    std::mutex lock;                 // guards every field
    std::map<std::string, Key> keys; // by lower-cased full path
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

    void Load()
    {
        keys.clear();
        std::ifstream in(filePath);
        std::string line;
        Key* current = nullptr;
        while (std::getline(in, line))
        {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
            {
                current = &Create(line.substr(1, line.size() - 2));
                continue;
            }
            size_t pos = 0;
            std::string name;
            if (current == nullptr || !ReadQuoted(line, pos, name) || pos >= line.size() || line[pos] != '=')
                continue;
            ++pos;
            Value value;
            if (line.compare(pos, 6, "dword:") == 0)
            {
                value.dword = static_cast<uint32_t>(std::strtoul(line.c_str() + pos + 6, nullptr, 16));
            }
            else if (ReadQuoted(line, pos, value.text))
            {
                value.isDword = false;
            }
            else
            {
                continue;
            }
            current->values[name] = value;
        }
    }

    bool Save()
    {
        if (filePath.empty())
            return true;
        std::ostringstream out;
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

bool PlatformRegistry::Open(const std::string& makerName, const std::string& applicationName)
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
    store.Load();
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
    store.filePath.clear();
}
