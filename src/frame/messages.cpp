#include "messages.h"


#include "language.h"

namespace {

struct MessageEntry {
    Msg id;
    UINT flags;
    const wchar_t *english;
    const wchar_t *englishCaption;
    const wchar_t *japanese;
    const wchar_t *japaneseCaption;
};

constexpr UINT kWarn = MB_OK | MB_ICONWARNING;
constexpr UINT kError = MB_OK | MB_ICONERROR;
constexpr UINT kInfo = MB_OK | MB_ICONINFORMATION;
constexpr UINT kSystem = MB_OK | MB_ICONERROR | MB_SYSTEMMODAL;

// The texts are the programs' own words, kept as users know them (spelling included).
constexpr MessageEntry kMessages[] = {
    {Msg::DialogFailure, kSystem, L"Unable to display dialog", L"System Error",
     L"ダイアログを表示できません", L"システム・エラー"},
    {Msg::ReadmeMissing, kError, L"Install the readme file (%s)\nin the same directory.", L"Error",
     L"説明ファイル(%s)を、本フォルダに\nインストールしてください.", L"エラー"},
    {Msg::NotepadFailure, kError, L"Unable to open the readme file (%s) by Notepad.", L"Error",
     L"使い方のファイル(%s)をメモ帳で開けません.", L"エラー"},
    {Msg::NoFileInList, kWarn, L"No file in the list.", L"Error", L"リストにファイルがありません.",
     L"エラー"},
    {Msg::NoFileSelected, kWarn, L"No file selected.", L"Error", L"ファイルが選択されていません.",
     L"エラー"},
    {Msg::TimestampDriveRefused, kWarn, L"Unable to change the timestamp in the assigned drive.",
     L"Error", L"指定のドライブではタイムスタンプの変更はできません.", L"エラー"},
    {Msg::AttributesDriveRefused, kWarn, L"Unable to change the attributes in the assigned drive.",
     L"Error", L"指定のドライブでは属性の変更はできません.", L"エラー"},
    {Msg::LettersDriveRefused, kWarn, L"Unable to change letters in the assigned drive.", L"Error",
     L"指定のドライブでは文字の変更はできません.", L"エラー"},
    {Msg::CommandDialogFailure, kSystem, L"Unable to display dialog.", L"System Error",
     L"ダイアログを表示できません.", L"システム・エラー"},
    {Msg::Confirmation, MB_YESNO | MB_ICONQUESTION, L"Do you execute the timestamp change?\n  To : %s",
     L"Confirmation", L"タイムスタンプ変更を実行しますか？\n  To : %s", L"確認"},
    {Msg::ConfirmationFatLine, MB_YESNO | MB_ICONQUESTION, L"\nFor FAT, sec %d is rounded down to %d.",
     L"Confirmation", L"\nFATでは、秒 %d は %d に丸められます.", L"確認"},
    {Msg::DriveKindRefused, kWarn,
     L"Unable to change timestamp(s) excecpt file(s) in removable-disk, hard-disk, or ram-disk.",
     L"Error",
     L"リムーバブル・ディスク、ハード・ディスク、ラム・ディスク上のファイル以外のタイムスタンプは変更できません.",
     L"エラー"},
    {Msg::NoFreeSpace, kWarn, L"No free disk-space.", L"Error", L"ディスクの空きスペースがありません.",
     L"エラー"},
    // The caption stays English in both modes, as users of either mode have always seen it.
    {Msg::MissingItem, kError, L"File or folder\n   %s\ndoes not exist.", L"Error",
     L"ファイル又はホルダー\n   %s\nは存在しません.", L"Error"},
    {Msg::Limit1980, kWarn,
     L"Unable to change the timestamp to 1980/1/1 00:00:00 for the directory.", L"Warning",
     L"ディレクトリのタイムスタンプは、1980年1月1日午前0時0分0秒へ変更できません.", L"警告"},
    {Msg::TemporaryName, kWarn,
     L"Unable to change the directory timestamp, because of unexpected malfunction.", L"Error",
     L"予期せぬ不具合で、ディレクトリのタイムスタンプは変更できません.", L"エラー"},
    // A rebuild failed and so did putting the folder back: the user must learn where things are.
    {Msg::EntriesLeftBehind, kError,
     L"Unable to change the directory timestamp, and unable to restore the directory\n   %s\n"
     L"Some of its contents are in the folder\n   %s",
     L"Error",
     L"ディレクトリのタイムスタンプを変更できず、ディレクトリ\n   %s\nを元に戻せませんでした.\n"
     L"中身の一部は、次のフォルダーにあります.\n   %s",
     L"エラー"},
    // The clock was set for a rebuilt folder and could not be set back.
    {Msg::ClockNotPutBack, kError,
     L"The system clock could not be set back after a folder was re-created.\n"
     L"It now shows %s.\nPlease set the clock to the right time.",
     L"Error",
     L"フォルダーの再作成の後、システムの時計を元に戻せませんでした.\n"
     L"時計は現在 %s を示しています.\n時計を正しい時刻に合わせてください.",
     L"エラー"},
    {Msg::Succeeded, kInfo, L"Modification of timestamp succeeded.", L"Information",
     L"タイムスタンプの変更は、成功しました.", L"お知らせ"},
    {Msg::Failed, kInfo, L"Modification of timestamp failed.", L"Information",
     L"タイムスタンプの変更は、失敗しました.", L"お知らせ"},
    {Msg::NoFileAssigned, kWarn, L"No file assigned.", L"Error", L"ファイルが選択されていません.",
     L"エラー"},
    {Msg::FailedDriveKind, kWarn,
     L"Modification of timestamp failed.\nUnable to change timestamp(s) excecpt file(s) in "
     L"removable-disk, hard-disk, or ram-disk.",
     L"Error",
     L"タイムスタンプの変更は、失敗しました.\nリムーバブル・ディスク、ハード・ディスク、ラム・ディスク以外のファイルのタイムスタンプは変更できません.",
     L"エラー"},
    {Msg::FailedFreeSpace, kWarn, L"Modification of timestamp failed.\nNo enough free disk-space.",
     L"Error", L"タイムスタンプの変更は、失敗しました.\nディスクの空きスペースがありません.", L"エラー"},
    {Msg::FailedLimit1980, kWarn,
     L"Modification of timestamp failed.\nUnable to change the timestamp to 1980/1/1 00:00:00 for "
     L"the directory.",
     L"Warning",
     L"タイムスタンプの変更は、失敗しました.\nディレクトリのタイムスタンプは、1980年1月1日午前0時0分0秒へ変更できません.",
     L"警告"},
    {Msg::FailedTemporaryName, kWarn,
     L"Modification of timestamp failed.\nUnable to change the directory timestamp, because of "
     L"unexpected malfunction.",
     L"Error",
     L"タイムスタンプの変更は、失敗しました.\n予期せぬ不具合で、ディレクトリのタイムスタンプは変更できません.",
     L"エラー"},
    {Msg::FailedMissing, kWarn, L"Modification of timestamp failed.\nNot existing file(s) or folder(s).",
     L"Error", L"タイムスタンプの変更は、失敗しました.\n存在しないファイルかフォルダーがあります.",
     L"エラー"},
    {Msg::FailedLeftBehind, kError,
     L"Modification of timestamp failed.\nUnable to restore the directory\n   %s\n"
     L"Some of its contents are in the folder\n   %s",
     L"Error",
     L"タイムスタンプの変更は、失敗しました.\nディレクトリ\n   %s\nを元に戻せませんでした.\n"
     L"中身の一部は、次のフォルダーにあります.\n   %s",
     L"エラー"},
    {Msg::LeftBehindFolder, kError,
     L"\nUnable to restore the directory\n   %s\nSome of its contents are in the folder\n   %s",
     L"Error",
     L"\nディレクトリ\n   %s\nを元に戻せませんでした.\n中身の一部は、次のフォルダーにあります.\n   %s",
     L"エラー"},
    {Msg::MediaQuestion, MB_YESNO | MB_ICONWARNING, L"Does the drive %s have a media ready to use?",
     L"CAUTION", L"ドライブ %s にはメディアが準備できていますか？", L"注意"},
    {Msg::DeleteSelectedQuestion, MB_YESNO | MB_ICONQUESTION, L"Do you delete selected item(s)?",
     L"Question", L"選択したアイテムを削除しますか？", L"質問"},
    {Msg::DeleteAllQuestion, MB_YESNO | MB_ICONQUESTION, L"Do you delete all items?", L"Question",
     L"全アイテムを削除しますか？", L"質問"},
    {Msg::ExplorerFailure, kError, L"Unable to execute Explorer.", L"Error",
     L"エクスプローラを起動できません.", L"エラー"},
    {Msg::NameLeftTemporary, kWarn,
     L"The letters of\n   %s\ncould not be changed, and the item keeps the temporary name\n   %s",
     L"Error",
     L"次のアイテムの文字を変更できず、アイテムは一時的な名前のままです.\n   %s\n一時的な名前:\n   %s",
     L"エラー"},
    {Msg::JournalFailure, kError,
     L"The journal of the change cannot be written in\n   %s\nNo item is changed that the journal "
     L"does not cover.",
     L"Error",
     L"変更の記録を次のフォルダーに書き込めません.\n   %s\n記録のないアイテムは変更しません.",
     L"エラー"},
    {Msg::StopQuestion, MB_YESNO | MB_ICONQUESTION,
     L"Do you stop the change?\nItems not yet changed stay as they are.", L"Question",
     L"変更を中止しますか？\nまだ変更していないアイテムは、そのままです.", L"質問"},
    {Msg::Stopped, kInfo, L"The change was stopped.\n%s item(s) changed, %s item(s) left as they were.",
     L"Information",
     L"変更を中止しました.\n変更したアイテム: %s\nそのままのアイテム: %s", L"お知らせ"},
    {Msg::UndoNothing, kInfo, L"There is no change to undo.", L"Information",
     L"元に戻す変更はありません.", L"お知らせ"},
    {Msg::UndoQuestion, MB_YESNO | MB_ICONQUESTION, L"Do you undo the last change?\n  %s",
     L"Question", L"最後の変更を元に戻しますか？\n  %s", L"質問"},
    {Msg::UndoRunTimestamp, kInfo, L"Change Timestamp, %s items, %s", L"Information",
     L"タイムスタンプの変更、%s 個、%s", L"お知らせ"},
    {Msg::UndoRunAttributes, kInfo, L"Change Attributes, %s items, %s", L"Information",
     L"属性の変更、%s 個、%s", L"お知らせ"},
    {Msg::UndoRunLetters, kInfo, L"Change Letters, %s items, %s", L"Information",
     L"大文字・小文字の変更、%s 個、%s", L"お知らせ"},
    {Msg::UndoRunUndo, kInfo, L"Undo of %s", L"Information", L"元に戻す: %s", L"お知らせ"},
    {Msg::UndoDone, kInfo, L"Undo put back %s item(s).", L"Information",
     L"%s 個のアイテムを元に戻しました.", L"お知らせ"},
    {Msg::UndoGone, kInfo, L"\nNo longer there:", L"Information", L"\nもう存在しません:",
     L"お知らせ"},
    {Msg::UndoChangedSince, kInfo, L"\nChanged since, left as they are:", L"Information",
     L"\nその後に変更されたため、そのままです:", L"お知らせ"},
    {Msg::UndoFailed, kInfo, L"\nCould not be put back:", L"Information", L"\n元に戻せませんでした:",
     L"お知らせ"},
    {Msg::UndoMore, kInfo, L"   ... and %s more", L"Information", L"   ほか %s 個", L"お知らせ"},
    {Msg::ChangeRunningElsewhere, kWarn,
     L"A change is running in the other window:\n   %s\nNothing was changed. Try again once it has "
     L"finished.",
     L"Error", L"別のウィンドウで変更を実行中です.\n   %s\n何も変更していません. 終わってから、もう一度実行してください.",
     L"エラー"},
    {Msg::AnotherWindow, kWarn, L"another window of Retempo", L"Error", L"レテンポの別のウィンドウ",
     L"エラー"},
    {Msg::UndoRestQuestion, MB_YESNO | MB_ICONQUESTION,
     L"Do you undo the rest of the last change?\n  Undo the rest of: %s (%s left)", L"Question",
     L"最後の変更の残りを元に戻しますか？\n  残りを元に戻す: %s (残り %s 個)", L"質問"},
    {Msg::UndoDamaged, kError,
     L"The journal of the last change cannot be read:\n   %s\nNothing was put back. Delete that file "
     L"to undo older changes.",
     L"Error",
     L"最後の変更の記録を読めません.\n   %s\n何も元に戻していません. "
     L"それより前の変更を元に戻すには、このファイルを削除してください.",
     L"エラー"},
    {Msg::RecoverRun, MB_YESNO | MB_ICONWARNING,
     L"A change did not finish: the program was ended while it ran.\n  %s\nIt had changed %s of %s "
     L"item(s).%s\n\nDo you put back what it changed?\nNo leaves the items as they are; Undo last "
     L"change can still put them back later.",
     L"Warning",
     L"変更が終わっていません: 実行中にプログラムが終了しました.\n  %s\n%s 個のアイテムを変更していました "
     L"(全部で %s 個).%s\n\n変更したアイテムを元に戻しますか？\n「いいえ」ではそのままにします. "
     L"後から「最後の変更を元に戻す」で元に戻せます.",
     L"警告"},
    {Msg::RecoverUndo, MB_YESNO | MB_ICONWARNING,
     L"An undo did not finish: the program was ended while it ran.\n  %s\n%s item(s) are still to be "
     L"put back.%s\n\nDo you put them back now?\nNo leaves them as they are; Undo last change can "
     L"still put them back later.",
     L"Warning",
     L"元に戻す処理が終わっていません: 実行中にプログラムが終了しました.\n  %s\nまだ %s "
     L"個のアイテムが元に戻っていません.%s\n\n今、元に戻しますか？\n「いいえ」ではそのままにします. "
     L"後から「最後の変更を元に戻す」で元に戻せます.",
     L"警告"},
    {Msg::RecoverNothing, kInfo,
     L"A change did not finish: the program was ended while it ran.\n  %s\nIt had changed no "
     L"item.%s",
     L"Information",
     L"変更が終わっていません: 実行中にプログラムが終了しました.\n  %s\n変更したアイテムはありません.%s",
     L"お知らせ"},
    {Msg::RecoverFolderWhole, kInfo,
     L"\nThe folder\n   %s\nwas being rebuilt; it is whole again with its entries, which were in\n   %s",
     L"Information",
     L"\n再作成中だったフォルダー\n   %s\nを、中身とともに元に戻しました. 中身は次の場所にありました.\n   %s",
     L"お知らせ"},
    {Msg::RecoverFolderApart, kInfo,
     L"\nThe folder\n   %s\nwas being rebuilt, and some of its entries still wait in\n   %s\nMove them "
     L"back by hand.",
     L"Information",
     L"\n再作成中だったフォルダー\n   %s\nの中身の一部が、まだ次の場所にあります.\n   %s\n手作業で戻してください.",
     L"お知らせ"},
    {Msg::RecoverNameBack, kInfo, L"\nThe item\n   %s\nhas its name back; it was under\n   %s",
     L"Information", L"\nアイテム\n   %s\nの名前を元に戻しました. 次の一時的な名前でした.\n   %s",
     L"お知らせ"},
    {Msg::RecoverNameAway, kInfo,
     L"\nThe item\n   %s\nis still under the temporary name\n   %s\nRename it by hand.", L"Information",
     L"\nアイテム\n   %s\nは、まだ次の一時的な名前のままです.\n   %s\n手作業で名前を戻してください.",
     L"お知らせ"},
    {Msg::RecoverClock, kInfo,
     L"\nA folder was being rebuilt, for which the system clock is set for a moment. The clock now "
     L"shows %s: please check that it is right.",
     L"Information",
     L"\nフォルダーの再作成中でした. その間、システムの時計を一瞬変更します. 時計は現在 %s "
     L"を示しています: 正しいか確認してください.",
     L"お知らせ"},
    {Msg::BlockReason, kInfo, L"%s: %s of %s item(s). The change stops at the next item.",
     L"Information", L"%s: %s / %s 個. 次のアイテムの前で変更を中止します.", L"お知らせ"},
    {Msg::RunTimestamp, kInfo, L"Change Timestamp", L"Information", L"タイムスタンプの変更",
     L"お知らせ"},
    {Msg::RunAttributes, kInfo, L"Change Attributes", L"Information", L"属性の変更", L"お知らせ"},
    {Msg::RunLetters, kInfo, L"Change Letters", L"Information", L"大文字・小文字の変更", L"お知らせ"},
    {Msg::RunUndo, kInfo, L"Undo", L"Information", L"元に戻す", L"お知らせ"},
    {Msg::UndoCreationLeft, kInfo,
     L"\nPut back but for their creation time, which no folder made again can have (1980-01-01 "
     L"00:00:00):",
     L"Information",
     L"\n作成日時以外は元に戻しました (作り直したフォルダーは 1980/01/01 00:00:00 "
     L"の作成日時を持てません):",
     L"お知らせ"},
    {Msg::UndoWaits, kWarn,
     L"Undo last change waits until the open dialog or the running change is over. Nothing was "
     L"put back.",
     L"Error",
     L"開いているダイアログか実行中の変更が終わるまで、「最後の変更を元に戻す」はできません. "
     L"何も元に戻していません.",
     L"エラー"},
    {Msg::CountingTitle, kInfo, L"%s counting %s", L"Information", L"%s 集計中 %s", L"お知らせ"},
    {Msg::CheckingTitle, kInfo, L"%s checking %s", L"Information", L"%s 確認中 %s", L"お知らせ"},
    {Msg::StoppedCounting, kInfo,
     L"The change was stopped while it counted its items; nothing was changed.", L"Information",
     L"アイテムを数えている間に変更を中止しました. 何も変更していません.", L"お知らせ"},
    {Msg::ReportChanged, kInfo, L"\n%s item(s) changed.", L"Information", L"\n%s 個のアイテムを変更しました.",
     L"お知らせ"},
    {Msg::ReportNotChanged, kInfo, L"\nNot changed:", L"Information", L"\n変更しなかったアイテム:",
     L"お知らせ"},
    {Msg::ReportItem, kInfo, L"\n   %s  (%s)", L"Information", L"\n   %s （%s）", L"お知らせ"},
    {Msg::ReasonHeld, kInfo, L"held by another program", L"Information", L"他のプログラムが使用中",
     L"お知らせ"},
    {Msg::ReasonAccessDenied, kInfo, L"access denied", L"Information", L"アクセスが拒否されました",
     L"お知らせ"},
    {Msg::ReasonGone, kInfo, L"no longer there", L"Information", L"存在しません", L"お知らせ"},
    {Msg::ReasonChosenLink, kInfo, L"a link, left alone: its own times cannot be had", L"Information",
     L"リンクのため、そのままにしました", L"お知らせ"},
    {Msg::ReasonUnreachableName, kInfo, L"a name the system cannot open", L"Information",
     L"システムが開けない名前", L"お知らせ"},
    {Msg::ReasonOwnProgram, kInfo, L"the program's own file", L"Information",
     L"このプログラム自身のファイル", L"お知らせ"},
    {Msg::ReasonVolumeRefused, kInfo, L"the volume cannot take the change", L"Information",
     L"ボリュームが変更を受け付けません", L"お知らせ"},
    {Msg::ReasonRebuildFailed, kInfo, L"the folder could not be rebuilt", L"Information",
     L"フォルダーを再作成できませんでした", L"お知らせ"},
    {Msg::ReasonRebuildLeftIn, kInfo, L"the folder could not be rebuilt; its entries are in %s",
     L"Information", L"フォルダーを再作成できませんでした. 中身は %s にあります", L"お知らせ"},
    {Msg::ReasonNotListed, kInfo, L"cannot be listed: nothing in it was reached", L"Information",
     L"一覧を読めないため、中のアイテムは変更していません", L"お知らせ"},
    {Msg::ReasonLinkUnsettled, kInfo, L"whether it is reached through a link cannot be told",
     L"Information", L"リンク経由かどうか判別できません", L"お知らせ"},
    {Msg::ReasonRefused, kInfo, L"refused by the system", L"Information", L"システムに拒否されました",
     L"お知らせ"},
    {Msg::ReasonNameTaken, kInfo, L"another item has the new name", L"Information",
     L"新しい名前は別のアイテムのものです", L"お知らせ"},
    {Msg::AttributesNotAll, kWarn, L"The attributes of some items could not be changed.", L"Error",
     L"一部のアイテムの属性を変更できませんでした.", L"エラー"},
    {Msg::LettersNotAll, kWarn, L"The letters of some names could not be changed.", L"Error",
     L"一部のアイテムの文字を変更できませんでした.", L"エラー"},
    {Msg::DropNotAdded, kWarn, L"These dropped items could not be added to the list:", L"Error",
     L"次のドロップしたアイテムは、リストに追加できませんでした:", L"エラー"},
    {Msg::DropListFull, kWarn, L"\n%s more item(s) were left out: the list holds 2000 rows at most.",
     L"Error", L"\nリストは最大 2000 行のため、ほか %s 個は追加していません.", L"エラー"},
    {Msg::CopyButton, kInfo, L"Copy", L"Information", L"コピー", L"お知らせ"},
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

const wchar_t *MessageText(Msg id)
{
    return g_japaneseMode ? Entry(id).japanese : Entry(id).english;
}

const wchar_t *MessageCaption(Msg id)
{
    return g_japaneseMode ? Entry(id).japaneseCaption : Entry(id).englishCaption;
}

UINT MessageFlags(Msg id)
{
    return Entry(id).flags;
}

std::wstring FillPlaceholders(const std::wstring &format, std::initializer_list<std::wstring> values)
{
    std::wstring text;
    auto value = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const bool placeholder = format[i] == L'%' && i + 1 < format.size() &&
                                 (format[i + 1] == L's' || format[i + 1] == L'd');
        if (placeholder && value != values.end()) {
            text += *value++;
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

int ShowMessageText(HWND owner, Msg id, const std::wstring &text)
{
    UINT flags = MessageFlags(id);
    if (flags & MB_SYSTEMMODAL) owner = nullptr;
    return MessageBoxW(owner, text.c_str(), MessageCaption(id), flags);
}

int ShowMessage(HWND owner, Msg id)
{
    return ShowMessageText(owner, id, MessageText(id));
}

int ShowMessageFormatted(HWND owner, Msg id, std::initializer_list<std::wstring> values)
{
    return ShowMessageText(owner, id, FillPlaceholders(MessageText(id), values));
}
