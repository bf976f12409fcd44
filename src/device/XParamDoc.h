#pragma once

#include "core/GenericList.h"
#include "core/XDocument.h"
#include "core/XHandler.h"
#include "core/XResult.h"
#include "core/XString.h"

#include <atomic>
#include <cstdint>

namespace juce
{
class XmlElement;
}

class XParam;
class XParamGroup;

/** Where the preset document shows its title: the application's main window implements it. */
class IDocumentTitleView
{
public:
    virtual ~IDocumentTitleView() = default;

    /** The whole title, "<application name> - <file name>". */
    virtual void SetDocumentTitle(const XString& title) = 0;
};

/** The editor's document: a preset file ("*.qm7") that holds, as XML under the root "QM-Seven",
    the values and flag words of the live channel groups and the preset group, in the order the
    groups were added. Loading writes the values into the groups, then re-arms channel linking and
    sends the whole state to the unit; every non-transient change outside a load marks the document
    modified and sets QM7\documentDirty.

    Saving writes a temporary file beside the target and renames it over the target, so a failed
    save leaves the old file whole; a failed save or load leaves the document's path, title and
    modified state as they were. Files are read as outside input (PresetFileReader): a file that is
    not a whole preset (a damaged or cut file, or one without an element for every group of the
    document) fails with 0x80000001 and changes no group parameter.

    The groups and the title view are borrowed and must outlive the document. Load, save and new
    run on the main thread; the document watches every parameter of its groups without a looper,
    so ParamChanged runs on whatever thread changed the parameter (the busy flag and the modified
    flag are atomic). */
class XParamDoc : public XDocument, public XHandler
{
public:
    static constexpr int32_t kFormatXml = 0;
    static constexpr const char* kAppName = "QM-Seven";
    static constexpr const char* kFileExtension = "qm7";
    static constexpr const char* kFileFilter = "Preset Files (*.qm7)";
    /** The pause between re-arming the link after a load and sending everything. */
    static constexpr uint32_t kSendAllPauseMs = 500;

    XParamDoc();
    explicit XParamDoc(const char* path);
    ~XParamDoc() override;

    XString GetFileExtension() override;
    XString GetFileFilter() override;
    /** Resets the document, saves it under path and titles it; clean afterwards when that worked. */
    int32_t New(const char* path) override;
    /** As XDocument::Open; when the load fails, the path and the modified state before the call
        come back. */
    int32_t Open(const char* path) override;
    /** Reads the preset file at the document path into the groups. 0 or 0x80000001. */
    int32_t Load() override;
    /** Every channel group and the preset group (the last group added) back to their defaults; the
        document becomes untitled. */
    void Reset() override;
    /** Writes the groups to path, which becomes the document path; clean afterwards. On a failure
        (0x80000001) the previous path and state are kept. */
    int32_t SaveAs(const char* path) override;
    /** Writes the groups to path without touching the document. 0 or 0x80000001. */
    int32_t WriteTo(const char* path) override;
    /** preset\CurrentSessionName takes the file name of path; the title view gets the title. */
    virtual void UpdateTitle(const char* path);
    void ParamChanged(int32_t code, XParam* param, int32_t key) override;

    /** Appends the group (null is ignored) and watches every parameter of it. The first
        announcement of each parameter does not mark the document. */
    void AddGroup(XParamGroup* group);
    /** True while a load runs. */
    bool IsBusy() const { return busy.load(); }
    /** Re-announces (kParamValueSet) every parameter of every group, last parameter of a group first. */
    void NotifyAllParams();
    /** The view that shows the title (null: none). */
    void SetTitleView(IDocumentTitleView* view) { titleView = view; }
    int32_t GetFileFormat() const { return fileFormat; }

private:
    /** Reads the file at path into the groups: 0, or 0x80000001 when it is not a preset file. */
    int32_t ReadXml(const char* path);
    void ReadGroupElement(XParamGroup& group, const juce::XmlElement& element);
    /** The group whose name equals name without regard to case; null when none. */
    XParamGroup* FindGroup(const char* name) const;
    void MarkClean();

    XList<XParamGroup> groups; // not owned
    int32_t fileFormat = kFormatXml;
    XString appName{kAppName};
    std::atomic<bool> busy{false};
    /** Set while AddGroup registers the document as a watcher. */
    std::atomic<bool> addingGroup{false};
    IDocumentTitleView* titleView = nullptr; // not owned
};
