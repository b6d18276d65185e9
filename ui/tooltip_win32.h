#pragma once

#include <windows.h>

#include <string>

// A tooltip on one control. The tooltip window belongs to the control's
// parent and goes with it.
class ControlTooltip {
 public:
  void Attach(HWND control) { control_ = control; }
  // Lines are separated by "\r\n"; empty text shows no tooltip. The
  // tooltip is made with the first text: most runs never have one to show.
  // Should it not be made, the control has none and the next text tries
  // again.
  void SetText(const std::wstring& text);

 private:
  bool Create();

  HWND control_ = nullptr;
  HWND tooltip_ = nullptr;
};
