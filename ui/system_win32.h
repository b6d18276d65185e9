#pragma once

#include <windows.h>

#include <memory>

#include "sync/process_win32.h"
#include "sync/sync_system.h"
#include "ui/form_view.h"
#include "ui/tray_win32.h"
#include "win32/unique_handle.h"

// The system as the form and the sync attempt reach it. Each end of
// something started here comes back to the window as a posted message.
class SystemWin32 final : public FormSystem, public SyncSystem {
 public:
  SystemWin32(HWND window, TrayIconWin32& tray);

  bool IsAnotherInstanceRunning() override;
  std::optional<bool> ShownByReplacedCopy() override { return replacedCopyShown_; }
  void ShowRunningInstance() override;
  std::wstring LongTimeNow() override;
  bool AddTrayIcon() override { return tray_.Add(); }
  void RemoveTrayIcon() override { tray_.Remove(); }
  void SetTrayTip(const std::wstring& tip) override { tray_.SetTip(tip); }
  void ShowUsage(const std::wstring& caption, const std::wstring& text) override;

  void ProbeHost(EchoTicket echo, std::int32_t address) override;
  bool StartSyncCommand(std::uint32_t command, const std::wstring& commandLine) override;
  void StartSyncCommandElevated(std::uint32_t command, const std::wstring& arguments) override;
  void EndSyncCommand() override { syncCommand_.End(); }
  bool AskSntp(std::uint32_t question, std::int32_t address) override;
  ClockSetEnd SetClockBy(sntp::Offset offset) override;
  std::chrono::milliseconds SteadyNow() override;

  // The end of a command as its message tells it, with what it wrote.
  CommandEnd CommandEndOf(WPARAM wParam, LPARAM lParam);
  // The answer to the SNTP question its message names; none to another.
  sntp::Answer SntpAnswerOf(WPARAM wParam);

 private:
  CommandEnded PostEndTo(std::uint32_t command);
  bool MakeInstanceMutex();
  bool ReplacedACopyWithoutTheClockRight();

  // Where the pool leaves an SNTP answer for the window to take: shared
  // with the pool, so that a late answer writes into nothing freed.
  struct SntpMailbox;

  HWND window_;
  TrayIconWin32& tray_;
  SyncCommandProcess syncCommand_;
  std::uint32_t runningCommand_ = 0;
  std::shared_ptr<SntpMailbox> sntpMailbox_;
  UniqueKernelHandle instanceMutex_;
  // Tells a later copy which process made the mutex.
  UniqueKernelHandle firstCopy_;
  std::optional<bool> replacedCopyShown_;
};
