#include "autostart/registration.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace {

using namespace 开机运行;

constexpr wchar_t kExe[] = L"C:\\Program Files\\LanTimeSync\\LanTimeSync.exe";

class RegistrationTest : public testing::Test {
 protected:
  RegistrationTest() { tasks_.token = TokenKind::Filtered; }

  bool HasRunValue() const {
    return runKey_.Value(RunKeyHive::LocalMachine) || runKey_.Value(RunKeyHive::CurrentUser);
  }
  void EndLast(TaskChangeEnd end) {
    registration_.TaskChangeEnded(tasks_.starts.back().number, end);
  }

  FakeRunKey runKey_;
  FakeLogonTaskSystem tasks_;
  Registration registration_{runKey_, tasks_, kExe};
};

TEST_F(RegistrationTest, AProtectedClickMakesTheTaskRemovesTheRunValuesAndASecondClickDeletesIt) {
  runKey_.values[RunKeyHive::CurrentUser][kRunValueName] = kExe;
  registration_.FollowClick(1);
  ASSERT_EQ(tasks_.starts.size(), 1u);
  EXPECT_EQ(tasks_.starts[0].step, TaskStep::Create);
  EXPECT_TRUE(tasks_.starts[0].throughConsent);
  EXPECT_TRUE(HasRunValue()) << "until the task is there";

  EndLast(TaskChangeEnd::Done);
  EXPECT_FALSE(HasRunValue());
  EXPECT_EQ(registration_.Reason(), L"");

  registration_.FollowClick(0);
  ASSERT_EQ(tasks_.starts.size(), 2u);
  EXPECT_EQ(tasks_.starts[1].step, TaskStep::Delete);
  EXPECT_TRUE(tasks_.starts[1].throughConsent);
  EndLast(TaskChangeEnd::Done);
  EXPECT_FALSE(HasRunValue());
  EXPECT_EQ(registration_.Reason(), L"");
}

TEST_F(RegistrationTest, ADeclinedPromptLeavesTheRunValueAsTodayAndSaysWhy) {
  registration_.FollowClick(1);
  EXPECT_FALSE(HasRunValue()) << "not before the prompt has ended";
  EndLast(TaskChangeEnd::Declined);
  EXPECT_EQ(runKey_.Value(RunKeyHive::LocalMachine), kExe);
  EXPECT_EQ(registration_.Reason(), RegistrationReason(RegistrationProblem::CreateDeclined));
}

TEST_F(RegistrationTest, AFailedCommandLeavesTheRunValueAndSaysWhy) {
  tasks_.token = TokenKind::Elevated;
  registration_.FollowClick(1);
  EXPECT_FALSE(tasks_.starts.back().throughConsent);
  EndLast(TaskChangeEnd::Failed);
  EXPECT_EQ(runKey_.Value(RunKeyHive::LocalMachine), kExe);
  EXPECT_EQ(registration_.Reason(), RegistrationReason(RegistrationProblem::CreateFailed));
}

TEST_F(RegistrationTest, AnExeUnfitForATaskGetsTheRunValueAndItsOwnReasonWithoutAPrompt) {
  const std::pair<ExeForTask, RegistrationProblem> kCases[] = {
      {ExeForTask::Unprotected, RegistrationProblem::ExeUnprotected},
      {ExeForTask::PercentInPath, RegistrationProblem::ExePathHoldsPercent},
      {ExeForTask::PathTooLong, RegistrationProblem::ExePathTooLong},
  };
  for (const auto& [exe, problem] : kCases) {
    tasks_.exe = exe;
    registration_.FollowClick(1);
    EXPECT_TRUE(tasks_.starts.empty());
    EXPECT_EQ(runKey_.Value(RunKeyHive::LocalMachine), kExe);
    EXPECT_EQ(registration_.Reason(), RegistrationReason(problem));
    runKey_.values.clear();
  }
  EXPECT_NE(RegistrationReason(RegistrationProblem::ExeUnprotected).find(L"Program Files"),
            std::wstring::npos);
  EXPECT_NE(RegistrationReason(RegistrationProblem::ExePathHoldsPercent).find(L"%"),
            std::wstring::npos);
}

// Found by playing the plan over event orders: each failed before.
TEST_F(RegistrationTest, ALoadOfAGreyedBoxRemovesOnlyThisProgramsOwnRunValue) {
  tasks_.token = TokenKind::Whole;
  runKey_.values[RunKeyHive::LocalMachine][kRunValueName] = kExe;
  runKey_.values[RunKeyHive::CurrentUser][kRunValueName] = L"D:\\elsewhere\\LanTimeSync.exe";
  registration_.FollowLoad(2, true);
  EXPECT_EQ(runKey_.Value(RunKeyHive::LocalMachine), std::nullopt);
  EXPECT_EQ(runKey_.Value(RunKeyHive::CurrentUser), L"D:\\elsewhere\\LanTimeSync.exe");
}

TEST_F(RegistrationTest, AReleaseRemovesATaskWhateverRunValueThereIs) {
  tasks_.exe = ExeForTask::Unprotected;   // a task made before, or by a copy elsewhere
  tasks_.ownTask = TaskPresence::Absent;  // as far as a file this token can read shows
  registration_.FollowClick(1);
  EXPECT_TRUE(HasRunValue());
  registration_.FollowClick(0);
  ASSERT_EQ(tasks_.starts.size(), 1u);
  EXPECT_EQ(tasks_.starts[0].step, TaskStep::Delete);
  EXPECT_TRUE(tasks_.starts[0].throughConsent);
  EXPECT_FALSE(HasRunValue());
}

TEST_F(RegistrationTest, AMachineWideRunValueTheFilteredTokenCannotRemoveIsTold) {
  runKey_.values[RunKeyHive::LocalMachine][kRunValueName] = kExe;
  runKey_.machineWritable = false;
  registration_.FollowClick(0);
  EXPECT_EQ(registration_.Reason(), RegistrationReason(RegistrationProblem::RunValueKept));
  EndLast(TaskChangeEnd::Done);
  EXPECT_EQ(registration_.Reason(), RegistrationReason(RegistrationProblem::RunValueKept));

  runKey_.machineWritable = true;  // the copy with the full token
  tasks_.token = TokenKind::Elevated;
  Registration elevated(runKey_, tasks_, kExe);
  elevated.FollowLoad(0, false);
  EXPECT_FALSE(HasRunValue());
  EXPECT_EQ(elevated.Reason(), L"");
}

TEST_F(RegistrationTest, ACreateCutShortGivesAFilteredStartTheRunValueAndSaysWhy) {
  tasks_.interrupted = TaskStep::Create;
  registration_.FollowLoad(1, true);
  EXPECT_TRUE(tasks_.starts.empty()) << "no prompt at a start";
  EXPECT_EQ(runKey_.Value(RunKeyHive::LocalMachine), kExe);
  EXPECT_EQ(registration_.Reason(), RegistrationReason(RegistrationProblem::CreateCutShort));
}

TEST_F(RegistrationTest, ADeleteCutShortIsToldToAFilteredStart) {
  tasks_.interrupted = TaskStep::Delete;
  registration_.FollowLoad(0, false);
  EXPECT_TRUE(tasks_.starts.empty());
  EXPECT_EQ(registration_.Reason(), RegistrationReason(RegistrationProblem::DeleteCutShort));
}

TEST_F(RegistrationTest, AChangeCutShortIsSettledByAStartWithTheFullTokenAsAnyLoad) {
  tasks_.token = TokenKind::Elevated;
  tasks_.ownTask = TaskPresence::Absent;  // its schtasks.exe may not have ended
  for (const auto& [step, value] : {std::pair{TaskStep::Create, 1}, {TaskStep::Delete, 0}}) {
    tasks_.interrupted = step;
    tasks_.starts.clear();
    Registration registration(runKey_, tasks_, kExe);
    registration.FollowLoad(value, value == 1);
    ASSERT_EQ(tasks_.starts.size(), 1u);
    EXPECT_EQ(tasks_.starts[0].step, step);
    EXPECT_FALSE(tasks_.starts[0].throughConsent);
    EXPECT_EQ(registration.Reason(), L"");
    EXPECT_FALSE(tasks_.interrupted) << "taken";
  }
}

TEST_F(RegistrationTest, AStartWithATickedBoxAndTheFullTokenRenewsTheTaskWithoutConsentOnce) {
  tasks_.token = TokenKind::Elevated;
  registration_.FollowLoad(1, true);
  ASSERT_EQ(tasks_.starts.size(), 1u);
  EXPECT_EQ(tasks_.starts[0].step, TaskStep::Create);
  EXPECT_FALSE(tasks_.starts[0].throughConsent);
  EndLast(TaskChangeEnd::Done);
  EXPECT_EQ(tasks_.starts.size(), 1u);
  EXPECT_FALSE(HasRunValue()) << "no second registration";
  EXPECT_EQ(registration_.Reason(), L"");
}

TEST_F(RegistrationTest, AStartWithTheFullTokenAndAStaleRunValueRemovesOnlyItsOwn) {
  tasks_.token = TokenKind::Elevated;
  runKey_.values[RunKeyHive::LocalMachine][kRunValueName] = kExe;
  runKey_.values[RunKeyHive::CurrentUser][kRunValueName] = L"D:\\elsewhere\\LanTimeSync.exe";
  registration_.FollowLoad(1, true);
  EndLast(TaskChangeEnd::Done);
  EXPECT_EQ(runKey_.Value(RunKeyHive::LocalMachine), std::nullopt);
  EXPECT_EQ(runKey_.Value(RunKeyHive::CurrentUser), L"D:\\elsewhere\\LanTimeSync.exe");
}

TEST_F(RegistrationTest, AFailedRenewalAtStartAddsNoRunValueAndTellsNothing) {
  tasks_.token = TokenKind::Elevated;
  registration_.FollowLoad(1, true);
  EndLast(TaskChangeEnd::Failed);
  EXPECT_FALSE(HasRunValue());
  EXPECT_EQ(registration_.Reason(), L"");
}

TEST_F(RegistrationTest, AStartWithAnUntickedBoxAndTheFullTokenRemovesItsTaskUnlessItIsGone) {
  tasks_.token = TokenKind::Elevated;
  for (const TaskPresence ownTask :
       {TaskPresence::Present, TaskPresence::Unknown, TaskPresence::Absent}) {
    tasks_.ownTask = ownTask;
    tasks_.starts.clear();
    Registration registration(runKey_, tasks_, kExe);
    registration.FollowLoad(0, false);
    if (ownTask == TaskPresence::Absent) {
      EXPECT_TRUE(tasks_.starts.empty()) << "no schtasks.exe for a task that is not there";
      continue;
    }
    ASSERT_EQ(tasks_.starts.size(), 1u);
    EXPECT_EQ(tasks_.starts[0].step, TaskStep::Delete);
    EXPECT_FALSE(tasks_.starts[0].throughConsent);
  }
}

TEST_F(RegistrationTest, AFilteredStartNeverTouchesTheTask) {
  registration_.FollowLoad(1, true);
  registration_.FollowLoad(0, true);
  EXPECT_TRUE(tasks_.starts.empty());
}

TEST_F(RegistrationTest, AWholeTokenKeepsTheRunValueAsAlways) {
  tasks_.token = TokenKind::Whole;
  registration_.FollowClick(1);
  EXPECT_EQ(runKey_.Value(RunKeyHive::LocalMachine), kExe);
  registration_.FollowClick(0);
  EXPECT_FALSE(HasRunValue());
  EXPECT_TRUE(tasks_.starts.empty());
}

TEST_F(RegistrationTest, OnlyTheEndOfTheChangeWaitedForCounts) {
  registration_.FollowClick(1);
  registration_.TaskChangeEnded(tasks_.starts.back().number + 1, TaskChangeEnd::Declined);
  EXPECT_FALSE(HasRunValue());
  EXPECT_EQ(registration_.Reason(), L"");
  EndLast(TaskChangeEnd::Done);
  EndLast(TaskChangeEnd::Declined);  // told twice
  EXPECT_FALSE(HasRunValue());
  EXPECT_EQ(registration_.Reason(), L"");
}

TEST_F(RegistrationTest, AChangeAskedForMeanwhileWaitsAndThenDecidesInsteadOfTheRunningOne) {
  registration_.FollowClick(1);
  registration_.FollowClick(0);
  ASSERT_EQ(tasks_.starts.size(), 1u) << "one schtasks.exe at a time";
  EndLast(TaskChangeEnd::Declined);
  EXPECT_FALSE(HasRunValue()) << "the box is released now";
  EXPECT_EQ(registration_.Reason(), L"");
  ASSERT_EQ(tasks_.starts.size(), 2u);
  EXPECT_EQ(tasks_.starts[1].step, TaskStep::Delete);
  EndLast(TaskChangeEnd::Done);
  EXPECT_EQ(tasks_.starts.size(), 2u);
}

TEST_F(RegistrationTest, ThePressAsksForConsentExactlyWhereAPromptWouldCome) {
  EXPECT_TRUE(registration_.PressAsksConsent(0));
  EXPECT_TRUE(registration_.PressAsksConsent(1)) << "the release deletes the task";
  runKey_.values[RunKeyHive::CurrentUser][kRunValueName] = kExe;
  EXPECT_TRUE(registration_.PressAsksConsent(1)) << "whatever Run value there is";
  tasks_.exe = ExeForTask::Unprotected;
  EXPECT_FALSE(registration_.PressAsksConsent(0));
  tasks_.exe = ExeForTask::Fit;
  tasks_.token = TokenKind::Elevated;
  EXPECT_FALSE(registration_.PressAsksConsent(0));
}

}  // namespace
