#include "link_probe.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

#include "handles.h"
#include "path_text.h"

namespace {

// The reparse data of a junction (a mount point): the target in its NT form
// and as shown, both terminated.
std::vector<BYTE> JunctionData(const std::wstring &target)
{
    const std::wstring substitute = L"\\??\\" + target;
    const std::size_t substituteBytes = substitute.size() * sizeof(wchar_t);
    const std::size_t printBytes = target.size() * sizeof(wchar_t);
    const std::size_t pathBytes = substituteBytes + printBytes + 2 * sizeof(wchar_t);
    // Tag, data length, reserved, then four offsets and lengths.
    constexpr std::size_t kHeader = 8, kOffsets = 8;
    std::vector<BYTE> data(kHeader + kOffsets + pathBytes, 0);
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD dataLength = static_cast<WORD>(kOffsets + pathBytes);
    const WORD offsets[4] = {0, static_cast<WORD>(substituteBytes),
                             static_cast<WORD>(substituteBytes + sizeof(wchar_t)),
                             static_cast<WORD>(printBytes)};
    std::memcpy(&data[0], &tag, sizeof tag);
    std::memcpy(&data[4], &dataLength, sizeof dataLength);
    std::memcpy(&data[kHeader], offsets, sizeof offsets);
    std::memcpy(&data[kHeader + kOffsets], substitute.c_str(), substituteBytes);
    std::memcpy(&data[kHeader + kOffsets + substituteBytes + sizeof(wchar_t)], target.c_str(),
                printBytes);
    return data;
}

bool MakeJunction(const std::wstring &link, const std::wstring &target)
{
    FileHandle folder(CreateFileW(SystemPath(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!folder.Valid()) return false;
    std::vector<BYTE> data = JunctionData(target);
    DWORD returned = 0;
    return DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, data.data(),
                           static_cast<DWORD>(data.size()), nullptr, 0, &returned, nullptr) != FALSE;
}

}  // namespace

LinkOpen ProbeLinkOpen(const std::wstring &folder)
{
    const std::wstring target = JoinPath(folder, L"target");
    const std::wstring link = JoinPath(folder, L"link");
    LinkOpen answer = LinkOpen::CannotTell;
    if (CreateDirectoryW(SystemPath(target).c_str(), nullptr) &&
        CreateDirectoryW(SystemPath(link).c_str(), nullptr) && MakeJunction(link, target)) {
        // Opened as the programs open an item for its change.
        FileHandle opened(CreateFileW(SystemPath(link).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        FILE_ATTRIBUTE_TAG_INFO tag = {};
        if (opened.Valid() &&
            GetFileInformationByHandleEx(opened.Get(), FileAttributeTagInfo, &tag, sizeof tag))
            answer = (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                             tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT
                         ? LinkOpen::AsItself
                         : LinkOpen::Followed;
    }
    // Removing a junction removes the link, never what it leads to.
    RemoveDirectoryW(SystemPath(link).c_str());
    RemoveDirectoryW(SystemPath(target).c_str());
    return answer;
}

bool LinksOpenAsThemselves()
{
    static const bool asItself = [] {
        wchar_t temporary[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
        if (length == 0 || length > MAX_PATH) return false;
        // A folder of this process's own, so that no other probe or file meets it.
        const std::wstring folder =
            JoinPath(DisplayPath(temporary), L"Retempo-probe-" + std::to_wstring(GetCurrentProcessId()) +
                                                 L"-" + std::to_wstring(GetTickCount()));
        if (!CreateDirectoryW(SystemPath(folder).c_str(), nullptr)) return false;
        const LinkOpen answer = ProbeLinkOpen(folder);
        RemoveDirectoryW(SystemPath(folder).c_str());
        return answer == LinkOpen::AsItself;
    }();
    return asItself;
}
