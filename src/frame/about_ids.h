#pragma once
// Control ids of the About box, shared by its dialog templates and its code.

// ReadMe has an id of its own: IDCANCEL is what Escape and the close box
// send, and they only close the box.
#define IDC_ABOUT_README 3
