#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The window's controls as the handlers see them. The values of the check box
// and the scroll bar are kept by the form; the view only shows them.
class FormView {
 public:
  virtual std::wstring 服务器路径Text() const = 0;
  virtual void Set服务器路径Text(const std::wstring& text) = 0;
  virtual void Set服务器路径Colours(std::uint32_t back, std::uint32_t fore) = 0;
  virtual void Set本机时间Caption(const std::wstring& caption) = 0;
  virtual void Set网络时间Caption(const std::wstring& caption) = 0;
  virtual void Set网络时间Colour(std::uint32_t colour) = 0;
  // The tooltip of the status label; empty text shows none.
  virtual void Set网络时间Tooltip(const std::wstring& text) = 0;
  // The consent prompt's shield on "立即同步".
  virtual void SetCommand2Shield(bool shown) = 0;
  virtual void SetLabel4Caption(const std::wstring& caption) = 0;
  virtual void Show开机自动运行(int value) = 0;
  // The consent prompt's shield on the start-with-Windows box.
  virtual void Set开机自动运行Shield(bool shown) = 0;
  virtual void Show滚动条(int value) = 0;
  virtual void ShowForm() = 0;
  virtual void HideForm() = 0;
  virtual void UnloadForm() = 0;

 protected:
  ~FormView() = default;
};

// What the handlers need of the system besides the probe and the sync
// command, the settings file and the Run key.
class FormSystem {
 public:
  // True when another copy runs; a copy holding the right to change the
  // clock first makes one that lacks it leave (see ShownByReplacedCopy).
  virtual bool IsAnotherInstanceRunning() = 0;
  // Whether the window of the copy this one replaced was shown; nothing when
  // it replaced none.
  virtual std::optional<bool> ShownByReplacedCopy() = 0;
  // Asks the copy that runs already to show its window; the form hears of
  // such a request through 同步软件::AnotherInstance_Started.
  virtual void ShowRunningInstance() = 0;
  virtual std::wstring LongTimeNow() = 0;
  // False when the shell refused the icon.
  virtual bool AddTrayIcon() = 0;
  virtual void RemoveTrayIcon() = 0;
  // Kept for every later add; lines are separated by "\n".
  virtual void SetTrayTip(const std::wstring& tip) = 0;
  // Returns once the user has closed the note.
  virtual void ShowUsage(const std::wstring& caption, const std::wstring& text) = 0;

 protected:
  ~FormSystem() = default;
};
