#pragma once

#include <string>

#include "autostart/plan.h"

namespace 开机运行 {

// A task that starts the program with the user's full token at each of the
// user's logons, never ended and never stopped for the battery: for an
// administrator whom UAC filters, the one start without a prompt that holds
// the right to change the clock.
struct LogonTask {
  std::wstring name;
  std::wstring userId;   // "DOMAIN\user", as the account reads
  std::wstring exePath;  // unquoted
};

// The program's name, the user's and the account's SID, so that two
// administrators of one PC each have a task of their own: the SID tells
// apart names that differ only in characters a task name cannot hold ("\"
// would make a folder of the domain), which become "_".
std::wstring LogonTaskName(const std::wstring& programName, const std::wstring& userId,
                           const std::wstring& sid);

// The name tasks were made under before the SID was in it, which two
// accounts could share; still removed, so that no such task outlives the box.
std::wstring LegacyLogonTaskName(const std::wstring& programName, const std::wstring& userId);

// Fit, or why the Task Scheduler would not start exactly this exe: it
// expands "%NAME%" in the command from the user's environment, and takes a
// command of at most 260 characters, quotes included.
ExeForTask TaskCommandFit(const std::wstring& exePath);

// The definition as the Task Scheduler reads it (schema 1.2). Every text in
// it is escaped, so no path can add an element.
std::wstring LogonTaskXml(const LogonTask& task);

// UTF-16 little-endian with its byte order mark, the encoding the
// definition declares.
std::string Utf16LeWithBom(const std::wstring& text);

// schtasks.exe's arguments; the name and the file are quoted.
std::wstring CreateTaskArguments(const std::wstring& taskName, const std::wstring& xmlFile);
std::wstring DeleteTaskArguments(const std::wstring& taskName);

}  // namespace 开机运行
