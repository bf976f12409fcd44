#pragma once

/** The lists' view type words: Install gives the view factory the creators of its rows "list"
    (XListView) and "filemanager" (XFileManager) (ViewFactory::ProvideCreator). The program calls
    it once before InitViewFactory. GUI thread, at start-up. */
class FileViewTypes final
{
public:
    static void Install();

    FileViewTypes() = delete;
};
