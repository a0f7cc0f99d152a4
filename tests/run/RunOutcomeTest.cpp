#include "run/RunOutcome.h"

#include <gtest/gtest.h>

using namespace kenmori;

TEST(RunOutcome, RetrievalEndIsReadFromTheRunState)
{
    RunState state;
    EXPECT_EQ(RetrievalOutcome(state), kResultNothingFound);
    state.verdict = kVerdictLineWritten;
    EXPECT_EQ(RetrievalOutcome(state), kResultLinesWritten);
    state.verdict = kVerdictUnknownJobSeeker;
    EXPECT_EQ(RetrievalOutcome(state), kResultUnknownJobSeeker);
    // A failed list page or output file ends the run whatever the verdict.
    state.listPageFailed = true;
    EXPECT_EQ(RetrievalOutcome(state), kResultListFailed);
    state.outputFailed = true;
    EXPECT_EQ(RetrievalOutcome(state), kResultOutputFailed);
}

TEST(RunOutcome, EachOutcomeHasItsBoxAndExitStatus)
{
    struct Expected {
        RunResult result;
        OutcomeBox box;
        CliExitStatus status;
    };
    const Expected expected[] = {
        {kResultLinesWritten, OutcomeBox::Question, kExitLinesWritten},
        {kResultNothingFound, OutcomeBox::Notice, kExitNothingFound},
        {kResultCancelled, OutcomeBox::None, kExitStopped},
        {kResultOutputFailed, OutcomeBox::Notice, kExitOutputFailed},
        {kResultListFailed, OutcomeBox::Notice, kExitIncomplete},
        {kResultClosing, OutcomeBox::None, kExitStopped},
        {kResultUnknownJobSeeker, OutcomeBox::Notice, kExitUnknownJobSeeker},
        {kResultSiteUnreachable, OutcomeBox::Notice, kExitSiteUnreachable},
    };
    for (const Expected& e : expected) {
        const RunOutcomeText& outcome = OutcomeText(e.result);
        EXPECT_EQ(outcome.box, e.box) << e.result;
        EXPECT_EQ(outcome.exitStatus, e.status) << e.result;
        // A box always has its text and title.
        if (outcome.box != OutcomeBox::None) {
            EXPECT_FALSE(outcome.message.empty() || outcome.title.empty()) << e.result;
        }
    }
    EXPECT_EQ(
        OutcomeText(kResultListFailed).message,
        "求人一覧の取得に失敗したため、途中で終了しました。\r\n取得済みの求人情報はファイルに保存されています。");
}
