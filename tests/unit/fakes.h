#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "autostart/run_key.h"
#include "settings/ini_edit.h"
#include "settings/ini_file.h"
#include "settings/profile_text.h"
#include "autostart/registration.h"
#include "sync/clock_right.h"
#include "sync/sync_system.h"
#include "ui/captions.h"
#include "ui/form.h"
#include "ui/form_view.h"

// A settings file in memory, held as its text. Writes go through the
// program's own writer, so the form reads back what a save would leave.
class FakeIniFile final : public 定义::IniFile {
 public:
  定义::IniFileState state = 定义::IniFileState::Read;
  定义::FileFailure whyUnreadable{定义::FileProblem::InUse, 32};
  std::optional<定义::FileFailure> writeFailure;  // every write fails so while set
  std::wstring text;
  std::vector<std::wstring> writes;  // "section/key=value", in order, tried or written
  int saves = 0;                     // writes of the file, each with its changes
  int reads = 0;

  定义::IniFileRead Read() override {
    ++reads;
    if (state != 定义::IniFileState::Read) return {state, whyUnreadable, {}};
    return {state, {}, text};
  }

  const 定义::AnsiCodePage& CodePage() const override { return codePage_; }

  // All of the changes or, while writeFailure is set, none.
  std::optional<定义::FileFailure> WriteIniChanges(
      const std::vector<定义::IniChange>& changes) override {
    ++saves;
    for (const auto& change : changes)
      writes.push_back(change.section + L"/" + change.key + L"=" + change.value);
    if (writeFailure) return writeFailure;
    Edit(changes);
    return std::nullopt;
  }

  // As another program or a hand in Notepad changes the file: not a write of
  // the program's.
  void Edit(const std::vector<定义::IniChange>& changes) {
    text =
        定义::DecodeIniBytes(定义::EditIniBytes(Utf16Bytes(text), changes, codePage_), codePage_);
  }

  std::wstring Value(const std::wstring& section, const std::wstring& key) const {
    return 定义::ProfileValue(text, section, key);
  }

 private:
  // ASCII in one byte, any other character in two: a value's stored length
  // as GBK measures Chinese text.
  class TwoByteCodePage final : public 定义::AnsiCodePage {
   public:
    std::wstring Decode(std::string_view bytes) const override {
      std::wstring decoded;
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80 || i + 1 == bytes.size()) {
          decoded += static_cast<wchar_t>(byte);
          continue;
        }
        decoded +=
            static_cast<wchar_t>((byte & 0x7F) << 8 | static_cast<unsigned char>(bytes[++i]));
      }
      return decoded;
    }
    std::optional<std::string> EncodeExactly(std::wstring_view text) const override {
      std::string bytes;
      for (const wchar_t c : text) {
        if (c < 0x80) {
          bytes += static_cast<char>(c);
          continue;
        }
        if (c > 0x7FFF) return std::nullopt;
        bytes += static_cast<char>(0x80 | c >> 8);
        bytes += static_cast<char>(c & 0xFF);
      }
      return bytes;
    }
  };

  // Kept in UTF-16 with its BOM, which no edit changes to another encoding.
  static std::string Utf16Bytes(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (const wchar_t c : text) {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
  }

  TwoByteCodePage codePage_;
};

class FakeRunKey final : public 开机运行::RunKey {
 public:
  bool machineWritable = true;
  std::map<开机运行::RunKeyHive, std::map<std::wstring, std::wstring>> values;

  std::optional<std::wstring> ReadValue(开机运行::RunKeyHive hive,
                                        const std::wstring& name) override {
    return Find(hive, name);
  }

  bool SetValue(开机运行::RunKeyHive hive, const std::wstring& name,
                const std::wstring& data) override {
    if (hive == 开机运行::RunKeyHive::LocalMachine && !machineWritable) return false;
    values[hive][name] = data;
    return true;
  }

  bool DeleteValue(开机运行::RunKeyHive hive, const std::wstring& name) override {
    if (hive == 开机运行::RunKeyHive::LocalMachine && !machineWritable) return !Find(hive, name);
    values[hive].erase(name);
    return true;
  }

  std::optional<std::wstring> Value(开机运行::RunKeyHive hive) const {
    return Find(hive, 开机运行::kRunValueName);
  }

 private:
  std::optional<std::wstring> Find(开机运行::RunKeyHive hive, const std::wstring& name) const {
    const auto inHive = values.find(hive);
    if (inHive == values.end()) return std::nullopt;
    const auto found = inHive->second.find(name);
    if (found == inHive->second.end()) return std::nullopt;
    return found->second;
  }
};

class FakeView final : public FormView {
 public:
  std::wstring address = L"192.168.1.1";
  std::uint32_t addressBack = 0xFF0000, addressFore = 0xFFFFFF;
  std::wstring 本机时间 = L"本机时间", 网络时间 = L"网络时间", label4;
  std::uint32_t 网络时间Colour = 0x00FF00;
  std::wstring tooltip;
  int tooltipSets = 0;
  bool command2Shield = false, autostartShield = false;
  int shownAutostart = 0, shownInterval = 30;
  bool visible = false, unloaded = false;
  std::vector<std::wstring> events;  // what the handlers did, in order

  std::wstring 服务器路径Text() const override { return address; }
  void Set服务器路径Text(const std::wstring& text) override { address = text; }
  void Set服务器路径Colours(std::uint32_t back, std::uint32_t fore) override {
    addressBack = back;
    addressFore = fore;
  }
  void Set本机时间Caption(const std::wstring& caption) override { 本机时间 = caption; }
  void Set网络时间Caption(const std::wstring& caption) override { 网络时间 = caption; }
  void Set网络时间Colour(std::uint32_t colour) override { 网络时间Colour = colour; }
  void Set网络时间Tooltip(const std::wstring& text) override {
    tooltip = text;
    ++tooltipSets;
  }
  void SetCommand2Shield(bool shown) override { command2Shield = shown; }
  void SetLabel4Caption(const std::wstring& caption) override { label4 = caption; }
  void Show开机自动运行(int value) override { shownAutostart = value; }
  void Set开机自动运行Shield(bool shown) override { autostartShield = shown; }
  void Show滚动条(int value) override { shownInterval = value; }
  void ShowForm() override {
    visible = true;
    events.push_back(L"show");
  }
  void HideForm() override {
    visible = false;
    events.push_back(L"hide");
  }
  void UnloadForm() override { unloaded = true; }
};

// The probe and the sync command: each call is recorded, and the test tells
// the form or the attempt of its end.
class FakeSyncSystem : public SyncSystem {
 public:
  using Probe = std::pair<ProbeFor, std::int32_t>;

  bool startable = true;
  std::chrono::milliseconds now{1000};
  std::vector<Probe> probes;       // sent, in order
  std::vector<EchoTicket> echoes;  // the tickets of those echoes
  std::vector<std::wstring> startedCommands, elevatedArguments;
  ElevatedStart elevatedStart = ElevatedStart::Started;  // how the prompt ends, told by the test
  std::uint32_t lastCommand = 0;                         // the number of the last command started
  int endedCommands = 0;
  bool sntpAskable = true;
  std::vector<std::int32_t> sntpQuestions;  // the addresses asked, in order
  std::uint32_t lastSntpQuestion = 0;
  ClockSetEnd clockSet{ClockSet::Set};  // how a set ends, told by the test
  std::vector<sntp::Offset> clockSets;  // the offsets set, in order

  void ProbeHost(EchoTicket echo, std::int32_t address) override {
    probes.push_back({echo.prober, address});
    echoes.push_back(echo);
  }
  bool StartSyncCommand(std::uint32_t command, const std::wstring& commandLine) override {
    if (!startable) return false;
    lastCommand = command;
    startedCommands.push_back(commandLine);
    return true;
  }
  void StartSyncCommandElevated(std::uint32_t command, const std::wstring& arguments) override {
    lastCommand = command;
    elevatedArguments.push_back(arguments);
  }
  void EndSyncCommand() override { ++endedCommands; }
  bool AskSntp(std::uint32_t question, std::int32_t address) override {
    if (!sntpAskable) return false;
    lastSntpQuestion = question;
    sntpQuestions.push_back(address);
    return true;
  }
  ClockSetEnd SetClockBy(sntp::Offset offset) override {
    clockSets.push_back(offset);
    return clockSet;
  }
  std::chrono::milliseconds SteadyNow() override { return now; }

  // A ticket that matches no echo, and a failed test, when none was sent.
  EchoTicket LastEcho(ProbeFor prober) const {
    const auto found = std::find_if(echoes.rbegin(), echoes.rend(),
                                    [&](const EchoTicket& echo) { return echo.prober == prober; });
    if (found != echoes.rend()) return *found;
    ADD_FAILURE() << "no echo was sent";
    return {prober, 0};
  }

  std::size_t ProbesFor(ProbeFor prober) const {
    return static_cast<std::size_t>(std::count_if(
        probes.begin(), probes.end(), [&](const Probe& probe) { return probe.first == prober; }));
  }
};

class FakeSystem final : public FakeSyncSystem, public FormSystem {
 public:
  bool anotherInstance = false;
  std::optional<bool> replacedCopyShown;  // this copy replaced one without the clock right
  int runningInstanceShows = 0;
  std::wstring timeOfDay = L"03:50:36";
  std::wstring trayTip = kTrayTip;
  int trayIcons = 0, trayAdds = 0;
  int trayRefusals = 0;  // adds the shell refuses before it takes the icon
  std::vector<std::wstring> usage;
  int usageNotesOpen = 0, mostUsageNotesOpen = 0;
  // What happens once while the modal note is open, such as another F1.
  std::function<void()> whileUsageIsShown;
  std::vector<std::wstring>* events = nullptr;  // shared with the view, when set

  bool IsAnotherInstanceRunning() override { return anotherInstance; }
  std::optional<bool> ShownByReplacedCopy() override { return replacedCopyShown; }
  void ShowRunningInstance() override { ++runningInstanceShows; }
  std::wstring LongTimeNow() override { return timeOfDay; }
  bool AddTrayIcon() override {
    ++trayAdds;
    if (trayRefusals > 0) {
      --trayRefusals;
      return false;
    }
    ++trayIcons;
    if (events) events->push_back(L"add icon");
    return true;
  }
  void RemoveTrayIcon() override {
    --trayIcons;
    if (events) events->push_back(L"remove icon");
  }
  void SetTrayTip(const std::wstring& tip) override { trayTip = tip; }
  void ShowUsage(const std::wstring& caption, const std::wstring& text) override {
    usage = {caption, text};
    mostUsageNotesOpen = std::max(mostUsageNotesOpen, ++usageNotesOpen);
    if (const auto meanwhile = std::exchange(whileUsageIsShown, nullptr)) meanwhile();
    --usageNotesOpen;
  }
};

// The logon task's system: a token that UAC does not split unless a test
// says so, which keeps the Run value as the registration.
class FakeLogonTaskSystem final : public 开机运行::LogonTaskSystem {
 public:
  struct Start {
    std::uint32_t number;
    开机运行::TaskStep step;
    bool throughConsent;
  };
  开机运行::TokenKind token = 开机运行::TokenKind::Whole;
  开机运行::ExeForTask exe = 开机运行::ExeForTask::Fit;
  开机运行::TaskPresence ownTask = 开机运行::TaskPresence::Unknown;
  std::optional<开机运行::TaskStep> interrupted;  // left by an earlier run
  std::vector<Start> starts;

  开机运行::TokenKind ReadTokenKind() override { return token; }
  开机运行::ExeForTask CheckExeForTask() override { return exe; }
  开机运行::TaskPresence FindOwnTask() override { return ownTask; }
  void StartTaskChange(std::uint32_t number, 开机运行::TaskStep step,
                       bool throughConsent) override {
    starts.push_back({number, step, throughConsent});
  }
  std::optional<开机运行::TaskStep> TakeInterruptedChange() override {
    return std::exchange(interrupted, std::nullopt);
  }
};

// The process token as a test wants it; unreadable when unset.
class FakeClockRight final : public ClockRightQuery {
 public:
  std::optional<ClockRight> right = ClockRight{.held = true};

  std::optional<ClockRight> ReadClockRight() override { return right; }
};

inline constexpr wchar_t kFakedExe[] = L"C:\\Tools\\LanTimeSync.exe";

// The form with every part of the system faked, for tests that drive it
// whole. overPreset: file is the user's own, over the administrator's preset,
// as in a protected folder.
struct FakedForm {
  explicit FakedForm(bool overPreset = false) : overPreset(overPreset) {}

  定义::SettingsFiles Files() { return {file, overPreset ? &preset : nullptr}; }

  const bool overPreset;
  FakeView view;
  FakeSystem system;
  FakeClockRight clockRight;
  FakeIniFile file, preset;
  FakeRunKey runKey;
  FakeLogonTaskSystem logonTasks;
  同步软件 form{view, system, system, clockRight, logonTasks, Files(), runKey, kFakedExe};
};
