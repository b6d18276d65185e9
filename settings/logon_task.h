#pragma once

#include <string>

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

// The program's name and the user's, so that two administrators of one PC
// each have a task of their own. Characters a task name cannot hold ("\"
// would make a folder of the domain) become "_".
std::wstring LogonTaskName(const std::wstring& programName, const std::wstring& userId);

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
