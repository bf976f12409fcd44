#pragma once

#include "core/LongToPtrMap.h"
#include "core/StringToPtrMap.h"
#include "core/XHandler.h"
#include "core/XParamDesc.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace juce
{
class XmlElement;
}

class GenericObjectArray;
class XMessage;
class XParam;

/** A row of the descriptor tables that carry a text callback per row (XParamGroup::AddParamList);
    a row with an empty name ends the table. */
struct XParamDescWithText
{
    XParamDesc desc;
    ParamTextCallback textCallback = nullptr;
    int32_t textUser = 0;
};

/** A named set of parameters, mostly built from a descriptor table: it creates each parameter by
    type code (CreateParam), registers it at "<prefix>\<name>" in the path registry, finds it by id,
    name or position, reports the ones changed since a tick (CollectChangedSince), lets a handler
    watch them, and writes and reads all their values as a binary block inside a message or as XML
    "param" elements. Transient parameters (flag 0x1) are never written.

    Order: parameters keep the order in which they were added; that order is the order of
    positions, of the changed-since report and of both written forms.

    Ownership: the group deletes the parameters added as owned (everything that the tables create)
    when it is destroyed; their destruction unregisters them and tells their watchers kParamDestroyed.

    Threads: a group is filled on one thread at start-up and its lists do not change afterwards;
    from then on any thread may look parameters up and collect changes while others change values.
    Filling a group while another thread reads it is not allowed. */
class XParamGroup : public XHandler
{
public:
    /** Id of a parameter that has none in the group. */
    static constexpr int32_t kNoId = -1;
    /** Flag bits of the message form: either enables writing and reading it; bit 0x2 also writes
        each parameter's name and range. */
    static constexpr int32_t kMessageFormFlags = 0x6;
    /** The flag of ResetToDefaults. */
    static constexpr int32_t kResetFlag = 0x4;

    /** One entry of the group. */
    struct ParamRec
    {
        XParam* param = nullptr;
        int32_t id = kNoId;
        std::unique_ptr<XParam> owned; // set when the group deletes the parameter
    };

    /** An empty group; its name (null: empty) is the path prefix that the owner usually gives
        AddParams. */
    explicit XParamGroup(const char* name = nullptr);
    ~XParamGroup() override;

    /** The text under which the group is entered in another group (AddGroup); empty at first. */
    XString GetKey() const { return key; }
    void SetKey(const char* text) { key = text; }

    // Filling ------------------------------------------------------------------------------------------

    /** Appends the parameter (null is ignored); unless id is kNoId it becomes the parameter of that
        id, replacing an earlier one in the id look-up. owned: the group deletes it. */
    virtual void AddParam(XParam* param, int32_t id, bool owned);
    /** Enters a group under its key; null groups and empty keys are ignored. Not owned. */
    virtual void AddGroup(XParamGroup* group);
    /** AddParamFromDesc for every row, then the row's text callback on the new parameter. Paths
        are registered when prefix is not empty. */
    virtual void AddParamList(const XParamDescWithText* rows, const char* prefix);
    /** Creates a parameter for every record up to the first with an empty name, with the record's
        id, owned, registered at prefix + "\" + name when prefix is not empty. A name with a
        bracketed count ("Band[3]") makes that many parameters, the count replaced by 1, 2, ...
        ("Band1", "Band2", "Band3") with ids id, id + 1, ... */
    virtual void AddParams(const XParamDesc* table, const char* prefix);
    /** The parameter class of a descriptor's type: 1000 TimeParam, 1001 StringParam, 1002
        XProxyParam (which takes nothing from the descriptor), any other FloatParam. Null for a
        null descriptor. */
    virtual std::unique_ptr<XParam> CreateParam(const XParamDesc* desc);
    /** Creates the parameter of a record and adds it with the record's id, owned; with
        registerPath also registers it at prefix + "\" + name (prefix + name when the prefix is
        empty). Null, and nothing added, for a null record or an empty name. */
    XParam* AddParamFromDesc(const XParamDesc* desc, const char* prefix, bool registerPath);

    // Look-up --------------------------------------------------------------------------------------------

    XParam* GetParam(int32_t id) const;
    /** A sub-group entered with AddGroup; null when none. */
    XParamGroup* GetGroup(const char* groupKey) const;
    int32_t CountParams() const;
    /** Null out of range. */
    XParam* GetParamAt(int32_t index) const;
    /** The parameter at index and its id (kNoId when it has none); null and kNoId out of range. */
    XParam* GetParamAndIdAt(int32_t index, int32_t* id) const;
    /** The first parameter, in group order, whose name or full path equals text ignoring case; null
        for none or an empty text. */
    XParam* FindParamByName(const char* text) const;

    // Changes and watching ---------------------------------------------------------------------------

    /** Empties out unless append, then appends, in group order, every parameter stamped at or after
        tick (and not after now): see StampedSince. */
    void CollectChangedSince(GenericObjectArray& out, uint32_t tick, bool append) const;
    /** Whether a change stamp lies in since..now, now being the current tick: ticks compare across
        the wrap of the tick count; a stamp of 0 means "never changed", and a since after now has
        nothing after it. */
    static bool StampedSince(uint32_t stamp, uint32_t since, uint32_t now);
    /** handler watches (key, told at once) each parameter whose id is listed (the list ends with
        -1); a null list means every parameter that has an id, in ascending id order. */
    void WatchParams(const int32_t* ids, XHandler* handler, int32_t key);
    /** With kResetFlag, ResetToDefault on every parameter in group order; otherwise nothing. */
    void ResetToDefaults(int32_t flags);

    // Written forms --------------------------------------------------------------------------------------

    /** WriteToMessage for the listed ids only (in list order, ending with -1; ids the group lacks
        and transient parameters are left out); a null list writes all. */
    virtual void WriteSelectedToMessage(XMessage* message, int32_t flags, const int32_t* ids);
    /** With flags & kMessageFormFlags: int32 "version" 0 and the raw item "serialMem": int32
        record count, then per non-transient parameter a marker byte and its id (0) or, for one
        without an id, its full path (1, 16-bit length), then XParam::WriteTo(flags). Parameters
        without id or path are left out (nothing could find them again). */
    virtual void WriteToMessage(XMessage* message, int32_t flags);
    /** With flags & kMessageFormFlags, applies (notifying kParamValueSet) the values of a "serialMem"
        block, or else of the nested "param" messages ("pid" or "path", then "value"). Reading
        stops at a record whose parameter is missing or transient (its value could not be
        skipped), at a malformed record and at the end of the block; nested messages skip
        transient parameters and stop at an unknown one. */
    virtual void ReadFromMessage(const XMessage* message, int32_t flags);
    /** Applies every child "param" element whose "pid" names a parameter of the group: "valstr"
        for text parameters, the integer "val" for types 1 and 2, the double "val" otherwise, each
        notifying. Elements without "pid" or without their value attribute are skipped. */
    virtual void ReadXml(const juce::XmlElement& element);
    /** Appends a child "param" element per non-transient parameter that has a descriptor, with the
        attributes "name" (descriptor name), "pid", then "valstr" (text parameters) or "val", "min",
        "max" (integers for types 1 and 2, else doubles). */
    virtual void WriteXml(juce::XmlElement& element);

private:
    void WriteRecords(XMessage* message, int32_t flags, const std::vector<const ParamRec*>& records);
    void ReadBlock(const void* data, int32_t size);
    void ReadNestedMessages(const XMessage* message);

    XString key;
    std::vector<ParamRec> params;
    LongToPtrMap<XParam> byId;             // not owning
    StringToPtrMap<XParamGroup> subGroups; // not owning
};
