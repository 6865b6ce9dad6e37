#pragma once
// Whether this system opens a link as the link itself when asked to
// (FILE_FLAG_OPEN_REPARSE_POINT), found out by trying it once per process
// rather than by the system's version.
//
// Where it does (Windows), the handle on a link is the link, and its own
// attributes say what it is: no open can land elsewhere, so nothing more
// need be asked of an item before its change. Where it does not (Wine opens
// the target of every link), each opened item's final path must still be
// compared with the path asked for.
#include <string>

enum class LinkOpen {
    AsItself,    // a link made here opened as itself
    Followed,    // the open landed on the link's target
    CannotTell   // no link could be made here (the system or the volume has none)
};

// Makes a junction to a sibling folder inside folder (an existing, private,
// empty folder in normal form), opens it as itself, and removes both.
LinkOpen ProbeLinkOpen(const std::wstring &folder);

// The probe's answer for this process, made in a folder of its own under the
// system's temporary folder on the first call. Anything but AsItself
// answers false: the item's final path is then compared, which is always safe.
bool LinksOpenAsThemselves();
