#pragma once

#include "core/IPrefDocument.h"
#include "core/XHandler.h"
#include "core/XPoint.h"
#include "core/XRGB.h"
#include "core/XRect.h"
#include "core/XResult.h"
#include "core/XString.h"

#include <atomic>
#include <cstdint>
#include <vector>

class XParam;
class XParamGroup;

/** One entry of the preferences' OTHER section: a kind letter, a name and the value of that kind. */
struct CustomPrefNode
{
    static constexpr char kInt = 'c';
    static constexpr char kText = 'd';
    static constexpr char kBool = 'm';
    static constexpr char kRect = 'n';
    static constexpr char kPoint = 'o';
    static constexpr char kColour = 'p';
    static constexpr char kReal = 'q';

    char kind = kInt;
    XString name;
    int32_t intValue = 0;
    XString text;
    bool flag = false;
    XRect rect;
    XPoint point;
    XRGB colour;
    double real = 0.0;
};

/** The system preferences document: the preference parameters (flag 0x20) of the groups added to it,
    watched so that a change marks the document and the application's preferences dirty, and the
    text file they are written to: a [VERSION] line, a [PARAMS] section of "path"=value lines and,
    when there are custom entries, an [OTHER] section, every line ended by CR LF.

    The application owns it (XApplication::SetPrefDocument) and saves it from its pulse and at quit.
    Nothing in the program sets a file path, so Save always answers 0x80000001 and no preferences
    file is written; nothing reads one either. Keep it so unless a reader is added.

    Threads: filled and saved on the application's thread; change notices arrive on whatever thread
    changed a parameter. The parameter list is guarded by the parameter lock (GetParamLock); a
    destroyed parameter leaves the list. */
class XPrefDoc final : public XHandler, public IPrefDocument
{
public:
    /** The key under which the document watches its parameters. */
    static constexpr int32_t kWatchKey = 1234;
    static constexpr int32_t kFormatVersion = 2;

    XPrefDoc();
    /** Saves nothing; the parameters stay with their groups. */
    ~XPrefDoc() override;

    /** Lists and watches every parameter of the group with flag 0x20 whose value kind is not proxy;
        a group added twice lists its parameters twice. Null does nothing. */
    void AddGroup(XParamGroup* group);
    /** kParamValueSet and kParamChangedByUser of a listed kind of parameter under kWatchKey mark the document
       and the application's preferences dirty; kParamDestroyed drops the parameter from the list. */
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

    /** 0x80000001 without a path or when the file cannot be written; else writes the whole file,
        clears the dirty mark and answers 0. */
    int32_t Save() override;

    /** The text Save writes. */
    XString BuildFileText() const;

    void AddCustomEntry(const CustomPrefNode& entry) { customEntries.push_back(entry); }
    /** The file Save writes; empty (the default) means no file. */
    void SetPath(const char* path) { filePath = path; }
    const XString& GetPath() const { return filePath; }
    bool IsDirty() const { return dirty.load(); }
    int32_t CountParams() const;

private:
    std::vector<XParam*> params;               // not owned; guarded by the parameter lock
    std::vector<CustomPrefNode> customEntries; // the application's thread only
    std::atomic<bool> dirty{false};
    XString filePath;
};
