#pragma once
// The attribute choice of the Attributes command: which of read-only, hidden,
// system and archive its dialog starts with (0 or 1 each). A single click on
// a folder-list row copies that item's attributes into it; it is kept for the
// run of the program only.

extern int g_attrReadOnly;
extern int g_attrHidden;
extern int g_attrSystem;
extern int g_attrArchive;

// Sets the choice from a file's attribute bits.
void LoadAttributeChoice(unsigned long attributes);
