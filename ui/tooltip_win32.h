#pragma once

#include <windows.h>

#include <string>

// A tooltip on one control. The tooltip window belongs to the control's
// parent and goes with it.
class ControlTooltip {
 public:
  // False when the tooltip could not be made; the control then has none.
  bool Attach(HWND control);
  // Lines are separated by "\r\n"; empty text shows no tooltip.
  void SetText(const std::wstring& text);

 private:
  HWND control_ = nullptr;
  HWND tooltip_ = nullptr;
};
