#include "keyboard_table.h"

#include <windows.h>

const KeyEntry *FindKeyEntry(const KeyEntry *table, int count, unsigned key, int modifiers,
                             bool focusInComboBox)
{
    for (int i = 0; i < count; ++i) {
        const KeyEntry &entry = table[i];
        if (entry.systemKey || entry.key != key || entry.modifiers != modifiers) continue;
        if (focusInComboBox && entry.leftToComboBoxes) return nullptr;
        return &entry;
    }
    return nullptr;
}

namespace {

std::wstring KeyName(unsigned key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    switch (key) {
    case VK_DELETE: return L"Del";
    case VK_BACK: return L"Backspace";
    case VK_RETURN: return L"Enter";
    case VK_UP: return L"Up";
    case VK_DOWN: return L"Down";
    default: return L"?";
    }
}

}  // namespace

std::wstring KeyText(const KeyEntry &entry)
{
    std::wstring text;
    if (entry.modifiers & kKeyCtrl) text += L"Ctrl+";
    if (entry.modifiers & kKeyShift) text += L"Shift+";
    if (entry.modifiers & kKeyAlt) text += L"Alt+";
    return text + KeyName(entry.key);
}

std::wstring CaptionWithKey(const wchar_t *caption, int barCommand, const KeyEntry *table, int count)
{
    for (int i = 0; i < count; ++i)
        if (table[i].barCommand == barCommand)
            return std::wstring(caption) + L" (" + KeyText(table[i]) + L")";
    return caption;
}

int NextTabStop(const bool *usable, int count, int current, bool backwards)
{
    if (count <= 0) return -1;
    if (current < 0 || current >= count) current = backwards ? 0 : count - 1;
    for (int step = 1; step <= count; ++step) {
        const int at = backwards ? (current - step + count * 2) % count : (current + step) % count;
        if (usable[at]) return at;
    }
    return -1;
}
