#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "ui/dpi_win32.h"
#include "ui/form.h"
#include "ui/form_view.h"
#include "ui/layout.h"
#include "ui/picture_win32.h"
#include "ui/tooltip_win32.h"
#include "win32/unique_handle.h"

class SystemWin32;

// The main window and its controls. It only draws and forwards: every
// decision is the form's.
class MainWindow final : public FormView {
 public:
  static constexpr wchar_t kWindowClass[] = L"LanTimeSync.MainWindow";
  // A window property: set on the window of the copy that holds the
  // single-instance mutex, the one a later copy asks to show itself.
  static constexpr wchar_t kFirstCopyMark[] = L"LanTimeSync.FirstCopy";

  explicit MainWindow(HINSTANCE instance);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window hidden, with its controls and timers; false, with
  // no window left, when any of them cannot be made.
  bool Create();
  // From now on the window's events reach the form.
  void Attach(同步软件& form, SystemWin32& system) {
    form_ = &form;
    system_ = &system;
  }
  HWND Handle() const { return window_; }
  // Keyboard navigation between the controls; true when msg was handled.
  bool TranslateDialogKeys(MSG& msg) const;

  std::wstring 服务器路径Text() const override;
  void Set服务器路径Text(const std::wstring& text) override;
  void Set服务器路径Colours(std::uint32_t back, std::uint32_t fore) override;
  void Set本机时间Caption(const std::wstring& caption) override;
  void Set网络时间Caption(const std::wstring& caption) override;
  void Set网络时间Colour(std::uint32_t colour) override;
  void Set网络时间Tooltip(const std::wstring& text) override;
  void SetCommand2Shield(bool shown) override;
  void SetLabel4Caption(const std::wstring& caption) override;
  void Show开机自动运行(int value) override;
  void Set开机自动运行Shield(bool shown) override;
  void Show滚动条(int value) override;
  void ShowForm() override;
  void HideForm() override;
  void UnloadForm() override;

 private:
  static constexpr UINT_PTR kPictureTimer = 3;

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool RegisterWindowClass() const;
  bool Furnish(int madeForDpi);
  bool ApplyDpi(int dpi);
  void CentreOnWorkArea() const;
  void OnDpiChanged(int dpi, const RECT& suggested);
  HWND Control(ControlId id) const;
  void SetControlText(ControlId id, const std::wstring& text) const;

  void OnCommand(WORD id, WORD code);
  void OnHorizontalScroll(WORD code, WORD thumbPosition);
  LRESULT OnControlColour(HDC dc, HWND control);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void DrawClockLabel(const DRAWITEMSTRUCT& item);
  void DrawPicture(const DRAWITEMSTRUCT& item);
  void MakePicture();
  void OnPaint() const;
  void OnClose();
  LRESULT OnHandOver();
  void OnActivate(bool active);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  // In the order of kControls, kept once made: GetDlgItem asks the window
  // server for the list of children at every call, several times a tick.
  std::array<HWND, kControls.size()> controls_{};
  同步软件* form_ = nullptr;
  SystemWin32* system_ = nullptr;
  UINT taskbarCreatedMessage_ = 0;
  int dpi_ = 96;

  UniqueIcon bigIcon_, smallIcon_;
  ControlFonts fonts_;
  UniqueBrush bandBrush_, addressBrush_;
  Picture picture_;
  // The size the picture was last made for, or is about to be; made or not,
  // it is not tried again at that size.
  SIZE pictureSizeAsked_{};
  std::uint32_t addressBack_, addressFore_;
  std::uint32_t 网络时间Colour_;
  ControlTooltip 网络时间Tooltip_;
  HWND focusBeforeDeactivation_ = nullptr;
};
