#pragma once

#include "core/XMutex.h"

#include <cstdint>

class XFile;

/** A log that lines are written to (WriteLogLine, Log.h). It carries the lock that keeps lines
    from several threads from interleaving; writers hold it for one whole line. */
class ILog
{
public:
    ILog() = default;
    ILog(const ILog&) = delete;
    ILog& operator=(const ILog&) = delete;
    virtual ~ILog() = default;

    /** The file the lines go to. */
    virtual XFile& GetFile() = 0;
    /** 0, or 0x80000001 when the file was not open. */
    virtual int32_t Close() = 0;
    /** Called after every line: whether the file is open. */
    virtual bool CheckFile() = 0;

    XMutex& GetLock() { return lock; }

private:
    XMutex lock;
};
