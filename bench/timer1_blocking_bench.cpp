// Prints how long one second of the twice-a-second status tick holds the
// user-interface thread, against a server that answers and one that is
// silent. Run inside the loopback-only sandbox, where 127.0.0.9 is dropped.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "settings/autostart.h"
#include "settings/ini_file.h"
#include "sync/clock_right_win32.h"
#include "ui/form.h"
#include "ui/layout.h"
#include "ui/system_win32.h"

namespace {

class NoView final : public FormView {
 public:
  explicit NoView(std::wstring address) : address_(std::move(address)) {}
  std::wstring 服务器路径Text() const override { return address_; }
  void Set服务器路径Text(const std::wstring&) override {}
  void Set服务器路径Colours(std::uint32_t, std::uint32_t) override {}
  void Set本机时间Caption(const std::wstring&) override {}
  void Set网络时间Caption(const std::wstring&) override {}
  void Set网络时间Colour(std::uint32_t) override {}
  void Set网络时间Tooltip(const std::wstring&) override {}
  void SetCommand2Shield(bool) override {}
  void SetLabel4Caption(const std::wstring&) override {}
  void Show开机自动运行(int) override {}
  void Show滚动条(int) override {}
  void ShowForm() override {}
  void HideForm() override {}
  void UnloadForm() override {}

 private:
  std::wstring address_;
};

class NoIniFile final : public 定义::IniFile {
 public:
  定义::IniFileRead Read() override { return {}; }
  std::wstring ReadIniString(const std::wstring&, const std::wstring&, int) const override {
    return {};
  }
  std::int32_t ReadIniInt(const std::wstring&, const std::wstring&) const override { return 0; }
  std::optional<定义::FileFailure> WriteIniString(const std::wstring&, const std::wstring&,
                                                  const std::wstring&) override {
    return std::nullopt;
  }
};

class NoRunKey final : public 开机运行::RunKey {
 public:
  bool SetValue(开机运行::RunKeyHive, const std::wstring&, const std::wstring&) override {
    return true;
  }
  void DeleteValue(开机运行::RunKeyHive, const std::wstring&) override {}
};

double BlockedMillisecondsPerSecond(const wchar_t* address, int ticks) {
  NoView view(address);
  TrayIconWin32 tray(nullptr, 0);
  SystemWin32 system(nullptr, tray);
  ProcessTokenClockRight clockRight;
  NoIniFile iniFile;
  NoRunKey runKey;
  同步软件 form(view, system, clockRight, iniFile, runKey, L"");
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < ticks; ++i) form.Timer1_Timer();
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  const double ticksPerSecond = 1000.0 / kTimer1Milliseconds;
  return spent.count() / ticks * ticksPerSecond;
}

}  // namespace

int main() {
  constexpr int kTicks = 20;
  for (const wchar_t* address : {L"127.0.0.1", L"127.0.0.9", L"192.168.1.1.5"}) {
    std::printf("Timer1_Timer against %-14ls blocks the UI thread %7.1f ms per second (%d ticks)\n",
                address, BlockedMillisecondsPerSecond(address, kTicks), kTicks);
  }
  return 0;
}
