#include "modal_answerer.h"

#include <algorithm>

namespace {
ModalAnswerer *g_current = nullptr;

BOOL CALLBACK CollectDialog(HWND wnd, LPARAM param)
{
    char cls[16] = {};
    GetClassNameA(wnd, cls, sizeof cls - 1);
    if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(wnd))
        reinterpret_cast<std::vector<HWND> *>(param)->push_back(wnd);
    return TRUE;
}
}  // namespace

// UTF-8 of a window text, whatever the code page.
std::string Utf8Text(const wchar_t *text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(length > 0 ? static_cast<std::size_t>(length) : 1u, '\0');
    if (length > 0) WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], length, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

std::string MessageBoxText(HWND box)
{
    wchar_t text[4096] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 4095);
    return Utf8Text(text);
}

ModalAnswerer::ModalAnswerer(std::vector<int> answers) : answers_(std::move(answers))
{
    g_current = this;
    timer_ = SetTimer(nullptr, 0, 30, &ModalAnswerer::OnTimer);
}

ModalAnswerer::ModalAnswerer(std::function<void(HWND)> handler) : handler_(std::move(handler))
{
    g_current = this;
    timer_ = SetTimer(nullptr, 0, 30, &ModalAnswerer::OnTimer);
}

ModalAnswerer::~ModalAnswerer()
{
    KillTimer(nullptr, timer_);
    g_current = nullptr;
}

std::string ModalAnswerer::Describe() const
{
    std::string out;
    for (const SeenBox &box : seen_) out += "[" + box.caption + "] " + box.text + "\n";
    return out.empty() ? "(no box)" : out;
}

void CALLBACK ModalAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_current) return;
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) g_current->Handle(dialog);
}

void ModalAnswerer::Handle(HWND dialog)
{
    if (std::find(handled_.begin(), handled_.end(), dialog) != handled_.end()) return;
    handled_.push_back(dialog);
    SeenBox box;
    wchar_t caption[512] = {};
    GetWindowTextW(dialog, caption, 511);
    box.caption = Utf8Text(caption);
    box.text = MessageBoxText(dialog);
    // The icon of a message box is a static control with id 0x0440 holding a system icon.
    HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, 0x0440, STM_GETICON, 0, 0));
    if (icon == LoadIcon(nullptr, IDI_WARNING)) box.icon = MB_ICONWARNING;
    else if (icon == LoadIcon(nullptr, IDI_ERROR)) box.icon = MB_ICONERROR;
    else if (icon == LoadIcon(nullptr, IDI_INFORMATION)) box.icon = MB_ICONINFORMATION;
    else if (icon == LoadIcon(nullptr, IDI_QUESTION)) box.icon = MB_ICONQUESTION;
    seen_.push_back(box);
    if (handler_) {
        handler_(dialog);
        return;
    }
    int answer = IDOK;
    if (!answers_.empty()) {
        size_t index = std::min(seen_.size() - 1, answers_.size() - 1);
        answer = answers_[index];
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}
