#include "autostart/logon_task.h"

#include <algorithm>
#include <cstdint>

namespace 开机运行 {
namespace {

// Element text only: a quote stands for itself there.
std::wstring EscapedForXml(const std::wstring& text) {
  std::wstring escaped;
  for (const wchar_t c : text) {
    switch (c) {
      case L'&': escaped += L"&amp;"; break;
      case L'<': escaped += L"&lt;"; break;
      case L'>': escaped += L"&gt;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

void AppendUnit(std::string& bytes, std::uint32_t unit) {
  bytes += static_cast<char>(unit & 0xFF);
  bytes += static_cast<char>((unit >> 8) & 0xFF);
}

}  // namespace

std::wstring LogonTaskName(const std::wstring& programName, const std::wstring& userId,
                           const std::wstring& sid) {
  std::wstring name = LegacyLogonTaskName(programName, userId);
  name.insert(name.size() - 1, L" " + sid);
  return name;
}

std::wstring LegacyLogonTaskName(const std::wstring& programName, const std::wstring& userId) {
  std::wstring user = userId;
  std::replace_if(
      user.begin(), user.end(),
      [](wchar_t c) {
        return std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
      },
      L'_');
  return programName + L" (" + user + L")";
}

ExeForTask TaskCommandFit(const std::wstring& exePath) {
  constexpr std::size_t kLongestCommand = 260;
  if (exePath.find(L'%') != std::wstring::npos) return ExeForTask::PercentInPath;
  if (exePath.size() + 2 > kLongestCommand) return ExeForTask::PathTooLong;
  return ExeForTask::Fit;
}

std::wstring LogonTaskXml(const LogonTask& task) {
  const std::wstring user = EscapedForXml(task.userId);
  return L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
         L"<Task version=\"1.2\" "
         L"xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
         L"  <Triggers>\r\n"
         L"    <LogonTrigger>\r\n"
         L"      <Enabled>true</Enabled>\r\n"
         L"      <UserId>" +
         user +
         L"</UserId>\r\n"
         L"    </LogonTrigger>\r\n"
         L"  </Triggers>\r\n"
         L"  <Principals>\r\n"
         L"    <Principal id=\"Author\">\r\n"
         L"      <UserId>" +
         user +
         L"</UserId>\r\n"
         L"      <LogonType>InteractiveToken</LogonType>\r\n"
         L"      <RunLevel>HighestAvailable</RunLevel>\r\n"
         L"    </Principal>\r\n"
         L"  </Principals>\r\n"
         L"  <Settings>\r\n"
         L"    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\r\n"
         L"    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\r\n"
         L"    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\r\n"
         L"    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>\r\n"
         L"    <Enabled>true</Enabled>\r\n"
         // The default, 7, is for background work: below-normal CPU, low
         // I/O and memory priority. 4 to 6 are for interactive programs.
         L"    <Priority>4</Priority>\r\n"
         L"  </Settings>\r\n"
         L"  <Actions Context=\"Author\">\r\n"
         L"    <Exec>\r\n"
         L"      <Command>" +
         L"\"" + EscapedForXml(task.exePath) + L"\"" +
         L"</Command>\r\n"
         L"    </Exec>\r\n"
         L"  </Actions>\r\n"
         L"</Task>\r\n";
}

// wchar_t is UTF-16 on Windows and UTF-32 in the native tests.
std::string Utf16LeWithBom(const std::wstring& text) {
  std::string bytes;
  AppendUnit(bytes, 0xFEFF);
  for (const wchar_t c : text) {
    const auto point = static_cast<std::uint32_t>(c);
    if (point < 0x10000) {
      AppendUnit(bytes, point);
      continue;
    }
    AppendUnit(bytes, 0xD800 + ((point - 0x10000) >> 10));
    AppendUnit(bytes, 0xDC00 + ((point - 0x10000) & 0x3FF));
  }
  return bytes;
}

std::wstring CreateTaskArguments(const std::wstring& taskName, const std::wstring& xmlFile) {
  return L"/create /tn \"" + taskName + L"\" /xml \"" + xmlFile + L"\" /f";
}

std::wstring DeleteTaskArguments(const std::wstring& taskName) {
  return L"/delete /tn \"" + taskName + L"\" /f";
}

}  // namespace 开机运行
