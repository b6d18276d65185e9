// The floor the idle benchmark measures the product against: a program that
// loads the system parts the product must load and does the product's idle
// work, and nothing else. A window with the common controls 6 manifest, a
// label that shows the time twice a second in the product's caption and
// fonts (a Chinese face is a part it must load), an ICMP echo twice a second on
// the thread pool whose end is posted back, a tray icon, and the help JPEG
// decoded through OLE and drawn.
//
//   idle_floor.exe [tag]        the floor
//   idle_floor.exe bare [tag]   a bare window and nothing else: the start-up floor
// The benchmark tags each process it starts, to find it among the machine's.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "sync/address.h"
#include "sync/probe_win32.h"
#include "ui/captions.h"
#include "ui/dpi_win32.h"
#include "ui/picture_win32.h"
#include "ui/resources/resource_ids.h"
#include "win32/com_session.h"

namespace {

constexpr wchar_t kWindowClass[] = L"LanTimeSync.IdleFloor";
constexpr UINT_PTR kTimer = 1;
constexpr UINT kTimerMilliseconds = 500;
constexpr UINT kEchoEndedMessage = WM_APP + 1;
constexpr UINT kTrayMessage = WM_APP + 2;
constexpr int kLabelId = 1;
constexpr RECT kPictureArea = {300, 10, 360, 70};

struct Floor {
  HWND window = nullptr;
  HWND label = nullptr;
  ControlFonts fonts;
  UniqueCom<IPicture> picture;
  bool answered = false;
};

Floor floor_;

void SendEcho() {
  const HWND window = floor_.window;
  ping::SendEcho(*ping::DottedQuadToAddress(L"127.0.0.1"),
                 [window](bool answered) { PostMessageW(window, kEchoEndedMessage, answered, 0); });
}

void ShowTime() {
  wchar_t text[80];
  if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 80) > 0)
    SetWindowTextW(floor_.label, (kLocalTimePrefix + std::wstring(text)).c_str());
}

NOTIFYICONDATAW TrayRecord() {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = floor_.window;
  record.uID = 1;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayMessage;
  record.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
  constexpr wchar_t kTip[] = L"idle floor";
  std::copy(std::begin(kTip), std::end(kTip), record.szTip);
  return record;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      ShowTime();
      SendEcho();
      return 0;
    case kEchoEndedMessage: floor_.answered = wParam != 0; return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      if (floor_.picture) RenderStretched(*floor_.picture, dc, kPictureArea);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool CreateFloorWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&windowClass)) return false;
  floor_.window =
      CreateWindowExW(0, kWindowClass, L"idle floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 400, 200, nullptr, nullptr, instance, nullptr);
  return floor_.window != nullptr;
}

// What the product loads and keeps doing while nobody touches it.
void StartIdleWork(HINSTANCE instance) {
  const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  floor_.label =
      CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 280, 40, floor_.window,
                      reinterpret_cast<HMENU>(kLabelId), instance, nullptr);
  if (floor_.fonts.Create(DpiOfWindow(floor_.window)))
    SendMessageW(floor_.label, WM_SETFONT,
                 reinterpret_cast<WPARAM>(floor_.fonts.Of(FontRole::Clock)), FALSE);
  // Kept whole and drawn stretched at each paint.
  floor_.picture = DecodePictureResource(instance, IDR_HELP_PICTURE);
  NOTIFYICONDATAW record = TrayRecord();
  Shell_NotifyIconW(NIM_ADD, &record);
  SetTimer(floor_.window, kTimer, kTimerMilliseconds, nullptr);
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  if (std::wstring_view(commandLine).starts_with(L"bare")) {
    if (!CreateFloorWindow(instance)) return 1;
    ShowWindow(floor_.window, SW_SHOWNORMAL);
    return RunMessageLoop();
  }
  // The picture is decoded by OLE on this thread, as in the product.
  const ComSession com;
  if (!CreateFloorWindow(instance)) return 1;
  StartIdleWork(instance);
  ShowWindow(floor_.window, SW_SHOWNORMAL);
  const int exitCode = RunMessageLoop();
  NOTIFYICONDATAW record = TrayRecord();
  Shell_NotifyIconW(NIM_DELETE, &record);
  return exitCode;
}
