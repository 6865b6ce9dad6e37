#pragma once
// The one walk below a folder that the timestamp, attribute and letter
// commands share; the command passes what is done to each entry.
//
// The walk reads all entries of a folder before it visits any, so an entry
// that the action renames or re-creates, or a temporary folder it makes
// beside one, is never met twice or walked into. A folder is visited before
// or after its contents, as the caller asks (WalkOrder). Names beginning
// with "." are left out. A file whose full path equals the program's own
// path (without regard to case) is never visited. Everything goes by full
// paths in normal form, each name exactly as the file system gives it: the
// process current directory is never changed.

#include <functional>
#include <string>
#include <vector>

#include "run_report.h"

// Given an entry's full path and whether it is a folder; false stops the walk.
using WalkVisit = std::function<bool(const std::wstring &fullPath, bool isFolder)>;
// Given what the walk cannot reach, and why: a folder that exists but
// cannot be listed (NotListed: nothing in it was reached), or an entry whose
// name holds a separator (UnreachableName: no path names it, and a path
// made of it would name another item). False stops the walk.
using WalkUnlisted = std::function<bool(const std::wstring &path, NotChanged reason)>;

// Whether a folder is visited before or after what it holds. A timestamp
// change visits the contents first: listing a folder, and re-creating or
// renaming entries inside it, can renew the folder's own access and write
// times, so its times are written last to stay as chosen.
enum class WalkOrder { FolderFirst, ContentsFirst };

// Walks everything below folder (a full path); the folder itself is not
// visited. A folder that is gone, or a file, yields nothing. A linked folder
// is visited as an entry but never walked into. Returns false when a
// callback stopped the walk.
bool WalkSubtree(const std::wstring &folder, const std::wstring &ownProgramPath,
                 const WalkVisit &visit, const WalkUnlisted &unlisted,
                 WalkOrder order = WalkOrder::FolderFirst);

// The names of every entry of a folder (dot names too, "." and ".." not), in
// the order the file system gives them; false when the folder could not be
// read to its end.
bool ReadFolderNames(const std::wstring &folder, std::vector<std::wstring> *names);
