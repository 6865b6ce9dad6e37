#pragma once
// Language mode and windows kind, decided once at start-up.

// 1: every text, caption, font and dialog is Japanese; 0: English.
extern int g_japaneseMode;

// 0 Windows 95 or unrecognised, 1 Windows 98, 2 Me, 3 NT 4.0, 4 Windows 2000,
// 5 XP or Server 2003, 6 Vista or 7, 7 any later NT version.
extern int g_windowsKind;
extern int g_windowsKindSet;

inline bool IsNineXFamily(int kind) { return kind >= 0 && kind <= 2; }
