#include "autostart/plan.h"

namespace 开机运行 {
namespace {

RegistrationPlan PlanTicked(RegistrationTrigger trigger, const RegistrationFacts& facts) {
  if (facts.token == TokenKind::Whole) return {.runValue = RunValueStep::Write};
  // A filtered copy at load cannot renew the task without a prompt; a Run
  // value written beside it would start a second copy.
  if (trigger == RegistrationTrigger::Load && facts.token == TokenKind::Filtered)
    return {.runValue = facts.ownRunValue ? RunValueStep::Write : RunValueStep::Keep};
  if (facts.exe != ExeForTask::Fit) {
    // A task left from when the exe was safe must not start it with full
    // rights now; only the full token removes it without a prompt.
    const bool removeTask = trigger == RegistrationTrigger::Load && !facts.ownRunValue;
    return {.task = removeTask ? TaskStep::Delete : TaskStep::None,
            .runValue = RunValueStep::Write,
            .refused = trigger == RegistrationTrigger::Click ? facts.exe : ExeForTask::Fit};
  }
  return {.task = TaskStep::Create, .throughConsent = facts.token == TokenKind::Filtered};
}

RegistrationPlan PlanUnticked(RegistrationTrigger trigger, const RegistrationFacts& facts) {
  const bool removesTask = trigger == RegistrationTrigger::Click
                               ? facts.token != TokenKind::Whole
                               : facts.token == TokenKind::Elevated;
  return {.task = removesTask ? TaskStep::Delete : TaskStep::None,
          .throughConsent = removesTask && facts.token == TokenKind::Filtered,
          .runValue = RunValueStep::Remove};
}

}  // namespace

// A removal at load would run schtasks.exe while the window comes up, for
// a task that is rarely there. A click's stands whatever is known: the user
// asked for it.
RegistrationPlan PlanRegistration(RegistrationTrigger trigger, const RegistrationFacts& facts) {
  RegistrationPlan plan = facts.ticked ? PlanTicked(trigger, facts) : PlanUnticked(trigger, facts);
  if (trigger == RegistrationTrigger::Load && plan.task == TaskStep::Delete &&
      facts.ownTask == TaskPresence::Absent)
    plan.task = TaskStep::None;
  return plan;
}

RunValueStep RunValueAfter(RegistrationTrigger trigger, TaskStep task, TaskChangeEnd end) {
  if (task != TaskStep::Create) return RunValueStep::Keep;
  if (end == TaskChangeEnd::Done) return RunValueStep::Remove;
  return trigger == RegistrationTrigger::Click ? RunValueStep::Write : RunValueStep::Keep;
}

}  // namespace 开机运行
