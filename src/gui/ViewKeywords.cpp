#include "gui/ViewKeywords.h"

#include "core/StringToValueMap.h"
#include "core/XResult.h"

namespace
{
/** Keyword texts in id order; index 0 stands for kNone. */
const char* const kKeywordTexts[ViewKeywords::kKeywordCount + 1] = {
    "",
    "name",
    "frame",
    "framewh",
    "textrect",
    "geometry",
    "constraint",
    "label",
    "imagename",
    "location",
    "center",
    "hiliteforecolor",
    "hilitebackcolor",
    "forecolor",
    "backcolor",
    "textcolor",
    "textlitcolor",
    "effectcolor",
    "color1",
    "color2",
    "color3",
    "color4",
    "colorkey",
    "param",
    "basepath",
    "view",
    "pushparent",
    "popparent",
    "arraywidth",
    "arrayheight",
    "arraysize",
    "arrayBaseIndex",
    "scratchstr",
    "paramscratchstr",
    "commandname",
    "item",
    "menu",
    "createparam",
    "addtoview",
};

struct NamedConstant
{
    const char* name;
    int32_t value;
};

/** The constants present from start-up (added only where absent). */
const NamedConstant kStartupConstants[] = {
    {"PROPID_PROFILE_TOTAL_MICROS", 1},
    {"PROPID_PROFILE_TOTAL_MEASUREMENTS", 2},
    {"PROPID_PROFILE_AVG_MICROS", 3},
    {"PROPID_PROFILE_PEAK_MICROS", 4},
    {"PROPID_PROFILE_CPU_PERCENT", 5},
    {"PROPID_PROFILE_MICROS_PER_SAMPLE", 6},
    {"PROPID_PROFILE_FRAME_MICROS", 7},
    {"CPU_TOTAL_TIME", 1},
    {"CPU_USER_TIME", 2},
    {"CPU_KERNEL_TIME", 3},
    {"THREAD_PRIORITY", 4},
    {"THREAD_CTSW", 5},
};

/** The named-constant table, made on first use and kept for the life of the process. */
StringToValueMap<int32_t>*& ConstantTable()
{
    static StringToValueMap<int32_t>* table = new StringToValueMap<int32_t>();
    return table;
}
} // namespace

int32_t ViewKeywords::FindKeyword(const XString& keyword)
{
    for (int32_t id = kName; id <= kKeywordCount; ++id)
    {
        if (keyword == kKeywordTexts[id])
            return id;
    }
    return kNone;
}

const char* ViewKeywords::KeywordText(int32_t id)
{
    return id > kNone && id <= kKeywordCount ? kKeywordTexts[id] : "";
}

bool ViewKeywords::FindNamedConstant(const char* name, int32_t& value)
{
    if (name == nullptr || *name == 0)
        return false;
    const int32_t* found = ConstantTable()->Find(name);
    if (found == nullptr)
        return false;
    value = *found;
    return true;
}

int32_t ViewKeywords::CountNamedConstants()
{
    return ConstantTable()->GetCount();
}

void ViewKeywords::ResetNamedConstants()
{
    delete ConstantTable();
    ConstantTable() = new StringToValueMap<int32_t>();
}

int32_t RegisterNamedConstant(const char* name, int32_t value)
{
    int32_t existing = 0;
    if (name == nullptr || *name == 0 || ViewKeywords::FindNamedConstant(name, existing))
        return XResult::kFailed;
    ConstantTable()->Set(name, value);
    return ViewKeywords::kResultOk;
}

void RegisterViewKeywords()
{
    for (const NamedConstant& constant : kStartupConstants)
        RegisterNamedConstant(constant.name, constant.value);
}
