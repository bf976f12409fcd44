#pragma once

#include "gui/XDialog.h"

class ITextListView;

#include <vector>

/** The template chooser of new documents: lists "Empty" and every "*.tmp" file of the template
    folder (by name, without extension), loads the selected one (OK, message 1500: result 1 and
    GetSelectedPath, empty for "Empty"), cancels (1501: 2) or deletes the selected template after a
    question (1502). Created, run and deleted by the New command; GUI thread.

    The template names live in the dialog; the description's "TemplateList" is a list view that
    shows them and holds the selection (ITextListView). Where no list view was built (a plain view
    in its place), the dialog keeps the selection itself. */
class XTemplateDialog final : public XDialog
{
public:
    static constexpr const char* kDescription = "Dialogs\\TemplateDialog.txt";
    static constexpr const char* kListName = "TemplateList";
    static constexpr const char* kOKButtonName = "OKButton";
    static constexpr const char* kCancelButtonName = "CancelButton";
    static constexpr const char* kDeleteButtonName = "DeleteButton";
    static constexpr const char* kEmptyRow = "Empty";
    static constexpr const char* kTemplateExtension = "tmp";
    static constexpr uint32_t kDeleteMessage = 1502;
    static constexpr int32_t kNoSelection = -1;

    explicit XTemplateDialog(const XString& templateFolder);

    void InitControls() override;
    void MessageReceived(XMessage& message) override;
    const char* GetClassNameText() const override { return "XTemplateDialog"; }

    /** Rebuilds the rows ("Empty" first) from the folder and selects the first. */
    void FillTemplateList();
    /** True when a template (or "Empty") was taken; errors are shown and the dialog stays. */
    bool LoadSelectedTemplate();
    void DeleteSelectedTemplate();

    /** Selects the row (in the list when there is one); an index outside the rows selects none. */
    void SelectRow(int32_t index);
    int32_t GetSelectedRow() const;
    int32_t GetRowCount() const { return static_cast<int32_t>(rows.size()); }
    const XString& GetRowText(int32_t index) const { return rows[static_cast<size_t>(index)]; }
    const XString& GetSelectedPath() const { return selectedPath; }
    XView* GetTemplateList() const { return templateList; }
    /** The list view of the templates, null when the description made none. */
    ITextListView* GetTemplateListView() const;
    /** folder, "\", name and ".tmp". */
    XString GetTemplatePath(const XString& name) const;

private:
    XString selectedPath;
    XString templateFolder;
    XView* templateList = nullptr; // a view of the content
    std::vector<XString> rows;
    int32_t selectedRow = kNoSelection;
};
