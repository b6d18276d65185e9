#pragma once

#include <optional>

namespace 开机运行 {

// The program's token as User Account Control made it.
enum class TokenKind {
  Whole,     // a standard user's, or an administrator's without UAC
  Filtered,  // an administrator's that UAC filtered: the prompt hands out the full one
  Elevated,  // that full one
};

enum class RegistrationTrigger { Click, Load };

// Whether the exe may be what a logon task with full rights starts.
enum class ExeForTask {
  Fit,
  Unprotected,    // someone without administrator rights could replace it
  PercentInPath,  // the Task Scheduler would expand "%NAME%" in its path
  PathTooLong,    // the quoted path does not fit the task's command
};

// Whether this account holds a logon task of the program, under its name or
// the earlier one.
enum class TaskPresence { Absent, Present, Unknown };

// What is known when the start-with-Windows registration is decided.
struct RegistrationFacts {
  TokenKind token;
  bool ticked;       // the box's value is 1
  bool ownRunValue;  // a Run value holding this program's path is there
  ExeForTask exe;
  TaskPresence ownTask = TaskPresence::Unknown;
};

enum class TaskStep { None, Create, Delete };
enum class RunValueStep { Keep, Write, Remove };

struct RegistrationPlan {
  TaskStep task = TaskStep::None;
  bool throughConsent = false;
  RunValueStep runValue = RunValueStep::Keep;
  // Why a task wanted on a click was not offered; Fit when it was.
  ExeForTask refused = ExeForTask::Fit;
  bool operator==(const RegistrationPlan&) const = default;
};

// For an administrator whom UAC filters, the registration is a logon task
// with full rights: a copy that a Run value starts never holds the right to
// change the clock. Everyone else keeps the Run value. Only a click may
// bring up the prompt; at load, a copy with the full token renews its task
// by itself, or removes it where it is or may be there, and a filtered one
// leaves it alone. A release removes a task wherever this account may hold
// one, whatever Run value there is: another copy of the program, or this
// one before its folder lost its protection, may have made it.
RegistrationPlan PlanRegistration(RegistrationTrigger trigger, const RegistrationFacts& facts);

// How a change of the task ended.
enum class TaskChangeEnd { Done, Declined, Failed };

// What the Run value needs once a task change has ended: a task that is
// there makes a Run value a second copy at logon; one the user asked for
// and did not get leaves the Run value as the registration. Nothing for an
// end at load, which must never make a second registration.
RunValueStep RunValueAfter(RegistrationTrigger trigger, TaskStep task, TaskChangeEnd end);

}  // namespace 开机运行
