#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "autostart/plan.h"

inline constexpr wchar_t kSchtasksExe[] = L"schtasks.exe";

// A change of this user's logon task, made by the system's schtasks.exe.
struct TaskChange {
  开机运行::TaskStep step;  // Create or Delete
  std::wstring taskName;
  // The name tasks had before, removed as well where no prompt is needed.
  std::wstring legacyTaskName;
  std::wstring definition;  // the task's XML, for Create
  // Through the consent prompt, for a filtered token; otherwise directly,
  // without a console, for a token that is elevated already.
  bool throughConsent;
};

// Called on the shell thread once schtasks.exe has ended, or once the
// change could not be started.
using OnTaskChangeEnd = std::function<void(开机运行::TaskChangeEnd end)>;

// Makes the change on the shell thread, so that neither the prompt nor
// schtasks.exe holds up the window. The definition goes to schtasks.exe in
// a file of the user's temporary folder that is held against writing while
// schtasks.exe reads it, by a path no link or renamed folder can re-point,
// and removed afterwards. The change is marked as under way until it ends
// (see task_change_mark). False, and ended is never called, when no thread
// could be made for it.
bool ChangeTaskOnShellThread(HWND owner, TaskChange change, OnTaskChangeEnd ended);
