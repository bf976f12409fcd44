#pragma once

class XString;

/** Reads whole skin text files (the font table, the colour file, window descriptions) by full path.
    The skin resource manager implements it (archive first, then disk) and installs itself with
    SetSkinTextReader at GUI start; until then a reader of plain files stands in.

    A missing, unreadable or empty file leaves the text empty: callers treat an empty text as
    "missing". The reader in use is set on the GUI thread before any skin text is read. */
class ISkinTextReader
{
public:
    virtual ~ISkinTextReader() = default;

    /** Fills text with the whole file at path (backslash-separated); true when the text is not
        empty. */
    virtual bool LoadTextFile(const XString& path, XString& text) = 0;
};

/** The reader that skin texts are read through. */
ISkinTextReader& GetSkinTextReader();

/** Installs a reader (not owned; it must live as long as it is installed); null restores the reader
    of plain files. */
void SetSkinTextReader(ISkinTextReader* reader);
