#include "autostart/registration.h"

#include <utility>

namespace 开机运行 {
namespace {

RegistrationProblem ProblemOf(ExeForTask refused) {
  switch (refused) {
    case ExeForTask::PercentInPath: return RegistrationProblem::ExePathHoldsPercent;
    case ExeForTask::PathTooLong: return RegistrationProblem::ExePathTooLong;
    case ExeForTask::Fit:
    case ExeForTask::Unprotected: break;
  }
  return RegistrationProblem::ExeUnprotected;
}

}  // namespace

std::wstring RegistrationReason(RegistrationProblem problem) {
  constexpr wchar_t kOnlyRunValue[] =
      L"开机自动运行只写入了启动项，登录后启动的本程序没有更改系统时间的权限：";
  constexpr wchar_t kTaskKept[] = L"登录任务没有删除，登录时本程序仍以完整权限启动：";
  constexpr wchar_t kPressTwice[] = L"请再按两次“开机自动运行”。";
  switch (problem) {
    case RegistrationProblem::ExeUnprotected:
      return std::wstring(kOnlyRunValue) +
             L"程序所在的文件夹不只有管理员能更改。请把本程序放到只有管理员能更改的文件夹"
             L"（如 Program Files）中，再按一次“开机自动运行”。";
    case RegistrationProblem::ExePathHoldsPercent:
      return std::wstring(kOnlyRunValue) +
             L"程序的路径里有“%”，登录任务会把其间的文字当作环境变量替换。请把本程序放到路径中"
             L"没有“%”的文件夹中，再按一次“开机自动运行”。";
    case RegistrationProblem::ExePathTooLong:
      return std::wstring(kOnlyRunValue) +
             L"程序的路径太长，登录任务容纳不下。请把本程序放到路径较短的文件夹中，"
             L"再按一次“开机自动运行”。";
    case RegistrationProblem::CreateDeclined:
      return std::wstring(kOnlyRunValue) + L"在 Windows 询问时选了“否”。";
    case RegistrationProblem::CreateFailed:
      return std::wstring(kOnlyRunValue) + L"schtasks 命令没能建立登录任务。";
    case RegistrationProblem::CreateCutShort:
      return std::wstring(kOnlyRunValue) + L"上次建立登录任务时本程序被关闭，不知道任务是否建立。" +
             kPressTwice;
    case RegistrationProblem::DeleteDeclined:
      return std::wstring(kTaskKept) + L"在 Windows 询问时选了“否”。";
    case RegistrationProblem::DeleteFailed:
      return std::wstring(kTaskKept) + L"schtasks 命令没能删除它。";
    case RegistrationProblem::DeleteCutShort:
      return L"登录任务可能没有删除，登录时本程序可能仍以完整权限启动：上次删除它时本程序被关闭。" +
             std::wstring(kPressTwice);
    case RegistrationProblem::RunValueKept:
      return L"启动项没能删除，登录时本程序仍会启动：本机所有用户的启动项只有以完整权限运行的"
             L"本程序才能删除，它（例如登录任务启动的那个）启动时会删除。";
  }
  return L"";
}

Registration::Registration(RunKey& runKey, LogonTaskSystem& tasks, std::wstring runValueData)
    : runKey_(runKey), tasks_(tasks), runValueData_(std::move(runValueData)) {}

void Registration::FollowClick(int value) {
  reason_.clear();
  const RegistrationPlan plan =
      PlanRegistration(RegistrationTrigger::Click, Facts(RegistrationTrigger::Click, value));
  if (plan.refused != ExeForTask::Fit) reason_ = RegistrationReason(ProblemOf(plan.refused));
  Follow(RegistrationTrigger::Click, plan, WhoseRunValues::EveryCopys);
}

// A box loaded ticked as it was shown was registered by the click that
// ticked it. A load removes only this program's own Run value, whatever
// the stored value: a copy elsewhere keeps its own.
void Registration::FollowLoad(int value, bool changed) {
  const bool cutShort = !std::exchange(loaded_, true) && FollowInterruptedChange(value);
  if (value == 1 && !changed) return;
  RegistrationFacts facts = Facts(RegistrationTrigger::Load, value);
  // The schtasks.exe of a change cut short may still be at work: what it
  // leaves is not known yet.
  if (cutShort) facts.ownTask = TaskPresence::Unknown;
  Follow(RegistrationTrigger::Load, PlanRegistration(RegistrationTrigger::Load, facts),
         WhoseRunValues::ThisCopys);
}

void Registration::TaskChangeEnded(std::uint32_t number, TaskChangeEnd end) {
  if (!running_ || running_->number != number) return;
  const Change ended = *std::exchange(running_, std::nullopt);
  if (waiting_)
    Start(*std::exchange(waiting_, std::nullopt));
  else
    FollowEnd(ended, end);
}

bool Registration::PressAsksConsent(int value) {
  const int pressed = value == 1 ? 0 : 1;
  return PlanRegistration(RegistrationTrigger::Click, Facts(RegistrationTrigger::Click, pressed))
      .throughConsent;
}

RegistrationFacts Registration::Facts(RegistrationTrigger trigger, int value) {
  const TokenKind token = tasks_.ReadTokenKind();
  bool ownRunValue = false;
  for (const RunKeyHive hive : {RunKeyHive::LocalMachine, RunKeyHive::CurrentUser})
    ownRunValue = ownRunValue || runKey_.ReadValue(hive, kRunValueName) == runValueData_;
  // Asked only where a task could follow: it reads the permissions of every
  // folder up to the drive's root.
  const ExeForTask exe =
      token != TokenKind::Whole && value == 1 ? tasks_.CheckExeForTask() : ExeForTask::Unprotected;
  // Only a load of the full token removes a task by what is known of it.
  const TaskPresence ownTask = trigger == RegistrationTrigger::Load && token == TokenKind::Elevated
                                   ? tasks_.FindOwnTask()
                                   : TaskPresence::Unknown;
  return {token, value == 1, ownRunValue, exe, ownTask};
}

// A copy with the full token settles such a change by the load's own plan.
// A filtered one may not: it cannot know whether the task is there, so a
// ticked box gets the Run value, as after a failed create, and the user is
// told either way. True when a change was cut short.
bool Registration::FollowInterruptedChange(int value) {
  const std::optional<TaskStep> interrupted = tasks_.TakeInterruptedChange();
  if (!interrupted) return false;
  if (tasks_.ReadTokenKind() != TokenKind::Filtered) return true;
  if (*interrupted == TaskStep::Create && value == 1) {
    StepRunValue(RunValueStep::Write, WhoseRunValues::ThisCopys);
    reason_ = RegistrationReason(RegistrationProblem::CreateCutShort);
  } else if (*interrupted == TaskStep::Delete && value != 1) {
    reason_ = RegistrationReason(RegistrationProblem::DeleteCutShort);
  }
  return true;
}

void Registration::Follow(RegistrationTrigger trigger, const RegistrationPlan& plan,
                          WhoseRunValues whose) {
  StepRunValue(plan.runValue, whose);
  if (plan.task == TaskStep::None) return;
  const Change change{++lastNumber_, trigger, plan.task, plan.throughConsent};
  // Two schtasks.exe at once could delete the task the other just made.
  if (running_)
    waiting_ = change;
  else
    Start(change);
}

void Registration::Start(const Change& change) {
  running_ = change;
  tasks_.StartTaskChange(change.number, change.step, change.throughConsent);
}

void Registration::FollowEnd(const Change& ended, TaskChangeEnd end) {
  const bool click = ended.trigger == RegistrationTrigger::Click;
  StepRunValue(RunValueAfter(ended.trigger, ended.step, end),
               click ? WhoseRunValues::EveryCopys : WhoseRunValues::ThisCopys);
  if (!click || end == TaskChangeEnd::Done) return;
  const bool declined = end == TaskChangeEnd::Declined;
  if (ended.step == TaskStep::Create)
    reason_ = RegistrationReason(declined ? RegistrationProblem::CreateDeclined
                                          : RegistrationProblem::CreateFailed);
  else
    reason_ = RegistrationReason(declined ? RegistrationProblem::DeleteDeclined
                                          : RegistrationProblem::DeleteFailed);
}

// A value that stays is told: at logon it would start a copy the box no
// longer asks for, or a second one beside the task's.
void Registration::StepRunValue(RunValueStep step, WhoseRunValues whose) {
  switch (step) {
    case RunValueStep::Keep: break;
    case RunValueStep::Write: SetAutostart(true, runKey_, runValueData_); break;
    case RunValueStep::Remove:
      if (!RemoveAutostart(runKey_, runValueData_, whose))
        reason_ = RegistrationReason(RegistrationProblem::RunValueKept);
      break;
  }
}

}  // namespace 开机运行
