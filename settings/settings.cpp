#include "settings/settings.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "settings/profile_text.h"
#include "text/decimal_text.h"

namespace 定义 {
namespace {

constexpr wchar_t kNetworkSection[] = L"网络配置";
constexpr wchar_t kSystemSection[] = L"系统配置";
constexpr wchar_t kAddressKey[] = L"服务器路径";
constexpr wchar_t kAutostartKey[] = L"开机自动运行";
constexpr wchar_t kIntervalKey[] = L"校时间隔";
// The address was read into a buffer of 50 bytes in the ANSI code page.
constexpr std::size_t kAddressStoredBytes = 49;

// The controls hold 16-bit values; a stored value beyond that is not loaded.
std::optional<int> NarrowTo16Bits(std::int32_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max())
    return std::nullopt;
  return value;
}

bool IsSurrogatePairAt(std::wstring_view text, std::size_t i) {
  return i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 && text[i + 1] >= 0xDC00 &&
         text[i + 1] < 0xE000;
}

// The characters that fit whole into maxBytes of the code page; one it cannot
// spell takes one byte, as its default character does.
std::wstring CutToStoredBytes(std::wstring_view text, std::size_t maxBytes,
                              const AnsiCodePage& ansi) {
  std::size_t end = 0, bytes = 0;
  while (end < text.size()) {
    const std::size_t length = IsSurrogatePairAt(text, end) ? 2 : 1;
    const auto spelt = ansi.EncodeExactly(text.substr(end, length));
    bytes += spelt ? spelt->size() : 1;
    if (bytes > maxBytes) break;
    end += length;
  }
  return std::wstring(text.substr(0, end));
}

std::optional<int> StoredInt(const std::optional<std::wstring>& value) {
  if (!value) return std::nullopt;
  return NarrowTo16Bits(ProfileInt(*value));
}

// The value a key is loaded with; nothing: the control keeps its own.
using StoredLookup =
    std::function<std::optional<std::wstring>(const wchar_t* section, const wchar_t* key)>;

SettingsLoad Unreadable(const IniFileRead& read, SettingsFile file) {
  return {IniFileState::Unreadable, read.whyUnreadable, file};
}

std::optional<std::wstring> FoundIn(const IniFileRead& read, const wchar_t* section,
                                    const wchar_t* key) {
  if (read.state != IniFileState::Read) return std::nullopt;
  return FindProfileValue(read.text, section, key);
}

void LoadKeys(const StoredLookup& stored, const AnsiCodePage& ansi, SettingsControls& controls,
              SettingsKeys kept) {
  const auto address = stored(kNetworkSection, kAddressKey);
  const auto autostart = StoredInt(stored(kSystemSection, kAutostartKey));
  const auto interval = StoredInt(stored(kSystemSection, kIntervalKey));

  if (address && !kept.address)
    controls.Load服务器路径Text(CutToStoredBytes(*address, kAddressStoredBytes, ansi));
  // A refused value leaves its control as it was; loading goes on regardless.
  if (autostart && !kept.autostart) controls.Load开机自动运行Value(*autostart);
  if (interval && !kept.interval) controls.Load滚动条Value(*interval);
}

// A folder as the platform reports it ends in a backslash only at a drive's root.
std::wstring InFolder(const std::wstring& folder, const wchar_t* name) {
  std::wstring path = folder;
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path + name;
}

}  // namespace

std::wstring IniPath(const std::wstring& exeDirectory) {
  return InFolder(exeDirectory, kIniFileName);
}

std::wstring UserIniPath(const std::wstring& roamingAppData) {
  return IniPath(InFolder(roamingAppData, kUserSettingsFolder));
}

SettingsLoad LoadSettings(const SettingsFiles& files, SettingsControls& controls,
                          SettingsKeys kept) {
  const IniFileRead read = files.file.Read();
  if (read.state == IniFileState::Unreadable) return Unreadable(read, files.Saved());
  const AnsiCodePage& ansi = files.file.CodePage();
  if (!files.preset) {
    if (read.state == IniFileState::Read)
      LoadKeys([&](auto section, auto key) { return ProfileValue(read.text, section, key); }, ansi,
               controls, kept);
    return {read.state, {}, {}};
  }
  const IniFileRead preset = files.preset->Read();
  if (preset.state == IniFileState::Unreadable) return Unreadable(preset, SettingsFile::Preset);
  LoadKeys(
      [&](auto section, auto key) {
        auto value = FoundIn(read, section, key);
        return value ? value : FoundIn(preset, section, key);
      },
      ansi, controls, kept);
  const bool anyRead = read.state == IniFileState::Read || preset.state == IniFileState::Read;
  return {anyRead ? IniFileState::Read : IniFileState::Missing, {}, {}};
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
  const auto changed = [](const auto& storedValue, const auto& value) {
    return !storedValue.inFile || storedValue.value != value;
  };
  if (changed(stored.address, address)) changes.push_back({kNetworkSection, kAddressKey, address});
  if (changed(stored.autostart, autostart))
    changes.push_back({kSystemSection, kAutostartKey, DecimalText(autostart)});
  if (changed(stored.interval, interval))
    changes.push_back({kSystemSection, kIntervalKey, DecimalText(interval)});
  if (changes.empty()) return std::nullopt;
  if (auto failure = file.WriteIniChanges(changes)) return failure;
  stored = {{address, true}, {autostart, true}, {interval, true}};
  return std::nullopt;
}

}  // namespace 定义
