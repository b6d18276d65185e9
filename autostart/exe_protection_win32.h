#pragma once

#include <windows.h>

#include <string>

#include "autostart/exe_protection.h"

// Whether no one without administrator rights could replace the exe: write,
// delete or re-permission it or its folder, or remove or rename what a
// folder above holds. Asks both the permission lists, for anyone but the
// administrators, SYSTEM and TrustedInstaller, and Windows' own access
// check of the user's token without administrator rights (the filtered one
// where UAC splits the token). Folders made under C:\ let every signed-in
// user change what is in them; Program Files does not.
bool ExeProtectedFromUser(const std::wstring& exePath, const std::wstring& folder);

// A security descriptor's owner and permission list as plain data.
开机运行::Permissions PermissionsOf(PSECURITY_DESCRIPTOR descriptor);
