#include "work_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <system_error>

#include "settings/exe_location_win32.h"
#include "text.h"
#include "wait.h"

namespace fs = std::filesystem;

namespace e2e {
namespace {

constexpr wchar_t kWorkRoot[] = L"C:\\e2e";
// A product process that was just terminated can keep its exe open for a
// moment; deleting the folder is retried for this long.
constexpr int kDeleteTimeoutMs = 10000;

// A test may leave a file read-only, which the removal would refuse.
void ClearAttributes(const fs::path& dir) {
  std::error_code ec;
  for (fs::recursive_directory_iterator entry(dir, ec), end; !ec && entry != end;
       entry.increment(ec))
    SetFileAttributesW(entry->path().c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool RemoveTree(const fs::path& dir) {
  return WaitFor(
      [&] {
        std::error_code ec;
        ClearAttributes(dir);
        fs::remove_all(dir, ec);
        return !fs::exists(dir, ec);
      },
      kDeleteTimeoutMs);
}

}  // namespace

std::wstring BinDir() { return fs::path(RunningExePath()).parent_path().wstring(); }

std::wstring BinFile(const std::wstring& fileName) {
  return (fs::path(BinDir()) / fileName).wstring();
}

std::wstring CurrentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!info) return L"no_test";
  std::wstring name =
      FromCodePage(std::string(info->test_suite_name()) + "." + info->name(), CP_UTF8);
  for (wchar_t& c : name) {
    if (c == L'/' || c == L'\\') c = L'_';
  }
  return name;
}

std::wstring FreshWorkDir(const std::wstring& name) {
  const fs::path dir = fs::path(kWorkRoot) / name;
  if (!RemoveTree(dir)) return L"";
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) return L"";
  return dir.wstring();
}

std::wstring FreshWorkDirForCurrentTest() { return FreshWorkDir(CurrentTestName()); }

std::wstring CopyInto(const std::wstring& source, const std::wstring& dir,
                      const std::wstring& newName) {
  const fs::path from(source);
  const fs::path to = fs::path(dir) / (newName.empty() ? from.filename() : fs::path(newName));
  if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) return L"";
  return to.wstring();
}

}  // namespace e2e
