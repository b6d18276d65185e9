#pragma once
// Finding a process's top-level windows and reading their controls, the way a
// user (or an accessibility tool) sees them from outside the process.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "wait.h"

namespace e2e {

struct WindowFilter {
  std::wstring className;  // empty: any
  std::wstring title;      // empty: any
  bool visibleOnly = false;
};

// The top-level windows of process pid that pass filter, in Z-order.
std::vector<HWND> TopWindowsOfProcess(DWORD pid, const WindowFilter& filter = {});
// The first top-level window of process pid that passes filter, hidden ones
// included unless filter.visibleOnly, in Z-order; nullptr if none does.
HWND FindTopWindow(DWORD pid, const WindowFilter& filter = {});
// Polls FindTopWindow until a window shows up; nullptr on time-out.
HWND WaitForTopWindow(DWORD pid, const WindowFilter& filter = {},
                      int timeoutMs = kDefaultTimeoutMs);

// Name of the desktop this thread is on: "Default" unless the process runs
// on a Wine virtual desktop of another name (scripts/wine-desktop.sh).
std::wstring DesktopName();

// WM_GETTEXT through SendMessageTimeout, so that a hung product fails the
// test instead of hanging it. Works across processes for every control.
std::wstring WindowText(HWND window);
// The window that has the keyboard focus on the thread of `window`, read
// from outside with GetGUIThreadInfo; nullptr if none.
HWND FocusedControl(HWND window);
RECT ClientRect(HWND window);

struct Control {
  HWND hwnd = nullptr;
  std::wstring className;
  std::wstring text;
  LONG style = 0;
  RECT rect{};  // in the client coordinates of the window that was searched

  bool Visible() const { return (style & WS_VISIBLE) != 0; }
};

// Every descendant of parent (children of children too), in creation order
// per parent.
std::vector<Control> ChildControls(HWND parent);
// Exact text match ("&OK" if the caption has a mnemonic); className, if
// given, must match as well.
std::optional<Control> FindChildByText(HWND parent, const std::wstring& text,
                                       const std::wstring& className = L"");
// index-th control of that class (0 = first created), e.g. the second
// scroll bar.
std::optional<Control> FindChildByClass(HWND parent, const std::wstring& className, int index = 0);
std::optional<Control> FindChildById(HWND parent, int id);

}  // namespace e2e
