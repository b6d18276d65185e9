#include "ui/window_win32.h"

#include <commctrl.h>

#include "ui/colours.h"
#include "ui/controls_win32.h"
#include "ui/window_messages_win32.h"
#include "ui/resources/resource_ids.h"
#include "ui/system_win32.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTimer2 = 2;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

ScrollRequest RequestOf(WORD code) {
  switch (code) {
    case SB_LINELEFT: return ScrollRequest::LineLeft;
    case SB_LINERIGHT: return ScrollRequest::LineRight;
    case SB_PAGELEFT: return ScrollRequest::PageLeft;
    case SB_PAGERIGHT: return ScrollRequest::PageRight;
    case SB_LEFT: return ScrollRequest::ToMinimum;
    case SB_RIGHT: return ScrollRequest::ToMaximum;
    case SB_THUMBTRACK: return ScrollRequest::ThumbTrack;
    default: return ScrollRequest::ThumbAt;
  }
}

SIZE WindowSize(int dpi) {
  const SIZE client = {TwipsToPixels(kClientWidthTwips, dpi),
                       TwipsToPixels(kClientHeightTwips, dpi)};
  return FrameSize(client, kWindowStyle, kWindowExStyle, dpi);
}

RECT CentredOnWorkArea(SIZE size) {
  RECT workArea;
  // Without the work area, the whole screen will do.
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0))
    workArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const LONG left = workArea.left + (workArea.right - workArea.left - size.cx) / 2;
  const LONG top = workArea.top + (workArea.bottom - workArea.top - size.cy) / 2;
  return {left, top, left + size.cx, top + size.cy};
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      addressBack_(colours::kRed),
      addressFore_(colours::kWhite),
      网络时间Colour_(colours::kGreen) {}

bool MainWindow::Create() {
  if (!RegisterWindowClass()) return false;
  // Made where it is to stand, in the size it most likely has there, rather
  // than moved there after: a move is a round of messages at every start.
  const int likelyDpi = SystemDpi();
  const RECT place = CentredOnWorkArea(WindowSize(likelyDpi));
  if (!CreateWindowExW(kWindowExStyle, kWindowClass, kFormCaption, kWindowStyle, place.left,
                       place.top, place.right - place.left, place.bottom - place.top, nullptr,
                       nullptr, instance_, this))
    return false;
  if (Furnish(likelyDpi)) return true;
  DestroyWindow(window_);
  return false;
}

bool MainWindow::RegisterWindowClass() const {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass) != 0;
}

// Everything the window needs besides itself. The picture is not among
// them: it is made once the window stands painted (DrawPicture).
bool MainWindow::Furnish(int madeForDpi) {
  bandBrush_.Reset(CreateSolidBrush(colours::kDarkGrey));
  addressBrush_.Reset(CreateSolidBrush(addressBack_));
  if (!bandBrush_ || !addressBrush_ || !ApplyDpi(DpiOfWindow(window_)) ||
      !CreateControls(window_, instance_, dpi_, fonts_))
    return false;
  for (std::size_t i = 0; i < kControls.size(); ++i)
    controls_[i] = GetDlgItem(window_, kControls[i].id);
  网络时间Tooltip_.Attach(Control(id网络时间));
  if (dpi_ != madeForDpi) CentreOnWorkArea();

  taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
  // An elevated copy would otherwise never hear that the taskbar is back,
  // nor that an unelevated copy was started. If the filter cannot be
  // changed, that copy just misses a taskbar restart or a second start.
  for (const UINT message : {taskbarCreatedMessage_, kShowRequestMessage})
    ChangeWindowMessageFilterEx(window_, message, MSGFLT_ALLOW, nullptr);
  return SetTimer(window_, kTimer1, kTimer1Milliseconds, nullptr) &&
         SetTimer(window_, kTimer2, kTimer2Milliseconds, nullptr);
}

// The new fonts and icons are made first and the old ones released only
// after the controls have the new: if one cannot be made, everything stays
// as it was, at the old DPI.
bool MainWindow::ApplyDpi(int dpi) {
  ControlFonts fonts;
  UniqueIcon bigIcon = LoadIconForDpi(instance_, IDI_APP, ICON_BIG, dpi);
  UniqueIcon smallIcon = LoadIconForDpi(instance_, IDI_APP, ICON_SMALL, dpi);
  if (!fonts.Create(dpi) || !bigIcon || !smallIcon) return false;

  dpi_ = dpi;
  // At the start there are no controls yet: they are made in place.
  if (controls_.front()) PlaceControls(window_, dpi, fonts);
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.Get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
  fonts_ = std::move(fonts);
  bigIcon_ = std::move(bigIcon);
  smallIcon_ = std::move(smallIcon);
  InvalidateRect(window_, nullptr, TRUE);
  return true;
}

void MainWindow::CentreOnWorkArea() const {
  const RECT place = CentredOnWorkArea(WindowSize(dpi_));
  SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left,
               place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  // Should the new fonts or icons fail, the window keeps its old size too.
  ApplyDpi(dpi);
  const SIZE size = WindowSize(dpi_);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND MainWindow::Control(ControlId id) const {
  for (std::size_t i = 0; i < kControls.size(); ++i)
    if (kControls[i].id == id) return controls_[i];
  return nullptr;
}

bool MainWindow::TranslateDialogKeys(MSG& msg) const {
  return IsDialogMessageW(window_, &msg) != FALSE;
}

std::wstring MainWindow::服务器路径Text() const { return TextOf(Control(id服务器路径)); }

void MainWindow::Set服务器路径Text(const std::wstring& text) {
  SetWindowTextW(Control(id服务器路径), text.c_str());
}

// A static control draws its new text as it takes it, an owner-drawn one
// through WM_DRAWITEM: invalidating it as well drew the clock twice a tick.
void MainWindow::SetControlText(ControlId id, const std::wstring& text) const {
  const HWND control = Control(id);
  if (TextOf(control) == text) return;
  SetWindowTextW(control, text.c_str());
}

void MainWindow::Set本机时间Caption(const std::wstring& caption) {
  SetControlText(id本机时间, caption);
}

void MainWindow::Set网络时间Caption(const std::wstring& caption) {
  SetControlText(id网络时间, caption);
}

void MainWindow::Set网络时间Tooltip(const std::wstring& text) { 网络时间Tooltip_.SetText(text); }

void MainWindow::SetCommand2Shield(bool shown) {
  SendMessageW(Control(idCommand2), BCM_SETSHIELD, 0, shown);
}

void MainWindow::SetLabel4Caption(const std::wstring& caption) {
  SetControlText(idLabel4, caption);
}

// Windows draws the shield on push buttons; whether it draws one on this
// push-like check box is the system's to decide, and Wine draws none on any.
void MainWindow::Set开机自动运行Shield(bool shown) {
  SendMessageW(Control(id开机自动运行), BCM_SETSHIELD, 0, shown);
}

void MainWindow::Show开机自动运行(int value) {
  SendMessageW(Control(id开机自动运行), BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void MainWindow::Show滚动条(int value) { SetScrollPos(Control(id滚动条), SB_CTL, value, TRUE); }

void MainWindow::ShowForm() {
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  SetFocus(Control(id服务器路径));
}

void MainWindow::HideForm() { ShowWindow(window_, SW_HIDE); }

void MainWindow::UnloadForm() { DestroyWindow(window_); }

LRESULT CALLBACK MainWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
    if (form_) form_->TaskbarCreated();
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == kPictureTimer) {
        MakePicture();
        return 0;
      }
      if (!form_) break;
      if (wParam == kTimer1) form_->Timer1_Timer();
      if (wParam == kTimer2) form_->Timer2_Timer();
      return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_HSCROLL: OnHorizontalScroll(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_PAINT: OnPaint(); return 0;
    case kEchoEndedMessage:
      if (form_) form_->ProbeHost_Completed(EchoTicketOf(wParam, lParam), EchoAnswered(lParam));
      return 0;
    case kConsentEndedMessage:
      if (form_) form_->ConsentPrompt_Ended(CommandNumberOf(wParam), ElevatedStartOf(lParam));
      return 0;
    case kTaskChangedMessage:
      if (form_) form_->LogonTask_Changed(TaskChangeNumberOf(wParam), TaskChangeEndOf(lParam));
      return 0;
    case kCommandEndedMessage:
      if (form_) form_->SyncCommand_Ended(system_->CommandEndOf(wParam, lParam));
      return 0;
    case kSntpEndedMessage:
      if (form_) form_->SntpQuestion_Ended(SntpQuestionOf(wParam), system_->SntpAnswerOf(wParam));
      return 0;
    case kTrayCallbackMessage:
      if (form_) form_->TrayIcon_Notify(static_cast<unsigned>(LOWORD(lParam)));
      return 0;
    case kShowRequestMessage:
      if (form_) form_->AnotherInstance_Started();
      return 0;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    // F1, from whichever control has the focus: the usage note, as the
    // picture gives it to the mouse.
    case WM_HELP:
      if (form_) form_->Image1_Click();
      return TRUE;
    case WM_CLOSE: OnClose(); return 0;
    case kHandOverMessage: return OnHandOver();
    case WM_ENDSESSION:
      if (wParam && form_) form_->Form_Unload();
      return 0;
    case WM_DESTROY:
      KillTimer(window_, kTimer1);
      KillTimer(window_, kTimer2);
      RemovePropW(window_, kFirstCopyMark);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::OnCommand(WORD id, WORD code) {
  if (!form_) return;
  const bool clicked = code == BN_CLICKED;  // STN_CLICKED has the same value
  if (!clicked) return;
  switch (id) {
    case idCommand1: form_->Command1_Click(); break;
    case idCommand2: form_->Command2_Click(); break;
    case id开机自动运行: form_->开机自动运行_Pressed(); break;
    case idImage1: form_->Image1_Click(); break;
  }
}

void MainWindow::OnHorizontalScroll(WORD code, WORD thumbPosition) {
  if (!form_ || code == SB_ENDSCROLL) return;
  form_->滚动条_Scroll(RequestOf(code), thumbPosition);
}

void MainWindow::OnClose() {
  if (form_) form_->Form_Unload();
  DestroyWindow(window_);
}

// Leaves as the close box would, once the sender has its answer; the copy
// that stays may then bring its window to the front.
LRESULT MainWindow::OnHandOver() {
  const bool shown = IsWindowVisible(window_) != FALSE;
  AllowSetForegroundWindow(ASFW_ANY);
  PostMessageW(window_, WM_CLOSE, 0, 0);
  return shown ? kHandedOverShown : kHandedOverHidden;
}

// A top-level window that is not a dialog forgets its focused control when
// it is deactivated; keep it, so that Alt+Tab returns to the same control.
void MainWindow::OnActivate(bool active) {
  if (!active) {
    focusBeforeDeactivation_ = GetFocus();
  } else if (focusBeforeDeactivation_ && IsChild(window_, focusBeforeDeactivation_)) {
    SetFocus(focusBeforeDeactivation_);
  } else {
    SetFocus(Control(id服务器路径));
  }
}
