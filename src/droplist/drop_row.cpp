#include "drop_row.h"

#include "language.h"
#include "path_text.h"

bool SplitDroppedPath(const std::wstring &dropped, std::wstring &folder, std::wstring &name)
{
    folder.clear();
    name.clear();
    const std::size_t separator = dropped.find_last_of(L'\\');
    if (separator == std::wstring::npos || separator == 0 || separator + 1 == dropped.size())
        return false;
    // A drive alone keeps its backslash, so the folder is the root and not
    // the drive's current directory.
    folder = ParentOf(dropped);
    name = dropped.substr(separator + 1);
    return true;
}

std::wstring JoinRowPath(const std::wstring &folder, const std::wstring &name)
{
    return JoinPath(folder, name);
}

std::wstring FormatSizeText(unsigned long long size)
{
    std::wstring digits = std::to_wstring(size);
    if (digits.size() < 10) digits.insert(0, 10 - digits.size(), L' ');
    return digits;
}

const wchar_t *FolderTypeText()
{
    return g_japaneseMode ? L"<ﾌｫﾙﾀﾞｰ>" : L"<Folder>";
}
