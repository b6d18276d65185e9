#pragma once
// What a screen reader hears of a control: its accessible name, as Microsoft
// Active Accessibility gives it from outside the process.

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// The name of the control's client object; unset when no accessible object
// could be had for the control at all.
std::optional<std::wstring> AccessibleName(HWND control);

}  // namespace e2e
