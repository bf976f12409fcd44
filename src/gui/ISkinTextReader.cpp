#include "gui/ISkinTextReader.h"

#include "core/XString.h"

namespace
{
/** The stand-in reader: the file itself, from disk. */
class PlainFileTextReader final : public ISkinTextReader
{
public:
    bool LoadTextFile(const XString& path, XString& text) override
    {
        text = XString();
        if (path.IsEmpty() || !text.LoadFromFile(path.CStr()))
            text = XString();
        return !text.IsEmpty();
    }
};

PlainFileTextReader plainFileReader;
ISkinTextReader* installedReader = nullptr;
} // namespace

ISkinTextReader& GetSkinTextReader()
{
    return installedReader != nullptr ? *installedReader : plainFileReader;
}

void SetSkinTextReader(ISkinTextReader* reader)
{
    installedReader = reader;
}
