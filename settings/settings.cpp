#include "settings/settings.h"

#include <cstdint>
#include <limits>
#include <optional>

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

IniFileRead LoadSettings(IniFile& file, SettingsControls& controls) {
  const IniFileRead read = file.Read();
  if (read.state != IniFileState::Read) return read;
  const std::wstring address =
      file.ReadIniString(kNetworkSection, kAddressKey, kAddressBufferBytes);
  const auto autostart = NarrowTo16Bits(file.ReadIniInt(kSystemSection, kAutostartKey));
  const auto interval = NarrowTo16Bits(file.ReadIniInt(kSystemSection, kIntervalKey));

  controls.Set服务器路径Text(address);
  // A refused value leaves its control as it was; loading goes on regardless.
  if (autostart) controls.Set开机自动运行Value(*autostart);
  if (interval) controls.Set滚动条Value(*interval);
  return read;
}

std::optional<FileFailure> SaveSettings(IniFile& file, const SettingsControls& controls) {
  const auto address = file.WriteIniString(kNetworkSection, kAddressKey, controls.服务器路径Text());
  const auto autostart = file.WriteIniString(kSystemSection, kAutostartKey,
                                             std::to_wstring(controls.开机自动运行Value()));
  const auto interval =
      file.WriteIniString(kSystemSection, kIntervalKey, std::to_wstring(controls.滚动条Value()));
  return address ? address : autostart ? autostart : interval;
}

}  // namespace 定义
