#pragma once
// What the stand-ins for the system's programs share: they read what the
// test wants from the environment and record how they were started.

#include <windows.h>

#include <string>

namespace e2e {

std::wstring Env(const wchar_t* name);
// A number in the variable, or fallback when it is unset.
DWORD EnvNumber(const wchar_t* name, DWORD fallback);

// One line of the log format in support/fake_net_protocol.h: the running
// exe, its command line and the show-window flags it was given.
std::string StartLine();

// Appends one whole line, so that lines of stand-ins started at once never
// interleave.
void AppendLine(const std::wstring& logPath, const std::string& line);

}  // namespace e2e
