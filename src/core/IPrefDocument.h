#pragma once

#include <cstdint>

/** The system preferences document as the application sees it: the application owns it and saves
    it from its pulse and at quit (XApplication::SaveSystemPrefs). Called on the application's
    thread. */
class IPrefDocument
{
public:
    virtual ~IPrefDocument() = default;

    /** Writes the preferences; 0 or an error code (the application does not report failures). */
    virtual int32_t Save() = 0;
};
