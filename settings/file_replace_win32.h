#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// The file beside it that a new content is written into first.
std::wstring TemporaryPathFor(const std::wstring& path);

// Gives the file at path (there or not) a new content: written whole into the
// temporary file, flushed to the disk and put in place in one step, so that
// whoever reads the file, or finds it after a crash or a power cut, finds the
// old content or the new, never a part. Empty when done; otherwise the
// system's error, the file as it was and the temporary file removed.
std::optional<DWORD> ReplaceFileContent(const std::wstring& path, std::string_view bytes);
