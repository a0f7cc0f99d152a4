#include "run/RunOutcome.h"

#include "text/UserTexts.h"

namespace kenmori {

const RunOutcomeText& OutcomeText(int result)
{
    constexpr std::string_view kError = kTitleError;
    static const RunOutcomeText kLinesWritten{"求人情報の取得が完了しました。", "処理確認", OutcomeBox::Question,
                                              kExitLinesWritten, "lines written"};
    static const RunOutcomeText kNothingFound{"該当する求人情報は見つかりませんでした。", "検索終了",
                                              OutcomeBox::Notice, kExitNothingFound, "nothing found"};
    static const RunOutcomeText kCancelled{
        "取得処理を中断しました。", {}, OutcomeBox::None, kExitStopped, "cancelled"};
    static const RunOutcomeText kOutputFailed{"出力ファイルに書き込めませんでした。\r\n保存先を確認してください。",
                                              kError, OutcomeBox::Notice, kExitOutputFailed, "output file failed"};
    static const RunOutcomeText kListFailed{
        "求人一覧の取得に失敗したため、途中で終了しました。\r\n取得済みの求人情報はファイルに保存されています。",
        kError, OutcomeBox::Notice, kExitIncomplete, "list page failed, incomplete"};
    static const RunOutcomeText kClosed{{}, {}, OutcomeBox::None, kExitStopped, "closed during the run"};
    static const RunOutcomeText kUnknownJobSeeker{
        "指定された求職番号は存在しません。\r\n入力内容を確認してください。", kError, OutcomeBox::Notice,
        kExitUnknownJobSeeker, "job-seeker number unknown"};
    static const RunOutcomeText kSiteUnreachable{
        "サイトへのアクセスができませんでした。\r\nしばらく時間を置いてから再度実行してください。", kError,
        OutcomeBox::Notice, kExitSiteUnreachable, "site unreachable"};
    static const RunOutcomeText kNothingNew{"新しい求人情報は見つかりませんでした。", "検索終了",
                                            OutcomeBox::Notice, kExitNothingFound, "nothing new"};
    static const RunOutcomeText kEnded{{}, {}, OutcomeBox::None, kExitStopped, "ended"};

    switch (result) {
    case kResultLinesWritten: return kLinesWritten;
    case kResultNothingFound: return kNothingFound;
    case kResultCancelled: return kCancelled;
    case kResultOutputFailed: return kOutputFailed;
    case kResultListFailed: return kListFailed;
    case kResultClosing:
    case kResultClosingStopped: return kClosed;
    case kResultUnknownJobSeeker: return kUnknownJobSeeker;
    case kResultSiteUnreachable: return kSiteUnreachable;
    case kResultNothingNew: return kNothingNew;
    default: return kEnded;
    }
}

RunResult RetrievalOutcome(const RunState& state)
{
    if (state.outputFailed)
        return kResultOutputFailed;
    if (state.listPageFailed)
        return kResultListFailed;
    switch (state.verdict) {
    case kVerdictNothingWritten: return kResultNothingFound;
    case kVerdictUnknownJobSeeker: return kResultUnknownJobSeeker;
    default: return kResultLinesWritten;
    }
}

} // namespace kenmori
