#include "settings/disk_ini_file_win32.h"

#include <windows.h>

#include "settings/file_replace_win32.h"
#include "settings/ini_edit.h"
#include "settings/ini_encoding.h"
#include "win32/text_encoding.h"
#include "win32/unique_handle.h"

namespace {

using 定义::FileFailure;
using 定义::FileProblem;

FileFailure FailureOf(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED: return {FileProblem::AccessDenied, error};
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return {FileProblem::InUse, error};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return {FileProblem::DiskFull, error};
    case ERROR_FILENAME_EXCED_RANGE: return {FileProblem::PathTooLong, error};
    default: return {FileProblem::Other, error};
  }
}

bool IsReadOnlyFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
         !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Access is denied to a read-only file too; the user is told which it was.
FileFailure WriteFailureOf(DWORD error, const std::wstring& path) {
  if (error == ERROR_ACCESS_DENIED && IsReadOnlyFile(path)) return {FileProblem::ReadOnly, error};
  return FailureOf(error);
}

// Errors that say the file is there but barred to us right now.
bool IsBarred(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

// Empty when read; otherwise the error.
std::optional<DWORD> ReadWholeFile(const std::wstring& path, std::string& bytes) {
  const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  bytes.clear();
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr)) {
    if (read == 0) return std::nullopt;
    bytes.append(chunk, read);
  }
  return GetLastError();
}

// The user's own file comes with its folder, made by the first save.
std::optional<DWORD> MakeFolderOf(const std::wstring& path) {
  const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
  if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
    return std::nullopt;
  return GetLastError();
}

}  // namespace

std::wstring SystemCodePage::Decode(std::string_view bytes) const {
  return FromCodePage(bytes, CP_ACP);
}

// Best-fit mappings and the default character would change text silently;
// only a round trip that gives the same text back counts.
std::optional<std::string> SystemCodePage::EncodeExactly(std::wstring_view text) const {
  std::string bytes = ToCodePage(text, CP_ACP);
  if (FromCodePage(bytes, CP_ACP) != text) return std::nullopt;
  return bytes;
}

定义::IniFileRead DiskIniFile::Read() {
  const DWORD attributes = GetFileAttributesW(path_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (!IsBarred(error)) return {};
    return {定义::IniFileState::Unreadable, FailureOf(error), {}};
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {};
  std::string bytes;
  if (const auto error = ReadWholeFile(path_, bytes)) {
    if (!IsBarred(*error)) return {};
    return {定义::IniFileState::Unreadable, FailureOf(*error), {}};
  }
  return {定义::IniFileState::Read, {}, 定义::DecodeIniBytes(bytes, codePage_)};
}

std::optional<定义::FileFailure> DiskIniFile::WriteIniChanges(
    const std::vector<定义::IniChange>& changes) {
  // Longer paths need the \\?\ form, which the program does not use.
  if (TemporaryPathFor(path_).size() >= MAX_PATH) return FileFailure{FileProblem::PathTooLong, 0};
  // Whoever marked the file read-only wants it left alone. Windows refuses
  // to replace it anyway; not every system that runs the program does.
  if (IsReadOnlyFile(path_)) return FileFailure{FileProblem::ReadOnly, ERROR_ACCESS_DENIED};
  if (const auto error = MakeFolderOf(path_)) return WriteFailureOf(*error, path_);
  std::string bytes;
  if (const auto error = ReadWholeFile(path_, bytes); error && *error != ERROR_FILE_NOT_FOUND)
    return WriteFailureOf(*error, path_);
  if (定义::HoldsNulCharacter(bytes, codePage_)) return FileFailure{FileProblem::HoldsNul, 0};
  const std::string edited = 定义::EditIniBytes(bytes, changes, codePage_);
  if (const auto error = ReplaceFileContent(path_, edited)) return WriteFailureOf(*error, path_);
  return std::nullopt;
}
