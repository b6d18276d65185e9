#include "settings/exe_location.h"

ExeLocation SplitExePath(const std::wstring& modulePath) {
  const auto slash = modulePath.find_last_of(L'\\');
  const std::wstring fileName =
      slash == std::wstring::npos ? modulePath : modulePath.substr(slash + 1);
  std::wstring directory = slash == std::wstring::npos ? L"" : modulePath.substr(0, slash);
  if (directory.size() == 2 && directory[1] == L':') directory += L'\\';
  return {directory, fileName.substr(0, fileName.find_last_of(L'.'))};
}
