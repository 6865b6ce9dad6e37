// The container window of the drop list: it accepts the dropped files and
// holds the list view.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "drop_list.h"

#include "keyboard.h"
#include "list_container.h"
#include "main_window.h"

HWND g_hDropListContainer = nullptr;

namespace {

void OnContainerPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

void OnContainerDestroy()
{
    if (g_hDropListView) {
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
            SendMessageW(g_hDropListView, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        // Taken back from the list first: a list view that still held it
        // would destroy it a second time when it goes itself.
        SendMessageW(g_hDropListView, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        if (images) ImageList_Destroy(images);
        if (images == g_hDropListImages) g_hDropListImages = nullptr;
    }
    g_hDropListView = nullptr;
    g_hDropListContainer = nullptr;
}

}  // namespace

void CreateDropListContainer(HWND mainWindow)
{
    // Files dragged from the shell are dropped onto the container.
    g_hDropListContainer = CreateContainerWindow(mainWindow, DropListContainerProc, WS_EX_ACCEPTFILES);
}

LRESULT CALLBACK DropListContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        PostMessageW(window, kMsgCreateListView, 0, 0);
        return 0;
    case kMsgCreateListView:
        CreateDropListView(window);
        // First focus: the list.
        FocusProgramList(GetParent(window));
        return 0;
    case WM_DROPFILES:
        OnDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_PAINT:
        OnContainerPaint(window);
        return 0;
    case WM_DESTROY:
        OnContainerDestroy();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
