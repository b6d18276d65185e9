#pragma once
// Files the product writes, read while it may still have them open.

#include <optional>
#include <string>
#include <string_view>

namespace e2e {

bool FileExists(const std::wstring& path);
// The raw bytes (std::string as a byte container: INI files are GBK, logs
// UTF-8, and tests compare bytes). Unset if the file cannot be opened.
std::optional<std::string> ReadFileBytes(const std::wstring& path);
// Replaces the file's contents.
bool WriteFileBytes(const std::wstring& path, std::string_view bytes);

}  // namespace e2e
