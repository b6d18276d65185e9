#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// The address goes into the command line exactly as the user typed it; the
// probe before the start is what guards against text that is no address.
std::wstring BuildSyncCommandLine(const std::wstring& address);
// The same command line without the program's name, for the consent prompt,
// which takes program and arguments apart.
std::wstring SyncCommandArguments(const std::wstring& address);

inline constexpr wchar_t kSyncFailedCaption[] = L"钟联错误";

// A command still running after this long hangs (on a stuck network session,
// say). It is ended and counts as failed, so that later syncs can run.
inline constexpr std::chrono::seconds kSyncCommandTimeLimit{60};

// How a started command ended: its exit code and what it wrote, as far as
// that could be read. The number is the one it was started with.
struct CommandEnd {
  std::uint32_t command;
  std::uint32_t exitCode;
  std::wstring output;
};

// How a start through the consent prompt went.
enum class ElevatedStart { Started, Declined, Failed };
