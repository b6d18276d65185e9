#include "autostart/plan.h"

#include <gtest/gtest.h>

namespace {

using namespace 开机运行;

constexpr auto Click = RegistrationTrigger::Click;
constexpr auto Load = RegistrationTrigger::Load;
constexpr auto Whole = TokenKind::Whole;
constexpr auto Filtered = TokenKind::Filtered;
constexpr auto Elevated = TokenKind::Elevated;

constexpr auto Fit = ExeForTask::Fit;
constexpr auto Unprotected = ExeForTask::Unprotected;

constexpr auto Absent = TaskPresence::Absent;
constexpr auto Present = TaskPresence::Present;

struct PlanCase {
  RegistrationTrigger trigger;
  TokenKind token;
  bool ticked, ownRunValue;
  ExeForTask exe;
  RegistrationPlan plan;
  TaskPresence ownTask = TaskPresence::Unknown;
};

std::ostream& operator<<(std::ostream& out, const PlanCase& c) {
  return out << (c.trigger == Click ? "click" : "load") << " token " << static_cast<int>(c.token)
             << " ticked " << c.ticked << " run value " << c.ownRunValue << " exe "
             << static_cast<int>(c.exe) << " task " << static_cast<int>(c.ownTask);
}

constexpr RegistrationPlan kWriteRunValue{.runValue = RunValueStep::Write};
constexpr RegistrationPlan kRemoveRunValue{.runValue = RunValueStep::Remove};
constexpr RegistrationPlan kCreate{.task = TaskStep::Create};
constexpr RegistrationPlan kCreateAfterConsent{.task = TaskStep::Create, .throughConsent = true};
constexpr RegistrationPlan kDelete{.task = TaskStep::Delete, .runValue = RunValueStep::Remove};
constexpr RegistrationPlan kDeleteAfterConsent{
    .task = TaskStep::Delete, .throughConsent = true, .runValue = RunValueStep::Remove};
constexpr RegistrationPlan kUnprotected{.runValue = RunValueStep::Write, .refused = Unprotected};

class PlanTable : public testing::TestWithParam<PlanCase> {};

TEST_P(PlanTable, DecidesTheRegistration) {
  const PlanCase& c = GetParam();
  const RegistrationPlan plan =
      PlanRegistration(c.trigger, {c.token, c.ticked, c.ownRunValue, c.exe, c.ownTask});
  EXPECT_EQ(plan.task, c.plan.task);
  EXPECT_EQ(plan.throughConsent, c.plan.throughConsent);
  EXPECT_EQ(plan.runValue, c.plan.runValue);
  EXPECT_EQ(plan.refused, c.plan.refused);
}

// trigger, token, ticked, own Run value, exe protected → plan (, task there)
INSTANTIATE_TEST_SUITE_P(
    Table, PlanTable,
    testing::Values(
        // A standard user or UAC off: the Run value, as it always was.
        PlanCase{Click, Whole, true, false, Fit, kWriteRunValue},
        PlanCase{Click, Whole, false, false, Fit, kRemoveRunValue},
        PlanCase{Load, Whole, true, true, Fit, kWriteRunValue},
        PlanCase{Load, Whole, false, false, Fit, kRemoveRunValue},
        // A click of an administrator whom UAC splits: the task, once safe.
        PlanCase{Click, Filtered, true, false, Fit, kCreateAfterConsent},
        PlanCase{Click, Filtered, true, true, Fit, kCreateAfterConsent},
        PlanCase{Click, Elevated, true, false, Fit, kCreate},
        PlanCase{Click, Filtered, true, false, Unprotected, kUnprotected},
        PlanCase{Click, Elevated, true, true, Unprotected, kUnprotected},
        PlanCase{Click,
                 Filtered,
                 true,
                 false,
                 ExeForTask::PercentInPath,
                 {.runValue = RunValueStep::Write, .refused = ExeForTask::PercentInPath}},
        PlanCase{Click,
                 Elevated,
                 true,
                 false,
                 ExeForTask::PathTooLong,
                 {.runValue = RunValueStep::Write, .refused = ExeForTask::PathTooLong}},
        // Clearing: this account may hold a task whatever Run value there is.
        PlanCase{Click, Filtered, false, false, Fit, kDeleteAfterConsent},
        PlanCase{Click, Elevated, false, false, Unprotected, kDelete},
        PlanCase{Click, Filtered, false, true, Fit, kDeleteAfterConsent},
        PlanCase{Click, Elevated, false, true, Fit, kDelete},
        PlanCase{Click, Elevated, false, false, Fit, kDelete, Absent},
        // Load with the full token: renews or removes the task by itself.
        PlanCase{Load, Elevated, true, false, Fit, kCreate},
        PlanCase{Load, Elevated, true, true, Fit, kCreate},
        PlanCase{Load, Elevated, true, true, Unprotected, kWriteRunValue},
        PlanCase{Load,
                 Elevated,
                 true,
                 false,
                 Unprotected,
                 {.task = TaskStep::Delete, .runValue = RunValueStep::Write}},
        PlanCase{Load, Elevated, false, false, Fit, kDelete},
        PlanCase{Load, Elevated, false, true, Unprotected, kDelete},
        // ...but removes none where its file shows there is none.
        PlanCase{Load, Elevated, false, false, Fit, kDelete, Present},
        PlanCase{Load, Elevated, false, false, Fit, kRemoveRunValue, Absent},
        PlanCase{Load, Elevated, true, false, Unprotected, kWriteRunValue, Absent},
        // Load with the filtered token: the task is left as it is.
        PlanCase{Load, Filtered, true, true, Fit, kWriteRunValue},
        PlanCase{Load, Filtered, true, false, Fit, RegistrationPlan{}},
        PlanCase{Load, Filtered, true, false, Unprotected, RegistrationPlan{}},
        PlanCase{Load, Filtered, false, false, Fit, kRemoveRunValue}));

// Every combination of the facts, for the rules that hold across the table.
template <typename Check>
void ForEveryCase(Check check) {
  for (const RegistrationTrigger trigger : {Click, Load})
    for (const TokenKind token : {Whole, Filtered, Elevated})
      for (const bool ticked : {false, true})
        for (const bool ownRunValue : {false, true})
          for (const ExeForTask exe :
               {Fit, Unprotected, ExeForTask::PercentInPath, ExeForTask::PathTooLong})
            for (const TaskPresence ownTask : {Absent, Present, TaskPresence::Unknown}) {
              const RegistrationFacts facts{token, ticked, ownRunValue, exe, ownTask};
              check(trigger, facts, PlanRegistration(trigger, facts));
            }
}

TEST(PlanRegistration, NeverAsksForConsentButOnAClickOfTheFilteredToken) {
  ForEveryCase([](RegistrationTrigger trigger, const RegistrationFacts& facts,
                  const RegistrationPlan& plan) {
    if (plan.throughConsent) {
      EXPECT_EQ(trigger, Click);
      EXPECT_EQ(facts.token, Filtered);
      EXPECT_NE(plan.task, TaskStep::None);
    }
  });
}

TEST(PlanRegistration, NeverMakesATaskForAnUnprotectedExeOrAWholeToken) {
  ForEveryCase(
      [](RegistrationTrigger, const RegistrationFacts& facts, const RegistrationPlan& plan) {
        if (facts.exe != Fit || facts.token == Whole) {
          EXPECT_NE(plan.task, TaskStep::Create);
        }
        if (facts.token == Whole) {
          EXPECT_EQ(plan.task, TaskStep::None);
        }
      });
}

TEST(PlanRegistration, AnUntickedBoxAlwaysRemovesTheRunValue) {
  ForEveryCase(
      [](RegistrationTrigger, const RegistrationFacts& facts, const RegistrationPlan& plan) {
        if (!facts.ticked) {
          EXPECT_EQ(plan.runValue, RunValueStep::Remove);
        }
      });
}

TEST(PlanRegistration, AClickRefusedATaskForTheExeSaysWhyAndKeepsTheRunValue) {
  ForEveryCase([](RegistrationTrigger trigger, const RegistrationFacts& facts,
                  const RegistrationPlan& plan) {
    const bool taskWanted = facts.ticked && facts.token != Whole;
    if (trigger == Click && taskWanted && facts.exe != Fit) {
      EXPECT_EQ(plan.refused, facts.exe);
      EXPECT_EQ(plan.runValue, RunValueStep::Write);
    } else {
      EXPECT_EQ(plan.refused, Fit);
    }
  });
}

// Another copy of the program, or this one while its folder was protected,
// may have made the task; a Run value of this copy's says nothing of it.
TEST(PlanRegistration, AReleaseOfAnAdministratorsBoxAlwaysRemovesTheTask) {
  ForEveryCase([](RegistrationTrigger trigger, const RegistrationFacts& facts,
                  const RegistrationPlan& plan) {
    if (trigger == Click && !facts.ticked && facts.token != Whole) {
      EXPECT_EQ(plan.task, TaskStep::Delete);
      EXPECT_EQ(plan.throughConsent, facts.token == Filtered);
    }
  });
}

TEST(PlanRegistration, ALoadRemovesNoTaskKnownNotToBeThere) {
  ForEveryCase([](RegistrationTrigger trigger, const RegistrationFacts& facts,
                  const RegistrationPlan& plan) {
    if (trigger == Load && facts.ownTask == Absent) {
      EXPECT_NE(plan.task, TaskStep::Delete);
    }
  });
}

TEST(RunValueAfter, ATaskMadeRemovesTheRunValue) {
  EXPECT_EQ(RunValueAfter(Click, TaskStep::Create, TaskChangeEnd::Done), RunValueStep::Remove);
  EXPECT_EQ(RunValueAfter(Load, TaskStep::Create, TaskChangeEnd::Done), RunValueStep::Remove);
}

TEST(RunValueAfter, ATaskNotMadeOnAClickLeavesTheRunValueAsTheRegistration) {
  EXPECT_EQ(RunValueAfter(Click, TaskStep::Create, TaskChangeEnd::Declined), RunValueStep::Write);
  EXPECT_EQ(RunValueAfter(Click, TaskStep::Create, TaskChangeEnd::Failed), RunValueStep::Write);
}

TEST(RunValueAfter, ALoadNeverAddsASecondRegistrationNorDoesADeletion) {
  EXPECT_EQ(RunValueAfter(Load, TaskStep::Create, TaskChangeEnd::Failed), RunValueStep::Keep);
  for (const TaskChangeEnd end :
       {TaskChangeEnd::Done, TaskChangeEnd::Declined, TaskChangeEnd::Failed}) {
    EXPECT_EQ(RunValueAfter(Click, TaskStep::Delete, end), RunValueStep::Keep);
    EXPECT_EQ(RunValueAfter(Load, TaskStep::Delete, end), RunValueStep::Keep);
  }
}

}  // namespace
