#include "autostart/task_change_mark_win32.h"

#include <windows.h>

#include "autostart/account_win32.h"
#include "win32/unique_handle.h"

namespace task_change_mark {
namespace {

constexpr wchar_t kProgramKey[] = L"Software\\LanTimeSync";
constexpr wchar_t kMarkValue[] = L"UnendedTaskChange";
constexpr wchar_t kCreate[] = L"create", kDelete[] = L"delete";

std::optional<std::wstring> Read() {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kProgramKey, kMarkValue, RRF_RT_REG_SZ, nullptr, nullptr,
                   &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring text(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, kProgramKey, kMarkValue, RRF_RT_REG_SZ, nullptr, text.data(),
                   &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  text.resize(bytes / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

// Only a file of the name GetTempFileNameW gave it.
bool IsDefinitionFileName(const std::wstring& path) {
  const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
  return name.size() > 7 && name.rfind(L"lts", 0) == 0 &&
         lstrcmpiW(name.c_str() + name.size() - 4, L".tmp") == 0;
}

}  // namespace

void Set(开机运行::TaskStep step, const std::wstring& definitionFile) {
  UniqueKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      key.Put(), nullptr) != ERROR_SUCCESS)
    return;
  const std::wstring text =
      std::wstring(step == 开机运行::TaskStep::Create ? kCreate : kDelete) + L"\n" + definitionFile;
  RegSetValueExW(key.Get(), kMarkValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void Clear() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kProgramKey, kMarkValue); }

std::optional<开机运行::TaskStep> Take() {
  const std::optional<std::wstring> mark = Read();
  if (!mark) return std::nullopt;
  Clear();
  const std::size_t lineEnd = mark->find(L'\n');
  const std::wstring step = mark->substr(0, lineEnd);
  const std::wstring file = lineEnd == std::wstring::npos ? L"" : mark->substr(lineEnd + 1);
  if (!file.empty() && IsDefinitionFileName(file) &&
      ProcessTokenKind() != 开机运行::TokenKind::Elevated)
    DeleteFileW(file.c_str());
  if (step == kCreate) return 开机运行::TaskStep::Create;
  if (step == kDelete) return 开机运行::TaskStep::Delete;
  return std::nullopt;
}

}  // namespace task_change_mark
