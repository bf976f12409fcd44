#pragma once

#include "core/XString.h"
#include "files/XListRow.h"

#include <memory>

class XFileEntry;

/** A row that shows one file-system entry in five columns by identifier: 0 its icon (a skin image),
    1 its name as the application presents it, 2 its modification date, 3 its extension, 4 its
    creation date; "-- N/A --" in any other column and in every column of a row without an entry.
    The row keeps its own copy of the entry, which does not follow later changes of the original.
    Sorts by the column's text without regard to case. GUI thread. */
class XFileRow : public XListRow
{
public:
    enum Column : int32_t
    {
        kIconColumn = 0,
        kNameColumn = 1,
        kModifiedColumn = 2,
        kExtensionColumn = 3,
        kCreatedColumn = 4
    };
    static constexpr const char* kNotAvailable = "-- N/A --";

    /** Copies the entry; none gives a row without an entry. */
    XFileRow(const XFileEntry* entry, int32_t identifier);
    ~XFileRow() override;

    bool IsFolder() const;
    /** Whether the entry is still on the disk (XFileEntry::Exists); false without an entry. */
    bool Exists() const;
    /** The entry's path and name; "" without an entry. */
    XString GetPath() const;
    XString GetName() const;
    /** The skin image of the entry's kind: a drive's by its stored drive kind, then folders, then
        files by extension ("FileDialog\media.png" for sound files); "" without an entry. */
    XString GetIconName() const;

    void GetCellText(int32_t column, XString& out) const override;
    /** kCellImage for the icon column, kCellText for the others. */
    int32_t GetCellKind(int32_t column) const override;
    int16_t Compare(XListRow* other, int32_t column) override;
    const char* ClassNameText() const override { return "XFileRow"; }

private:
    std::unique_ptr<XFileEntry> entry;
};
