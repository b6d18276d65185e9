#include "settings/profile_win32.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "settings/ini_encoding.h"
#include "settings/profile_text.h"
#include "win32/text_encoding.h"
#include "win32/unique_handle.h"

namespace {

using 定义::FileFailure;
using 定义::FileProblem;

class SystemCodePage final : public 定义::AnsiCodePage {
 public:
  std::wstring Decode(std::string_view bytes) const override { return FromCodePage(bytes, CP_ACP); }

  // Best-fit mappings and the default character would change text silently;
  // only a round trip that gives the same text back counts.
  std::optional<std::string> EncodeExactly(std::wstring_view text) const override {
    std::string bytes = ToCodePage(text, CP_ACP);
    if (FromCodePage(bytes, CP_ACP) != text) return std::nullopt;
    return bytes;
  }
};

// The stored text as an ANSI read into a buffer of maxBytes + 1 bytes gives
// it, except that a double-byte character is never cut in half.
std::wstring CutToAnsiBytes(const std::wstring& text, std::size_t maxBytes) {
  const std::string bytes = ToCodePage(text, CP_ACP);
  if (bytes.size() <= maxBytes) return text;
  std::size_t end = 0;
  while (end < bytes.size()) {
    const std::size_t width = IsDBCSLeadByte(static_cast<BYTE>(bytes[end])) ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return FromCodePage(std::string_view(bytes).substr(0, end), CP_ACP);
}

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

// The file is rewritten in place, so that its attributes and rights stay as
// they were. It is first grown to the larger size, so that a full disk fails
// the conversion before a single byte of the file has changed.
std::optional<FileFailure> RewriteWholeFile(const std::wstring& path, const std::string& bytes,
                                            std::size_t oldSize) {
  const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
  const auto moveTo = [&file](std::size_t offset) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN) != FALSE;
  };
  DWORD written = 0;
  if (!file || !moveTo(std::max(oldSize, bytes.size())) || !SetEndOfFile(file.Get()) ||
      !moveTo(0) ||
      !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      !SetEndOfFile(file.Get()))
    return WriteFailureOf(GetLastError(), path);
  return std::nullopt;
}

// The profile functions would damage a file in UTF-8: it is converted first.
// A file they would damage in any form is refused.
std::optional<FileFailure> MakeWritableByProfileFunctions(const std::wstring& path) {
  std::string bytes;
  // Without a readable file there is nothing to convert: the write itself
  // creates the file, or fails and says why.
  if (ReadWholeFile(path, bytes)) return std::nullopt;
  if (定义::HoldsNulCharacter(bytes, SystemCodePage()))
    return FileFailure{FileProblem::HoldsNul, 0};
  const auto converted = 定义::ConvertForProfileWrites(bytes, SystemCodePage());
  if (!converted) return std::nullopt;
  return RewriteWholeFile(path, *converted, bytes.size());
}

}  // namespace

定义::IniFileRead ProfileIniFile::Read() {
  text_.clear();
  const DWORD attributes = GetFileAttributesW(path_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (!IsBarred(error)) return {};
    return {定义::IniFileState::Unreadable, FailureOf(error)};
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {};
  std::string bytes;
  if (const auto error = ReadWholeFile(path_, bytes)) {
    if (!IsBarred(*error)) return {};
    return {定义::IniFileState::Unreadable, FailureOf(*error)};
  }
  text_ = 定义::DecodeIniBytes(bytes, SystemCodePage());
  return {定义::IniFileState::Read, {}};
}

std::wstring ProfileIniFile::ReadIniString(const std::wstring& section, const std::wstring& key,
                                           int bufferBytes) const {
  return CutToAnsiBytes(定义::ProfileValue(text_, section, key),
                        static_cast<std::size_t>(bufferBytes > 0 ? bufferBytes - 1 : 0));
}

std::int32_t ProfileIniFile::ReadIniInt(const std::wstring& section,
                                        const std::wstring& key) const {
  return 定义::ProfileInt(定义::ProfileValue(text_, section, key));
}

std::optional<定义::FileFailure> ProfileIniFile::WriteIniString(const std::wstring& section,
                                                                const std::wstring& key,
                                                                const std::wstring& value) {
  // Longer paths are cut short by the profile functions, which then write
  // somewhere else or nowhere.
  if (path_.size() >= MAX_PATH) return FileFailure{FileProblem::PathTooLong, 0};
  // Whoever marked the file read-only wants it left alone. Windows refuses
  // the write anyway; not every system that runs the program does.
  if (IsReadOnlyFile(path_)) return FileFailure{FileProblem::ReadOnly, ERROR_ACCESS_DENIED};
  if (const auto failure = MakeWritableByProfileFunctions(path_)) return failure;
  if (WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
    return std::nullopt;
  return WriteFailureOf(GetLastError(), path_);
}
