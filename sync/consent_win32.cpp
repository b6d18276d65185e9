#include "sync/consent_win32.h"

#include <optional>

#include "sync/process_win32.h"
#include "win32/shell_thread.h"

namespace {

ElevatedStart ElevatedStartOf(ConsentStart start) {
  switch (start) {
    case ConsentStart::Started: return ElevatedStart::Started;
    case ConsentStart::Declined: return ElevatedStart::Declined;
    case ConsentStart::Failed: break;
  }
  return ElevatedStart::Failed;
}

}  // namespace

bool StartElevatedSyncCommand(HWND owner, const std::wstring& arguments, ConsentEnded consented,
                              CommandEnded ended) {
  return RunOnShellThread([owner, arguments, consented = std::move(consented),
                           ended = std::move(ended)] {
    const std::optional<SystemExe> net = SystemExeNamed(kNetExe);
    UniqueKernelHandle process;
    ElevatedStart start = net ? ElevatedStartOf(StartWithConsent(owner, *net, arguments, process))
                              : ElevatedStart::Failed;
    // Unwatched, its end would never be told and no later sync could run.
    if (start == ElevatedStart::Started && !CommandWatch().Start(process.Get(), ended))
      start = ElevatedStart::Failed;
    consented(start);
  });
}
