#pragma once

#include <string>

#include "autostart/plan.h"

// The folder where the Task Scheduler keeps each task of its root folder as
// a file of the task's name: readable without its COM interface (which Wine
// does not enumerate) and without starting schtasks.exe. Empty when the
// Windows folder cannot be told.
std::wstring TaskFolder();

// Whether a task's file matching pattern (a task's name, "*" and "?" as in
// a file search) is there; Unknown where the folder does not let this token
// tell, as it lets only administrators with their full token.
开机运行::TaskPresence TaskFilePresence(const std::wstring& pattern);
