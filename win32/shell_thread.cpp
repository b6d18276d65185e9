#include "win32/shell_thread.h"

#include <shellapi.h>

#include <memory>

#include "win32/com_session.h"

namespace {

DWORD WINAPI RunWork(void* context) {
  const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(context));
  // The shell wants a single-threaded apartment on the thread that calls it.
  const ComSession com;
  (*work)();
  return 0;
}

}  // namespace

bool RunOnShellThread(std::function<void()> work) {
  auto owned = std::make_unique<std::function<void()>>(std::move(work));
  const UniqueKernelHandle thread(CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr));
  if (!thread) return false;
  owned.release();  // the thread owns it now
  return true;
}

ConsentStart StartWithConsent(HWND owner, const SystemExe& exe, const std::wstring& arguments,
                              UniqueKernelHandle& process) {
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  // The program tells the user why in its own words, without a message box.
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  execute.hwnd = owner;
  execute.lpVerb = L"runas";
  execute.lpFile = exe.application.c_str();
  execute.lpParameters = arguments.c_str();
  execute.lpDirectory = exe.directory.c_str();
  // The prompt's elevated start cannot take CREATE_NO_WINDOW; its console
  // starts hidden.
  execute.nShow = SW_HIDE;
  if (!ShellExecuteExW(&execute))
    return GetLastError() == ERROR_CANCELLED ? ConsentStart::Declined : ConsentStart::Failed;
  process.Reset(execute.hProcess);
  return process ? ConsentStart::Started : ConsentStart::Failed;
}
