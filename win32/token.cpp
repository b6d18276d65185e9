#include "win32/token.h"

std::optional<TOKEN_ELEVATION_TYPE> ElevationTypeOf(HANDLE token) {
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size))
    return std::nullopt;
  return type;
}

UniqueKernelHandle LinkedTokenOf(HANDLE token) {
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size)) return {};
  return UniqueKernelHandle(linked.LinkedToken);
}
