#include "device/PresetFileReader.h"

#include <cctype>
#include <juce_core/juce_core.h>
#include <string>

namespace
{
constexpr const char* kDocTypeMark = "<!DOCTYPE";
constexpr const char* kCommentOpen = "<!--";
constexpr const char* kCommentClose = "-->";
constexpr const char* kInstructionOpen = "<?";
constexpr const char* kInstructionClose = "?>";
constexpr const char* kCharacterDataOpen = "<![CDATA[";
constexpr const char* kCharacterDataClose = "]]>";

bool IsXmlBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool StartsAt(const std::string& text, size_t pos, const char* mark)
{
    return text.compare(pos, std::char_traits<char>::length(mark), mark) == 0;
}

/** True when a document type declaration ("<!DOCTYPE", any case) stands anywhere in the text. */
bool HasDocType(const std::string& text)
{
    const size_t markLength = std::char_traits<char>::length(kDocTypeMark);
    for (size_t pos = text.find('<'); pos != std::string::npos; pos = text.find('<', pos + 1))
    {
        size_t matched = 1;
        while (matched < markLength && pos + matched < text.size() &&
               std::toupper(static_cast<unsigned char>(text[pos + matched])) == kDocTypeMark[matched])
            ++matched;
        if (matched == markLength)
            return true;
    }
    return false;
}

/** Where the root element starts: after the blanks, the declaration, the comments and the processing
    instructions of the prolog. npos when one of them is not closed. */
size_t RootStart(const std::string& text)
{
    size_t pos = 0;
    for (;;)
    {
        while (pos < text.size() && IsXmlBlank(text[pos]))
            ++pos;
        const char* open = StartsAt(text, pos, kCommentOpen)       ? kCommentOpen
                           : StartsAt(text, pos, kInstructionOpen) ? kInstructionOpen
                                                                   : nullptr;
        if (open == nullptr)
            return pos;
        const char* close = open == kCommentOpen ? kCommentClose : kInstructionClose;
        const size_t end = text.find(close, pos + std::char_traits<char>::length(open));
        if (end == std::string::npos)
            return std::string::npos;
        pos = end + std::char_traits<char>::length(close);
    }
}

/** True when a processing instruction stands at or after from, outside comments and character data
    (an unclosed one of those ends the search: the XML reader refuses it). */
bool HasInstructionAfter(const std::string& text, size_t from)
{
    for (size_t pos = text.find('<', from); pos != std::string::npos; pos = text.find('<', pos + 1))
    {
        const char* open = StartsAt(text, pos, kCommentOpen)         ? kCommentOpen
                           : StartsAt(text, pos, kCharacterDataOpen) ? kCharacterDataOpen
                                                                     : nullptr;
        if (open != nullptr)
        {
            const char* close = open == kCommentOpen ? kCommentClose : kCharacterDataClose;
            const size_t end = text.find(close, pos + std::char_traits<char>::length(open));
            if (end == std::string::npos)
                return false;
            pos = end;
            continue;
        }
        if (StartsAt(text, pos, kInstructionOpen))
            return true;
    }
    return false;
}

/** The name of the element whose start tag begins at pos, as JUCE's reader takes it; empty when no
    start tag begins there. */
std::string TagAt(const std::string& text, size_t pos)
{
    if (pos >= text.size() || text[pos] != '<')
        return std::string();
    size_t end = pos + 1;
    while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) != 0 ||
                                 static_cast<unsigned char>(text[end]) >= 0x80 || text[end] == '_' ||
                                 text[end] == '-' || text[end] == ':' || text[end] == '.'))
        ++end;
    return text.substr(pos + 1, end - pos - 1);
}

/** True when the text closes the root element as its last markup: "</tag>" (blanks allowed before
    the '>'), or "/>" when the root's start tag is all there is; blanks and comments may follow. */
bool ClosesRoot(const std::string& text, size_t rootStart, const std::string& tag)
{
    size_t end = text.size();
    for (;;)
    {
        while (end > rootStart && IsXmlBlank(text[end - 1]))
            --end;
        const size_t closeLength = std::char_traits<char>::length(kCommentClose);
        if (end < rootStart + closeLength || text.compare(end - closeLength, closeLength, kCommentClose) != 0)
            break;
        const size_t open = text.rfind(kCommentOpen, end - closeLength);
        if (open == std::string::npos || open <= rootStart)
            return false;
        end = open;
    }
    if (end <= rootStart || text[end - 1] != '>')
        return false;
    if (text[end - 2] == '/' && text.find('<', rootStart + 1) >= end)
        return true;
    size_t close = end - 1;
    while (close > rootStart && IsXmlBlank(text[close - 1]))
        --close;
    const std::string endTag = "</" + tag;
    return close >= rootStart + endTag.size() &&
           text.compare(close - endTag.size(), endTag.size(), endTag) == 0;
}
} // namespace

std::unique_ptr<juce::XmlElement> PresetFileReader::Read(const juce::File& file)
{
    if (!file.existsAsFile())
        return nullptr;
    juce::FileInputStream in(file);
    if (!in.openedOk())
        return nullptr;
    juce::MemoryBlock bytes;
    in.readIntoMemoryBlock(bytes, static_cast<ssize_t>(kMaxFileBytes + 1));
    if (static_cast<int64_t>(bytes.getSize()) > kMaxFileBytes)
        return nullptr;
    return Parse(juce::String::createStringFromData(bytes.getData(), static_cast<int>(bytes.getSize())));
}

std::unique_ptr<juce::XmlElement> PresetFileReader::Parse(const juce::String& text)
{
    const std::string utf8 = text.toStdString();
    // A document type's entity definitions are not to be expanded.
    if (HasDocType(utf8))
        return nullptr;
    const size_t rootStart = RootStart(utf8);
    if (rootStart == std::string::npos || HasInstructionAfter(utf8, rootStart))
        return nullptr;
    // JUCE's reader takes a text cut inside the root's start tag or inside an end tag for a whole one.
    const std::string tag = TagAt(utf8, rootStart);
    if (tag.empty() || !ClosesRoot(utf8, rootStart, tag))
        return nullptr;
    std::unique_ptr<juce::XmlElement> root = juce::XmlDocument(text).getDocumentElement();
    if (root == nullptr || root->getTagName().toStdString() != tag)
        return nullptr;
    return root;
}
