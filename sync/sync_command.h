#pragma once

#include <string>

// The address goes into the command line exactly as the user typed it; the
// probe before the start is what guards against text that is no address.
std::wstring BuildSyncCommandLine(const std::wstring& address);
// The same command line without the program's name, for the consent prompt,
// which takes program and arguments apart.
std::wstring SyncCommandArguments(const std::wstring& address);

inline constexpr wchar_t kSyncFailedCaption[] = L"钟联错误";

// How a start through the consent prompt went.
enum class ElevatedStart { Started, Declined, Failed };
