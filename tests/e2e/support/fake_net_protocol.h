#pragma once
// What the fake net.exe (tests/e2e/fake_net.cpp), the stand-in schtasks.exe
// and the tests agree on. Only
// constants, so that the fake net.exe can use it without the toolkit.

namespace e2e {

// File the fake net.exe appends one line to per start; unset: it just exits 0.
inline constexpr wchar_t kFakeNetLogVar[] = L"LTS_FAKE_NET_LOG";
// Milliseconds to stay alive after writing the line (a slow "net time").
inline constexpr wchar_t kFakeNetSleepVar[] = L"LTS_FAKE_NET_SLEEP_MS";
// While a file of this name exists the fake net.exe does not end (a "net
// time" that hangs); unset or absent: it ends as the other variables say.
inline constexpr wchar_t kFakeNetHoldVar[] = L"LTS_FAKE_NET_HOLD";
// Exit code (default 0).
inline constexpr wchar_t kFakeNetExitVar[] = L"LTS_FAKE_NET_EXIT";
// Text written to standard error in the console's code page before the
// exit, as net.exe reports a failure.
inline constexpr wchar_t kFakeNetOutputVar[] = L"LTS_FAKE_NET_OUTPUT";
// At least this many bytes of filler lines written to standard output, in one write, before
// that text (default 0): a command that writes more than a pipe holds.
inline constexpr wchar_t kFakeNetFillerVar[] = L"LTS_FAKE_NET_FILLER_BYTES";
// Milliseconds that a process the fake net.exe starts holds its standard
// handles, and so the program's pipe, after the fake net.exe has ended
// (default 0: it starts none), as a service net.exe starts may.
inline constexpr wchar_t kFakeNetHeirVar[] = L"LTS_FAKE_NET_HEIR_MS";

// The stand-in schtasks.exe (tests/e2e/fake_schtasks.cpp): its log, in the
// same format, and its exit code. The definition file it was given last is
// copied beside the log, under the log's name and this suffix.
inline constexpr wchar_t kFakeSchtasksLogVar[] = L"LTS_FAKE_SCHTASKS_LOG";
inline constexpr wchar_t kFakeSchtasksExitVar[] = L"LTS_FAKE_SCHTASKS_EXIT";
inline constexpr wchar_t kFakeSchtasksXmlCopySuffix[] = L".xml";
// A command line the stand-in schtasks.exe runs, and waits for, before it
// reads the definition: what another program of the user's may do while
// the consent prompt is up.
inline constexpr wchar_t kFakeSchtasksBeforeVar[] = L"LTS_FAKE_SCHTASKS_BEFORE";
// A file that command makes once it is done, waited for when set: a Unix
// program Wine starts cannot be waited for by its handle.
inline constexpr wchar_t kFakeSchtasksBeforeDoneVar[] = L"LTS_FAKE_SCHTASKS_BEFORE_DONE";

// The product as the SNTP route's tests run it: its clock set is recorded,
// one UTF-8 line "YYYY-MM-DD hh:mm:ss.mmm" of UTC per set, in this file
// beside the exe, instead of made.
inline constexpr wchar_t kRecordedClockProduct[] = L"LanTimeSyncRecordedClock.exe";
inline constexpr wchar_t kRecordedClockFile[] = L"clock-set.log";

// One UTF-8 line, fields separated by tabs, in this order.
inline constexpr char kFakeNetExeField[] = "exe=";
inline constexpr char kFakeNetCmdField[] = "cmd=";
inline constexpr char kFakeNetUseShowField[] = "useshow=";
inline constexpr char kFakeNetShowField[] = "show=";

}  // namespace e2e
