#include "files/FileTexts.h"

#include <cstring>
#include <initializer_list>

namespace
{
constexpr int kMaxNameLength = 255;
constexpr char kBadNameCharacters[] = "\\/:*?\"<>|";
constexpr double kUnitStep = 1024.0;
constexpr int32_t kHoursPerHalfDay = 12;

struct Month
{
    const char* name;
    int32_t days;
};
constexpr Month kMonths[] = {{"Jan", 31}, {"Feb", 28}, {"Mar", 31}, {"Apr", 30}, {"May", 31}, {"Jun", 30},
                             {"Jul", 31}, {"Aug", 31}, {"Sep", 30}, {"Oct", 31}, {"Nov", 30}, {"Dec", 31}};
constexpr int32_t kMonthCount = static_cast<int32_t>(sizeof(kMonths) / sizeof(kMonths[0]));
} // namespace

int32_t ValidateFileName(const char* name)
{
    if (name == nullptr || *name == 0)
        return kFileNameEmpty;
    if (std::strlen(name) > kMaxNameLength)
        return kFileNameTooLong;
    for (const char* c = name; *c != 0; ++c)
        if (std::strchr(kBadNameCharacters, *c) != nullptr)
            return kFileNameBadCharacter;
    return kFileNameValid;
}

XString FormatFileSize(double size)
{
    double value = size;
    const char* unit = "";
    if (size > 0)
    {
        unit = "KB";
        value = size / kUnitStep;
        for (const char* larger : {"MB", "GB"})
        {
            if (value < kUnitStep)
                break;
            unit = larger;
            value /= kUnitStep;
        }
    }
    XString text;
    text.Format("%.2f %s", value, unit);
    return text;
}

const char* GetMonthName(int32_t monthIndex, int32_t& dayCount)
{
    const Month& month =
        monthIndex >= 0 && monthIndex < kMonthCount ? kMonths[monthIndex] : kMonths[kMonthCount - 1];
    dayCount = month.days;
    return month.name;
}

XString FormatListingDate(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute)
{
    int32_t days = 0;
    const bool afternoon = hour >= kHoursPerHalfDay;
    int32_t clockHour = hour % kHoursPerHalfDay;
    if (clockHour == 0)
        clockHour = kHoursPerHalfDay;
    XString text;
    text.Format("%s %02d, %d %02d:%02d %s", GetMonthName(month - 1, days), day, year, clockHour, minute,
                afternoon ? "PM" : "AM");
    return text;
}

XString GetFolderAbove(const XString& path)
{
    const XString trimmed = path.ReplaceCharCopy('/', '\\').TrimRight('\\');
    const int slash = trimmed.FindLast("\\");
    if (slash > 0)
        return trimmed.Left(slash);
    // Right below the root, or the root itself; a bare name has no folder above.
    return path.CharAt(0) == '\\' || path.CharAt(0) == '/' ? XString("\\") : XString();
}
