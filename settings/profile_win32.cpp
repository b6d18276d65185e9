#include "settings/profile_win32.h"

#include <windows.h>

#include <vector>

#include "win32/text_encoding.h"

namespace {

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

}  // namespace

bool ProfileIniFile::Exists() const {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(path_.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  return (found.dwFileAttributes & kNotOrdinary) == 0;
}

std::wstring ProfileIniFile::ReadIniString(const std::wstring& section, const std::wstring& key,
                                           int bufferBytes) const {
  // Read whole, then cut by bytes: the W function would cut by characters.
  std::vector<wchar_t> buffer(4096);
  const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(),
                                                static_cast<DWORD>(buffer.size()), path_.c_str());
  return CutToAnsiBytes(std::wstring(buffer.data(), length),
                        static_cast<std::size_t>(bufferBytes > 0 ? bufferBytes - 1 : 0));
}

std::int32_t ProfileIniFile::ReadIniInt(const std::wstring& section,
                                        const std::wstring& key) const {
  return static_cast<std::int32_t>(
      GetPrivateProfileIntW(section.c_str(), key.c_str(), 0, path_.c_str()));
}

bool ProfileIniFile::WriteIniString(const std::wstring& section, const std::wstring& key,
                                    const std::wstring& value) {
  return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str()) !=
         0;
}
