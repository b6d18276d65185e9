// Stand-in for the system's net.exe. The product runs "net time ..." to set
// the clock; Wine's own net.exe does not implement that, and a real clock
// change is the last thing a test machine wants. This one only records how it
// was started (path, command line, show-window flags), optionally takes its
// time or hangs, writes what the test asked for, and exits with the code it
// asked for, perhaps leaving a process of its own behind that holds its
// output open.
//
// Talks to the tests through the environment variables and the log format in
// support/fake_net_protocol.h.

#include <windows.h>

#include <cwchar>
#include <string>

#include "fake_tool.h"
#include "settings/exe_location_win32.h"
#include "support/fake_net_protocol.h"
#include "win32/text_encoding.h"

namespace {

using e2e::Env;
using e2e::EnvNumber;

void Write(DWORD standardHandle, const std::string& bytes) {
  DWORD written = 0;
  WriteFile(GetStdHandle(standardHandle), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
            nullptr);
}

// Whole lines of dots, at least byteCount bytes in all.
std::string Filler(DWORD byteCount) {
  std::string filler;
  while (filler.size() < byteCount) filler += std::string(62, '.') + "\r\n";
  return filler;
}

// Started with this one argument, the fake net.exe is the process another
// one leaves behind: it only holds its inherited handles for a while.
constexpr wchar_t kHeirArgument[] = L"heir";

// A copy of itself that inherits the standard handles, and with them the
// program's pipe, and keeps them for heldMs.
void LeaveAnHeir(DWORD heldMs) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  for (const HANDLE handle : {startup.hStdOutput, startup.hStdError})
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  std::wstring commandLine = L"net " + std::wstring(kHeirArgument) + L" " + std::to_wstring(heldMs);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(RunningExePath().c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started))
    return;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wcscmp(argv[1], kHeirArgument) == 0) {
    Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    return 0;
  }
  const std::wstring logPath = Env(e2e::kFakeNetLogVar);
  // Not started by a test (someone ran the product by hand on a prefix that
  // still has this net.exe): behave like a harmless no-op.
  if (logPath.empty()) return 0;

  e2e::AppendLine(logPath, e2e::StartLine());
  // The line is on disk before the sleep: a test sees the call while the
  // "net time" is still running.
  if (const DWORD sleepMs = EnvNumber(e2e::kFakeNetSleepVar, 0)) Sleep(sleepMs);
  const std::wstring hold = Env(e2e::kFakeNetHoldVar);
  while (!hold.empty() && GetFileAttributesW(hold.c_str()) != INVALID_FILE_ATTRIBUTES) Sleep(50);
  if (const DWORD fillerBytes = EnvNumber(e2e::kFakeNetFillerVar, 0))
    Write(STD_OUTPUT_HANDLE, Filler(fillerBytes));
  Write(STD_ERROR_HANDLE, ToCodePage(Env(e2e::kFakeNetOutputVar), GetOEMCP()));
  if (const DWORD heldMs = EnvNumber(e2e::kFakeNetHeirVar, 0)) LeaveAnHeir(heldMs);
  ExitProcess(EnvNumber(e2e::kFakeNetExitVar, 0));
}
