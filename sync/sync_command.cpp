#include "sync/sync_command.h"

std::wstring SyncCommandArguments(const std::wstring& address) {
  return L"time \\\\" + address + L" /set /yes";
}

std::wstring BuildSyncCommandLine(const std::wstring& address) {
  return L"net " + SyncCommandArguments(address);
}
