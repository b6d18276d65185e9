#include "fake_tool.h"

#include <cwchar>

#include "settings/exe_location_win32.h"
#include "support/fake_net_protocol.h"
#include "win32/text_encoding.h"

namespace e2e {

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

std::string StartLine() {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  const bool useShow = (si.dwFlags & STARTF_USESHOWWINDOW) != 0;
  return std::string(kFakeNetExeField) + ToCodePage(RunningExePath(), CP_UTF8) + "\t" +
         kFakeNetCmdField + ToCodePage(GetCommandLineW(), CP_UTF8) + "\t" + kFakeNetUseShowField +
         (useShow ? "1" : "0") + "\t" + kFakeNetShowField + std::to_string(si.wShowWindow) + "\n";
}

// One WriteFile per line on an append-only handle; full sharing, so that a
// test can read the log while another stand-in still has it open.
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

}  // namespace e2e
