// Whole-file load and save of XString, kept apart from the string code because it needs XFile.
#include "core/XFile.h"
#include "core/XString.h"

#include <limits>

bool XString::LoadFromFile(const char* path)
{
    XFile file(path);
    if (file.Open(XFile::kRead) != 0)
    {
        *this = XString();
        return false;
    }
    const int64_t size = file.GetSize();
    if (size == 0)
        return false;
    // The text needs size + 1 characters and its zero within an int.
    if (size >= std::numeric_limits<int>::max() - 1)
    {
        *this = XString();
        return false;
    }
    const int count = static_cast<int>(size);
    Reserve(count + 1);
    char* text = GetBuffer();
    const int got = file.Read(text, count);
    text[got > 0 ? got : 0] = 0;
    return got > 0;
}

bool XString::SaveToFile(const char* path) const
{
    const int length = Length();
    if (length == 0)
        return false;
    XFile file(path);
    if (file.Open(XFile::kReadWriteCreate) != 0)
        return false;
    const bool written = file.Write(CStr(), length) == length;
    return file.Close() == 0 && written;
}
