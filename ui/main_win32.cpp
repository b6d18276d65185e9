#include <windows.h>
#include <commctrl.h>

#include "settings/exe_location.h"
#include "settings/exe_location_win32.h"
#include "settings/settings_files_win32.h"
#include "autostart/run_key_win32.h"
#include "sync/clock_right_win32.h"
#include "ui/form.h"
#include "autostart/logon_task_system_win32.h"
#include "ui/system_win32.h"
#include "ui/tray_win32.h"
#include "ui/window_messages_win32.h"
#include "ui/window_win32.h"

namespace {

int RunMessageLoop(const MainWindow& window) {
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    if (window.TranslateDialogKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  // Without it the controls come from user32's classes of the same names;
  // whether each control could be made is checked when the window is.
  InitCommonControlsEx(&controls);

  const std::wstring exePath = RunningExePath();
  const ExeLocation exe = SplitExePath(exePath);
  SettingsFilesOnDisk settingsFiles(exePath, exe.directory);
  RegistryRunKey runKey;

  MainWindow window(instance);
  if (!window.Create()) return 1;
  TrayIconWin32 tray(window.Handle(), kTrayCallbackMessage);
  SystemWin32 system(window.Handle(), tray);
  ProcessTokenClockRight clockRight;
  LogonTaskSystemWin32 logonTasks(window.Handle(), exePath, exe.directory);
  同步软件 form(window, system, system, clockRight, logonTasks, settingsFiles.Files(), runKey,
                开机运行::RunValueData(exe));
  window.Attach(form, system);
  form.Form_Load();
  return RunMessageLoop(window);
}
