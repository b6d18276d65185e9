#pragma once

#include "autostart/run_key.h"

#include <windows.h>

// The Run keys of the machine and of one user: by default the user this
// process runs as; an uninstall passes each signed-in user's hive in turn.
class RegistryRunKey final : public 开机运行::RunKey {
 public:
  explicit RegistryRunKey(HKEY userHive = HKEY_CURRENT_USER) : userHive_(userHive) {}

  std::optional<std::wstring> ReadValue(开机运行::RunKeyHive hive,
                                        const std::wstring& name) override;
  bool SetValue(开机运行::RunKeyHive hive, const std::wstring& name,
                const std::wstring& data) override;
  bool DeleteValue(开机运行::RunKeyHive hive, const std::wstring& name) override;

 private:
  HKEY Root(开机运行::RunKeyHive hive) const {
    return hive == 开机运行::RunKeyHive::LocalMachine ? HKEY_LOCAL_MACHINE : userHive_;
  }

  HKEY userHive_;
};
