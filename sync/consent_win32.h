#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "sync/command_watch_win32.h"
#include "sync/sync_command.h"
#include "win32/system_exe.h"
#include "win32/unique_handle.h"

// Called on the prompt's own thread: how the start went.
using ConsentEnded = std::function<void(ElevatedStart start)>;

// Starts the system's net.exe through the consent prompt. Once started the
// command is watched like any other and `ended` called with its exit code;
// it has no pipe, so nothing of what it writes is known. It runs with
// rights the program lacks, so it cannot be put in the program's job nor
// ended by it. False, and neither is called, when no thread could be made
// for it.
bool StartElevatedSyncCommand(HWND owner, const std::wstring& arguments, ConsentEnded consented,
                              CommandEnded ended);
