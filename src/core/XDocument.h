#pragma once

#include "core/IAppDocument.h"
#include "core/XFile.h"
#include "core/XResult.h"
#include "core/XString.h"

#include <atomic>
#include <cstdint>

class XMemory;
class XMessage;

/** The framework's document: a file path, a modified flag, an identification header (file type,
    vendor, application and application version texts and a file version) and the reader of the
    framework's chunked binary file.

    A document file starts with the mark 'twdo' (int32 0x7477646F, little-endian), the header
    version, the file version and the four texts, followed by chunks (id 0..999, type, size, then
    the data): type 1 holds an int32 length and a flattened XMessage, any other type raw bytes.
    Header version 2 and above has 32-bit chunk ids and types, older files (and files without the
    mark, read in the older layout) 16-bit ones. Load hands every chunk to HandleMsgChunk or
    HandleRawChunk; subclasses give them meaning and write their own content in SaveAs and WriteTo
    (the base writes only the header).

    A truncated or damaged file ends the load quietly as complete; only a handler's non-zero result
    (or a failure to open or read the header) fails it. Lengths inside the file are never trusted
    beyond the chunk and the file that hold them. Exceptions thrown by a handler are logged and the
    load goes on.

    Threads: a document is used on one thread (the main thread), except SetModified and IsModified,
    which any thread may call (parameters mark the document from whatever thread changes them). */
class XDocument : public IAppDocument
{
public:
    /** 'twdo' as a little-endian int32: the bytes 6F 64 77 74. */
    static constexpr int32_t kHeaderMark = 0x7477646F;
    /** The header version WriteHeader writes; from this version on chunk heads are 32-bit. */
    static constexpr int32_t kHeaderVersion = 2;
    static constexpr int32_t kNoHeaderVersion = -1;
    static constexpr int32_t kMaxChunkId = 999;
    static constexpr int32_t kMessageChunkType = 1;
    /** The message chunk that carries the four identification texts. */
    static constexpr int32_t kVersionChunkId = 14;
    static constexpr int kMaxUntitledNumber = 10000;

    XDocument();
    /** Takes path as the document path without calling PathChanged. */
    explicit XDocument(const char* path);
    XDocument(const XDocument&) = delete;
    XDocument& operator=(const XDocument&) = delete;
    /** Saves nothing; an open file is closed. */
    ~XDocument() override;

    virtual XString GetFileExtension();
    /** The file-dialog filter text. */
    virtual XString GetFileFilter();
    /** The first "<folder><baseName>NN.<extension>" (NN from 01 to 10000) that names no file, else
        "<folder>Untitled.<extension>". An empty folder means the documents folder; an empty
        extension, or one starting with '.', the document's own; an empty base name "Project". */
    virtual XString MakeUntitledPath(const char* folder, const char* extension, const char* baseName);
    /** Reset, then SaveAs(path). */
    int32_t New(const char* path) override;
    virtual bool IsModified();
    /** SetPath(path), then Load. */
    int32_t Open(const char* path) override;
    /** Reads the document file at the path: header, then every chunk to the handlers. 0, the open
        failure (0x80000005, 0x80000006), 0x80000001 for an empty path, or a handler's result. */
    virtual int32_t Load();
    /** Reads the header from the document file (opening it at the path when it is not open) and
        leaves the stream behind it. 0 or the open failure. */
    virtual int32_t ReadHeader();
    /** Writes the header at the file's position (opening the existing file at the path for writing
        when it is not open). 0, the open failure, or 0x80000008 when a write fell short. */
    virtual int32_t WriteHeader(int fileVersion, const char* fileType, const char* vendorStr,
                                const char* appStr, const char* appVersion);
    /** Logs "XDocument: Resetting..." and sets the path to "". */
    void Reset() override;
    /** Records the path and clears the keep-path flag; 0. Subclasses write their content here. */
    int32_t SaveAs(const char* path) override;
    /** SaveAs of the path; 0x80000001 for an untitled document. */
    virtual int32_t Save();
    /** Writes the content to path, leaving the document path as it is; the base writes nothing. */
    virtual int32_t WriteTo(const char* path);
    /** Chunk 14 takes the four identification texts; others are logged as unknown. 0. */
    virtual int32_t HandleMsgChunk(int id, XMessage& message);
    /** Logs the chunk as unknown; 0. */
    virtual int32_t HandleRawChunk(int id, XMemory& data);
    /** Called after every SetPath. */
    virtual void PathChanged();
    virtual void SetPath(const char* path);
    /** Whether new documents of this kind start from a template; false here. */
    virtual bool UsesTemplates();
    /** Saves to path and keeps the document's own path untouched by the next save or load. */
    virtual int32_t ExportTo(const char* path);
    /** Loads path as an untitled document. */
    virtual int32_t ImportFrom(const char* path);

    XString GetPath() const override { return path; }
    /** Any thread. */
    void SetModified(bool modified) override { modifiedFlag.store(modified); }

    int32_t GetHeaderVersion() const { return headerVersion; }
    int32_t GetFileVersion() const { return fileVersion; }
    void SetFileVersion(int32_t version) { fileVersion = version; }
    const XString& GetFileType() const { return fileType; }
    const XString& GetVendorStr() const { return vendorStr; }
    const XString& GetAppStr() const { return appStr; }
    const XString& GetAppVersion() const { return appVersion; }
    /** Set by ReadHeader when the file had no header mark. */
    bool IsOldFormat() const { return oldFormat; }
    bool GetKeepPath() const { return keepPath; }
    void SetKeepPath(bool keep) { keepPath = keep; }
    /** The stream used for reading and writing. */
    XFile& GetFile() { return file; }

private:
    /** Reads one chunk head in the form of the header version; false at the end of the chunks. */
    bool ReadChunkHead(int32_t& id, int32_t& type, int32_t& size);
    /** Reads the next size bytes and hands them to the handler of type. Returns the handler's result,
        or 0 for a chunk that could not be used. */
    int32_t HandleChunk(int32_t id, int32_t type, int32_t size);
    /** The older layout: a chunk whose message holds "fileVersion" and the four texts. */
    void ReadOldHeader();
    void TakeHeaderTexts(const XMessage& message);

    int32_t headerVersion = kNoHeaderVersion;
    int32_t fileVersion = 0;
    XString fileType;
    XString vendorStr;
    XString appStr;
    XString appVersion;
    bool oldFormat = false;
    std::atomic<bool> modifiedFlag{false};
    XString path;
    bool keepPath = false;
    XFile file;
};
