#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win32/system_exe.h"
#include "win32/unique_handle.h"

// Runs work on a thread of its own, in the apartment the shell wants for
// the consent prompt: the prompt waits for the user, and the window keeps
// painting and ticking meanwhile. Work that starts a program without the
// prompt (one that already has the rights it needs) runs there too, so that
// its wait holds up nothing either. False, and work never runs, when no
// thread could be made for it.
bool RunOnShellThread(std::function<void()> work);

// How a start through the consent prompt went.
enum class ConsentStart { Started, Declined, Failed };

// Asks Windows, through the consent prompt that belongs to owner, to start
// exe with the user's full token, hidden. Waits for the user: only on the
// shell thread. process gets the started one.
ConsentStart StartWithConsent(HWND owner, const SystemExe& exe, const std::wstring& arguments,
                              UniqueKernelHandle& process);
