#pragma once

#include <windows.h>

#include <cstdint>

#include "autostart/plan.h"
#include "sync/sync_command.h"
#include "sync/sync_system.h"

// The main window's own messages.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
// Sent by a copy started while this one runs.
inline constexpr UINT kShowRequestMessage = WM_APP + 2;
// Posted from the pool thread of an echo that has ended.
inline constexpr UINT kEchoEndedMessage = WM_APP + 3;
// Posted from the pool once the sync command has ended.
inline constexpr UINT kCommandEndedMessage = WM_APP + 4;
// Posted from the consent prompt's thread once the user has answered.
inline constexpr UINT kConsentEndedMessage = WM_APP + 5;
// Posted from the shell thread once schtasks.exe has changed the logon
// task, or could not.
inline constexpr UINT kTaskChangedMessage = WM_APP + 6;
// Sent by a copy that holds the right to change the clock to the running
// one, which lacks it: that one leaves for it, answering whether its window
// was shown or hidden, so that the new copy keeps it so.
inline constexpr UINT kHandOverMessage = WM_APP + 7;
inline constexpr LRESULT kHandedOverHidden = 1;
inline constexpr LRESULT kHandedOverShown = 2;
// Posted from the pool once an SNTP question has ended.
inline constexpr UINT kSntpEndedMessage = WM_APP + 8;

// Whatever ends on a pool thread reaches the window as a posted message
// carrying plain values, so that the form hears of it on its own thread, in
// the one message loop or in any loop a message box or a drag runs. Another
// program can post the same messages: they carry no pointer to follow.

inline bool PostEchoEnded(HWND window, EchoTicket echo, bool answered) {
  return PostMessageW(window, kEchoEndedMessage, echo.number,
                      MAKELPARAM(static_cast<WORD>(echo.prober), answered)) != FALSE;
}

inline EchoTicket EchoTicketOf(WPARAM wParam, LPARAM lParam) {
  return {static_cast<ProbeFor>(LOWORD(lParam)), static_cast<std::uint32_t>(wParam)};
}

inline bool EchoAnswered(LPARAM lParam) { return HIWORD(lParam) != 0; }

// What the command wrote stays with its watch until the window takes it.
inline bool PostCommandEnded(HWND window, std::uint32_t command, std::uint32_t exitCode) {
  return PostMessageW(window, kCommandEndedMessage, command, static_cast<LPARAM>(exitCode)) !=
         FALSE;
}

inline std::uint32_t CommandNumberOf(WPARAM wParam) { return static_cast<std::uint32_t>(wParam); }

inline std::uint32_t ExitCodeOf(LPARAM lParam) { return static_cast<std::uint32_t>(lParam); }

// The answer stays in the system's mailbox until the window takes it.
inline bool PostSntpEnded(HWND window, std::uint32_t question) {
  return PostMessageW(window, kSntpEndedMessage, question, 0) != FALSE;
}

inline std::uint32_t SntpQuestionOf(WPARAM wParam) { return static_cast<std::uint32_t>(wParam); }

inline bool PostConsentEnded(HWND window, std::uint32_t command, ElevatedStart start) {
  return PostMessageW(window, kConsentEndedMessage, command, static_cast<LPARAM>(start)) != FALSE;
}

// Any other value, as another program might post, counts as a failed start.
inline ElevatedStart ElevatedStartOf(LPARAM lParam) {
  switch (static_cast<ElevatedStart>(lParam)) {
    case ElevatedStart::Started: return ElevatedStart::Started;
    case ElevatedStart::Declined: return ElevatedStart::Declined;
    case ElevatedStart::Failed: break;
  }
  return ElevatedStart::Failed;
}

inline bool PostTaskChangeEnded(HWND window, std::uint32_t number, 开机运行::TaskChangeEnd end) {
  return PostMessageW(window, kTaskChangedMessage, number, static_cast<LPARAM>(end)) != FALSE;
}

inline std::uint32_t TaskChangeNumberOf(WPARAM wParam) {
  return static_cast<std::uint32_t>(wParam);
}

// Any other value, as another program might post, counts as a failure.
inline 开机运行::TaskChangeEnd TaskChangeEndOf(LPARAM lParam) {
  switch (static_cast<开机运行::TaskChangeEnd>(lParam)) {
    case 开机运行::TaskChangeEnd::Done: return 开机运行::TaskChangeEnd::Done;
    case 开机运行::TaskChangeEnd::Declined: return 开机运行::TaskChangeEnd::Declined;
    case 开机运行::TaskChangeEnd::Failed: break;
  }
  return 开机运行::TaskChangeEnd::Failed;
}
