// The sync command as the program starts and watches it, run under Wine's
// heap checker (scripts/heap-checked.sh): commands that end by themselves,
// commands ended while they run, and commands whose owner goes away first
// leave no write behind in freed memory.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>

#include "support/fake_net_log.h"
#include "support/fake_net_protocol.h"
#include "support/process.h"
#include "support/wait.h"
#include "sync/process_win32.h"
#include "win32/unique_handle.h"

namespace {

bool HeapIsSound() { return HeapValidate(GetProcessHeap(), 0, nullptr) != FALSE; }

// Shared with the pool's callback, which may come after the test has
// stopped waiting for it.
struct End {
  UniqueKernelHandle event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<std::uint32_t> exitCode{0};
};

CommandEnded Telling(const std::shared_ptr<End>& end) {
  return [end](std::uint32_t exitCode) {
    end->exitCode = exitCode;
    SetEvent(end->event.Get());
  };
}

bool Ended(const End& end) { return WaitForSingleObject(end.event.Get(), 10000) == WAIT_OBJECT_0; }

class CommandTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(e2e::InstallStandIn(L"net.exe").empty());
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    hold_ = std::wstring(temp) + L"command_test.hold";
    log_ = std::wstring(temp) + L"command_test.log";
    SetEnvironmentVariableW(e2e::kFakeNetLogVar, log_.c_str());
    SetEnvironmentVariableW(e2e::kFakeNetHoldVar, hold_.c_str());
    // More than the pipe holds, so that the reader is still at work.
    SetEnvironmentVariableW(e2e::kFakeNetFillerVar, L"200000");
    SetEnvironmentVariableW(e2e::kFakeNetOutputVar, L"the last line");
    SetEnvironmentVariableW(e2e::kFakeNetExitVar, L"2");
  }
  void TearDown() override {
    DeleteFileW(hold_.c_str());
    DeleteFileW(log_.c_str());
  }

  // The test net.exe hangs while the file exists.
  bool HangCommands() const {
    return UniqueFileHandle(CreateFileW(hold_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr))
               .Get() != nullptr;
  }

  // Wine now and then fails to start a process at all ("failed to map the
  // shared user data", seen once in some twenty runs); what is tested here
  // is what follows a start, so a start that failed is tried again.
  bool StartCommand(SyncCommandProcess& command, const CommandEnded& ended) const {
    for (int attempt = 0; attempt < 3; ++attempt)
      if (command.Start(commandLine_, ended)) return true;
    return false;
  }

  std::wstring hold_, log_;
  const std::wstring commandLine_ = L"net time \\\\127.0.0.1 /set /yes";
};

TEST_F(CommandTest, ACommandThatEndsByItselfIsToldWithItsWords) {
  for (int round = 0; round < 8; ++round) {
    SyncCommandProcess command;
    const auto end = std::make_shared<End>();
    ASSERT_TRUE(StartCommand(command, Telling(end)));
    ASSERT_TRUE(Ended(*end)) << "round " << round;
    EXPECT_EQ(end->exitCode, 2u);
    EXPECT_NE(command.TakeOutput().find(L"the last line"), std::wstring::npos);
    ASSERT_TRUE(HeapIsSound()) << "round " << round;
  }
}

TEST_F(CommandTest, ACommandEndedOrLeftWhileItRunsIsStillToldSafely) {
  ASSERT_TRUE(HangCommands());
  for (int round = 0; round < 8; ++round) {
    const auto ended = std::make_shared<End>(), left = std::make_shared<End>();
    {
      SyncCommandProcess command, owner;
      ASSERT_TRUE(StartCommand(command, Telling(ended)));
      ASSERT_TRUE(StartCommand(owner, Telling(left)));
      command.End();
    }  // the owner goes, and its job ends the command
    ASSERT_TRUE(Ended(*ended)) << "round " << round;
    EXPECT_EQ(ended->exitCode, 1u) << "ended while it ran";
    ASSERT_TRUE(Ended(*left)) << "left with its owner, round " << round;
    ASSERT_TRUE(HeapIsSound()) << "round " << round;
  }
  Sleep(100);  // the pool lets its watches go after the last end
  EXPECT_TRUE(HeapIsSound());
}

// net.exe ends at once, but what it started holds the pipe far longer than
// the program waits for a command: the command's own end and exit code are
// told all the same, with what it wrote; ended, it takes along what it
// left, and the reader that was still waiting on the pipe writes nothing
// freed, nor does a watch whose owner goes before its end is told.
TEST_F(CommandTest, ACommandWhoseHeirHoldsThePipeIsToldByItsOwnEnd) {
  SetEnvironmentVariableW(e2e::kFakeNetExitVar, L"0");
  SetEnvironmentVariableW(e2e::kFakeNetHeirVar, L"120000");
  for (int round = 0; round < 3; ++round) {
    const auto told = std::make_shared<End>(), left = std::make_shared<End>();
    {
      SyncCommandProcess command, owner;
      ASSERT_TRUE(StartCommand(command, Telling(told)));
      ASSERT_TRUE(StartCommand(owner, Telling(left)));
      ASSERT_TRUE(Ended(*told)) << "round " << round;
      EXPECT_EQ(told->exitCode, 0u);
      EXPECT_NE(command.TakeOutput().find(L"the last line"), std::wstring::npos);
      command.End();
    }
    EXPECT_TRUE(e2e::WaitFor([] { return e2e::ProcessIdsByExeName(L"net.exe").empty(); }))
        << "round " << round;
    ASSERT_TRUE(Ended(*left)) << "round " << round;
    ASSERT_TRUE(HeapIsSound()) << "round " << round;
  }
  Sleep(100);  // the pool lets its watches go after the last end
  EXPECT_TRUE(HeapIsSound());
}

}  // namespace
