#pragma once

#include "autostart/run_key.h"

class RegistryRunKey final : public 开机运行::RunKey {
 public:
  std::optional<std::wstring> ReadValue(开机运行::RunKeyHive hive,
                                        const std::wstring& name) override;
  bool SetValue(开机运行::RunKeyHive hive, const std::wstring& name,
                const std::wstring& data) override;
  bool DeleteValue(开机运行::RunKeyHive hive, const std::wstring& name) override;
};
