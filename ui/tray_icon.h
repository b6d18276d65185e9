#pragma once

// The notification-area icon, shown only while the window is hidden.
inline constexpr unsigned kTrayIconId = 1;
// The mouse message the shell reports for a left double-click on the icon.
inline constexpr unsigned kTrayLeftDoubleClick = 0x203;
