#include "fake_net_log.h"

#include <windows.h>

#include <charconv>
#include <optional>
#include <string_view>

#include "files.h"
#include "text.h"
#include "wait.h"
#include "work_dir.h"

namespace e2e {
namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const auto tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

std::optional<std::string_view> Field(std::string_view field, std::string_view key) {
  if (!field.starts_with(key)) return std::nullopt;
  return field.substr(key.size());
}

// The command line may itself contain tabs: exe is the first field, useshow
// and show the last two, cmd everything in between.
std::optional<FakeNetCall> ParseLine(std::string_view line) {
  const auto fields = SplitTabs(line);
  if (fields.size() < 4) return std::nullopt;
  const auto exe = Field(fields.front(), kFakeNetExeField);
  const auto useShow = Field(fields[fields.size() - 2], kFakeNetUseShowField);
  const auto show = Field(fields.back(), kFakeNetShowField);
  if (!exe || !useShow || !show || !fields[1].starts_with(kFakeNetCmdField)) {
    return std::nullopt;
  }
  const auto* cmdBegin = fields[1].data() + std::string_view(kFakeNetCmdField).size();
  const auto* cmdEnd = fields[fields.size() - 2].data() - 1;  // the tab before

  FakeNetCall call;
  call.exe = FromCodePage(*exe, CP_UTF8);
  call.cmd = FromCodePage(std::string_view(cmdBegin, cmdEnd - cmdBegin), CP_UTF8);
  call.useShow = *useShow == "1";
  if (std::from_chars(show->data(), show->data() + show->size(), call.show).ec != std::errc()) {
    return std::nullopt;
  }
  return call;
}

}  // namespace

std::vector<FakeNetCall> ReadFakeNetLog(const std::wstring& logPath) {
  std::vector<FakeNetCall> calls;
  const auto bytes = ReadFileBytes(logPath);
  if (!bytes) return calls;
  std::string_view rest(*bytes);
  for (auto nl = rest.find('\n'); nl != std::string_view::npos; nl = rest.find('\n')) {
    std::string_view line = rest.substr(0, nl);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (auto call = ParseLine(line)) calls.push_back(*call);
    rest.remove_prefix(nl + 1);
  }
  return calls;
}

std::wstring InstallStandIn(const wchar_t* exeName) {
  wchar_t systemDirectory[MAX_PATH] = L"";
  if (!GetSystemDirectoryW(systemDirectory, MAX_PATH)) return L"";
  // One of the previous test may still be running (and so be locked)
  // for a moment after the product that started it was terminated.
  std::wstring installed;
  WaitFor([&] {
    installed = CopyInto(BinFile(exeName), systemDirectory);
    return !installed.empty();
  });
  return installed;
}

}  // namespace e2e
