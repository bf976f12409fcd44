#include "files/FileViewTypes.h"

#include "files/XFileManager.h"
#include "files/XListView.h"
#include "gui/ViewFactory.h"

void FileViewTypes::Install()
{
    ViewFactory::ProvideCreator("list", &ViewFactory::Create<XListView>);
    ViewFactory::ProvideCreator("filemanager", &ViewFactory::Create<XFileManager>);
}
