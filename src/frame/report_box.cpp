#include "report_box.h"

#include <cstring>

#include "run_feedback.h"

namespace {

// The box on screen while a report is shown, with what it copies.
struct ReportBox {
    HHOOK activation = nullptr, keys = nullptr;
    HWND box = nullptr;
    WNDPROC boxProcedure = nullptr;
    std::wstring whole;
} g_reportBox;

void CopyToClipboard(HWND owner, const std::wstring &text)
{
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

// The box's own procedure, in front of the system's: its help button copies.
LRESULT CALLBACK ReportBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDHELP) {
        CopyToClipboard(box, g_reportBox.whole);
        return 0;
    }
    return CallWindowProcW(g_reportBox.boxProcedure, box, message, wParam, lParam);
}

// As the box comes up: its help button becomes "Copy".
LRESULT CALLBACK OnReportActivation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && !g_reportBox.box) {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (GetDlgItem(box, IDHELP)) {
            g_reportBox.box = box;
            SetDlgItemTextW(box, IDHELP, MessageText(Msg::CopyButton));
            g_reportBox.boxProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReportBoxProcedure)));
        }
    }
    return CallNextHookEx(g_reportBox.activation, code, wParam, lParam);
}

// Ctrl+C in the box copies the whole report, not the cut one it shows.
LRESULT CALLBACK OnReportKey(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG *message = reinterpret_cast<const MSG *>(lParam);
    if (code >= 0 && g_reportBox.box && message->message == WM_KEYDOWN && message->wParam == 'C' &&
        (GetKeyState(VK_CONTROL) & 0x8000) &&
        (message->hwnd == g_reportBox.box || IsChild(g_reportBox.box, message->hwnd))) {
        CopyToClipboard(g_reportBox.box, g_reportBox.whole);
        return TRUE;
    }
    return CallNextHookEx(g_reportBox.keys, code, wParam, lParam);
}

}  // namespace

void AppendReportLines(ReportText &text, const std::vector<std::wstring> &lines)
{
    std::size_t cut = 0;
    for (const std::wstring &line : lines) {
        text.whole += line;
        if (text.entries++ < kReportEntriesShown)
            text.shown += line;
        else
            ++cut;
    }
    text.cut += cut;
    if (cut > 0) text.shown += L"\n" + FillPlaceholders(MessageText(Msg::UndoMore), {GroupedCount(cut)});
}

std::wstring ReasonText(const NotChangedItem &item)
{
    switch (item.reason) {
    case NotChanged::Held: return MessageText(Msg::ReasonHeld);
    case NotChanged::AccessDenied: return MessageText(Msg::ReasonAccessDenied);
    case NotChanged::Gone: return MessageText(Msg::ReasonGone);
    case NotChanged::ChosenLink: return MessageText(Msg::ReasonChosenLink);
    case NotChanged::UnreachableName: return MessageText(Msg::ReasonUnreachableName);
    case NotChanged::OwnProgram: return MessageText(Msg::ReasonOwnProgram);
    case NotChanged::VolumeRefused: return MessageText(Msg::ReasonVolumeRefused);
    case NotChanged::RebuildFailed:
        return item.where.empty() ? MessageText(Msg::ReasonRebuildFailed)
                                  : FillPlaceholders(MessageText(Msg::ReasonRebuildLeftIn), {item.where});
    case NotChanged::NotListed: return MessageText(Msg::ReasonNotListed);
    case NotChanged::LinkUnsettled: return MessageText(Msg::ReasonLinkUnsettled);
    case NotChanged::NameTaken: return MessageText(Msg::ReasonNameTaken);
    case NotChanged::Refused: break;
    }
    return MessageText(Msg::ReasonRefused);
}

ReportText RunReportText(const std::wstring &first, std::size_t changed,
                         const std::vector<NotChangedItem> &notChanged)
{
    ReportText text;
    text.shown = text.whole = first;
    if (notChanged.empty()) return text;
    const std::wstring head = FillPlaceholders(MessageText(Msg::ReportChanged), {GroupedCount(changed)}) +
                              MessageText(Msg::ReportNotChanged);
    text.shown += head;
    text.whole += head;
    std::vector<std::wstring> lines;
    lines.reserve(notChanged.size());
    for (const NotChangedItem &item : notChanged)
        lines.push_back(FillPlaceholders(MessageText(Msg::ReportItem), {item.path, ReasonText(item)}));
    AppendReportLines(text, lines);
    return text;
}

int ShowReport(HWND owner, Msg id, const ReportText &text)
{
    if (text.entries == 0) return ShowMessageText(owner, id, text.shown);
    g_reportBox = ReportBox();
    g_reportBox.whole = text.whole;
    const DWORD thread = GetCurrentThreadId();
    g_reportBox.activation = SetWindowsHookExW(WH_CBT, OnReportActivation, nullptr, thread);
    g_reportBox.keys = SetWindowsHookExW(WH_MSGFILTER, OnReportKey, nullptr, thread);
    UINT flags = MessageFlags(id);
    if (flags & MB_SYSTEMMODAL) owner = nullptr;
    const int answer = MessageBoxW(owner, text.shown.c_str(), MessageCaption(id), flags | MB_HELP);
    if (g_reportBox.activation) UnhookWindowsHookEx(g_reportBox.activation);
    if (g_reportBox.keys) UnhookWindowsHookEx(g_reportBox.keys);
    g_reportBox = ReportBox();
    return answer;
}
