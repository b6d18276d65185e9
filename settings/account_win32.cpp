#include "settings/account_win32.h"

#include <windows.h>

#include <memory>

#include "win32/unique_handle.h"

namespace {

UniqueKernelHandle OwnToken() {
  UniqueKernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return {};
  return token;
}

}  // namespace

开机运行::TokenKind ReadTokenKind() {
  const UniqueKernelHandle token = OwnToken();
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  if (!token || !GetTokenInformation(token.Get(), TokenElevationType, &type, sizeof type, &size))
    return 开机运行::TokenKind::Whole;
  switch (type) {
    case TokenElevationTypeLimited: return 开机运行::TokenKind::Filtered;
    case TokenElevationTypeFull: return 开机运行::TokenKind::Elevated;
    default: return 开机运行::TokenKind::Whole;
  }
}

std::optional<std::wstring> ReadAccountName() {
  const UniqueKernelHandle token = OwnToken();
  DWORD size = 0;
  if (!token) return std::nullopt;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return std::nullopt;
  const auto buffer = std::make_unique<std::byte[]>(size);
  if (!GetTokenInformation(token.Get(), TokenUser, buffer.get(), size, &size)) return std::nullopt;
  const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.get())->User.Sid;
  wchar_t name[256], domain[256];
  DWORD nameLength = 256, domainLength = 256;
  SID_NAME_USE use;
  if (!LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use))
    return std::nullopt;
  return std::wstring(domain) + L"\\" + name;
}
