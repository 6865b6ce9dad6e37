#include "folder_list.h"

#include "list_container.h"

char g_currentFolder[kPathSize] = {};
char g_myDocumentsPath[kPathSize] = {};

void CreateListContainer(HWND mainWindow)
{
    CreateContainerWindow(mainWindow, ListContainerProc, 0);
}

static void OnContainerCreate(HWND window)
{
    // The list view is made on a later pass of the loop, once the container exists.
    PostMessageA(window, kMsgCreateListView, 0, 0);
}

static void OnCreateListViewStage(HWND window)
{
    CreateFolderListView(window);
    PostMessageA(GetParent(window), kMsgListReady, 0, 0);
}

LRESULT CALLBACK ListContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnContainerCreate(window); return 0;
    case kMsgCreateListView: OnCreateListViewStage(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void CreateFolderListView(HWND)
{
    // The folder list is not built yet.
}

void FillFolderList(const char *)
{
}

void GoUpOneLevel()
{
}
