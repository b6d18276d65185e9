#include "tooltip.h"

#include <commctrl.h>

#include <optional>
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

// Sends message to the tooltip with a tool record in the process's memory,
// filled from `info` and pointing at room for the text there; reads back the
// record and the text. Nothing when the message could not be delivered.
std::optional<DWORD_PTR> SendWithToolInfo(HANDLE process, HWND tooltip, UINT message, WPARAM wParam,
                                          TOOLINFOW& info, std::wstring& text) {
  RemoteMemory memory(process, sizeof(TOOLINFOW) + kTextChars * sizeof(wchar_t));
  if (!memory.Get()) return std::nullopt;
  wchar_t* const remoteText = reinterpret_cast<wchar_t*>(memory.Get() + sizeof(TOOLINFOW));
  info.cbSize = sizeof info;
  info.lpszText = remoteText;
  const wchar_t none = L'\0';
  if (!WriteProcessMemory(process, memory.Get(), &info, sizeof info, nullptr) ||
      !WriteProcessMemory(process, remoteText, &none, sizeof none, nullptr))
    return std::nullopt;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(tooltip, message, wParam, reinterpret_cast<LPARAM>(memory.Get()),
                           SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
    return std::nullopt;
  std::vector<wchar_t> room(kTextChars);
  if (!ReadProcessMemory(process, memory.Get(), &info, sizeof info, nullptr) ||
      !ReadProcessMemory(process, remoteText, room.data(), room.size() * sizeof(wchar_t), nullptr))
    return std::nullopt;
  room.back() = L'\0';
  text = room.data();
  return result;
}

std::wstring TextOfTool(HANDLE process, HWND tooltip, HWND window, UINT_PTR id) {
  TOOLINFOW info{};
  info.hwnd = window;
  info.uId = id;
  std::wstring text;
  SendWithToolInfo(process, tooltip, TTM_GETTEXTW, kTextChars, info, text);
  return text;
}

std::vector<HWND> Tooltips(DWORD processId) {
  return TopWindowsOfProcess(processId, {.className = TOOLTIPS_CLASSW});
}

}  // namespace

std::wstring ToolTipText(HANDLE process, DWORD processId, HWND tool) {
  for (HWND tooltip : Tooltips(processId)) {
    const std::wstring text =
        TextOfTool(process, tooltip, GetParent(tool), reinterpret_cast<UINT_PTR>(tool));
    if (!text.empty()) return text;
  }
  return L"";
}

std::vector<std::wstring> ToolTipTexts(HANDLE process, DWORD processId) {
  std::vector<std::wstring> texts;
  for (HWND tooltip : Tooltips(processId)) {
    for (WPARAM index = 0;; ++index) {
      TOOLINFOW info{};
      std::wstring ignored;
      const auto found = SendWithToolInfo(process, tooltip, TTM_ENUMTOOLSW, index, info, ignored);
      if (!found || !*found) break;
      texts.push_back(TextOfTool(process, tooltip, info.hwnd, info.uId));
    }
  }
  return texts;
}

}  // namespace e2e
