#pragma once

#include "core/ILog.h"
#include "core/XFile.h"

/** A log kept in a text file. Fresh empties the file; otherwise lines are added at its end.
    A file that cannot be opened leaves a log whose writes do nothing. */
class XFileLog final : public ILog
{
public:
    XFileLog(const XString& path, bool fresh);
    ~XFileLog() override;

    XFile& GetFile() override { return file; }
    int32_t Close() override { return file.Close(); }
    bool CheckFile() override { return file.IsOpen(); }

private:
    XFile file;
};
