// 配置.INI never loses what it holds: not by opening and closing, not while
// another program has it locked, not when it was edited by hand meanwhile or
// saved by Notepad in UTF-8; and a save that fails says so.

#include "product.h"

namespace e2e {
namespace {

class SettingsFileTest : public ProductTest {
 protected:
  std::string IniBytes() const { return ReadFileBytes(IniPath()).value_or("<no file>"); }
  void ScrollTo(int interval) const {
    SendHScroll(ControlOf(id滚动条), SB_THUMBPOSITION, interval);
  }
};

std::string Utf16LeWithBom(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (const wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  return bytes;
}

TEST_F(SettingsFileTest, OpeningAndClosingLeavesTheFileByteForByte) {
  // Written by hand: a comment, and no start-up key.
  const std::string handWritten = Gbk(
      L"; 机房的时间服务器\r\n[网络配置]\r\n服务器路径=127.0.0.1\r\n[系统配置]\r\n校时间隔=10\r\n");
  WriteIni(handWritten);
  Start();
  WaitUntilShown();
  EXPECT_EQ(TextOf(idLabel4), L"每隔 10 分钟校时一次");
  CloseAndWait();
  EXPECT_EQ(IniBytes(), handWritten);
}

TEST_F(SettingsFileTest, AHandEditMadeWhileRunningSurvivesTheClose) {
  WriteIni(IniFileBytes(L"127.0.0.1", 0, 10));
  Start();
  WaitUntilShown();
  const std::string edited = IniFileBytes(L"127.0.0.2", 0, 20);
  WriteIni(edited);
  CloseAndWait();
  EXPECT_EQ(IniBytes(), edited);
}

// Backup tools, virus scanners and editors hold a file without sharing.
TEST_F(SettingsFileTest, AFileLockedAtStartIsLoadedOnceFreeAndNeverWiped) {
  const std::string stored = IniFileBytes(L"127.0.0.1", 0, 10);
  WriteIni(stored);
  UniqueFileHandle lock(CreateFileW(IniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock);
  Start();
  WaitUntilShown();
  TickTimer2(2);
  EXPECT_EQ(TextOf(id服务器路径), L"192.168.1.1");
  EXPECT_EQ(TextOf(idLabel4), L"每隔 30 分钟校时一次");
  EXPECT_NE(TooltipOf(id网络时间), L"");

  lock.Reset();
  EXPECT_TRUE(WaitForText(id服务器路径, L"127.0.0.1"));
  EXPECT_EQ(TextOf(idLabel4), L"每隔 10 分钟校时一次");
  EXPECT_EQ(TooltipOf(id网络时间), L"");
  CloseAndWait();
  EXPECT_EQ(IniBytes(), stored);
}

TEST_F(SettingsFileTest, AReadOnlyFileShowsThatTheSettingsWereNotSavedAndWhy) {
  const std::string stored = IniFileBytes(L"127.0.0.1", 0, 10);
  WriteIni(stored);
  ASSERT_TRUE(SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_READONLY));
  Start();
  WaitUntilShown();
  EXPECT_EQ(TooltipOf(id网络时间), L"");
  ScrollTo(20);
  EXPECT_EQ(TooltipOf(id网络时间), L"设置没有保存：配置.INI 是只读文件");
  EXPECT_EQ(IniBytes(), stored);

  ASSERT_TRUE(SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL));
  ScrollTo(21);
  EXPECT_EQ(TooltipOf(id网络时间), L"");
  EXPECT_EQ(IniBytes(), IniFileBytes(L"127.0.0.1", 0, 21));
}

TEST_F(SettingsFileTest, AFileAnotherProgramKeepsFromWritingShowsWhy) {
  WriteIni(IniFileBytes(L"127.0.0.1", 0, 10));
  Start();
  WaitUntilShown();
  const UniqueFileHandle editor(CreateFileW(IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
  ASSERT_TRUE(editor);
  ScrollTo(20);
  EXPECT_EQ(TooltipOf(id网络时间), L"设置没有保存：配置.INI 正被其他程序占用");
}

// What the window did not change stays as the file holds it: the interval
// edited by hand while the program runs, and an address longer than loading
// takes (shown cut to 49 bytes).
TEST_F(SettingsFileTest, ASaveWritesOnlyWhatTheWindowChanged) {
  const std::wstring longAddress(299, L'1');
  WriteIni(IniFileBytes(longAddress, 0, 10));
  Start();
  WaitUntilShown();
  WriteIni(IniFileBytes(longAddress, 0, 25));
  Click(ControlOf(id开机自动运行));
  Click(ControlOf(idCommand1));
  EXPECT_EQ(IniBytes(), IniFileBytes(longAddress, 1, 25));
}

// Ticked while the file is read-only: the program is registered, but the
// file still says 0, and at the next start the file decides.
TEST_F(SettingsFileTest, ARegistrationWhoseSaveFailedIsRemovedAtTheNextStart) {
  WriteIni(IniFileBytes(L"127.0.0.1", 0, 10));
  ASSERT_TRUE(SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_READONLY));
  Start();
  WaitUntilShown();
  Click(ControlOf(id开机自动运行));
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), exe_);
  CloseAndWait();
  ASSERT_TRUE(SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL));

  Start();
  WaitUntilShown();
  EXPECT_EQ(SendMessageW(ControlOf(id开机自动运行), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), std::nullopt);
}

// A 配置.INI.tmp left read-only (by a crash and a user's attrib, or copied
// from a CD) is not reused: its attribute would come along into 配置.INI.
TEST_F(SettingsFileTest, AReadOnlyLeftoverTemporaryFileChangesNothingASaveLeaves) {
  WriteIni(IniFileBytes(L"127.0.0.1", 0, 10));
  const std::wstring leftover = IniPath() + L".tmp";
  ASSERT_TRUE(WriteFileBytes(leftover, "left over"));
  ASSERT_TRUE(SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_READONLY));
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.2");
  ScrollTo(20);
  EXPECT_EQ(IniBytes(), IniFileBytes(L"127.0.0.2", 0, 20));
  EXPECT_EQ(GetFileAttributesW(IniPath().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

  TypeAddress(L"127.0.0.3");
  CloseAndWait();
  EXPECT_EQ(IniBytes(), IniFileBytes(L"127.0.0.3", 0, 20));
}

// Another program's WM_SETTEXT can put line breaks into the address box,
// where a paste keeps only the first line: so does the save.
TEST_F(SettingsFileTest, LineBreaksInTheAddressMakeNoLinesOfTheirOwn) {
  WriteIni(IniFileBytes(L"127.0.0.2", 0, 10));
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1\r\n[系统配置]\r\n开机自动运行=1\r\n校时间隔=1");
  CloseAndWait();
  EXPECT_EQ(IniBytes(), IniFileBytes(L"127.0.0.1", 0, 10));

  Start();
  WaitUntilShown();
  EXPECT_EQ(SendMessageW(ControlOf(id开机自动运行), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(TextOf(idLabel4), L"每隔 10 分钟校时一次");
}

// The system's profile functions drop a section header after a NUL, and the
// rest of a line after one: such a file is read, and never rewritten.
TEST_F(SettingsFileTest, AFileWithNulCharactersIsReadButNeverRewritten) {
  using namespace std::string_literals;
  const std::string stored = Gbk(
      L"\0[网络配置]\r\n服务器路径=127.0.0.1\r\n; 注释\0后半\r\n[系统配置]\r\n校时间隔=10\r\n"s);
  WriteIni(stored);
  Start();
  WaitUntilShown();
  EXPECT_EQ(TextOf(id服务器路径), L"127.0.0.1");
  EXPECT_EQ(TextOf(idLabel4), L"每隔 10 分钟校时一次");
  ScrollTo(20);
  EXPECT_EQ(TooltipOf(id网络时间), L"设置没有保存：配置.INI 中有空字符（NUL），改写会损坏它");
  CloseAndWait();
  EXPECT_EQ(IniBytes(), stored);
}

// A file edited in Notepad: a comment and a key of the administrator's own.
std::wstring EditedLines(const std::wstring& address, int interval, const std::wstring& note) {
  return L"; 管理员改过\r\n[网络配置]\r\n服务器路径=" + address + L"\r\n备注=" + note +
         L"\r\n[系统配置]\r\n开机自动运行=0\r\n校时间隔=" + std::to_wstring(interval) + L"\r\n";
}

struct EncodedFile {
  const char* name;
  std::string (*encode)(const std::wstring& text);
  const wchar_t* note;
};

void PrintTo(const EncodedFile& file, std::ostream* out) { *out << file.name; }

std::string Utf8(const std::wstring& text) { return ToCodePage(text, CP_UTF8); }
std::string Utf8WithBom(const std::wstring& text) {
  return "\xEF\xBB\xBF" + ToCodePage(text, CP_UTF8);
}

class EncodedSettingsFileTest : public SettingsFileTest,
                                public testing::WithParamInterface<EncodedFile> {};

TEST_P(EncodedSettingsFileTest, IsReadAndKeepsEveryLineAcrossSaves) {
  const EncodedFile& file = GetParam();
  WriteIni(file.encode(EditedLines(L"127.0.0.1", 10, file.note)));
  Start();
  WaitUntilShown();
  EXPECT_EQ(TextOf(id服务器路径), L"127.0.0.1");
  EXPECT_EQ(TextOf(idLabel4), L"每隔 10 分钟校时一次");
  ScrollTo(20);
  TypeAddress(L"127.0.0.3");
  CloseAndWait();
  // Saved in the form it had, and no temporary file left beside it.
  EXPECT_EQ(IniBytes(), file.encode(EditedLines(L"127.0.0.3", 20, file.note)));
  EXPECT_FALSE(FileExists(IniPath() + L".tmp"));
}

INSTANTIATE_TEST_SUITE_P(Encodings, EncodedSettingsFileTest,
                         testing::Values(EncodedFile{"Utf8", Utf8, L"机房 A"},
                                         EncodedFile{"Utf8WithBom", Utf8WithBom, L"机房 A"},
                                         EncodedFile{"Utf8BeyondGbk", Utf8, L"机房 \U0001F600"},
                                         EncodedFile{"Utf16", Utf16LeWithBom, L"机房 A"}),
                         [](const testing::TestParamInfo<EncodedFile>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace e2e
