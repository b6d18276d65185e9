#pragma once

#include <array>
#include <cstdint>

#include "ui/captions.h"

// The main window as drawn, in twips from the client area's top-left corner.

inline constexpr int kClientWidthTwips = 6285;
inline constexpr int kClientHeightTwips = 4170;
inline constexpr int kTwipsPerInch = 1440;

struct TwipRect {
  int left, top, width, height;
};

// Shape2: the dark band under the two clock labels. It reaches past the
// client area's right edge, so its right border is never seen.
inline constexpr TwipRect kShape2 = {0, 0, 6400, 1695};

enum ControlId : int {
  id服务器路径 = 101,
  idCommand2,
  id本机时间,
  idLabel2,
  id网络时间,
  idLabel1,
  idCommand1,
  idLabel3,
  id滚动条,
  idLabel4,
  id开机自动运行,
  idImage1,
};

enum class ControlKind {
  Edit,
  PushButton,
  ToggleButton,  // the check box, drawn as a button that stays pressed
  ScrollBar,
  ClockLabel,  // transparent over the band, centred, colour set at run time
  Label,       // opaque on the window's face colour
  Picture,
};

// Which font a control shows its text in.
enum class FontRole {
  Window,  // the platform's user-interface font
  Clock,
  Prompt,
  Caption,
};
inline constexpr std::size_t kFontRoleCount = 4;

// Point sizes in hundredths, so that 26.25 and 10.5 stay exact.
struct FontSpec {
  const wchar_t* face;
  int hundredthsOfPoint;
  int weight;
};

inline constexpr FontSpec kClockFont = {L"宋体", 2625, 700};
inline constexpr FontSpec kPromptFont = {L"黑体", 1200, 400};
inline constexpr FontSpec kCaptionFont = {L"宋体", 1050, 400};

enum class LabelColour { Black, ButtonText };

struct ControlSpec {
  ControlId id;
  ControlKind kind;
  TwipRect rect;
  const wchar_t* text;
  FontRole font;
  LabelColour labelColour;
};

// In the order they are seen, top to bottom and left to right: the order of
// creation, so the order the focus moves in with Tab. Each label comes just
// before the control it names, which is where a screen reader looks for an
// edit's name; so the picture, level with Label1, comes before it. A scroll
// bar takes no name from a label: its window text is its name. Label4 shows
// the interval's caption, which the form sets as it loads.
// clang-format off
inline constexpr std::array kControls = {
    ControlSpec{id本机时间, ControlKind::ClockLabel, {120, 120, 6015, 735}, L"本机时间", FontRole::Clock, LabelColour::Black},
    ControlSpec{id网络时间, ControlKind::ClockLabel, {120, 840, 6015, 735}, L"网络时间", FontRole::Clock, LabelColour::Black},
    ControlSpec{idImage1, ControlKind::Picture, {5520, 1800, 720, 675}, L"", FontRole::Window, LabelColour::Black},
    ControlSpec{idLabel1, ControlKind::Label, {120, 1800, 5295, 255}, L"输入时间服务器地址", FontRole::Prompt, LabelColour::Black},
    ControlSpec{id服务器路径, ControlKind::Edit, {360, 2160, 3015, 270}, L"192.168.1.1", FontRole::Window, LabelColour::Black},
    ControlSpec{idLabel3, ControlKind::Label, {3840, 2250, 1575, 255}, L"服务器IP地址", FontRole::Caption, LabelColour::ButtonText},
    ControlSpec{idLabel2, ControlKind::Label, {120, 2640, 3975, 255}, kIntervalPrompt, FontRole::Prompt, LabelColour::Black},
    ControlSpec{id滚动条, ControlKind::ScrollBar, {120, 3000, 3495, 255}, kIntervalPrompt, FontRole::Window, LabelColour::Black},
    ControlSpec{idLabel4, ControlKind::Label, {3840, 3000, 2295, 255}, L"", FontRole::Caption, LabelColour::ButtonText},
    ControlSpec{id开机自动运行, ControlKind::ToggleButton, {120, 3480, 1800, 615}, L"开机自动运行", FontRole::Window, LabelColour::Black},
    ControlSpec{idCommand2, ControlKind::PushButton, {2280, 3480, 1800, 615}, L"立即同步", FontRole::Window, LabelColour::Black},
    ControlSpec{idCommand1, ControlKind::PushButton, {4320, 3480, 1800, 615}, L"隐  藏", FontRole::Window, LabelColour::Black},
};
// clang-format on

inline constexpr int kScrollMinimum = 0;
inline constexpr int kScrollMaximum = 100;
inline constexpr int kScrollDesignValue = 30;

inline constexpr unsigned kTimer1Milliseconds = 500;
inline constexpr unsigned kTimer2Milliseconds = 1000;

// Twips to pixels at the given dots per inch, rounded to the nearest pixel:
// 15 twips per pixel at 96 DPI.
constexpr int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + kTwipsPerInch / 2) / kTwipsPerInch);
}

// A font's character height in pixels at the given DPI.
constexpr int PointsToPixels(int hundredthsOfPoint, int dpi) {
  const long long scaled = static_cast<long long>(hundredthsOfPoint) * dpi;
  return static_cast<int>((scaled + 3600) / 7200);
}
