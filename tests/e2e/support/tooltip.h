#pragma once
// Reading a tooltip's text from outside its process, without showing it.

#include <windows.h>

#include <string>

namespace e2e {

// The text that a tooltip window of the process has for the tool `tool`
// (a control registered with TTF_IDISHWND); "" when no tooltip of the process
// knows that tool. The text is read through a buffer in the process's own
// memory, since TTM_GETTEXT hands over a pointer.
std::wstring ToolTipText(HANDLE process, DWORD processId, HWND tool);

}  // namespace e2e
