#include "files/XListView.h"

#include "core/XApplication.h"
#include "core/XClassPropertyTable.h"
#include "core/XMessageCodes.h"
#include "core/XParam.h"
#include "files/XListHeader.h"

namespace
{
/** The header's frame until the list lays it out. */
const XRect kInitialHeaderFrame(0, 0, 1, 1);
} // namespace

XListView::XListView() : XView(), XInvoker(GetApplication())
{
    header = new XListHeader(kInitialHeaderFrame);
    header->SetStepSize(horizontalStepSize);
    AddChild(header);
}

XListView::~XListView()
{
    // The header and the container it owns go first, while the list is whole.
    if (header != nullptr)
    {
        RemoveChild(header);
        delete header;
        header = nullptr;
    }
    XParam::ForgetWatcher(this);
    watchedParam = nullptr;
}

XListContainer* XListView::GetContainer() const
{
    return header != nullptr ? header->GetContainer() : nullptr;
}

void XListView::SetWatchedParam(XParam* param)
{
    if (param == watchedParam)
        return;
    if (watchedParam != nullptr && watchedParam != GetShowParam())
        watchedParam->RemoveWatcher(this);
    watchedParam = param;
    if (param != nullptr)
        param->AddWatcher(this, 0, false);
}

XClassPropertyTable* XListView::GetClassPropertyTable()
{
    static XClassPropertyTable* const table =
        new XClassPropertyTable("XListView", XView::GetClassPropertyTable());
    return table;
}

void XListView::ParamChanged(int32_t code, XParam* param, int32_t key)
{
    if (param != nullptr && param == watchedParam && code == static_cast<int32_t>(XMsgCode::kParamDestroyed))
        watchedParam = nullptr;
    XView::ParamChanged(code, param, key);
}
