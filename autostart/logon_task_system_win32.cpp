#include "autostart/logon_task_system_win32.h"

#include <optional>
#include <utility>

#include "autostart/account_win32.h"
#include "autostart/exe_protection_win32.h"
#include "autostart/logon_task.h"
#include "autostart/logon_task_win32.h"
#include "autostart/task_change_mark_win32.h"
#include "autostart/task_folder_win32.h"
#include "ui/captions.h"
#include "ui/window_messages_win32.h"

LogonTaskSystemWin32::LogonTaskSystemWin32(HWND window, std::wstring exePath,
                                           std::wstring exeFolder)
    : window_(window), exePath_(std::move(exePath)), exeFolder_(std::move(exeFolder)) {}

开机运行::TokenKind LogonTaskSystemWin32::ReadTokenKind() { return ProcessTokenKind(); }

开机运行::ExeForTask LogonTaskSystemWin32::CheckExeForTask() {
  const 开机运行::ExeForTask fit = 开机运行::TaskCommandFit(exePath_);
  if (fit != 开机运行::ExeForTask::Fit) return fit;
  return ExeProtectedFromUser(exePath_, exeFolder_) ? fit : 开机运行::ExeForTask::Unprotected;
}

// Present where either name's file is there: both are removed by one change.
// Nearly every start finds no task of the program's at all, and then need
// not look the account up, which costs memory that stays.
开机运行::TaskPresence LogonTaskSystemWin32::FindOwnTask() {
  const 开机运行::TaskPresence any = TaskFilePresence(std::wstring(kProgramName) + L" (*");
  if (any != 开机运行::TaskPresence::Present) return any;
  const std::optional<std::wstring> account = ReadAccountName(), sid = ReadAccountSid();
  if (!account || !sid) return 开机运行::TaskPresence::Unknown;
  const 开机运行::TaskPresence named =
      TaskFilePresence(开机运行::LogonTaskName(kProgramName, *account, *sid));
  if (named != 开机运行::TaskPresence::Absent) return named;
  return TaskFilePresence(开机运行::LegacyLogonTaskName(kProgramName, *account));
}

std::optional<开机运行::TaskStep> LogonTaskSystemWin32::TakeInterruptedChange() {
  return task_change_mark::Take();
}

// An end whose message cannot be posted (the queue full, the window gone) is
// lost, and with it every later click on the box: the queue is never full
// for long, and a gone window takes no clicks.
void LogonTaskSystemWin32::StartTaskChange(std::uint32_t number, 开机运行::TaskStep step,
                                           bool throughConsent) {
  const HWND window = window_;
  const OnTaskChangeEnd ended = [window, number](开机运行::TaskChangeEnd end) {
    PostTaskChangeEnded(window, number, end);
  };
  const std::optional<std::wstring> account = ReadAccountName(), sid = ReadAccountSid();
  if (!account || !sid) return ended(开机运行::TaskChangeEnd::Failed);
  const std::wstring name = 开机运行::LogonTaskName(kProgramName, *account, *sid);
  // The task under the name without the SID, which nearly no account has,
  // costs a run of schtasks.exe only where it is or may be there.
  std::wstring legacyName = 开机运行::LegacyLogonTaskName(kProgramName, *account);
  if (TaskFilePresence(legacyName) == 开机运行::TaskPresence::Absent) legacyName.clear();
  TaskChange change{step, name, std::move(legacyName), L"", throughConsent};
  if (step == 开机运行::TaskStep::Create)
    change.definition = 开机运行::LogonTaskXml({name, *account, exePath_});
  if (!ChangeTaskOnShellThread(window_, std::move(change), ended))
    ended(开机运行::TaskChangeEnd::Failed);
}
