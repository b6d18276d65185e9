#include "window_query.h"

#include <functional>

#include "text.h"

namespace e2e {
namespace {

constexpr UINT kMessageTimeoutMs = 5000;

std::wstring ClassName(HWND window) {
  wchar_t name[256] = L"";
  const int n = GetClassNameW(window, name, 256);
  return std::wstring(name, n > 0 ? n : 0);
}

bool Matches(HWND window, const WindowFilter& filter) {
  if (filter.visibleOnly && !IsWindowVisible(window)) return false;
  if (!filter.className.empty() && !EqualsIgnoreCase(ClassName(window), filter.className)) {
    return false;
  }
  return filter.title.empty() || WindowText(window) == filter.title;
}

// EnumWindows and EnumChildWindows take a C callback; this passes a lambda.
BOOL CALLBACK CallVisitor(HWND window, LPARAM visitor) {
  (*reinterpret_cast<std::function<void(HWND)>*>(visitor))(window);
  return TRUE;
}

std::vector<HWND> TopWindows() {
  std::vector<HWND> windows;
  std::function<void(HWND)> visit = [&](HWND w) { windows.push_back(w); };
  EnumWindows(CallVisitor, reinterpret_cast<LPARAM>(&visit));
  return windows;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> windows;
  std::function<void(HWND)> visit = [&](HWND w) { windows.push_back(w); };
  EnumChildWindows(parent, CallVisitor, reinterpret_cast<LPARAM>(&visit));
  return windows;
}

// window's rectangle in the client coordinates of reference.
RECT RectInClientOf(HWND window, HWND reference) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

Control Describe(HWND window, HWND reference) {
  Control c;
  c.hwnd = window;
  c.className = ClassName(window);
  c.text = WindowText(window);
  c.style = GetWindowLongW(window, GWL_STYLE);
  c.rect = RectInClientOf(window, reference);
  return c;
}

std::optional<Control> FindChild(HWND parent, const std::function<bool(HWND)>& match) {
  for (HWND w : Descendants(parent)) {
    if (match(w)) return Describe(w, parent);
  }
  return std::nullopt;
}

}  // namespace

std::vector<HWND> TopWindowsOfProcess(DWORD pid, const WindowFilter& filter) {
  std::vector<HWND> result;
  for (HWND w : TopWindows()) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && Matches(w, filter)) result.push_back(w);
  }
  return result;
}

HWND FindTopWindow(DWORD pid, const WindowFilter& filter) {
  const auto windows = TopWindowsOfProcess(pid, filter);
  return windows.empty() ? nullptr : windows.front();
}

HWND WaitForTopWindow(DWORD pid, const WindowFilter& filter, int timeoutMs) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindTopWindow(pid, filter)) != nullptr; }, timeoutMs);
  return found;
}

std::wstring DesktopName() {
  wchar_t name[256] = L"";
  DWORD needed = 0;
  GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof name,
                            &needed);
  return name;
}

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                           &length)) {
    return L"";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied)) {
    return L"";
  }
  text.resize(copied);
  return text;
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) ? thread.hwndFocus
                                                                              : nullptr;
}

RECT ClientRect(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

std::vector<Control> ChildControls(HWND parent) {
  std::vector<Control> controls;
  for (HWND w : Descendants(parent)) controls.push_back(Describe(w, parent));
  return controls;
}

std::optional<Control> FindChildByText(HWND parent, const std::wstring& text,
                                       const std::wstring& className) {
  return FindChild(parent, [&](HWND w) {
    return (className.empty() || EqualsIgnoreCase(ClassName(w), className)) &&
           WindowText(w) == text;
  });
}

std::optional<Control> FindChildByClass(HWND parent, const std::wstring& className, int index) {
  return FindChild(
      parent, [&](HWND w) { return EqualsIgnoreCase(ClassName(w), className) && index-- == 0; });
}

std::optional<Control> FindChildById(HWND parent, int id) {
  return FindChild(parent, [&](HWND w) { return GetDlgCtrlID(w) == id; });
}

}  // namespace e2e
