#pragma once
// Separators in ANSI paths of the process code page. In a double-byte code
// page (932) the second byte of a character can be 0x5C, the backslash: a
// separator is only a backslash that starts a character, so the caller says
// which bytes lead a pair. No window code here, so it is tested directly.

using LeadByteTest = bool (*)(unsigned char byte);

// The lead bytes of Shift-JIS (code page 932).
bool IsShiftJisLeadByte(unsigned char byte);
// For single-byte code pages: no byte leads a pair.
bool IsNeverLeadByte(unsigned char byte);
// The rule of the process code page (IsDBCSLeadByte; kept with the names the
// system reports, in item_names.cpp).
bool IsProcessLeadByte(unsigned char byte);

// Offset of the last path separator ('\' or '/') of path, or -1.
int LastSeparator(const char *path, LeadByteTest isLead);
// True when the last character of path is a backslash (not a trailing byte that looks like one).
bool EndsWithBackslash(const char *path, LeadByteTest isLead);
