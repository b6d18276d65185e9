// 配置.INI beside the exe, byte for byte, and the start-with-Windows value.

#include "product.h"
#include "ui/captions.h"

namespace e2e {
namespace {

class SettingsTest : public ProductTest {
 protected:
  std::string IniBytes() const { return ReadFileBytes(IniPath()).value_or("<no file>"); }
};

TEST_F(SettingsTest, FirstSaveWritesTheFiveLinesInGbk) {
  Start();
  WaitUntilShown();
  EXPECT_FALSE(FileExists(IniPath()));
  Click(ControlOf(idCommand1));
  EXPECT_EQ(IniBytes(), IniFileBytes(L"192.168.1.1", 0, 30));
}

TEST_F(SettingsTest, LongAddressComesBackAsItsFirst49Characters) {
  const std::wstring address(L"1234567890abcdefghijklmnopqrstuvwxyz1234567890ABCDEFGHIJKLMN");
  ASSERT_EQ(address.size(), 60u);
  Start();
  WaitUntilShown();
  TypeAddress(address);
  Click(ControlOf(idCommand1));
  EXPECT_EQ(IniBytes(), IniFileBytes(address, 0, 30));
  product_.Terminate();

  Start();
  WaitUntilShown();
  EXPECT_EQ(TextOf(id服务器路径), address.substr(0, 49));
}

// 51 bytes of GBK: the character that would end at byte 50 is left out whole.
TEST_F(SettingsTest, LongChineseAddressComesBackAsItsFirst49Bytes) {
  const std::wstring address = L"1" + std::wstring(25, L'时');
  WriteIni(IniFileBytes(address, 0, 30));
  Start();
  WaitUntilShown();
  EXPECT_EQ(TextOf(id服务器路径), L"1" + std::wstring(24, L'时'));
}

TEST_F(SettingsTest, ChineseAddressTextIsStoredInGbkAndReadBack) {
  Start();
  WaitUntilShown();
  TypeAddress(L"时间服务器");
  Click(ControlOf(idCommand1));
  EXPECT_EQ(IniBytes(), IniFileBytes(L"时间服务器", 0, 30));
  product_.Terminate();

  Start();
  WaitUntilShown();
  EXPECT_EQ(TextOf(id服务器路径), L"时间服务器");
}

// A key the window did not change is not added: 开机自动运行 stays missing.
TEST_F(SettingsTest, HandEditedLinesSurviveSaves) {
  WriteIni(
      Gbk(L"; 手工写的注释\r\n[其他]\r\n名字=值\r\n[网络配置]\r\n服务器路径=10.1.1.1\r\n"
          L"备注=保留\r\n"));
  Start();
  WaitUntilShown();
  SendHScroll(ControlOf(id滚动条), SB_THUMBPOSITION, 7);
  Click(ControlOf(idCommand1));
  EXPECT_EQ(IniBytes(),
            Gbk(L"; 手工写的注释\r\n[其他]\r\n名字=值\r\n[网络配置]\r\n服务器路径=10.1.1.1\r\n"
                L"备注=保留\r\n[系统配置]\r\n校时间隔=7\r\n"));
}

// A hidden or system file still holds the user's settings.
class HiddenSettingsTest : public SettingsTest, public testing::WithParamInterface<DWORD> {};

TEST_P(HiddenSettingsTest, FileIsLoadedAndSavedLikeAnyOther) {
  WriteIni(IniFileBytes(L"127.0.0.1", 0, 10));
  ASSERT_TRUE(SetFileAttributesW(IniPath().c_str(), GetParam()));
  Start();
  WaitUntilShown();
  EXPECT_EQ(TextOf(id服务器路径), L"127.0.0.1");
  EXPECT_EQ(TextOf(idLabel4), IntervalCaption(10));
  SendHScroll(ControlOf(id滚动条), SB_THUMBPOSITION, 20);
  CloseAndWait();
  EXPECT_EQ(IniBytes(), IniFileBytes(L"127.0.0.1", 0, 20));
  EXPECT_EQ(GetFileAttributesW(IniPath().c_str()) & GetParam(), GetParam()) << "still set";
}

INSTANTIATE_TEST_SUITE_P(Attributes, HiddenSettingsTest,
                         testing::Values(FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM));

// A directory of that name is no settings file.
TEST_F(SettingsTest, ADirectoryOfThatNameIsNotLoaded) {
  ASSERT_TRUE(CreateDirectoryW(IniPath().c_str(), nullptr));
  Start();
  WaitUntilShown();
  EXPECT_EQ(TextOf(id服务器路径), L"192.168.1.1");
  EXPECT_EQ(TextOf(idLabel4), IntervalCaption(30));
}

TEST_F(SettingsTest, TheButtonRegistersAndUnregistersTheProgramMachineWide) {
  Start();
  WaitUntilShown();
  Click(ControlOf(id开机自动运行));
  EXPECT_EQ(SendMessageW(ControlOf(id开机自动运行), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), exe_);
  EXPECT_EQ(IniBytes(), IniFileBytes(L"192.168.1.1", 1, 30));

  Click(ControlOf(id开机自动运行));
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), std::nullopt);
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), std::nullopt);
  EXPECT_EQ(IniBytes(), IniFileBytes(L"192.168.1.1", 0, 30));
}

TEST_F(SettingsTest, APathWithABlankIsRegisteredInQuotes) {
  const std::wstring directory = FreshWorkDir(CurrentTestName() + L" 含 空格");
  ASSERT_FALSE(directory.empty());
  StartIn(directory);
  WaitUntilShown();
  Click(ControlOf(id开机自动运行));
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), L"\"" + exe_ + L"\"");
  EXPECT_TRUE(FileExists(directory + L"\\" + kIniName));
}

}  // namespace
}  // namespace e2e
