#include "settings/settings.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace 定义 {
namespace {

constexpr wchar_t kNetworkSection[] = L"网络配置";
constexpr wchar_t kSystemSection[] = L"系统配置";
constexpr wchar_t kAddressKey[] = L"服务器路径";
constexpr wchar_t kAutostartKey[] = L"开机自动运行";
constexpr wchar_t kIntervalKey[] = L"校时间隔";
constexpr int kAddressBufferBytes = 50;

// The controls hold 16-bit values; a stored value beyond that is not loaded.
std::optional<int> NarrowTo16Bits(std::int32_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max())
    return std::nullopt;
  return value;
}

}  // namespace

std::wstring IniPath(const std::wstring& exeDirectory) {
  std::wstring path = exeDirectory;
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path + kIniFileName;
}

IniFileRead LoadSettings(IniFile& file, SettingsControls& controls, SettingsKeys kept) {
  const IniFileRead read = file.Read();
  if (read.state != IniFileState::Read) return read;
  const std::wstring address =
      file.ReadIniString(kNetworkSection, kAddressKey, kAddressBufferBytes);
  const auto autostart = NarrowTo16Bits(file.ReadIniInt(kSystemSection, kAutostartKey));
  const auto interval = NarrowTo16Bits(file.ReadIniInt(kSystemSection, kIntervalKey));

  if (!kept.address) controls.Load服务器路径Text(address);
  // A refused value leaves its control as it was; loading goes on regardless.
  if (autostart && !kept.autostart) controls.Load开机自动运行Value(*autostart);
  if (interval && !kept.interval) controls.Load滚动条Value(*interval);
  return read;
}

StoredSettings StoredSettingsOf(const SettingsControls& controls, bool inFile) {
  return {{controls.服务器路径Text(), inFile},
          {controls.开机自动运行Value(), inFile},
          {controls.滚动条Value(), inFile}};
}

SettingsKeys ChangedSince(const SettingsControls& controls, const StoredSettings& stored) {
  return {controls.服务器路径Text() != stored.address.value,
          controls.开机自动运行Value() != stored.autostart.value,
          controls.滚动条Value() != stored.interval.value};
}

std::optional<FileFailure> SaveSettings(IniFile& file, const SettingsControls& controls,
                                        StoredSettings& stored) {
  const std::wstring address = controls.服务器路径Text();
  const int autostart = controls.开机自动运行Value();
  const int interval = controls.滚动条Value();
  std::vector<IniChange> changes;
  const auto changed = [&changes](const auto& storedValue, const auto& value) {
    return !storedValue.inFile || storedValue.value != value;
  };
  if (changed(stored.address, address)) changes.push_back({kNetworkSection, kAddressKey, address});
  if (changed(stored.autostart, autostart))
    changes.push_back({kSystemSection, kAutostartKey, std::to_wstring(autostart)});
  if (changed(stored.interval, interval))
    changes.push_back({kSystemSection, kIntervalKey, std::to_wstring(interval)});
  if (changes.empty()) return std::nullopt;
  if (auto failure = file.WriteIniChanges(changes)) return failure;
  stored = {{address, true}, {autostart, true}, {interval, true}};
  return std::nullopt;
}

}  // namespace 定义
