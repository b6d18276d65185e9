#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "autostart/plan.h"

// This process's token as UAC made it; a token that cannot be read counts
// as whole, which keeps the Run value as the registration.
开机运行::TokenKind ProcessTokenKind();

// "DOMAIN\user" of this process's token; nothing when it cannot be told.
std::optional<std::wstring> ReadAccountName();

// The same account's SID as text ("S-1-5-21-..."); nothing when it cannot
// be told.
std::optional<std::wstring> ReadAccountSid();

// Whether sid is this process's account.
bool IsThisAccount(PSID sid);
