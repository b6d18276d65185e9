#pragma once

#include <string>

// Asks Windows whether the user's token without administrator rights (the
// filtered one where UAC splits the token) could replace the exe: write,
// delete or re-permission it or its folder. Folders made under C:\ let every
// signed-in user change what is in them; Program Files does not.
bool ExeProtectedFromUser(const std::wstring& exePath, const std::wstring& folder);
