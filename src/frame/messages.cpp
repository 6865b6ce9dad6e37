#include "messages.h"

#include <cstdarg>
#include <cstdio>

#include "language.h"

namespace {

struct MessageEntry {
    Msg id;
    UINT flags;
    const char *english;
    const char *englishCaption;
    const char *japanese;
    const char *japaneseCaption;
};

constexpr UINT kWarn = MB_OK | MB_ICONWARNING;
constexpr UINT kError = MB_OK | MB_ICONERROR;
constexpr UINT kInfo = MB_OK | MB_ICONINFORMATION;
constexpr UINT kSystem = MB_OK | MB_ICONERROR | MB_SYSTEMMODAL;

// The texts are the programs' own words, kept as users know them (spelling included).
constexpr MessageEntry kMessages[] = {
    {Msg::DialogFailure, kSystem, "Unable to display dialog", "System Error",
     "ダイアログを表示できません", "システム・エラー"},
    {Msg::ReadmeMissing, kError, "Install the readme file (%s)\nin the same directory.", "Error",
     "説明ファイル(%s)を、本フォルダに\nインストールしてください.", "エラー"},
    {Msg::NotepadFailure, kError, "Unable to open the readme file (%s) by Notepad.", "Error",
     "使い方のファイル(%s)をメモ帳で開けません.", "エラー"},
    {Msg::NoFileInList, kWarn, "No file in the list.", "Error", "リストにファイルがありません.",
     "エラー"},
    {Msg::NoFileSelected, kWarn, "No file selected.", "Error", "ファイルが選択されていません.",
     "エラー"},
    {Msg::TimestampDriveRefused, kWarn, "Unable to change the timestamp in the assigned drive.",
     "Error", "指定のドライブではタイムスタンプの変更はできません.", "エラー"},
    {Msg::AttributesDriveRefused, kWarn, "Unable to change the attributes in the assigned drive.",
     "Error", "指定のドライブでは属性の変更はできません.", "エラー"},
    {Msg::LettersDriveRefused, kWarn, "Unable to change letters in the assigned drive.", "Error",
     "指定のドライブでは文字の変更はできません.", "エラー"},
    {Msg::CommandDialogFailure, kSystem, "Unable to display dialog.", "System Error",
     "ダイアログを表示できません.", "システム・エラー"},
    {Msg::Confirmation, MB_YESNO | MB_ICONQUESTION, "Do you execute the timestamp change?\n  To : %s",
     "Confirmation", "タイムスタンプ変更を実行しますか？\n  To : %s", "確認"},
    {Msg::ConfirmationFatLine, MB_YESNO | MB_ICONQUESTION, "\nFor FAT, sec %d is rounded down to %d.",
     "Confirmation", "\nFATでは、秒 %d は %d に丸められます.", "確認"},
    {Msg::DriveKindRefused, kWarn,
     "Unable to change timestamp(s) excecpt file(s) in removable-disk, hard-disk, or ram-disk.",
     "Error",
     "リムーバブル・ディスク、ハード・ディスク、ラム・ディスク上のファイル以外のタイムスタンプは変更できません.",
     "エラー"},
    {Msg::NoFreeSpace, kWarn, "No free disk-space.", "Error", "ディスクの空きスペースがありません.",
     "エラー"},
    // The caption stays English in both modes, as users of either mode have always seen it.
    {Msg::MissingItem, kError, "File or folder\n   %s\ndoes not exist.", "Error",
     "ファイル又はホルダー\n   %s\nは存在しません.", "Error"},
    {Msg::Limit1980, kWarn,
     "Unable to change the timestamp to 1980/1/1 00:00:00 for the directory.", "Warning",
     "ディレクトリのタイムスタンプは、1980年1月1日午前0時0分0秒へ変更できません.", "警告"},
    {Msg::TemporaryName, kWarn,
     "Unable to change the directory timestamp, because of unexpected malfunction.", "Error",
     "予期せぬ不具合で、ディレクトリのタイムスタンプは変更できません.", "エラー"},
    // A rebuild failed and so did putting the folder back: the user must learn where things are.
    {Msg::EntriesLeftBehind, kError,
     "Unable to change the directory timestamp, and unable to restore the directory\n   %s\n"
     "Some of its contents are in the folder\n   %s",
     "Error",
     "ディレクトリのタイムスタンプを変更できず、ディレクトリ\n   %s\nを元に戻せませんでした.\n"
     "中身の一部は、次のフォルダーにあります.\n   %s",
     "エラー"},
    // The clock was set for a rebuilt folder and could not be set back.
    {Msg::ClockNotPutBack, kError,
     "The system clock could not be set back after a folder was re-created.\n"
     "It now shows %s.\nPlease set the clock to the right time.",
     "Error",
     "フォルダーの再作成の後、システムの時計を元に戻せませんでした.\n"
     "時計は現在 %s を示しています.\n時計を正しい時刻に合わせてください.",
     "エラー"},
    {Msg::Succeeded, kInfo, "Modification of timestamp succeeded.", "Information",
     "タイムスタンプの変更は、成功しました.", "お知らせ"},
    {Msg::Failed, kInfo, "Modification of timestamp failed.", "Information",
     "タイムスタンプの変更は、失敗しました.", "お知らせ"},
    {Msg::NoFileAssigned, kWarn, "No file assigned.", "Error", "ファイルが選択されていません.",
     "エラー"},
    {Msg::FailedDriveKind, kWarn,
     "Modification of timestamp failed.\nUnable to change timestamp(s) excecpt file(s) in "
     "removable-disk, hard-disk, or ram-disk.",
     "Error",
     "タイムスタンプの変更は、失敗しました.\nリムーバブル・ディスク、ハード・ディスク、ラム・ディスク以外のファイルのタイムスタンプは変更できません.",
     "エラー"},
    {Msg::FailedFreeSpace, kWarn, "Modification of timestamp failed.\nNo enough free disk-space.",
     "Error", "タイムスタンプの変更は、失敗しました.\nディスクの空きスペースがありません.", "エラー"},
    {Msg::FailedLimit1980, kWarn,
     "Modification of timestamp failed.\nUnable to change the timestamp to 1980/1/1 00:00:00 for "
     "the directory.",
     "Warning",
     "タイムスタンプの変更は、失敗しました.\nディレクトリのタイムスタンプは、1980年1月1日午前0時0分0秒へ変更できません.",
     "警告"},
    {Msg::FailedTemporaryName, kWarn,
     "Modification of timestamp failed.\nUnable to change the directory timestamp, because of "
     "unexpected malfunction.",
     "Error",
     "タイムスタンプの変更は、失敗しました.\n予期せぬ不具合で、ディレクトリのタイムスタンプは変更できません.",
     "エラー"},
    {Msg::FailedMissing, kWarn, "Modification of timestamp failed.\nNot existing file(s) or folder(s).",
     "Error", "タイムスタンプの変更は、失敗しました.\n存在しないファイルかフォルダーがあります.",
     "エラー"},
    {Msg::FailedLeftBehind, kError,
     "Modification of timestamp failed.\nUnable to restore the directory\n   %s\n"
     "Some of its contents are in the folder\n   %s",
     "Error",
     "タイムスタンプの変更は、失敗しました.\nディレクトリ\n   %s\nを元に戻せませんでした.\n"
     "中身の一部は、次のフォルダーにあります.\n   %s",
     "エラー"},
    {Msg::LeftBehindFolder, kError,
     "\nUnable to restore the directory\n   %s\nSome of its contents are in the folder\n   %s",
     "Error",
     "\nディレクトリ\n   %s\nを元に戻せませんでした.\n中身の一部は、次のフォルダーにあります.\n   %s",
     "エラー"},
    {Msg::MediaQuestion, MB_YESNO | MB_ICONWARNING, "Does the drive %s have a media ready to use?",
     "CAUTION", "ドライブ %s にはメディアが準備できていますか？", "注意"},
    {Msg::DeleteSelectedQuestion, MB_YESNO | MB_ICONQUESTION, "Do you delete selected item(s)?",
     "Question", "選択したアイテムを削除しますか？", "質問"},
    {Msg::DeleteAllQuestion, MB_YESNO | MB_ICONQUESTION, "Do you delete all items?", "Question",
     "全アイテムを削除しますか？", "質問"},
    {Msg::ExplorerFailure, kError, "Unable to execute Explorer.", "Error",
     "エクスプローラを起動できません.", "エラー"},
    {Msg::NameLeftTemporary, kWarn,
     "The letters of\n   %s\ncould not be changed, and the item keeps the temporary name\n   %s",
     "Error",
     "次のアイテムの文字を変更できず、アイテムは一時的な名前のままです.\n   %s\n一時的な名前:\n   %s",
     "エラー"},
};

constexpr bool EveryMessageInIdOrder()
{
    if (sizeof kMessages / sizeof kMessages[0] != static_cast<size_t>(Msg::Count)) return false;
    for (size_t i = 0; i < sizeof kMessages / sizeof kMessages[0]; ++i)
        if (static_cast<size_t>(kMessages[i].id) != i) return false;
    return true;
}
static_assert(EveryMessageInIdOrder(), "one entry per message, in the order of Msg");

const MessageEntry &Entry(Msg id)
{
    return kMessages[static_cast<int>(id)];
}

}  // namespace

const char *MessageText(Msg id)
{
    return g_japaneseMode ? Entry(id).japanese : Entry(id).english;
}

const char *MessageCaption(Msg id)
{
    return g_japaneseMode ? Entry(id).japaneseCaption : Entry(id).englishCaption;
}

UINT MessageFlags(Msg id)
{
    return Entry(id).flags;
}

int ShowMessageText(HWND owner, Msg id, const char *text)
{
    UINT flags = MessageFlags(id);
    if (flags & MB_SYSTEMMODAL) owner = nullptr;
    return MessageBoxA(owner, text, MessageCaption(id), flags);
}

int ShowMessage(HWND owner, Msg id)
{
    return ShowMessageText(owner, id, MessageText(id));
}

int ShowMessageFormatted(HWND owner, Msg id, ...)
{
    char text[1024] = {};
    va_list args;
    va_start(args, id);
    std::vsnprintf(text, sizeof text, MessageText(id), args);
    va_end(args);
    return ShowMessageText(owner, id, text);
}
