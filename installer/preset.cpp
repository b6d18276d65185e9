#include "installer/preset.h"

#include <algorithm>

#include "settings/settings.h"
#include "sync/address.h"
#include "text/decimal_text.h"
#include "ui/captions.h"
#include "ui/layout.h"

namespace installer {
namespace {

// The program reads no more of a stored address than this many bytes; a
// valid address is ASCII, one byte a character.
constexpr std::size_t kLongestStoredAddress = 49;
constexpr wchar_t kNothingChanged[] = L"安装没有进行，这台电脑上没有任何更改。";

bool IsAddressTheProgramProbes(const std::wstring& address) {
  // Text that is no address is never probed, and the one the rule reads as 0
  // (fewer than four parts, or 0.0.0.0) is an address nobody answers.
  const auto probed = ping::DottedQuadToAddress(address);
  return probed && *probed != 0 && address.size() <= kLongestStoredAddress;
}

std::optional<int> IntervalTheBarTakes(const std::wstring& interval) {
  constexpr std::size_t kMostDigits = 3;
  if (interval.empty() || interval.size() > kMostDigits ||
      !std::all_of(interval.begin(), interval.end(),
                   [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
    return std::nullopt;
  const int minutes = std::stoi(interval);
  if (minutes < kScrollMinimum || minutes > kScrollMaximum) return std::nullopt;
  return minutes;
}

std::wstring InitialAddress() {
  const auto edit = std::find_if(kControls.begin(), kControls.end(),
                                 [](const ControlSpec& spec) { return spec.id == id服务器路径; });
  return edit->text;
}

// The three settings as the installer holds them, in the program's terms.
class PresetControls final : public 定义::SettingsControls {
 public:
  std::wstring 服务器路径Text() const override { return address_; }
  void Load服务器路径Text(const std::wstring& text) override { address_ = text; }
  int 开机自动运行Value() const override { return autostart_; }
  bool Load开机自动运行Value(int value) override {
    if (value < 0 || value > 2) return false;
    autostart_ = value;
    return true;
  }
  int 滚动条Value() const override { return interval_; }
  bool Load滚动条Value(int value) override {
    if (value < kScrollMinimum || value > kScrollMaximum) return false;
    interval_ = value;
    return true;
  }

 private:
  std::wstring address_ = InitialAddress();
  int autostart_ = 0;
  int interval_ = kScrollDesignValue;
};

}  // namespace

std::optional<std::wstring> PresetProblem(const PresetValues& values) {
  if (!values.address.empty() && !IsAddressTheProgramProbes(values.address))
    return L"服务器地址“" + values.address +
           L"”不是有效的 IPv4 地址，应为用点隔开的四段数字，例如 192.168.1.1。" + kNothingChanged;
  if (!values.interval.empty() && !IntervalTheBarTakes(values.interval))
    return L"校时间隔“" + values.interval + L"”无效，应为 " + DecimalText(kScrollMinimum) +
           L" 到 " + DecimalText(kScrollMaximum) + L" 之间的整数（分钟，0 表示不自动校时）。" +
           kNothingChanged;
  return std::nullopt;
}

std::optional<定义::FileFailure> WritePreset(定义::IniFile& file, const PresetValues& values) {
  if (values.address.empty() && values.interval.empty()) return std::nullopt;
  PresetControls controls;
  const 定义::SettingsLoad read = 定义::LoadSettings(file, controls);
  if (read.state == 定义::IniFileState::Unreadable) return read.whyUnreadable;
  定义::StoredSettings stored =
      定义::StoredSettingsOf(controls, read.state == 定义::IniFileState::Read);
  if (!values.address.empty()) controls.Load服务器路径Text(values.address);
  if (const auto minutes = IntervalTheBarTakes(values.interval)) controls.Load滚动条Value(*minutes);
  return 定义::SaveSettings(file, controls, stored);
}

bool IsProgramTaskName(const std::wstring& taskName) {
  const std::wstring prefix = std::wstring(kProgramName) + L" (";
  return taskName.size() > prefix.size() && taskName.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace installer
