#include "token.h"

namespace e2e {
namespace {

// The filtered token comes as an impersonation token; a process needs a
// primary one.
UniqueKernelHandle FilteredTokenOf(HANDLE fullToken) {
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  if (!GetTokenInformation(fullToken, TokenLinkedToken, &linked, sizeof linked, &size)) return {};
  const UniqueKernelHandle impersonation(linked.LinkedToken);
  UniqueKernelHandle primary;
  if (!DuplicateTokenEx(impersonation.Get(), TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation,
                        TokenPrimary, primary.Put()))
    return {};
  return primary;
}

}  // namespace

UniqueKernelHandle TokenWithoutClockRight(bool filtered) {
  UniqueKernelHandle own;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, own.Put())) return {};
  UniqueKernelHandle base = filtered ? FilteredTokenOf(own.Get()) : std::move(own);
  LUID_AND_ATTRIBUTES clockRight{};
  if (!base || !LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &clockRight.Luid)) return {};
  UniqueKernelHandle restricted;
  if (!CreateRestrictedToken(base.Get(), 0, 0, nullptr, 1, &clockRight, 0, nullptr,
                             restricted.Put()))
    return {};
  return restricted;
}

UniqueKernelHandle FilteredToken() {
  UniqueKernelHandle own;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, own.Put())) return {};
  return FilteredTokenOf(own.Get());
}

}  // namespace e2e
