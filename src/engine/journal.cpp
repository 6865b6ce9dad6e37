#include "journal.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <unordered_set>
#include <utility>

#include "handles.h"
#include "item_access.h"
#include "item_rename.h"
#include "path_text.h"

std::wstring g_journalFolder;

namespace {

// Journals of the first format have no closing records and no steps: each
// counts as closed.
constexpr char kHeaderFirst[] = "Retempo journal 1";
constexpr char kHeader[] = "Retempo journal 2";
constexpr char kUndoneLine[] = "undone";
constexpr char kRebuildLine[] = "rebuild";
constexpr char kRebuiltLine[] = "rebuilt";
constexpr char kRenameLine[] = "rename";
constexpr char kRenamedLine[] = "renamed";
constexpr char kSettledLine[] = "settled";
constexpr char kEndLine[] = "end";
constexpr wchar_t kExtension[] = L".journal";
// A journal is made under this name and takes its own once its header is
// on the disk, so that no journal file ever lacks its header.
constexpr wchar_t kNewExtension[] = L".journal-new";
constexpr std::size_t kJournalsKept = 10;
// Marks of an undo wait no longer than this many items for the disk.
constexpr std::size_t kMarksPerFlush = 200;

struct OpenJournal {
    FileHandle file;
    std::wstring path;
    AfterChange after = nullptr;
    std::string pending;  // recorded, not yet on the disk
    std::size_t entries = 0;
    bool broken = false;
    bool holdSync = false;
    std::unordered_set<unsigned long long> known;  // paths written down, by hash
} g_journal;

// The journal an undo puts back, open for its marks.
struct UndoMarks {
    FileHandle file;
    std::wstring path;
    std::string pending;
    std::size_t unflushed = 0;
    std::vector<char> settled;
} g_marks;

// Written out before the buffer grows past this, so that counting a large
// tree keeps little in memory.
constexpr std::size_t kPendingLimit = 1 << 18;

// FNV-1a over the path's UTF-16 units.
unsigned long long PathHash(const std::wstring &path)
{
    unsigned long long hash = 14695981039346656037ull;
    for (wchar_t c : path) {
        hash ^= static_cast<unsigned long long>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8(std::string &out, unsigned long code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A field is UTF-8 and never holds the separators of the file: tab, line
// ends and the escape sign are written as %XX. A UTF-16 unit that UTF-8
// cannot carry (a surrogate without its partner, which names on NTFS may
// hold) is written as %uXXXX, so that every name reads back exactly.
std::string Escaped(const std::wstring &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((static_cast<unsigned long>(c) - 0xD800) << 10) +
                                (static_cast<unsigned long>(text[i + 1]) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            char code[8];
            std::snprintf(code, sizeof code, "%%u%04X", static_cast<unsigned>(c));
            out += code;
        } else if (c == L'%' || c == L'\t' || c == L'\n' || c == L'\r') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned>(c));
            out += code;
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Appends UTF-8 bytes decoded strictly; false for bytes that are no UTF-8.
bool AppendDecoded(std::wstring &out, const std::string &bytes)
{
    if (bytes.empty()) return true;
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, 0);
    if (size <= 0) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(size));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                        &out[at], size);
    return true;
}

// The inverse of Escaped; false for a field no journal writes: a broken
// escape, bytes that are no UTF-8, or a NUL, which would cut a path short
// and name another item.
bool Unescape(const std::string &field, std::wstring *text)
{
    text->clear();
    std::string bytes;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            bytes += field[i];
            continue;
        }
        if (i + 1 < field.size() && field[i + 1] == 'u') {
            if (i + 5 >= field.size()) return false;
            unsigned unit = 0;
            for (std::size_t k = i + 2; k < i + 6; ++k) {
                const int digit = HexValue(field[k]);
                if (digit < 0) return false;
                unit = unit * 16 + static_cast<unsigned>(digit);
            }
            if (unit == 0 || !AppendDecoded(*text, bytes)) return false;
            bytes.clear();
            *text += static_cast<wchar_t>(unit);
            i += 5;
            continue;
        }
        const int high = i + 2 < field.size() ? HexValue(field[i + 1]) : -1;
        const int low = i + 2 < field.size() ? HexValue(field[i + 2]) : -1;
        if (high < 0 || low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (!AppendDecoded(*text, bytes)) return false;
    return text->find(L'\0') == std::wstring::npos;
}

// A full path in normal form ("C:\..." or "\\server\share\..."): what every
// path of a journal is. Anything else, a relative or extended-length path
// among them, would reach an item other than the one written down.
bool IsNormalFullPath(const std::wstring &path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    if (path.size() < 5 || path.compare(0, 2, L"\\\\") != 0) return false;
    if (path[2] == L'?' || path[2] == L'.') return false;
    const std::size_t server = path.find(L'\\', 2);
    return server != std::wstring::npos && server > 2 && server + 1 < path.size() &&
           path[server + 1] != L'\\';
}

std::string TimeField(const FILETIME &time)
{
    const unsigned long long count =
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return std::to_string(count);
}

bool ParseNumber(const std::string &field, unsigned long long *value, int base = 10)
{
    if (field.empty()) return false;
    char *end = nullptr;
    *value = std::strtoull(field.c_str(), &end, base);
    return end && *end == '\0';
}

bool ParseTime(const std::string &field, FILETIME *time)
{
    unsigned long long count = 0;
    if (!ParseNumber(field, &count)) return false;
    *time = FILETIME{static_cast<DWORD>(count & 0xFFFFFFFFu), static_cast<DWORD>(count >> 32)};
    return true;
}

std::string AttributesField(DWORD attributes)
{
    char text[16];
    std::snprintf(text, sizeof text, "%lX", static_cast<unsigned long>(attributes));
    return text;
}

bool ParseAttributes(const std::string &field, DWORD *attributes)
{
    unsigned long long value = 0;
    if (!ParseNumber(field, &value, 16) || value > 0xFFFFFFFFull) return false;
    *attributes = static_cast<DWORD>(value);
    return true;
}

std::string StateFields(const ItemState &state)
{
    return TimeField(state.created) + '\t' + TimeField(state.accessed) + '\t' +
           TimeField(state.written) + '\t' + AttributesField(state.attributes) + '\t' +
           Escaped(state.name);
}

std::vector<std::string> SplitFields(const std::string &line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

bool ParseState(const std::vector<std::string> &fields, std::size_t first, ItemState *state)
{
    return ParseTime(fields[first], &state->created) && ParseTime(fields[first + 1], &state->accessed) &&
           ParseTime(fields[first + 2], &state->written) &&
           ParseAttributes(fields[first + 3], &state->attributes) &&
           Unescape(fields[first + 4], &state->name);
}

bool ParsePath(const std::string &field, std::wstring *path)
{
    return Unescape(field, path) && IsNormalFullPath(*path);
}

bool WriteAll(HANDLE file, const std::string &bytes)
{
    DWORD written = 0;
    return bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                       nullptr) &&
                             written == bytes.size());
}

bool ReadAll(const std::wstring &path, std::string *bytes)
{
    FileHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
    if (!file.Valid()) return false;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes->append(buffer, read);
    return true;
}

FileHandle OpenForAppend(const std::wstring &path)
{
    return FileHandle(CreateFileW(SystemPath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Appends records to a closed journal and waits for the disk.
bool AppendRecords(const std::wstring &path, const std::string &records)
{
    FileHandle file = OpenForAppend(path);
    return file.Valid() && WriteAll(file.Get(), records) && FlushFileBuffers(file.Get());
}

// The journal files (or, with extension, the unfinished new ones), oldest first.
std::vector<std::wstring> FilesEndingIn(const wchar_t *extension)
{
    std::vector<std::wstring> paths;
    const std::size_t length = std::wcslen(extension);
    WIN32_FIND_DATAW found = {};
    FindHandle search(
        FindFirstFileW(JoinPath(SystemPath(JournalFolder()), L"*").c_str(), &found));
    if (!search.Valid()) return paths;
    do {
        const std::wstring name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() > length &&
            name.compare(name.size() - length, length, extension) == 0)
            paths.push_back(JoinPath(JournalFolder(), name));
    } while (FindNextFileW(search.Get(), &found));
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Only the ten newest are kept, but never one that is still open: a run cut
// off must stay recoverable however many runs came after it.
void KeepNewestJournals()
{
    const std::vector<std::wstring> paths = JournalPaths();
    for (std::size_t i = 0; i + kJournalsKept < paths.size(); ++i) {
        JournalFile journal;
        if (ReadJournal(paths[i], &journal) == JournalRead::Read && !journal.closed) continue;
        DeleteFileW(SystemPath(paths[i]).c_str());
    }
    // Left by a start cut off before its header was written: it covers nothing.
    for (const std::wstring &unfinished : FilesEndingIn(kNewExtension))
        DeleteFileW(SystemPath(unfinished).c_str());
}

bool WritePending()
{
    if (!WriteAll(g_journal.file.Get(), g_journal.pending)) {
        g_journal.broken = true;
        return false;
    }
    g_journal.pending.clear();
    return true;
}

bool FlushMarks()
{
    if (!g_marks.file.Valid() || g_marks.pending.empty()) return true;
    if (!WriteAll(g_marks.file.Get(), g_marks.pending) || !FlushFileBuffers(g_marks.file.Get()))
        return false;
    g_marks.pending.clear();
    g_marks.unflushed = 0;
    return true;
}

std::string RebuildRecord(const RebuildStep &step)
{
    return std::string(kRebuildLine) + '\t' + Escaped(step.folder) + '\t' + Escaped(step.temporary) +
           '\t' + AttributesField(step.attributes) + '\t' + TimeField(step.created) + '\t' +
           TimeField(step.accessed) + '\t' + TimeField(step.written) + '\t' +
           TimeField(step.parentCreated) + '\t' + TimeField(step.parentAccessed) + '\t' +
           TimeField(step.parentWritten) + '\n';
}

std::string RenameRecord(const RenameStep &step)
{
    return std::string(kRenameLine) + '\t' + Escaped(step.from) + '\t' + Escaped(step.temporary) + '\n';
}

// A step record written straight to the disk: what it announces must not
// happen before the record is there.
bool WriteStep(const std::string &record)
{
    if (!JournalOpen()) return true;
    if (g_journal.broken) return false;
    g_journal.pending += record;
    return JournalFlush();
}

// Parses the header line; false when it is not one.
bool ParseHeader(const std::vector<std::string> &fields, JournalFile *journal, bool *firstFormat)
{
    *firstFormat = fields.size() == 4 && fields[0] == kHeaderFirst;
    if (!*firstFormat && !(fields.size() == 5 && fields[0] == kHeader)) return false;
    if (fields[1].size() != 1 || (fields[2] != "run" && fields[2] != "undo")) return false;
    const char kind = fields[1][0];
    if (kind != 'T' && kind != 'A' && kind != 'L') return false;
    journal->kind = static_cast<JournalKind>(kind);
    journal->isUndo = fields[2] == "undo";
    unsigned year, month, day, hour, minute, second;
    if (std::sscanf(fields[3].c_str(), "%u-%u-%u %u:%u:%u", &year, &month, &day, &hour, &minute,
                    &second) != 6)
        return false;
    journal->started.wYear = static_cast<WORD>(year);
    journal->started.wMonth = static_cast<WORD>(month);
    journal->started.wDay = static_cast<WORD>(day);
    journal->started.wHour = static_cast<WORD>(hour);
    journal->started.wMinute = static_cast<WORD>(minute);
    journal->started.wSecond = static_cast<WORD>(second);
    if (*firstFormat) {
        journal->closed = true;
        journal->outcome = RunOutcome::Completed;
        return true;
    }
    return Unescape(fields[4], &journal->undoes) &&
           journal->undoes.find(L'\\') == std::wstring::npos;
}

// One record after the header; false when it is no record a journal writes.
bool ParseRecord(const std::vector<std::string> &fields, JournalFile *journal)
{
    const std::string &tag = fields[0];
    if (fields.size() == 11) {
        JournalEntry entry;
        if (!ParsePath(fields[0], &entry.path) || !ParseState(fields, 1, &entry.before) ||
            !ParseState(fields, 6, &entry.after))
            return false;
        journal->entries.push_back(std::move(entry));
        journal->settled.push_back(0);
        return true;
    }
    if (fields.size() == 1 && tag == kUndoneLine) {
        journal->undoneMark = true;
        return true;
    }
    if (fields.size() == 2 && tag == kSettledLine) {
        unsigned long long index = 0;
        if (!ParseNumber(fields[1], &index) || index >= journal->settled.size()) return false;
        journal->settled[static_cast<std::size_t>(index)] = 1;
        return true;
    }
    if (fields.size() == 2 && tag == kEndLine && fields[1].size() == 1) {
        const char outcome = fields[1][0];
        if (outcome != 'c' && outcome != 's' && outcome != 'f' && outcome != 'i') return false;
        journal->closed = true;
        journal->outcome = static_cast<RunOutcome>(outcome);
        return true;
    }
    if (fields.size() == 10 && tag == kRebuildLine) {
        RebuildStep step;
        if (!ParsePath(fields[1], &step.folder) || !ParsePath(fields[2], &step.temporary) ||
            !ParseAttributes(fields[3], &step.attributes) || !ParseTime(fields[4], &step.created) ||
            !ParseTime(fields[5], &step.accessed) || !ParseTime(fields[6], &step.written) ||
            !ParseTime(fields[7], &step.parentCreated) || !ParseTime(fields[8], &step.parentAccessed) ||
            !ParseTime(fields[9], &step.parentWritten))
            return false;
        journal->openRebuilds.push_back(std::move(step));
        return true;
    }
    if (fields.size() == 3 && tag == kRenameLine) {
        RenameStep step;
        if (!ParsePath(fields[1], &step.from) || !ParsePath(fields[2], &step.temporary)) return false;
        journal->openRenames.push_back(std::move(step));
        return true;
    }
    if (fields.size() == 2 && (tag == kRebuiltLine || tag == kRenamedLine)) {
        std::wstring path;
        if (!ParsePath(fields[1], &path)) return false;
        if (tag == kRebuiltLine) {
            auto &steps = journal->openRebuilds;
            steps.erase(std::remove_if(steps.begin(), steps.end(),
                                       [&](const RebuildStep &s) { return s.folder == path; }),
                        steps.end());
        } else {
            auto &steps = journal->openRenames;
            steps.erase(std::remove_if(steps.begin(), steps.end(),
                                       [&](const RenameStep &s) { return s.from == path; }),
                        steps.end());
        }
        return true;
    }
    return false;
}

}  // namespace

std::size_t JournalFile::Unsettled() const
{
    if (undoneMark) return 0;
    return static_cast<std::size_t>(std::count(settled.begin(), settled.end(), 0));
}

bool JournalFile::FullyUndone() const
{
    return Unsettled() == 0;
}

std::wstring JournalFolder()
{
    if (!g_journalFolder.empty()) return g_journalFolder;
    wchar_t local[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)))
        return std::wstring();
    return JoinPath(local, L"Retempo");
}

bool JournalBegin(JournalKind kind, bool isUndo, AfterChange after, const std::wstring &undoes)
{
    JournalEnd(RunOutcome::Completed);
    const std::wstring folder = JournalFolder();
    if (folder.empty()) return false;
    CreateDirectoryW(SystemPath(folder).c_str(), nullptr);
    SYSTEMTIME local;
    GetLocalTime(&local);
    char started[32];
    std::snprintf(started, sizeof started, "%04u-%02u-%02u %02u:%02u:%02u", local.wYear,
                  local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond);
    const std::string header = std::string(kHeader) + '\t' + static_cast<char>(kind) + '\t' +
                               (isUndo ? "undo" : "run") + '\t' + started + '\t' +
                               Escaped(undoes) + '\n';
    // Named by the moment it is made, so that names sort as the runs came;
    // two runs within one tick of the clock take the next free moment.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULONGLONG moment = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    std::wstring path;
    for (int attempt = 0; attempt < 100 && path.empty(); ++attempt, ++moment) {
        wchar_t name[40];
        std::swprintf(name, 40, L"%016llX", moment);
        const std::wstring candidate = JoinPath(folder, name);
        if (GetFileAttributesW(SystemPath(candidate + kExtension).c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        FileHandle file(CreateFileW(SystemPath(candidate + kNewExtension).c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return false;
        const bool written = WriteAll(file.Get(), header) && FlushFileBuffers(file.Get());
        file.Close();
        if (!written || !MoveFileExW(SystemPath(candidate + kNewExtension).c_str(),
                                     SystemPath(candidate + kExtension).c_str(), 0)) {
            DeleteFileW(SystemPath(candidate + kNewExtension).c_str());
            return false;
        }
        path = candidate + kExtension;
    }
    if (path.empty()) return false;
    FileHandle file = OpenForAppend(path);
    if (!file.Valid()) {
        DeleteFileW(SystemPath(path).c_str());
        return false;
    }
    g_journal.file = std::move(file);
    g_journal.path = path;
    g_journal.after = after;
    g_journal.pending.clear();
    g_journal.entries = 0;
    g_journal.broken = false;
    g_journal.holdSync = false;
    g_journal.known.clear();
    return true;
}

bool JournalOpen()
{
    return g_journal.file.Valid();
}

bool JournalRecord(const std::wstring &path, const ItemState &before)
{
    return JournalRecordChange(path, before, g_journal.after ? g_journal.after(path, before) : before);
}

bool JournalRecordChange(const std::wstring &path, const ItemState &before, const ItemState &after)
{
    if (!JournalOpen() || g_journal.broken) return false;
    g_journal.pending += Escaped(path) + '\t' + StateFields(before) + '\t' + StateFields(after) + '\n';
    ++g_journal.entries;
    g_journal.known.insert(PathHash(path));
    if (g_journal.pending.size() > kPendingLimit && !WritePending()) return false;
    return true;
}

bool JournalKnows(const std::wstring &path)
{
    return g_journal.known.count(PathHash(path)) != 0;
}

void JournalHoldSync(bool hold)
{
    g_journal.holdSync = hold;
}

bool JournalRecordItem(const std::wstring &path)
{
    ItemState state;
    if (!ReadItemState(path, &state)) return true;  // nothing there: nothing will change
    return JournalRecord(path, state);
}

bool JournalFlush()
{
    if (!JournalOpen() || g_journal.broken) return false;
    if (!WritePending() || (!g_journal.holdSync && !FlushFileBuffers(g_journal.file.Get()))) {
        g_journal.broken = true;
        return false;
    }
    if (!FlushMarks()) {
        g_journal.broken = true;
        return false;
    }
    return true;
}

bool JournalBroken()
{
    return g_journal.broken;
}

bool JournalRebuildBegins(const RebuildStep &step)
{
    return WriteStep(RebuildRecord(step));
}

void JournalRebuildEnds(const std::wstring &folder)
{
    if (JournalOpen() && !g_journal.broken)
        g_journal.pending += std::string(kRebuiltLine) + '\t' + Escaped(folder) + '\n';
}

bool JournalRenameBegins(const RenameStep &step)
{
    return WriteStep(RenameRecord(step));
}

void JournalRenameEnds(const std::wstring &from)
{
    if (JournalOpen() && !g_journal.broken)
        g_journal.pending += std::string(kRenamedLine) + '\t' + Escaped(from) + '\n';
}

void JournalEnd(RunOutcome outcome)
{
    if (!JournalOpen()) return;
    // A journal that could not be written is closed as failed where that is
    // still possible; where not, a later start finds the run cut off.
    if (g_journal.broken) {
        g_journal.broken = false;
        outcome = RunOutcome::Failed;
    }
    g_journal.pending += std::string(kEndLine) + '\t' + static_cast<char>(outcome) + '\n';
    JournalFlush();
    g_journal.file.Close();
    g_journal.known.clear();
    if (g_journal.entries == 0) DeleteFileW(SystemPath(g_journal.path).c_str());
    g_journal.pending.clear();
    KeepNewestJournals();
}

void JournalDiscard()
{
    if (!JournalOpen()) return;
    g_journal.file.Close();
    g_journal.known.clear();
    g_journal.pending.clear();
    DeleteFileW(SystemPath(g_journal.path).c_str());
}

bool UndoMarksBegin(const std::wstring &journalPath)
{
    UndoMarksEnd();
    JournalFile journal;
    if (ReadJournal(journalPath, &journal) != JournalRead::Read) return false;
    g_marks.file = OpenForAppend(journalPath);
    if (!g_marks.file.Valid()) return false;
    g_marks.path = journalPath;
    g_marks.pending.clear();
    g_marks.unflushed = 0;
    g_marks.settled = journal.undoneMark ? std::vector<char>(journal.settled.size(), 1) : journal.settled;
    return true;
}

void UndoMarkSettled(std::size_t entry)
{
    if (!g_marks.file.Valid() || entry >= g_marks.settled.size() || g_marks.settled[entry]) return;
    g_marks.settled[entry] = 1;
    g_marks.pending += std::string(kSettledLine) + '\t' + std::to_string(entry) + '\n';
    if (++g_marks.unflushed >= kMarksPerFlush) FlushMarks();
}

void UndoMarksEnd()
{
    if (!g_marks.file.Valid()) return;
    if (std::find(g_marks.settled.begin(), g_marks.settled.end(), 0) == g_marks.settled.end())
        g_marks.pending += std::string(kUndoneLine) + '\n';
    FlushMarks();
    g_marks.file.Close();
    g_marks.settled.clear();
}

JournalRead ReadJournal(const std::wstring &path, JournalFile *journal)
{
    std::string bytes;
    *journal = JournalFile();
    journal->path = path;
    if (!ReadAll(path, &bytes)) return JournalRead::Unreadable;
    std::size_t start = 0;
    bool headerRead = false, firstFormat = false;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        // A last line without its end was cut by a crash before it reached
        // the disk: nothing it announced can have happened.
        if (end == std::string::npos) break;
        const std::vector<std::string> fields = SplitFields(bytes.substr(start, end - start));
        start = end + 1;
        if (!headerRead) {
            if (!ParseHeader(fields, journal, &firstFormat)) return JournalRead::Unreadable;
            headerRead = true;
        } else if (!ParseRecord(fields, journal)) {
            return JournalRead::Damaged;
        }
    }
    if (!headerRead) return JournalRead::Unreadable;
    // The first format had no closing records: its runs count as finished.
    if (firstFormat) journal->closed = true;
    return JournalRead::Read;
}

std::vector<std::wstring> JournalPaths()
{
    return FilesEndingIn(kExtension);
}

bool CloseJournalAs(const std::wstring &path, RunOutcome outcome)
{
    return AppendRecords(path, std::string(kEndLine) + '\t' + static_cast<char>(outcome) + '\n');
}

bool CloseJournalStep(const std::wstring &path, const RebuildStep &step)
{
    return AppendRecords(path, std::string(kRebuiltLine) + '\t' + Escaped(step.folder) + '\n');
}

bool CloseJournalStep(const std::wstring &path, const RenameStep &step)
{
    return AppendRecords(path, std::string(kRenamedLine) + '\t' + Escaped(step.from) + '\n');
}

bool ReadItemState(const std::wstring &path, ItemState *state)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!ReadItemData(path, &data)) return false;
    state->created = data.ftCreationTime;
    state->accessed = data.ftLastAccessTime;
    state->written = data.ftLastWriteTime;
    state->attributes = data.dwFileAttributes;
    const std::wstring stored = StoredName(path);
    state->name = stored.empty() ? NameOf(path) : stored;
    return true;
}
