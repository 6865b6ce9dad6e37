#include "drop_row.h"

#include <cstdio>
#include <cstring>

#include "language.h"

bool SplitDroppedPath(const char *dropped, char (&folder)[kDropPathSize],
                      char (&name)[kDropPathSize], LeadByteTest isLead)
{
    std::memset(folder, 0, sizeof folder);
    std::memset(name, 0, sizeof name);
    const int separator = LastSeparator(dropped, isLead);
    if (separator <= 0) return false;
    const size_t nameLength = std::strlen(dropped + separator + 1);
    if (nameLength == 0 || nameLength >= static_cast<size_t>(kListTextChars)) return false;
    // A drive alone keeps its backslash, so the folder is the root and not
    // the drive's current directory.
    const int folderLength = separator == 2 && dropped[1] == ':' ? 3 : separator;
    if (folderLength >= kListTextChars) return false;
    std::memcpy(folder, dropped, static_cast<size_t>(folderLength));
    if (folderLength == 3) folder[2] = '\\';
    std::memcpy(name, dropped + separator + 1, nameLength);
    return true;
}

bool JoinRowPath(const char *folder, const char *name, char (&full)[kDropPathSize],
                 LeadByteTest isLead)
{
    std::memset(full, 0, sizeof full);
    const char *joint = EndsWithBackslash(folder, isLead) ? "" : "\\";
    const size_t length = std::strlen(folder) + std::strlen(joint) + std::strlen(name);
    if (length >= sizeof full) return false;
    std::snprintf(full, sizeof full, "%s%s%s", folder, joint, name);
    return true;
}

void RootOfPath(const char *full, char (&root)[4])
{
    std::memset(root, 0, sizeof root);
    for (int i = 0; i < 3 && full[i] != '\0'; ++i) root[i] = full[i];
    if (root[0] >= 'a' && root[0] <= 'z') root[0] = static_cast<char>(root[0] - 'a' + 'A');
}

void FormatSizeText(unsigned long long size, char (&out)[kSizeTextSize])
{
    std::memset(out, 0, sizeof out);
    std::snprintf(out, sizeof out, "%10llu", size);
}

const char *FolderTypeText()
{
    return g_japaneseMode ? "<ﾌｫﾙﾀﾞｰ>" : "<Folder>";
}
