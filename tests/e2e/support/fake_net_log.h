#pragma once
// Reading what the fake net.exe recorded, and putting it where the product
// looks for net.exe.

#include <string>
#include <vector>

#include "fake_net_protocol.h"

namespace e2e {

struct FakeNetCall {
  std::wstring exe;      // full path of the net.exe that ran
  std::wstring cmd;      // its GetCommandLineW(), verbatim
  bool useShow = false;  // STARTF_USESHOWWINDOW was set
  int show = 0;          // wShowWindow (SW_HIDE is 0)
};

// All complete lines of the log; none if the file is missing. A line still
// being written (no newline yet) is left for the next read.
std::vector<FakeNetCall> ReadFakeNetLog(const std::wstring& logPath);

// Copies the stand-in of that name (net.exe, schtasks.exe) built beside the
// tests into the Windows system folder, where the product starts it from.
// Wine runs it only because the sandbox sets WINEDLLOVERRIDES=<name>=n;
// returns the installed path, "" on failure.
std::wstring InstallStandIn(const wchar_t* exeName);

}  // namespace e2e
