#pragma once
// What the program tells the user (code page 932). A phrase that follows a
// path begins with its own blank or line break.
constexpr char kMsgEnterScript[] = "ｽｸﾘﾌﾟﾄﾌｧｲﾙ を入力してください。";
constexpr char kMsgEnterInput[] = "入力ﾌｧｲﾙ を入力してください。";
constexpr char kMsgEnterOutput[] = "出力ﾌｧｲﾙ を入力してください。";
constexpr char kMsgNotExist[] = " は存在しません。";
constexpr char kMsgInvalidFile[] = " は不正なファイルです。";
constexpr char kMsgSameAsInput[] = "\n入力ﾌｧｲﾙと同じﾌｧｲﾙには出力できません。";
constexpr char kMsgSameAsScript[] = "\nｽｸﾘﾌﾟﾄﾌｧｲﾙと同じﾌｧｲﾙには出力できません。";
constexpr char kMsgOverwrite[] = " は既に存在します。\n上書きしますか?";
constexpr char kMsgCompleted[] = "完了しました。";
constexpr char kMsgRunBlocksSessionEnd[] = "ｽｸﾘﾌﾟﾄを実行中です。";
constexpr char kMsgPerlNotStarted[] = "perl を起動できませんでした。";
constexpr char kMsgRunFailed[] = " の実行に失敗しました。（終了コード ";
constexpr char kMsgRunFailedEnd[] = "）";
constexpr char kMsgStopQuestion[] = "ｽｸﾘﾌﾟﾄ の実行を中止しますか?";
constexpr char kMsgRunStopped[] = " の実行を中止しました。";
