#pragma once

#include <windows.h>

#include "sync/process_win32.h"
#include "ui/form.h"
#include "ui/form_view.h"
#include "ui/tray_win32.h"
#include "win32/unique_handle.h"

class SystemWin32 final : public FormSystem {
 public:
  SystemWin32(HWND window, TrayIconWin32& tray) : window_(window), tray_(tray) {}

  bool IsAnotherInstanceRunning() override;
  void ShowRunningInstance() override;
  void ProbeHost(EchoTicket echo, std::int32_t address) override;
  std::wstring LongTimeNow() override;
  std::chrono::milliseconds SteadyNow() override;
  bool StartSyncCommand(const std::wstring& commandLine) override {
    return syncCommand_.Start(commandLine);
  }
  ElevatedStart StartSyncCommandElevated(const std::wstring& arguments) override {
    return syncCommand_.StartElevated(window_, arguments);
  }
  void EndSyncCommand() override { syncCommand_.End(); }
  bool AddTrayIcon() override { return tray_.Add(); }
  void RemoveTrayIcon() override { tray_.Remove(); }
  void SetTrayTip(const std::wstring& tip) override { tray_.SetTip(tip); }
  void ShowUsage(const std::wstring& caption, const std::wstring& text) override;

  // What the message loop waits for besides messages: the running command.
  HANDLE Pending() const { return syncCommand_.Handle(); }
  // Tells the form once the command has ended; does not wait for it.
  void ReportEnded(同步软件& form);

 private:
  HWND window_;
  TrayIconWin32& tray_;
  SyncCommandProcess syncCommand_;
  UniqueKernelHandle instanceMutex_;
};
