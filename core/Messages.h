#pragma once
// What the program tells the user. A phrase that follows a
// path begins with its own blank or line break.
constexpr wchar_t kMsgEnterScript[] = L"ｽｸﾘﾌﾟﾄﾌｧｲﾙ を入力してください。";
constexpr wchar_t kMsgEnterInput[] = L"入力ﾌｧｲﾙ を入力してください。";
constexpr wchar_t kMsgEnterOutput[] = L"出力ﾌｧｲﾙ を入力してください。";
constexpr wchar_t kMsgNotExist[] = L" は存在しません。";
constexpr wchar_t kMsgInvalidFile[] = L" は不正なファイルです。";
constexpr wchar_t kMsgSameAsInput[] = L"\n入力ﾌｧｲﾙと同じﾌｧｲﾙには出力できません。";
constexpr wchar_t kMsgSameAsScript[] = L"\nｽｸﾘﾌﾟﾄﾌｧｲﾙと同じﾌｧｲﾙには出力できません。";
constexpr wchar_t kMsgOverwrite[] = L" は既に存在します。\n上書きしますか?";
constexpr wchar_t kMsgCompleted[] = L"完了しました。";
constexpr wchar_t kMsgRunBlocksSessionEnd[] = L"ｽｸﾘﾌﾟﾄを実行中です。";
constexpr wchar_t kMsgPerlNotStarted[] = L"perl を起動できませんでした。";
constexpr wchar_t kMsgRunFailed[] = L" の実行に失敗しました。（終了コード ";
constexpr wchar_t kMsgRunFailedEnd[] = L"）";
constexpr wchar_t kMsgStopQuestion[] = L"ｽｸﾘﾌﾟﾄ の実行を中止しますか?";
constexpr wchar_t kMsgRunStopped[] = L" の実行を中止しました。";
