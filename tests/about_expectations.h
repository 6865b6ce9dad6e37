#pragma once
// What the About box and readme tests expect of the program they are linked
// with; each program's bar test file gives the values.

extern const char kReadmeName[];      // "KLOKAN99.TXT"
extern const char kReadmeTitle[];     // what Notepad's title shows of it
extern const wchar_t kVersionLine[];
extern const wchar_t kVersionLineJapanese[];
