#pragma once

#include "core/XString.h"

#include <cstdint>
#include <functional>
#include <vector>

class StringToStringMap;

/** The text stages of a window-description build, before its blocks run: tab removal, includes
    ("addfile"), macros, line-wise block comments, variables and the replacement of bracketed macro
    arguments. Pure functions of their inputs; the caller (XViewBuilder) keeps the macro arguments
    and variables of one build.

    Lines end with LF or CR LF on input; every line that a stage writes ends with CR LF. */
class DescriptionText final
{
public:
    /** Reads the text of a skin-relative file; false (and an empty text) when it is missing. */
    using TextReader = std::function<bool(const XString& name, XString& text)>;

    /** Where a line of a preprocessed text comes from: the file and its line there (from 1). */
    struct LineOrigin
    {
        XString file;
        int32_t line = 0;
    };
    /** The origin of every line of a preprocessed text, in order. */
    using LineOrigins = std::vector<LineOrigin>;

    /** Inserted files nested deeper than this are left out (a file that includes itself). */
    static constexpr int32_t kMaxIncludeDepth = 16;

    static XString DeleteTabs(const XString& text);

    /** One preprocessing pass: tabs deleted; "addfile" lines replaced by the named file's text and
        "macro" lines record their arguments and insert their file, each inserted text with its
        bracketed macro arguments replaced and itself preprocessed; block-comment line runs (from a
        line that begins with slash-star to the next that begins with star-slash) dropped; every
        other line kept. depth counts the files being inserted around this text. fileName names the
        text in the log (a comment left open, a macro line with an unbalanced quote) and in origins,
        which receives the origin of every line of the result when it is given. */
    static XString Preprocess(const XString& text, const TextReader& reader,
                              StringToStringMap& macroArguments, int32_t depth = 0,
                              const XString& fileName = XString(), LineOrigins* origins = nullptr);

    /** Removes every "var:" line (prefix in any case) and stores name = value (name up to the first
        '=', value the rest) unless a variable is already named by the value text; true when
        anything was stored. origins, when given, loses the entries of the removed lines. */
    static bool CollectVariables(XString& text, StringToStringMap& variables, LineOrigins* origins = nullptr);
    /** Every line whose whole value (after its first ':') is a variable name gets the variable's
        value instead. */
    static XString RewriteVariables(const XString& text, const StringToStringMap& variables);
    /** Every "[name]" (within one line) whose name is a recorded macro argument becomes the
        argument's value; other bracketed names and all other text stay exactly as they were. */
    static XString ReplaceMacroArguments(const XString& text, const StringToStringMap& macroArguments);

    /** A line that the blocks skip: it begins with "comment" (any case) or "//". */
    static bool IsCommentLine(const XString& line);
    /** True when the line begins with prefix, ignoring case. */
    static bool StartsWithNoCase(const XString& line, const char* prefix);
    /** Logs a problem of a description with the file and line it is on. */
    static void LogAt(const LineOrigin& where, const XString& problem);

    DescriptionText() = delete;

private:
    /** Reads the file name and the name=value pairs of a "macro" line into macroArguments; the file
        name, or "" when the line names none. */
    static XString ReadMacroLine(const XString& line, StringToStringMap& macroArguments);
    /** The text of an inserted file with its macro arguments replaced and itself preprocessed. */
    static XString InsertFile(const XString& name, const TextReader& reader,
                              StringToStringMap& macroArguments, int32_t depth, LineOrigins* origins);
};
