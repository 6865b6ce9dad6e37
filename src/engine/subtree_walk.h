#pragma once
// The one walk below a folder that the timestamp, attribute and letter
// commands share; the command passes what is done to each entry.
//
// The walk reads all entries of a folder before it visits any, so an entry
// that the action renames or re-creates, or a temporary folder it makes
// beside one, is never met twice or walked into. A folder is visited before
// or after its contents, as the caller asks (WalkOrder). Names beginning with "." are left out. A file whose
// full path equals the program's own path (without regard to case) is never
// visited. Everything goes by full paths: the process current directory is
// never changed.

#include <functional>

// Given an entry's full path and whether it is a folder; false stops the walk.
using WalkVisit = std::function<bool(const char *fullPath, bool isFolder)>;
// Given the folder and the name of an entry that cannot be reached by an ANSI
// path: the code page cannot spell its name and it has no usable short name,
// or its full path would not fit a path buffer. name is null when the folder
// itself exists but cannot be listed (access denied): nothing in it was
// reached. False stops the walk.
using WalkUnreachable = std::function<bool(const char *folder, const char *name)>;

// Whether a folder is visited before or after what it holds. A timestamp
// change visits the contents first: listing a folder, and re-creating or
// renaming entries inside it, can renew the folder's own access and write
// times, so its times are written last to stay as chosen.
enum class WalkOrder { FolderFirst, ContentsFirst };

// Walks everything below folder (a full path); the folder itself is not
// visited. A folder that is gone yields nothing; one that cannot be listed
// goes to unreachable. Returns false when a callback stopped the walk.
bool WalkSubtree(const char *folder, const char *ownProgramPath, const WalkVisit &visit,
                 const WalkUnreachable &unreachable, WalkOrder order = WalkOrder::FolderFirst);

// Joins folder and name with one backslash into out (kPathBufferSize bytes).
// False, with out cleared, when the result would be longer than kMaxPathChars.
bool JoinPath(const char *folder, const char *name, char *out);
