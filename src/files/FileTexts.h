#pragma once

#include "core/XString.h"

#include <cstdint>

/** The texts of the file views: checking a file name, the folder above a path, sizes and dates as
    the lists show them. Pure functions, any thread. */

/** Results of ValidateFileName. */
enum FileNameCheck : int32_t
{
    kFileNameValid = 0,
    kFileNameEmpty = 1,
    /** 256 characters or more. */
    kFileNameTooLong = 2,
    /** One of \ / : * ? " < > | */
    kFileNameBadCharacter = 3
};
int32_t ValidateFileName(const char* name);

/** "%.2f %s" of the size in KB, MB or GB (the largest that leaves a value below 1024, KB at least);
    there is no byte unit: 500 gives "0.49 KB", and 0 gives "0.00 " without a unit. */
XString FormatFileSize(double size);

/** The month's three-letter English name ("Jan" for 0) and, in dayCount, its days in a common year;
    any index outside 0..11 gives "Dec" and 31. */
const char* GetMonthName(int32_t monthIndex, int32_t& dayCount);

/** A listing's date text of a local time on a 12-hour clock, month 1..12, hour 0..23:
    "Mar 05, 2010 03:07 PM"; noon is "12:00 PM" and midnight "12:00 AM". */
XString FormatListingDate(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute);

/** The path with its last component cut, trailing backslashes first: "\a\b\" gives "\a"; a folder
    right below the root gives "\", and "\" stays "\"; a bare name gives "". */
XString GetFolderAbove(const XString& path);
