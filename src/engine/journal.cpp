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

constexpr char kHeader[] = "Retempo journal 1";
constexpr char kUndoneLine[] = "undone";
constexpr wchar_t kExtension[] = L".journal";
constexpr std::size_t kJournalsKept = 10;

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

std::string Utf8(const std::wstring &text)
{
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                        nullptr, nullptr);
    return bytes;
}

std::wstring FromUtf8(const std::string &bytes)
{
    if (bytes.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                         nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], size);
    return text;
}

// A field never holds the separators of the file: tab, line ends, and the
// escape sign itself are written as %XX.
std::string Escaped(const std::wstring &text)
{
    std::string out;
    for (char c : Utf8(text)) {
        if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

std::wstring Unescaped(const std::string &field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '%' && i + 2 < field.size()) {
            out += static_cast<char>(std::strtol(field.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += field[i];
        }
    }
    return FromUtf8(out);
}

std::string TimeField(const FILETIME &time)
{
    const unsigned long long count =
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return std::to_string(count);
}

FILETIME ParseTime(const std::string &field)
{
    const unsigned long long count = std::strtoull(field.c_str(), nullptr, 10);
    return FILETIME{static_cast<DWORD>(count & 0xFFFFFFFFu), static_cast<DWORD>(count >> 32)};
}

std::string StateFields(const ItemState &state)
{
    char attributes[16];
    std::snprintf(attributes, sizeof attributes, "%lX", static_cast<unsigned long>(state.attributes));
    return TimeField(state.created) + '\t' + TimeField(state.accessed) + '\t' +
           TimeField(state.written) + '\t' + attributes + '\t' + Escaped(state.name);
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

ItemState ParseState(const std::vector<std::string> &fields, std::size_t first)
{
    ItemState state;
    state.created = ParseTime(fields[first]);
    state.accessed = ParseTime(fields[first + 1]);
    state.written = ParseTime(fields[first + 2]);
    state.attributes = static_cast<DWORD>(std::strtoul(fields[first + 3].c_str(), nullptr, 16));
    state.name = Unescaped(fields[first + 4]);
    return state;
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

// The journal files, oldest first: their names are the moment they were made.
std::vector<std::wstring> JournalFiles()
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    FindHandle search(
        FindFirstFileW(JoinPath(SystemPath(JournalFolder()), L"*").c_str(), &found));
    if (!search.Valid()) return names;
    do {
        const std::wstring name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() > 8 &&
            name.compare(name.size() - 8, 8, kExtension) == 0)
            names.push_back(name);
    } while (FindNextFileW(search.Get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

void KeepNewestJournals()
{
    std::vector<std::wstring> names = JournalFiles();
    for (std::size_t i = 0; i + kJournalsKept < names.size(); ++i)
        DeleteFileW(SystemPath(JoinPath(JournalFolder(), names[i])).c_str());
}

}  // namespace

std::wstring JournalFolder()
{
    if (!g_journalFolder.empty()) return g_journalFolder;
    wchar_t local[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)))
        return std::wstring();
    return JoinPath(local, L"Retempo");
}

bool JournalBegin(JournalKind kind, bool isUndo, AfterChange after)
{
    JournalEnd();
    const std::wstring folder = JournalFolder();
    if (folder.empty()) return false;
    CreateDirectoryW(SystemPath(folder).c_str(), nullptr);
    // Named by the moment it is made, so that names sort as the runs came;
    // two runs within one tick of the clock take the next free moment.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULONGLONG moment = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    std::wstring path;
    FileHandle file;
    for (int attempt = 0; attempt < 100 && !file.Valid(); ++attempt, ++moment) {
        wchar_t name[40];
        std::swprintf(name, 40, L"%016llX%ls", moment, kExtension);
        path = JoinPath(folder, name);
        file = FileHandle(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid() && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (!file.Valid()) return false;
    SYSTEMTIME local;
    GetLocalTime(&local);
    char started[32];
    std::snprintf(started, sizeof started, "%04u-%02u-%02u %02u:%02u:%02u", local.wYear,
                  local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond);
    const std::string header = std::string(kHeader) + '\t' + static_cast<char>(kind) + '\t' +
                               (isUndo ? "undo" : "run") + '\t' + started + '\n';
    if (!WriteAll(file.Get(), header) || !FlushFileBuffers(file.Get())) {
        file.Close();
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
    return JournalRecordChange(path, before, g_journal.after ? g_journal.after(before) : before);
}

bool JournalRecordChange(const std::wstring &path, const ItemState &before, const ItemState &after)
{
    if (!JournalOpen() || g_journal.broken) return false;
    g_journal.pending += Escaped(path) + '\t' + StateFields(before) + '\t' + StateFields(after) + '\n';
    ++g_journal.entries;
    g_journal.known.insert(PathHash(path));
    if (g_journal.pending.size() > kPendingLimit) {
        if (!WriteAll(g_journal.file.Get(), g_journal.pending)) {
            g_journal.broken = true;
            return false;
        }
        g_journal.pending.clear();
    }
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
    if (!WriteAll(g_journal.file.Get(), g_journal.pending) ||
        (!g_journal.holdSync && !FlushFileBuffers(g_journal.file.Get()))) {
        g_journal.broken = true;
        return false;
    }
    g_journal.pending.clear();
    return true;
}

bool JournalBroken()
{
    return g_journal.broken;
}

void JournalEnd()
{
    if (!JournalOpen()) return;
    JournalFlush();
    g_journal.file.Close();
    g_journal.known.clear();
    if (g_journal.entries == 0) DeleteFileW(SystemPath(g_journal.path).c_str());
    g_journal.pending.clear();
    KeepNewestJournals();
}

bool ReadJournal(const std::wstring &path, JournalFile *journal)
{
    std::string bytes;
    if (!ReadAll(path, &bytes)) return false;
    *journal = JournalFile();
    journal->path = path;
    std::size_t start = 0;
    bool first = true;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        // A last line without its end was cut by a crash: it is not a whole entry.
        if (end == std::string::npos) break;
        const std::vector<std::string> fields = SplitFields(bytes.substr(start, end - start));
        start = end + 1;
        if (first) {
            if (fields.size() != 4 || fields[0] != kHeader || fields[1].size() != 1) return false;
            journal->kind = static_cast<JournalKind>(fields[1][0]);
            journal->isUndo = fields[2] == "undo";
            unsigned year, month, day, hour, minute, second;
            if (std::sscanf(fields[3].c_str(), "%u-%u-%u %u:%u:%u", &year, &month, &day, &hour,
                            &minute, &second) != 6)
                return false;
            journal->started.wYear = static_cast<WORD>(year);
            journal->started.wMonth = static_cast<WORD>(month);
            journal->started.wDay = static_cast<WORD>(day);
            journal->started.wHour = static_cast<WORD>(hour);
            journal->started.wMinute = static_cast<WORD>(minute);
            journal->started.wSecond = static_cast<WORD>(second);
            first = false;
        } else if (fields.size() == 1 && fields[0] == kUndoneLine) {
            journal->undone = true;
        } else if (fields.size() == 11) {
            journal->entries.push_back({Unescaped(fields[0]), ParseState(fields, 1), ParseState(fields, 6)});
        }
    }
    return !first;
}

bool ReadLatestJournal(JournalFile *journal)
{
    const std::vector<std::wstring> names = JournalFiles();
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        JournalFile candidate;
        if (!ReadJournal(JoinPath(JournalFolder(), *name), &candidate) || candidate.undone) continue;
        *journal = std::move(candidate);
        return true;
    }
    return false;
}

bool MarkJournalUndone(const std::wstring &path)
{
    FileHandle file(CreateFileW(SystemPath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), std::string(kUndoneLine) + '\n') &&
           FlushFileBuffers(file.Get());
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
