#include "tooltip.h"

#include <commctrl.h>

#include <vector>

#include "window_query.h"

namespace e2e {
namespace {

constexpr std::size_t kTextChars = 1024;
constexpr UINT kMessageTimeoutMs = 5000;

// Memory in another process, freed when done.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, std::size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  ~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  char* Get() const { return static_cast<char*>(address_); }

 private:
  HANDLE process_;
  void* address_;
};

std::wstring TextOfTool(HANDLE process, HWND tooltip, HWND tool) {
  RemoteMemory memory(process, sizeof(TOOLINFOW) + kTextChars * sizeof(wchar_t));
  if (!memory.Get()) return L"";
  wchar_t* const remoteText = reinterpret_cast<wchar_t*>(memory.Get() + sizeof(TOOLINFOW));
  TOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND;
  info.hwnd = GetParent(tool);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = remoteText;
  const wchar_t none = L'\0';
  if (!WriteProcessMemory(process, memory.Get(), &info, sizeof info, nullptr) ||
      !WriteProcessMemory(process, remoteText, &none, sizeof none, nullptr))
    return L"";
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(tooltip, TTM_GETTEXTW, kTextChars,
                           reinterpret_cast<LPARAM>(memory.Get()), SMTO_ABORTIFHUNG,
                           kMessageTimeoutMs, &result))
    return L"";
  std::vector<wchar_t> text(kTextChars);
  if (!ReadProcessMemory(process, remoteText, text.data(), text.size() * sizeof(wchar_t), nullptr))
    return L"";
  text.back() = L'\0';
  return text.data();
}

}  // namespace

std::wstring ToolTipText(HANDLE process, DWORD processId, HWND tool) {
  for (HWND tooltip : TopWindowsOfProcess(processId, {.className = TOOLTIPS_CLASSW})) {
    const std::wstring text = TextOfTool(process, tooltip, tool);
    if (!text.empty()) return text;
  }
  return L"";
}

}  // namespace e2e
