#include "process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <map>

#include "text.h"

namespace e2e {
namespace {

constexpr DWORD kTerminateWaitMs = 10000;

struct LessIgnoreCase {
  bool operator()(const std::wstring& a, const std::wstring& b) const {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
  }
};
using EnvMap = std::map<std::wstring, std::wstring, LessIgnoreCase>;

EnvMap CurrentEnvironment() {
  EnvMap env;
  wchar_t* block = GetEnvironmentStringsW();
  for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
    const std::wstring entry(p);
    // Entries like "=C:=C:\dir" keep per-drive directories; their name starts
    // with '=', so look for the separator after the first character.
    const auto eq = entry.find(L'=', 1);
    if (eq != std::wstring::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  FreeEnvironmentStringsW(block);
  return env;
}

// CreateProcessW wants the variables sorted, case-insensitively, each ended
// by a NUL and the whole block by one more.
std::wstring EnvironmentBlock(const LaunchOptions& options) {
  EnvMap env = CurrentEnvironment();
  for (const auto& [name, value] : options.extraEnv) env[name] = value;
  std::wstring block;
  for (const auto& [name, value] : env) {
    block += name + L"=" + value;
    block += L'\0';
  }
  block += L'\0';
  return block;
}

std::wstring ParentDir(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

}  // namespace

Process::~Process() {
  if (Running()) Terminate();
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    if (Running()) Terminate();
    process_ = std::move(other.process_);
    suspendedThread_ = std::move(other.suspendedThread_);
    id_ = std::exchange(other.id_, 0);
    error_ = std::exchange(other.error_, 0);
    commandLine_ = std::move(other.commandLine_);
  }
  return *this;
}

Process Process::Launch(const std::wstring& exe, const LaunchOptions& options) {
  Process p;
  p.commandLine_ = L"\"" + exe + L"\"";
  if (!options.arguments.empty()) p.commandLine_ += L" " + options.arguments;
  const std::wstring dir = options.workingDir.empty() ? ParentDir(exe) : options.workingDir;
  std::wstring env = EnvironmentBlock(options);
  std::wstring cmd = p.commandLine_;  // CreateProcessW may write into it

  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (options.showWindow) {
    si.dwFlags |= STARTF_USESHOWWINDOW;
    si.wShowWindow = *options.showWindow;
  }
  PROCESS_INFORMATION pi{};
  const DWORD flags = CREATE_UNICODE_ENVIRONMENT | (options.suspended ? CREATE_SUSPENDED : 0);
  const BOOL started =
      options.token ? CreateProcessAsUserW(options.token, exe.c_str(), cmd.data(), nullptr, nullptr,
                                           FALSE, flags, env.data(), dir.c_str(), &si, &pi)
                    : CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, flags,
                                     env.data(), dir.c_str(), &si, &pi);
  if (!started) {
    p.error_ = GetLastError();
    return p;
  }
  UniqueKernelHandle thread(pi.hThread);
  if (options.suspended) p.suspendedThread_ = std::move(thread);
  p.process_.Reset(pi.hProcess);
  p.id_ = pi.dwProcessId;
  return p;
}

bool Process::Running() const {
  return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(int timeoutMs) {
  return process_ && WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::ExitCode() const {
  if (!process_ || Running()) return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(process_.Get(), &code)) return std::nullopt;
  return code;
}

void Process::Terminate(UINT exitCode) {
  if (!process_) return;
  TerminateProcess(process_.Get(), exitCode);
  WaitForSingleObject(process_.Get(), kTerminateWaitMs);
}

bool Process::Resume() {
  if (!suspendedThread_) return false;
  const bool resumed = ResumeThread(suspendedThread_.Get()) != static_cast<DWORD>(-1);
  suspendedThread_.Reset();
  return resumed;
}

std::vector<DWORD> ProcessIdsByExeName(const std::wstring& exeName) {
  std::vector<DWORD> ids;
  UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32FirstW(snapshot.Get(), &entry); ok;
       ok = Process32NextW(snapshot.Get(), &entry)) {
    if (EqualsIgnoreCase(entry.szExeFile, exeName)) {
      ids.push_back(entry.th32ProcessID);
    }
  }
  return ids;
}

}  // namespace e2e
