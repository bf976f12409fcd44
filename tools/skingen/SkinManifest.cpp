#include "SkinManifest.h"

namespace
{
constexpr int kFieldCount = 6;
/** Longest number a field may hold, so that reading it cannot overflow. */
constexpr int kMaxDigits = 4;

/** A decimal number of at most kMaxDigits digits. */
bool IsSmallNumber(const juce::String& text)
{
    return text.isNotEmpty() && text.length() <= kMaxDigits && text.containsOnly("0123456789");
}
const char* const kEmptyField = "-";

/** The first count blank-separated fields of a line ("" for each one missing), and in rest what
    follows them, trimmed. */
juce::StringArray LeadingFields(const juce::String& line, int count, juce::String& rest)
{
    juce::StringArray fields;
    rest = line;
    for (int field = 0; field < count; ++field)
    {
        rest = rest.trimStart();
        const int end = rest.indexOfAnyOf(" \t");
        fields.add(end < 0 ? rest : rest.substring(0, end));
        rest = end < 0 ? juce::String() : rest.substring(end);
    }
    rest = rest.trim();
    return fields;
}

/** A skin-relative name the generator may write: lower-case, '/' folders, no empty, "." or ".."
    part, ending in ".png" or ".bmp". */
bool IsValidImageName(const juce::String& name)
{
    if (name.isEmpty() || name != name.toLowerCase() || name.containsChar('\\') || name.containsChar(':'))
        return false;
    if (!name.endsWith(".png") && !name.endsWith(".bmp"))
        return false;
    juce::StringArray parts;
    parts.addTokens(name, "/", "");
    for (const juce::String& part : parts)
    {
        if (part.isEmpty() || part == "." || part == "..")
            return false;
    }
    return true;
}

/** "WIDTHxHEIGHT" with both sides within 1 .. kMaxSide. */
bool ParseSize(const juce::String& text, int& width, int& height)
{
    const int cross = text.indexOfChar('x');
    if (cross < 0 || !IsSmallNumber(text.substring(0, cross)) || !IsSmallNumber(text.substring(cross + 1)))
        return false;
    width = text.substring(0, cross).getIntValue();
    height = text.substring(cross + 1).getIntValue();
    return width >= 1 && height >= 1 && width <= SkinManifest::kMaxSide && height <= SkinManifest::kMaxSide;
}
} // namespace

juce::String SkinImageRow::FrameName(int frame) const
{
    if (frames <= 1)
        return name;
    const int dot = name.lastIndexOfChar('.');
    return name.substring(0, dot) + juce::String(frame) + name.substring(dot);
}

juce::String SkinImageRow::Family() const
{
    return kind.upToFirstOccurrenceOf(".", false, false);
}

bool SkinImageRow::HasVariant(const juce::String& word) const
{
    juce::StringArray words;
    words.addTokens(kind, ".", "");
    words.remove(0);
    return words.contains(word);
}

bool SkinManifest::Parse(const juce::String& text)
{
    rows.clear();
    errors.clear();
    juce::StringArray lines;
    lines.addLines(text);
    // Whether a row line has been seen, and whether it was read (its captions then belong to it;
    // those of a bad row go with it).
    bool sawRow = false;
    bool captionsBelongToLastRow = false;
    for (int index = 0; index < lines.size(); ++index)
    {
        const juce::String lineText = lines[index].trim();
        if (lineText.isEmpty() || lineText.startsWithChar('#'))
            continue;
        if (lineText.initialSectionNotContaining(" \t") == kCaptionWord)
        {
            SkinCaption caption;
            if (!sawRow)
                errors.add("line " + juce::String(index + 1) +
                           ": a caption line needs an image row above it");
            else if (captionsBelongToLastRow &&
                     ParseCaption(lineText, index + 1, rows.getReference(rows.size() - 1), caption))
                rows.getReference(rows.size() - 1).captions.add(caption);
            continue;
        }
        sawRow = true;
        captionsBelongToLastRow = false;
        SkinImageRow row;
        if (!ParseRow(lineText, index + 1, row))
            continue;
        captionsBelongToLastRow = true;
        for (const SkinImageRow& earlier : rows)
        {
            // Sequences share their base name with their frames, so compare every file written.
            for (int frame = 0; frame < row.frames; ++frame)
            {
                for (int other = 0; other < earlier.frames; ++other)
                {
                    if (row.FrameName(frame) == earlier.FrameName(other))
                        errors.add("line " + juce::String(row.line) + ": " + row.FrameName(frame) +
                                   " is also written by line " + juce::String(earlier.line));
                }
            }
        }
        rows.add(row);
    }
    return errors.isEmpty();
}

bool SkinManifest::ParseRow(const juce::String& lineText, int lineNumber, SkinImageRow& row)
{
    const juce::String where = "line " + juce::String(lineNumber) + ": ";
    juce::String rest;
    const juce::StringArray fields = LeadingFields(lineText, kFieldCount, rest);
    if (fields.contains(""))
    {
        errors.add(where + "a row needs name, size, kind, accent, frames, alpha|opaque and a label or -");
        return false;
    }

    row.line = lineNumber;
    row.name = fields[0];
    row.kind = fields[2];
    row.accent = fields[3] == kEmptyField ? juce::String() : fields[3];
    if (!IsValidImageName(row.name))
        errors.add(where +
                   "the name must be lower case with '/' folders and end in .png or .bmp: " + row.name);
    else if (!ParseSize(fields[1], row.width, row.height))
        errors.add(where + "the size must be WIDTHxHEIGHT within 1.." + juce::String(kMaxSide) + ": " +
                   fields[1]);
    else if (!IsSmallNumber(fields[4]) || fields[4].getIntValue() < 1 || fields[4].getIntValue() > kMaxFrames)
        errors.add(where + "the frame count must be 1.." + juce::String(kMaxFrames) + ": " + fields[4]);
    else if (fields[5] != "alpha" && fields[5] != "opaque")
        errors.add(where + "the sixth field must be alpha or opaque: " + fields[5]);
    else if (rest.isEmpty() || (rest != kEmptyField &&
                                (rest.length() < 2 || !rest.startsWithChar('"') || !rest.endsWithChar('"'))))
        errors.add(where + "the label must be a double-quoted text or -: " + rest);
    else
    {
        row.frames = fields[4].getIntValue();
        row.alpha = fields[5] == "alpha";
        row.label = rest == kEmptyField ? juce::String() : rest.substring(1, rest.length() - 1);
        return true;
    }
    return false;
}

bool SkinManifest::ParseCaption(const juce::String& lineText, int lineNumber, const SkinImageRow& row,
                                SkinCaption& caption)
{
    const juce::String where = "line " + juce::String(lineNumber) + ": ";
    constexpr int kCaptionFields = 4; // the word, the place, the size and the colour
    juce::String rest;
    const juce::StringArray fields = LeadingFields(lineText, kCaptionFields, rest);
    if (fields.contains("") || rest.length() < 3 || !rest.startsWithChar('"') || !rest.endsWithChar('"'))
    {
        errors.add(where + "a caption needs a place X,Y or X,Y,W,H, a size or -, a colour or - and a "
                           "double-quoted text");
        return false;
    }
    juce::StringArray place;
    place.addTokens(fields[1], ",", "");
    bool numbers = place.size() == 2 || place.size() == 4;
    for (const juce::String& number : place)
        numbers = numbers && IsSmallNumber(number);
    if (!numbers)
    {
        errors.add(where + "the caption's place must be X,Y or X,Y,W,H: " + fields[1]);
        return false;
    }
    caption.line = lineNumber;
    caption.x = place[0].getIntValue();
    caption.y = place[1].getIntValue();
    if (place.size() == 4)
    {
        caption.width = place[2].getIntValue();
        caption.height = place[3].getIntValue();
    }
    const bool boxed = place.size() == 4;
    if (caption.x >= row.width || caption.y >= row.height ||
        (boxed && (caption.width < 1 || caption.height < 1 || caption.x + caption.width > row.width ||
                   caption.y + caption.height > row.height)))
    {
        errors.add(where + "the caption's place lies outside the " + juce::String(row.width) + "x" +
                   juce::String(row.height) + " picture: " + fields[1]);
        return false;
    }
    if (fields[2] != kEmptyField)
    {
        if (!IsSmallNumber(fields[2]) || fields[2].getIntValue() < 1 ||
            fields[2].getIntValue() > kMaxCaptionSize)
        {
            errors.add(where + "the caption's size must be 1.." + juce::String(kMaxCaptionSize) +
                       " or -: " + fields[2]);
            return false;
        }
        caption.size = fields[2].getIntValue();
    }
    caption.colour = fields[3] == kEmptyField ? juce::String() : fields[3];
    caption.text = rest.substring(1, rest.length() - 1);
    return true;
}
