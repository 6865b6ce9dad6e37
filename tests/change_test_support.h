#pragma once
// What the Attributes and Letters tests share: a browser window on a temporary
// folder, the run-long choices put back after each test, the program path
// pointed where the test wants it, and a dialog driver.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "attributes.h"
#include "browser_windows.h"
#include "change_target.h"
#include "folder_list.h"
#include "language.h"
#include "letter_change.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "path_text.h"
#include "test_support.h"


class ChangeCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp.Path().empty());
        ASSERT_TRUE(windows.Ready());
        savedProgramPath = g_programPath;
        g_programPath.clear();
        g_japaneseMode = 0;
    }
    void TearDown() override { g_programPath = savedProgramPath; }

    std::string Make(const std::string &relative) const { return temp.Child(relative); }
    // The item's path as the system takes it: UTF-16, extended-length form.
    std::wstring Sys(const std::string &relative) const { return SystemPath(W(Make(relative))); }
    void Folder(const std::string &relative) const
    {
        ASSERT_TRUE(CreateDirectoryW(Sys(relative).c_str(), nullptr)) << relative;
    }
    void File(const std::string &relative, const std::string &bytes = "x") const
    {
        HANDLE h = CreateFileW(Sys(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << relative;
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    // The four attributes of an item. Some file systems report every file
    // as archived whatever is written; there the archive bit of a file says
    // nothing and is left out.
    DWORD Attributes(const std::string &relative) const
    {
        DWORD attributes = GetFileAttributesW(Sys(relative).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return attributes;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && FilesAlwaysArchived())
            attributes &= ~FILE_ATTRIBUTE_ARCHIVE;
        return attributes & kFourAttributes;
    }
    bool FilesAlwaysArchived() const
    {
        std::string probe = Make("archive-probe");
        HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        CloseHandle(h);
        SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
        bool archived = (GetFileAttributesA(probe.c_str()) & FILE_ATTRIBUTE_ARCHIVE) != 0;
        DeleteFileA(probe.c_str());
        return archived;
    }
    std::string ReadBytesOf(const std::string &relative) const
    {
        std::string bytes;
        HANDLE h = CreateFileW(Sys(relative).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return "<missing>";
        char buffer[256];
        DWORD got = 0;
        if (ReadFile(h, buffer, sizeof buffer, &got, nullptr)) bytes.assign(buffer, got);
        CloseHandle(h);
        return bytes;
    }
    void SetAttributes(const std::string &relative, DWORD attributes) const
    {
        ASSERT_TRUE(SetFileAttributesW(Sys(relative).c_str(), attributes)) << relative;
    }
    // Lists the temporary folder and selects the rows of the given names.
    void ShowAndSelect(const std::vector<std::string> &names)
    {
        ShowFolder(temp.Path());
        std::vector<int> rows;
        for (const std::string &name : names) {
            int row = FindRow(name);
            ASSERT_GE(row, 0) << name;
            rows.push_back(row);
        }
        SelectRows(rows);
    }

    IntGuard language{g_japaneseMode};
    IntGuard readOnly{g_attrReadOnly}, hidden{g_attrHidden}, system{g_attrSystem},
        archive{g_attrArchive};
    IntGuard caseMode{g_caseMode};
    std::wstring savedProgramPath;
    TempFolder temp;
    BrowserWindows windows{false};
};

// Clicks a box of the dialog as the user would.
inline void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }
inline bool Ticked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline bool Usable(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// Runs command with a driver that clicks the given ids and then ends the
// dialog with last (IDOK or IDCANCEL). Returns how many dialogs were shown.
inline int RunWithClicks(void (*command)(HWND), const std::vector<int> &clicks, int last,
                         const std::function<void(HWND)> &inspect = nullptr)
{
    int shown = 0;
    ModalAnswerer answerer([&](HWND dialog) {
        ++shown;
        if (inspect) inspect(dialog);
        for (int id : clicks) Click(dialog, id);
        Click(dialog, last);
    });
    command(g_hMainWnd);
    return shown;
}
