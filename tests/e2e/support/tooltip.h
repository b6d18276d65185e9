#pragma once
// Reading tooltips' texts from outside their process, without showing them.

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The text that a tooltip window of the process has for the tool `tool`
// (a control registered with TTF_IDISHWND); "" when no tooltip of the process
// knows that tool. The text is read through a buffer in the process's own
// memory, since TTM_GETTEXT hands over a pointer.
std::wstring ToolTipText(HANDLE process, DWORD processId, HWND tool);

// The texts of every tool of every tooltip window of the process, however
// the tools were registered.
std::vector<std::wstring> ToolTipTexts(HANDLE process, DWORD processId);

}  // namespace e2e
