#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// The address goes into the command line exactly as the user typed it; the
// probe before the start is what guards against text that is no address.
std::wstring BuildSyncCommandLine(const std::wstring& address);

inline constexpr wchar_t kSyncFailedCaption[] = L"钟联错误";

// A command still running after this long hangs (on a stuck network session,
// say). It is ended and counts as failed, so that later syncs can run.
inline constexpr std::chrono::seconds kSyncCommandTimeLimit{60};

// The status caption once the command has ended: only exit code 0 means the
// clock was set.
std::wstring SyncEndedCaption(std::uint32_t exitCode, const std::wstring& timeOfDay);
