#include "gui/DescriptionText.h"

#include "core/Log.h"
#include "core/StringToStringMap.h"

#include <string>
#include <utility>
#include <vector>

namespace
{
const char kLineEnd[] = "\r\n";
const char kMacroWord[] = "macro";

bool IsBlank(char c)
{
    return c == ' ';
}

bool IsWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

/** Calls visit with every line of text (without its line end) and its number (from 1). */
template <typename Visit> void ForEachLine(const XString& text, Visit visit)
{
    const unsigned length = static_cast<unsigned>(text.Length());
    unsigned pos = 0;
    for (int32_t number = 1; pos < length; ++number)
        visit(text.ReadLine(pos), number);
}

int CountChar(const XString& line, char wanted)
{
    int count = 0;
    for (const char* p = line.CStr(); *p != 0; ++p)
        count += *p == wanted ? 1 : 0;
    return count;
}

void AppendLine(std::string& out, const XString& line)
{
    out.append(line.CStr());
    out.append(kLineEnd);
}

XString ToXString(const std::string& text)
{
    return XString(text.c_str(), static_cast<int>(text.size()));
}

/** The fields of text separated by runs of blanks; a double-quoted run is part of its field. */
std::vector<std::string> SplitFields(const char* text)
{
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (const char* p = text; *p != 0; ++p)
    {
        if (*p == '"')
            quoted = !quoted;
        if (IsBlank(*p) && !quoted)
        {
            if (!field.empty())
                fields.push_back(field);
            field.clear();
            continue;
        }
        field.push_back(*p);
    }
    if (!field.empty())
        fields.push_back(field);
    return fields;
}

/** A word, a number or a double-quoted string; the quotes are not part of the value. */
std::string Unquote(const std::string& text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}
} // namespace

XString DescriptionText::DeleteTabs(const XString& text)
{
    if (text.FindChar('\t') < 0)
        return text;
    XString result = text;
    result.RemoveChar('\t');
    return result;
}

bool DescriptionText::StartsWithNoCase(const XString& line, const char* prefix)
{
    const int count = static_cast<int>(std::char_traits<char>::length(prefix));
    return line.Length() >= count && line.CompareNoCaseN(prefix, count) == 0;
}

bool DescriptionText::IsCommentLine(const XString& line)
{
    return StartsWithNoCase(line, "comment") || line.StartsWith("//");
}

XString DescriptionText::ReadMacroLine(const XString& line, StringToStringMap& macroArguments)
{
    const std::vector<std::string> fields = SplitFields(line.CStr() + sizeof(kMacroWord) - 1);
    if (fields.empty())
        return XString();
    for (size_t i = 1; i < fields.size(); ++i)
    {
        const size_t equals = fields[i].find('=');
        if (equals == std::string::npos || equals == 0)
            break;
        const std::string value = Unquote(fields[i].substr(equals + 1));
        macroArguments.Add(fields[i].substr(0, equals).c_str(), value.c_str());
    }
    const std::string fileName = Unquote(fields[0]);
    return XString(fileName.c_str());
}

void DescriptionText::LogAt(const LineOrigin& where, const XString& problem)
{
    LogFormatted(nullptr, "XViewBuilder: %s, line %d: %s", where.file.CStr(), where.line, problem.CStr());
}

XString DescriptionText::InsertFile(const XString& name, const TextReader& reader,
                                    StringToStringMap& macroArguments, int32_t depth, LineOrigins* origins)
{
    XString inserted;
    if (name.IsEmpty() || depth >= kMaxIncludeDepth || !reader(name, inserted))
        return XString();
    if (macroArguments.GetCount() > 0)
        inserted = ReplaceMacroArguments(inserted, macroArguments);
    return Preprocess(inserted, reader, macroArguments, depth + 1, name, origins);
}

XString DescriptionText::Preprocess(const XString& text, const TextReader& reader,
                                    StringToStringMap& macroArguments, int32_t depth, const XString& fileName,
                                    LineOrigins* origins)
{
    std::string out;
    int32_t commentStart = 0; // the line that opened the comment being skipped, 0 outside one
    ForEachLine(DeleteTabs(text),
                [&](const XString& line, int32_t number)
                {
                    if (commentStart != 0)
                    {
                        if (line.StartsWith("*/"))
                            commentStart = 0;
                        return;
                    }
                    if (StartsWithNoCase(line, "addfile") || StartsWithNoCase(line, kMacroWord))
                    {
                        int wordEnd = 0;
                        while (IsWordChar(line.CharAt(static_cast<unsigned>(wordEnd))))
                            ++wordEnd;
                        const bool isMacro = line.Left(wordEnd) == kMacroWord;
                        if (isMacro && CountChar(line, '"') % 2 != 0)
                            LogAt({fileName, number}, "the macro line has an unbalanced quote");
                        const XString insertedName =
                            isMacro ? ReadMacroLine(line, macroArguments) : line.After(":");
                        out.append(InsertFile(insertedName, reader, macroArguments, depth, origins).CStr());
                        return;
                    }
                    if (line.StartsWith("/*"))
                    {
                        commentStart = number;
                        return;
                    }
                    AppendLine(out, line);
                    if (origins != nullptr)
                        origins->push_back({fileName, number});
                });
    if (commentStart != 0)
        LogAt({fileName, commentStart}, "the comment is not closed: the rest of the file is left out");
    return ToXString(out);
}

bool DescriptionText::CollectVariables(XString& text, StringToStringMap& variables, LineOrigins* origins)
{
    bool stored = false;
    std::string out;
    LineOrigins kept;
    ForEachLine(text,
                [&](const XString& line, int32_t number)
                {
                    if (!StartsWithNoCase(line, "var:"))
                    {
                        AppendLine(out, line);
                        if (origins != nullptr && static_cast<size_t>(number) <= origins->size())
                            kept.push_back((*origins)[static_cast<size_t>(number - 1)]);
                        return;
                    }
                    const XString definition = line.From(4);
                    const int equals = definition.FindChar('=');
                    const XString name = equals < 0 ? definition : definition.Left(equals);
                    const XString value = equals < 0 ? XString() : definition.From(equals + 1);
                    if (name.IsEmpty() || variables.Find(value.CStr()) != nullptr)
                        return;
                    if (variables.Add(name.CStr(), value.CStr()))
                        stored = true;
                });
    text = ToXString(out);
    if (origins != nullptr)
        *origins = std::move(kept);
    return stored;
}

XString DescriptionText::RewriteVariables(const XString& text, const StringToStringMap& variables)
{
    std::string out;
    ForEachLine(text,
                [&](const XString& line, int32_t)
                {
                    const int colon = line.FindChar(':');
                    const char* value = colon < 0 ? nullptr : variables.Find(line.From(colon + 1).CStr());
                    if (value == nullptr)
                    {
                        AppendLine(out, line);
                        return;
                    }
                    out.append(line.CStr(), static_cast<size_t>(colon + 1));
                    out.append(value);
                    out.append(kLineEnd);
                });
    return ToXString(out);
}

XString DescriptionText::ReplaceMacroArguments(const XString& text, const StringToStringMap& macroArguments)
{
    const std::string source(text.CStr());
    std::string out;
    size_t pos = 0;
    while (pos < source.size())
    {
        const size_t open = source.find('[', pos);
        if (open == std::string::npos)
            break;
        // A name ends at the first ']' on its line; another '[' before it starts the name anew.
        const size_t close = source.find_first_of("[]\r\n", open + 1);
        if (close == std::string::npos || source[close] != ']')
        {
            const size_t next = close != std::string::npos && source[close] == '[' ? close : open + 1;
            out.append(source, pos, next - pos);
            pos = next;
            continue;
        }
        const std::string name = source.substr(open + 1, close - open - 1);
        const char* value = macroArguments.Find(name.c_str());
        out.append(source, pos, open - pos);
        if (value != nullptr)
            out.append(value);
        else
            out.append(source, open, close + 1 - open);
        pos = close + 1;
    }
    if (pos < source.size())
        out.append(source, pos, std::string::npos);
    return ToXString(out);
}
