#include "settings/file_replace_win32.h"

#include <algorithm>

#include "win32/unique_handle.h"

namespace {

// The old file's attributes that the new one takes over. Its rights are not
// carried over: the new file has those the folder gives its files.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::optional<DWORD> WriteAll(HANDLE file, std::string_view bytes) {
  DWORD written = 0;
  if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    return GetLastError();
  // A write cut short found no room for the rest.
  if (written != bytes.size()) return ERROR_DISK_FULL;
  return std::nullopt;
}

std::optional<DWORD> Flush(HANDLE file) {
  if (!FlushFileBuffers(file)) return GetLastError();
  return std::nullopt;
}

// A temporary file left by a save cut short, or put there by anyone, is
// removed whatever its attributes: reused, it would carry them (read-only,
// say) into the file put in place. One name for every save, rather than a
// new one each time, leaves at most one such file behind after any number of
// saves cut short. A folder of that name is not the program's to remove.
void RemoveLeftover(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  // Failures show in the creation below.
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
}

// Made new, so that nothing of a leftover that could not be removed is ever
// written into and put in place.
std::optional<DWORD> WriteNewFile(const std::wstring& path, std::string_view bytes,
                                  DWORD attributes) {
  RemoveLeftover(path);
  const UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
  if (!file) return GetLastError();
  if (const auto error = WriteAll(file.Get(), bytes)) return error;
  return Flush(file.Get());
}

// For a folder that refuses new files while the file itself may be written,
// and for a temporary file's name taken by what cannot be removed:
// the content, whole by now, is written over the old. The file is first grown
// to the larger size, so that a full disk fails the write before a byte of it
// has changed; an end in the middle of the write can still leave a mix.
std::optional<DWORD> RewriteInPlace(const std::wstring& path, std::string_view bytes) {
  const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.Get(), &size)) return GetLastError();
  const auto moveTo = [&file](std::size_t offset) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN) != FALSE;
  };
  if (!moveTo(std::max(static_cast<std::size_t>(size.QuadPart), bytes.size())) ||
      !SetEndOfFile(file.Get()) || !moveTo(0))
    return GetLastError();
  if (const auto error = WriteAll(file.Get(), bytes)) return error;
  if (!SetEndOfFile(file.Get())) return GetLastError();
  return Flush(file.Get());
}

// Another program that holds the file without sharing its deletion keeps it
// from being replaced. Asked first, so that the user is told it is in use:
// the rename itself would only say access denied.
bool IsHeldByAnotherProgram(const std::wstring& path) {
  const UniqueFileHandle file(CreateFileW(path.c_str(), DELETE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !file && GetLastError() == ERROR_SHARING_VIOLATION;
}

// One rename over the old file. ReplaceFileW would keep the old file's rights
// and owner too, but Wine's moves the old file away before it moves the new
// one in, and a program ended in between leaves no file at all.
std::optional<DWORD> PutInPlace(const std::wstring& temporary, const std::wstring& path) {
  if (!MoveFileExW(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return GetLastError();
  return std::nullopt;
}

}  // namespace

std::wstring TemporaryPathFor(const std::wstring& path) { return path + L".tmp"; }

std::optional<DWORD> ReplaceFileContent(const std::wstring& path, std::string_view bytes) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
  const DWORD kept = replacing ? attributes & kKeptAttributes : 0;
  if (replacing && IsHeldByAnotherProgram(path)) return ERROR_SHARING_VIOLATION;
  const std::wstring temporary = TemporaryPathFor(path);
  auto error = WriteNewFile(temporary, bytes, kept ? kept : FILE_ATTRIBUTE_NORMAL);
  if (replacing &&
      (error == ERROR_ACCESS_DENIED || error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS))
    return RewriteInPlace(path, bytes);
  if (!error) error = PutInPlace(temporary, path);
  if (error) RemoveLeftover(temporary);
  return error;
}
