#pragma once
// The keys of the main window as data, and the pure rules over them: which
// entry a key press names, how a key is written in a hover caption, and
// where Tab goes next. No window system here, so the rules are tested alone.

#include <windows.h>

#include <string>

// Modifier bits of a key press.
constexpr int kKeyCtrl = 1;
constexpr int kKeyShift = 2;
constexpr int kKeyAlt = 4;

using KeyHandler = void (*)(HWND mainWindow);

// One key of a program: virtual key and modifiers, and either the bar
// command it presses (through the bar, so a disabled button refuses it as a
// click would be refused) or a handler of its own. A systemKey entry is
// handled by the system (Alt+F4) and listed only so its caption names it.
struct KeyEntry {
    unsigned key;
    int modifiers;
    int barCommand;          // 0 when run does the work
    KeyHandler run;
    bool leftToComboBoxes;   // a focused combo box keeps it (Alt+Up closes its list)
    bool systemKey;
};

// The entry for a key press, or null. A combo box with the focus keeps
// the keys it uses itself.
const KeyEntry *FindKeyEntry(const KeyEntry *table, int count, unsigned key, int modifiers,
                             bool focusInComboBox);

// "Ctrl+Shift+A", "F1", "Del", "Backspace", "Alt+Up": the same in both languages.
std::wstring KeyText(const KeyEntry &entry);

// The caption of a bar command with its first key: "Change Timestamp (Ctrl+T)".
std::wstring CaptionWithKey(const wchar_t *caption, int barCommand, const KeyEntry *table, int count);

// The next usable stop after current (or before it, backwards), wrapping
// around; current -1 (the focus on none of them) starts from the first
// (or the last). -1 when no stop is usable.
int NextTabStop(const bool *usable, int count, int current, bool backwards);
