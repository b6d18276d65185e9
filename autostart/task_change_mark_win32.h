#pragma once

#include <optional>
#include <string>

#include "autostart/plan.h"

// A mark, under this user's key of the program, that a change of the logon
// task has started and not yet ended, with the definition file it wrote.
// A close or the end of the session cuts the change short and leaves the
// mark for the next start to find.
namespace task_change_mark {

void Set(开机运行::TaskStep step, const std::wstring& definitionFile = L"");
void Clear();

// The change a mark tells of, which is cleared; its definition file is
// removed, by a copy with full rights only when this account owns it: the
// file's path is in the user's hands, and an elevated removal of it could
// be turned on another file.
std::optional<开机运行::TaskStep> Take();

}  // namespace task_change_mark
