// A program ended by force while it saves (a crash, a logoff that does not
// wait, a power cut) leaves 配置.INI whole: as it was, or as one of the saves
// made it, never empty and never a mix of the two.

#include <set>

#include "product.h"

namespace e2e {
namespace {

constexpr int kKills = 50;
constexpr int kStepsPerRound = 30;

// Notes added by hand make the file long enough that a save takes a while.
std::string NotedIniBytes(int interval) {
  std::wstring notes;
  for (int line = 1; line <= 300; ++line)
    notes += L"; 第 " + std::to_wstring(line) + L" 行：机房交换机的备注\r\n";
  return IniFileBytes(L"127.0.0.1", 0, interval) + Gbk(notes);
}

std::string Describe(const std::optional<std::string>& bytes) {
  if (!bytes) return "no file";
  const std::size_t shown = std::min<std::size_t>(bytes->size(), 60);
  return std::to_string(bytes->size()) + " bytes, ending \"" +
         bytes->substr(bytes->size() - shown) + "\"";
}

class InterruptedSaveTest : public ProductTest {
 protected:
  // Steps posted, not sent: the test goes on while the program saves them.
  void PostScrollSteps(int firstInterval) const {
    for (int step = 0; step < kStepsPerRound; ++step)
      PostMessageW(window_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, firstInterval + step),
                   reinterpret_cast<LPARAM>(ControlOf(id滚动条)));
  }
};

TEST_F(InterruptedSaveTest, AProgramEndedWhileSavingLeavesTheOldOrTheNewFile) {
  int stored = 10;
  WriteIni(NotedIniBytes(stored));
  for (int kill = 0; kill < kKills; ++kill) {
    Start();
    WaitUntilShown();
    const int first = stored < 50 ? 60 : 20;
    PostScrollSteps(first);
    // Each save takes some milliseconds: from before the first has begun to
    // after the last has ended.
    Sleep(static_cast<DWORD>(kill * 37 % 250));
    product_.Terminate();

    const std::optional<std::string> bytes = ReadFileBytes(IniPath());
    std::set<int> whole{stored};
    for (int step = 0; step < kStepsPerRound; ++step) whole.insert(first + step);
    const auto found = std::find_if(whole.begin(), whole.end(),
                                    [&](int interval) { return bytes == NotedIniBytes(interval); });
    ASSERT_TRUE(found != whole.end()) << "kill " << kill + 1 << " left " << Describe(bytes);
    stored = *found;
  }
}

}  // namespace
}  // namespace e2e
