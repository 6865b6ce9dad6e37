#pragma once
// Gives a folder its new time where the file system cannot be asked to set
// it: the folder is rebuilt. Its contents go aside into a temporary sibling
// ("!!!", "!!!!", ...), the system clock is set for the one moment of creating
// a new folder of the same name, put back, and the contents come home.
// A file gets its times through a plain handle.
#include <string>

#include "journal.h"
#include "timestamp_writer.h"

// What the rebuild tells the program about.
enum RecreateReport {
    kReportMissingItem,    // nothing of that name: nothing changed
    kReportLimit1980,      // the target is the first second FAT can store
    kReportTemporaryName,  // no free temporary name shorter than 250 characters
    kReportLeftBehind,     // a failed rebuild could not be undone: temporary holds entries
    kReportClockNotPutBack // the clock could not be set back after a folder was made
};

// Defined once per program (src/browser, src/droplist): klokan99 stops its
// run with a message box, klokan98 keeps the reason for its closing message.
// temporary is set for kReportLeftBehind only, else empty. For
// kReportClockNotPutBack, path is the folder that was being rebuilt.
void ReportRecreate(RecreateReport report, const std::wstring &path, const std::wstring &temporary);

// Writes the target time (second rounded down to even) to the file or
// folder at path (a full path in normal form). Every failure adds one to
// g_runStatus; a failed rebuild is undone, so that the folder keeps its name,
// attributes, contents and times. Refusals go to ReportRecreate. A link, and
// the program's own file, are left alone and said so in the result.
//
// Nothing is renamed unless the right to set the clock and the machine's
// change lock are held, and the journal (when one is open) holds the folder,
// its temporary name and its old attributes and times on the disk. A rebuilt
// folder's times are read back once its contents are home again; a time the
// moves renewed is written again by handle where the system allows it.
ItemWrite WriteTimestampByRecreate(const std::wstring &path);

// Puts a folder that a rebuild took apart (and a process cut off) together
// again as it was: what came into the new folder goes back aside, the new
// folder goes, and the old one takes its name back with its times and
// attributes. True when the folder is whole (also when it already was);
// false when entries still wait in the temporary folder.
bool PutFolderTogether(const RebuildStep &step);

// Whether a folder can get the target time by a rebuild: the creation
// moment, one second before it, must not fall before 1980.
bool FolderTargetReachable();

// Set when the clock could not be set back after a folder was made; no
// rebuild sets the clock again until a run clears it.
extern int g_clockNotPutBack;

