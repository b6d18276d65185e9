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

#include "settings/exe_location_win32.h"
#include "support/fake_net_protocol.h"
#include "win32/text_encoding.h"

namespace {

std::wstring Env(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return L"";
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

DWORD EnvNumber(const wchar_t* name, DWORD fallback) {
  const std::wstring text = Env(name);
  if (text.empty()) return fallback;
  // wcstol so that "-1" gives 0xFFFFFFFF as a Windows exit code would be.
  return static_cast<DWORD>(std::wcstol(text.c_str(), nullptr, 0));
}

std::string LogLine() {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  const bool useShow = (si.dwFlags & STARTF_USESHOWWINDOW) != 0;
  return std::string(e2e::kFakeNetExeField) + ToCodePage(RunningExePath(), CP_UTF8) + "\t" +
         e2e::kFakeNetCmdField + ToCodePage(GetCommandLineW(), CP_UTF8) + "\t" +
         e2e::kFakeNetUseShowField + (useShow ? "1" : "0") + "\t" + e2e::kFakeNetShowField +
         std::to_string(si.wShowWindow) + "\n";
}

// One WriteFile per line on an append-only handle, so that lines of several
// fake net.exe started at once never interleave; full sharing, so that a test
// can read the log while another instance still has it open.
void AppendLine(const std::wstring& logPath, const std::string& line) {
  HANDLE file = CreateFileW(logPath.c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  FlushFileBuffers(file);
  CloseHandle(file);
}

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

  AppendLine(logPath, LogLine());
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
