#include "autostart/task_change_mark_win32.h"

#include <windows.h>
#include <aclapi.h>

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

// The mark is the user's to forge. A copy with full rights removes only a
// file this account owns, which the account could remove unelevated as
// well (an owner may always give itself the right), and never a link's
// target.
void RemoveDefinitionFile(const std::wstring& path) {
  if (!IsDefinitionFileName(path)) return;
  if (ProcessTokenKind() != 开机运行::TokenKind::Elevated) {
    DeleteFileW(path.c_str());
    return;
  }
  const UniqueFileHandle file(CreateFileW(
      path.c_str(), DELETE | READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!file || GetSecurityInfo(file.Get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                               nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
    return;
  const UniqueHandle<HLOCAL, &::LocalFree> owned(descriptor);
  if (!IsThisAccount(owner)) return;
  FILE_DISPOSITION_INFO disposition{TRUE};
  SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition);
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
  if (!file.empty()) RemoveDefinitionFile(file);
  if (step == kCreate) return 开机运行::TaskStep::Create;
  if (step == kDelete) return 开机运行::TaskStep::Delete;
  return std::nullopt;
}

}  // namespace task_change_mark
