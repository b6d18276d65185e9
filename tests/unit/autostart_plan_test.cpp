#include "settings/autostart_plan.h"

#include <gtest/gtest.h>

namespace {

using namespace 开机运行;

constexpr auto Click = RegistrationTrigger::Click;
constexpr auto Load = RegistrationTrigger::Load;
constexpr auto Whole = TokenKind::Whole;
constexpr auto Filtered = TokenKind::Filtered;
constexpr auto Elevated = TokenKind::Elevated;

struct PlanCase {
  RegistrationTrigger trigger;
  TokenKind token;
  bool ticked, ownRunValue, exeProtected;
  RegistrationPlan plan;
};

std::ostream& operator<<(std::ostream& out, const PlanCase& c) {
  return out << (c.trigger == Click ? "click" : "load") << " token " << static_cast<int>(c.token)
             << " ticked " << c.ticked << " run value " << c.ownRunValue << " protected "
             << c.exeProtected;
}

constexpr RegistrationPlan kWriteRunValue{.runValue = RunValueStep::Write};
constexpr RegistrationPlan kRemoveRunValue{.runValue = RunValueStep::Remove};
constexpr RegistrationPlan kCreate{.task = TaskStep::Create};
constexpr RegistrationPlan kCreateAfterConsent{.task = TaskStep::Create, .throughConsent = true};
constexpr RegistrationPlan kDelete{.task = TaskStep::Delete, .runValue = RunValueStep::Remove};
constexpr RegistrationPlan kDeleteAfterConsent{
    .task = TaskStep::Delete, .throughConsent = true, .runValue = RunValueStep::Remove};
constexpr RegistrationPlan kUnprotected{.runValue = RunValueStep::Write, .exeUnprotected = true};

class PlanTable : public testing::TestWithParam<PlanCase> {};

TEST_P(PlanTable, DecidesTheRegistration) {
  const PlanCase& c = GetParam();
  const RegistrationPlan plan =
      PlanRegistration(c.trigger, {c.token, c.ticked, c.ownRunValue, c.exeProtected});
  EXPECT_EQ(plan.task, c.plan.task);
  EXPECT_EQ(plan.throughConsent, c.plan.throughConsent);
  EXPECT_EQ(plan.runValue, c.plan.runValue);
  EXPECT_EQ(plan.exeUnprotected, c.plan.exeUnprotected);
}

// trigger, token, ticked, own Run value, exe protected → plan
INSTANTIATE_TEST_SUITE_P(
    Table, PlanTable,
    testing::Values(
        // A standard user or UAC off: the Run value, as it always was.
        PlanCase{Click, Whole, true, false, true, kWriteRunValue},
        PlanCase{Click, Whole, false, false, true, kRemoveRunValue},
        PlanCase{Load, Whole, true, true, true, kWriteRunValue},
        PlanCase{Load, Whole, false, false, true, kRemoveRunValue},
        // A click of an administrator whom UAC splits: the task, once safe.
        PlanCase{Click, Filtered, true, false, true, kCreateAfterConsent},
        PlanCase{Click, Filtered, true, true, true, kCreateAfterConsent},
        PlanCase{Click, Elevated, true, false, true, kCreate},
        PlanCase{Click, Filtered, true, false, false, kUnprotected},
        PlanCase{Click, Elevated, true, true, false, kUnprotected},
        // Clearing: without a Run value of its own the registration was the task.
        PlanCase{Click, Filtered, false, false, true, kDeleteAfterConsent},
        PlanCase{Click, Elevated, false, false, false, kDelete},
        PlanCase{Click, Filtered, false, true, true, kRemoveRunValue},
        PlanCase{Click, Elevated, false, true, true, kRemoveRunValue},
        // Load with the full token: renews or removes the task by itself.
        PlanCase{Load, Elevated, true, false, true, kCreate},
        PlanCase{Load, Elevated, true, true, true, kCreate},
        PlanCase{Load, Elevated, true, true, false, kWriteRunValue},
        PlanCase{Load,
                 Elevated,
                 true,
                 false,
                 false,
                 {.task = TaskStep::Delete, .runValue = RunValueStep::Write}},
        PlanCase{Load, Elevated, false, false, true, kDelete},
        PlanCase{Load, Elevated, false, true, false, kDelete},
        // Load with the filtered token: the task is left as it is.
        PlanCase{Load, Filtered, true, true, true, kWriteRunValue},
        PlanCase{Load, Filtered, true, false, true, RegistrationPlan{}},
        PlanCase{Load, Filtered, true, false, false, RegistrationPlan{}},
        PlanCase{Load, Filtered, false, false, true, kRemoveRunValue}));

// Every combination of the facts, for the rules that hold across the table.
template <typename Check>
void ForEveryCase(Check check) {
  for (const RegistrationTrigger trigger : {Click, Load})
    for (const TokenKind token : {Whole, Filtered, Elevated})
      for (const bool ticked : {false, true})
        for (const bool ownRunValue : {false, true})
          for (const bool exeProtected : {false, true}) {
            const RegistrationFacts facts{token, ticked, ownRunValue, exeProtected};
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
        if (!facts.exeProtected || facts.token == Whole) {
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
