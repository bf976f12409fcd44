#pragma once

#include "core/XString.h"

#include <cstdint>

/** What the application needs of a document to serve the open, save and new requests (kOpenDocument,
    kSaveDocument, kNewDocument) and to mark its current document modified after a parameter change: the
    framework's document class implements it. The application only borrows documents; whoever
    creates them owns them. Results are 0 or an error code such as 0x80000001. */
class IAppDocument
{
public:
    virtual ~IAppDocument() = default;

    /** Takes the path and loads the document from it. */
    virtual int32_t Open(const char* path) = 0;
    /** Takes the path and writes the document there. */
    virtual int32_t SaveAs(const char* path) = 0;
    /** Resets the document, then saves it as a new file at the path. */
    virtual int32_t New(const char* path) = 0;
    /** Empties the document; its path becomes "". */
    virtual void Reset() = 0;
    /** The document's file path; empty while untitled. */
    virtual XString GetPath() const = 0;
    /** Called from whatever thread changed a parameter: must be thread-safe. */
    virtual void SetModified(bool modified) = 0;
};
