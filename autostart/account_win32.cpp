#include "autostart/account_win32.h"

#include <windows.h>

#include <sddl.h>

#include <memory>

#include "win32/token.h"
#include "win32/unique_handle.h"

namespace {

UniqueKernelHandle OwnToken() {
  UniqueKernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return {};
  return token;
}

}  // namespace

开机运行::TokenKind ProcessTokenKind() {
  const UniqueKernelHandle token = OwnToken();
  const std::optional<TOKEN_ELEVATION_TYPE> type =
      token ? ElevationTypeOf(token.Get()) : std::nullopt;
  switch (type.value_or(TokenElevationTypeDefault)) {
    case TokenElevationTypeLimited: return 开机运行::TokenKind::Filtered;
    case TokenElevationTypeFull: return 开机运行::TokenKind::Elevated;
    default: return 开机运行::TokenKind::Whole;
  }
}

namespace {

std::unique_ptr<std::byte[]> TokenUserOf(HANDLE token) {
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  if (size == 0) return nullptr;
  auto buffer = std::make_unique<std::byte[]>(size);
  if (!GetTokenInformation(token, TokenUser, buffer.get(), size, &size)) return nullptr;
  return buffer;
}

PSID SidOf(const std::unique_ptr<std::byte[]>& tokenUser) {
  return reinterpret_cast<const TOKEN_USER*>(tokenUser.get())->User.Sid;
}

}  // namespace

std::optional<std::wstring> ReadAccountSid() {
  const UniqueKernelHandle token = OwnToken();
  if (!token) return std::nullopt;
  const auto user = TokenUserOf(token.Get());
  wchar_t* text = nullptr;
  if (!user || !ConvertSidToStringSidW(SidOf(user), &text)) return std::nullopt;
  std::wstring sid(text);
  LocalFree(text);
  return sid;
}

std::optional<std::wstring> ReadAccountName() {
  const UniqueKernelHandle token = OwnToken();
  if (!token) return std::nullopt;
  const auto user = TokenUserOf(token.Get());
  if (!user) return std::nullopt;
  const PSID sid = SidOf(user);
  wchar_t name[256], domain[256];
  DWORD nameLength = 256, domainLength = 256;
  SID_NAME_USE use;
  if (!LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use))
    return std::nullopt;
  return std::wstring(domain) + L"\\" + name;
}

bool IsThisAccount(PSID sid) {
  const UniqueKernelHandle token = OwnToken();
  if (!token || !sid) return false;
  const auto user = TokenUserOf(token.Get());
  return user && EqualSid(SidOf(user), sid);
}
