#include "sync/consent_win32.h"

#include <objbase.h>
#include <shellapi.h>

#include <memory>
#include <optional>

#include "sync/process_win32.h"
#include "win32/com_session.h"
#include "win32/unique_handle.h"

namespace {

struct Request {
  HWND owner;
  std::wstring arguments;
  ConsentEnded consented;
  CommandEnded ended;
};

ElevatedStart Execute(const Request& request, UniqueKernelHandle& process) {
  const std::optional<NetExe> net = SystemNetExe();
  if (!net) return ElevatedStart::Failed;
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  // The program tells the user why in its own words, without a message box.
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  execute.hwnd = request.owner;
  execute.lpVerb = L"runas";
  execute.lpFile = net->application.c_str();
  execute.lpParameters = request.arguments.c_str();
  execute.lpDirectory = net->directory.c_str();
  // The prompt's elevated start cannot take CREATE_NO_WINDOW; its console
  // starts hidden.
  execute.nShow = SW_HIDE;
  if (!ShellExecuteExW(&execute))
    return GetLastError() == ERROR_CANCELLED ? ElevatedStart::Declined : ElevatedStart::Failed;
  process.Reset(execute.hProcess);
  return process ? ElevatedStart::Started : ElevatedStart::Failed;
}

DWORD WINAPI AskOnOwnThread(void* context) {
  const std::unique_ptr<Request> request(static_cast<Request*>(context));
  // The shell wants a single-threaded apartment on the thread that calls it.
  const ComSession com;
  UniqueKernelHandle process;
  ElevatedStart start = Execute(*request, process);
  // Unwatched, its end would never be told and no later sync could run.
  if (start == ElevatedStart::Started && !CommandWatch().Start(process.Get(), request->ended))
    start = ElevatedStart::Failed;
  request->consented(start);
  return 0;
}

}  // namespace

bool StartElevatedSyncCommand(HWND owner, const std::wstring& arguments, ConsentEnded consented,
                              CommandEnded ended) {
  auto request =
      std::make_unique<Request>(Request{owner, arguments, std::move(consented), std::move(ended)});
  const UniqueKernelHandle thread(
      CreateThread(nullptr, 0, AskOnOwnThread, request.get(), 0, nullptr));
  if (!thread) return false;
  request.release();  // the thread owns it now
  return true;
}
