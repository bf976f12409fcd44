#include "core/XFileLog.h"

XFileLog::XFileLog(const XString& path, bool fresh) : file(path)
{
    if (file.Open(fresh ? XFile::kReadWriteCreate : XFile::kReadWriteOpenAlways) == 0 && !fresh)
        file.Seek(0, 2); // back 0 from the end: append
}

XFileLog::~XFileLog()
{
    if (file.IsOpen())
        file.Close();
}
