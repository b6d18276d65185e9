#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "autostart/run_key.h"
#include "autostart/plan.h"

namespace 开机运行 {

// What the registration needs of the system besides the Run key.
class LogonTaskSystem {
 public:
  virtual TokenKind ReadTokenKind() = 0;
  // Whether a task with full rights may start the exe: its path fits the
  // task, and no one without administrator rights can replace it.
  virtual ExeForTask CheckExeForTask() = 0;
  // Whether this account's task is there, told without starting anything;
  // Unknown where that cannot be told.
  virtual TaskPresence FindOwnTask() = 0;
  // Registers this user's logon task for the program, or removes it, and
  // returns at once; the end comes back with this number through
  // Registration::TaskChangeEnded.
  virtual void StartTaskChange(std::uint32_t number, TaskStep step, bool throughConsent) = 0;
  // A change started by an earlier run that never ended there (the program
  // was closed or the session ended meanwhile), forgotten once told; what
  // it left behind is cleared.
  virtual std::optional<TaskStep> TakeInterruptedChange() = 0;

 protected:
  ~LogonTaskSystem() = default;
};

enum class RegistrationProblem {
  ExeUnprotected,
  ExePathHoldsPercent,
  ExePathTooLong,
  CreateDeclined,
  CreateFailed,
  CreateCutShort,
  DeleteDeclined,
  DeleteFailed,
  DeleteCutShort,
  RunValueKept,
};

// Why the box did not do what it says, one line for the status label's
// tooltip and the tray tip.
std::wstring RegistrationReason(RegistrationProblem problem);

// The start-with-Windows registration, following the box: the Run value, or
// for an administrator whom UAC splits a logon task with full rights (see
// PlanRegistration). The task changes one at a time and in order: a change
// asked for meanwhile waits for the running one, replacing any that waits
// already, and decides what follows in its stead.
class Registration {
 public:
  Registration(RunKey& runKey, LogonTaskSystem& tasks, std::wstring runValueData);

  // The user pressed the box, which now shows value.
  void FollowClick(int value);
  // The stored value was loaded into the box; changed: it differs from what
  // the box showed before. The first load also finishes or tells a change
  // an earlier run left unended.
  void FollowLoad(int value, bool changed);
  void TaskChangeEnded(std::uint32_t number, TaskChangeEnd end);
  // Whether pressing the box, which shows value, would bring up the prompt.
  bool PressAsksConsent(int value);
  // Why the last click's registration is not what the box says; empty when
  // it is.
  const std::wstring& Reason() const { return reason_; }

 private:
  struct Change {
    std::uint32_t number;
    RegistrationTrigger trigger;
    TaskStep step;
    bool throughConsent;
  };

  RegistrationFacts Facts(RegistrationTrigger trigger, int value);
  bool FollowInterruptedChange(int value);
  void Follow(RegistrationTrigger trigger, const RegistrationPlan& plan, WhoseRunValues whose);
  void Start(const Change& change);
  void FollowEnd(const Change& ended, TaskChangeEnd end);
  void StepRunValue(RunValueStep step, WhoseRunValues whose);

  RunKey& runKey_;
  LogonTaskSystem& tasks_;
  const std::wstring runValueData_;
  std::optional<Change> running_, waiting_;
  std::uint32_t lastNumber_ = 0;
  bool loaded_ = false;
  std::wstring reason_;
};

}  // namespace 开机运行
