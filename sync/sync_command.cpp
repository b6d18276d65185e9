#include "sync/sync_command.h"

std::wstring BuildSyncCommandLine(const std::wstring& address) {
  return L"net time \\\\" + address + L" /set /yes";
}

std::wstring SyncEndedCaption(std::uint32_t exitCode, const std::wstring& timeOfDay) {
  if (exitCode != 0) return kSyncFailedCaption;
  return L"同步时间 " + timeOfDay;
}
