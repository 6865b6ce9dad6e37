#include "drop_list.h"

#include "list_container.h"
#include "main_window.h"

int g_dropListHasItems = 0;
int g_dropListCount = 0;

void CreateDropListContainer(HWND mainWindow)
{
    // Files dragged from the shell are dropped onto the container.
    CreateContainerWindow(mainWindow, DropListContainerProc, WS_EX_ACCEPTFILES);
}

static void OnContainerCreate(HWND window)
{
    // The list view is made on a later pass of the loop, once the container exists.
    PostMessageA(window, kMsgCreateListView, 0, 0);
}

LRESULT CALLBACK DropListContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnContainerCreate(window); return 0;
    case kMsgCreateListView: CreateDropListView(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void CreateDropListView(HWND)
{
    // The drop list is not built yet.
}

void RebuildDropList()
{
}

void DeleteSelectedItems(HWND)
{
}

void DeleteAllItems(HWND)
{
}
