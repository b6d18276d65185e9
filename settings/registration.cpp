#include "settings/registration.h"

#include <utility>

namespace 开机运行 {

std::wstring RegistrationReason(RegistrationProblem problem) {
  constexpr wchar_t kOnlyRunValue[] =
      L"开机自动运行只写入了启动项，登录后启动的本程序没有更改系统时间的权限：";
  constexpr wchar_t kTaskKept[] = L"登录任务没有删除，登录时本程序仍以完整权限启动：";
  switch (problem) {
    case RegistrationProblem::ExeUnprotected:
      return std::wstring(kOnlyRunValue) +
             L"程序所在的文件夹不只有管理员能更改。请把本程序放到只有管理员能更改的文件夹"
             L"（如 Program Files）中，再按一次“开机自动运行”。";
    case RegistrationProblem::CreateDeclined:
      return std::wstring(kOnlyRunValue) + L"在 Windows 询问时选了“否”。";
    case RegistrationProblem::CreateFailed:
      return std::wstring(kOnlyRunValue) + L"schtasks 命令没能建立登录任务。";
    case RegistrationProblem::DeleteDeclined:
      return std::wstring(kTaskKept) + L"在 Windows 询问时选了“否”。";
    case RegistrationProblem::DeleteFailed:
      return std::wstring(kTaskKept) + L"schtasks 命令没能删除它。";
  }
  return L"";
}

Registration::Registration(RunKey& runKey, LogonTaskSystem& tasks, std::wstring runValueData)
    : runKey_(runKey), tasks_(tasks), runValueData_(std::move(runValueData)) {}

void Registration::FollowClick(int value) {
  reason_.clear();
  const RegistrationPlan plan = PlanRegistration(RegistrationTrigger::Click, Facts(value));
  if (plan.exeUnprotected) reason_ = RegistrationReason(RegistrationProblem::ExeUnprotected);
  Follow(RegistrationTrigger::Click, plan, true);
}

// A box loaded ticked as it was shown was registered by the click that
// ticked it.
void Registration::FollowLoad(int value, bool changed) {
  if (value == 1 && !changed) return;
  Follow(RegistrationTrigger::Load, PlanRegistration(RegistrationTrigger::Load, Facts(value)),
         changed);
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
  return PlanRegistration(RegistrationTrigger::Click, Facts(pressed)).throughConsent;
}

RegistrationFacts Registration::Facts(int value) {
  const TokenKind token = tasks_.ReadTokenKind();
  bool ownRunValue = false;
  for (const RunKeyHive hive : {RunKeyHive::LocalMachine, RunKeyHive::CurrentUser})
    ownRunValue = ownRunValue || runKey_.ReadValue(hive, kRunValueName) == runValueData_;
  // Asked only where a task could follow: it is an access check of two files.
  const bool exeProtected = token != TokenKind::Whole && value == 1 && tasks_.ExeProtected();
  return {token, value == 1, ownRunValue, exeProtected};
}

void Registration::Follow(RegistrationTrigger trigger, const RegistrationPlan& plan,
                          bool removeEveryValue) {
  StepRunValue(plan.runValue, removeEveryValue);
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
  StepRunValue(RunValueAfter(ended.trigger, ended.step, end),
               ended.trigger == RegistrationTrigger::Click);
  if (ended.trigger != RegistrationTrigger::Click || end == TaskChangeEnd::Done) return;
  const bool declined = end == TaskChangeEnd::Declined;
  if (ended.step == TaskStep::Create)
    reason_ = RegistrationReason(declined ? RegistrationProblem::CreateDeclined
                                          : RegistrationProblem::CreateFailed);
  else
    reason_ = RegistrationReason(declined ? RegistrationProblem::DeleteDeclined
                                          : RegistrationProblem::DeleteFailed);
}

// Every value of this name, as a click always removed; at a load only the
// one holding this program's path, so that a copy elsewhere keeps its own.
void Registration::StepRunValue(RunValueStep step, bool removeEveryValue) {
  switch (step) {
    case RunValueStep::Keep: break;
    case RunValueStep::Write: SetAutostart(true, runKey_, runValueData_); break;
    case RunValueStep::Remove:
      if (removeEveryValue)
        SetAutostart(false, runKey_, runValueData_);
      else
        RemoveOwnAutostart(runKey_, runValueData_);
      break;
  }
}

}  // namespace 开机运行
