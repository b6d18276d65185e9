#pragma once

#include <string>

#include "text/decimal_text.h"

// Every caption and text the window shows of its own, for the window and
// for the tests that read them. How an attempt ended is told by
// sync/sync_outcome.h, why the settings file was not read or saved by
// settings/file_failure.h.

inline constexpr wchar_t kFormCaption[] = L"局域网时间同步软件(LanTimeSync 开发组)";
inline constexpr wchar_t kProgramName[] = L"局域网时间同步软件";
inline constexpr wchar_t kTrayTip[] = L"局域网同步软件";
inline constexpr wchar_t kIntervalPrompt[] = L"设定校时时间隔(单位为分钟)";
inline constexpr wchar_t kNoIntervalCaption[] = L"没有设定自动校时间隔";
inline constexpr wchar_t kWaitingCaption[] = L"等待同步";
inline constexpr wchar_t kLocalTimePrefix[] = L"本机时间 ";
inline constexpr wchar_t kUsageText[] =
    L"【使用说明】\r\n\r\n"
    L"本软件设置局域网内目标计算机IP地址，和校准时间间隔设定后，本机即可与局域网的目标计算机同步时"
    L"间。";

// Label4, under the scroll bar.
inline std::wstring IntervalCaption(int minutes) {
  return L"每隔 " + DecimalText(minutes) + L" 分钟校时一次";
}
