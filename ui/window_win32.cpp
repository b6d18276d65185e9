#include "ui/window_win32.h"

#include <commctrl.h>

#include <vector>

#include "ui/colours.h"
#include "ui/resources/resource_ids.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

constexpr wchar_t kWindowClass[] = L"LanTimeSync.MainWindow";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTimer2 = 2;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
constexpr int kStandardDpi = 96;

int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kStandardDpi;
}

// GetDpiForWindow came with Windows 10; before it, every window has the
// system's DPI.
int DpiOfWindow(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const int dpi = getDpiForWindow ? static_cast<int>(getDpiForWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(ControlKind kind) {
  constexpr DWORD child = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::Edit:
      return {L"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton: return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::ToggleButton:
      return {L"BUTTON", child | WS_TABSTOP | BS_3STATE | BS_PUSHLIKE, 0};
    case ControlKind::ScrollBar: return {L"SCROLLBAR", child | WS_TABSTOP | SBS_HORZ, 0};
    case ControlKind::ClockLabel: return {L"STATIC", child | SS_OWNERDRAW | SS_NOPREFIX, 0};
    case ControlKind::Label: return {L"STATIC", child | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Picture: return {L"STATIC", child | SS_OWNERDRAW | SS_NOTIFY, 0};
  }
  return {L"STATIC", child, 0};
}

const ControlSpec* SpecOf(int id) {
  for (const ControlSpec& spec : kControls)
    if (spec.id == id) return &spec;
  return nullptr;
}

std::wstring TextOf(HWND control) {
  std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1);
  const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  return std::wstring(text.data(), static_cast<std::size_t>(length));
}

ScrollRequest RequestOf(WORD code) {
  switch (code) {
    case SB_LINELEFT: return ScrollRequest::LineLeft;
    case SB_LINERIGHT: return ScrollRequest::LineRight;
    case SB_PAGELEFT: return ScrollRequest::PageLeft;
    case SB_PAGERIGHT: return ScrollRequest::PageRight;
    case SB_LEFT: return ScrollRequest::ToMinimum;
    case SB_RIGHT: return ScrollRequest::ToMaximum;
    default: return ScrollRequest::ThumbAt;
  }
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      addressBack_(colours::kRed),
      addressFore_(colours::kWhite),
      网络时间Colour_(colours::kGreen) {}

bool MainWindow::Create() {
  largeIcon_.Reset(
      static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.Reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0)));
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance_;
  windowClass.hIcon = largeIcon_.Get();
  windowClass.hIconSm = smallIcon_.Get();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&windowClass)) return false;

  if (!CreateWindowExW(kWindowExStyle, kWindowClass, kFormCaption, kWindowStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance_, this))
    return false;
  picture_ = Picture::FromResource(instance_, IDR_HELP_PICTURE);
  bandBrush_.Reset(CreateSolidBrush(colours::kDarkGrey));
  addressBrush_.Reset(CreateSolidBrush(addressBack_));
  CreateControls();
  ApplyDpi(DpiOfWindow(window_));
  CentreOnWorkArea();

  // An elevated copy would otherwise never hear that the taskbar is back.
  taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
  ChangeWindowMessageFilterEx(window_, taskbarCreatedMessage_, MSGFLT_ALLOW, nullptr);
  SetTimer(window_, kTimer1, kTimer1Milliseconds, nullptr);
  SetTimer(window_, kTimer2, kTimer2Milliseconds, nullptr);
  return true;
}

void MainWindow::CreateControls() {
  for (const ControlSpec& spec : kControls) {
    const ControlClass controlClass = ClassFor(spec.kind);
    CreateWindowExW(controlClass.exStyle, controlClass.name, spec.text, controlClass.style, 0, 0, 0,
                    0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance_,
                    nullptr);
  }
  SendMessageW(Control(id服务器路径), EM_SETLIMITTEXT, 0, 0);  // 0 lifts the limit
  SCROLLINFO scroll{};
  scroll.cbSize = sizeof scroll;
  scroll.fMask = SIF_RANGE | SIF_POS;
  scroll.nMin = kScrollMinimum;
  scroll.nMax = kScrollMaximum;
  scroll.nPos = kScrollDesignValue;
  SetScrollInfo(Control(id滚动条), SB_CTL, &scroll, TRUE);
}

RECT MainWindow::ToPixels(const TwipRect& rect) const {
  return {TwipsToPixels(rect.left, dpi_), TwipsToPixels(rect.top, dpi_),
          TwipsToPixels(rect.left + rect.width, dpi_), TwipsToPixels(rect.top + rect.height, dpi_)};
}

HFONT MainWindow::FontFor(const FontSpec& spec) const {
  if (&spec == &kClockFont) return clockFont_.Get();
  if (&spec == &kPromptFont) return promptFont_.Get();
  if (&spec == &kCaptionFont) return captionFont_.Get();
  return windowFont_.Get();
}

void MainWindow::ApplyDpi(int dpi) {
  dpi_ = dpi;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW windowFont = metrics.lfMessageFont;
  windowFont.lfHeight = MulDiv(windowFont.lfHeight, dpi, SystemDpi());
  windowFont_.Reset(CreateFontIndirectW(&windowFont));
  const auto makeFont = [dpi](const FontSpec& spec) {
    return CreateFontW(-PointsToPixels(spec.hundredthsOfPoint, dpi), 0, 0, 0, spec.weight, FALSE,
                       FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, spec.face);
  };
  clockFont_.Reset(makeFont(kClockFont));
  promptFont_.Reset(makeFont(kPromptFont));
  captionFont_.Reset(makeFont(kCaptionFont));

  for (const ControlSpec& spec : kControls) {
    const RECT rect = ToPixels(spec.rect);
    const HWND control = Control(spec.id);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(*spec.font)), TRUE);
  }

  InvalidateRect(window_, nullptr, TRUE);
}

SIZE MainWindow::FrameSize() const {
  RECT frame = {0, 0, TwipsToPixels(kClientWidthTwips, dpi_),
                TwipsToPixels(kClientHeightTwips, dpi_)};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void MainWindow::CentreOnWorkArea() const {
  const SIZE size = FrameSize();
  RECT workArea;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  SetWindowPos(window_, nullptr, workArea.left + (workArea.right - workArea.left - size.cx) / 2,
               workArea.top + (workArea.bottom - workArea.top - size.cy) / 2, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  ApplyDpi(dpi);
  const SIZE size = FrameSize();
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

bool MainWindow::TranslateDialogKeys(MSG& msg) const {
  return IsDialogMessageW(window_, &msg) != FALSE;
}

std::wstring MainWindow::服务器路径Text() const { return TextOf(Control(id服务器路径)); }

void MainWindow::Set服务器路径Text(const std::wstring& text) {
  SetWindowTextW(Control(id服务器路径), text.c_str());
}

void MainWindow::Set服务器路径Colours(std::uint32_t back, std::uint32_t fore) {
  // Twice a second the same colours come again; repainting them would flicker.
  if (back == addressBack_ && fore == addressFore_) return;
  addressBack_ = back;
  addressFore_ = fore;
  addressBrush_.Reset(CreateSolidBrush(back));
  InvalidateRect(Control(id服务器路径), nullptr, TRUE);
}

void MainWindow::SetControlText(ControlId id, const std::wstring& text) const {
  const HWND control = Control(id);
  if (TextOf(control) == text) return;
  SetWindowTextW(control, text.c_str());
  InvalidateRect(control, nullptr, FALSE);
}

void MainWindow::Set本机时间Caption(const std::wstring& caption) {
  SetControlText(id本机时间, caption);
}

void MainWindow::Set网络时间Caption(const std::wstring& caption) {
  SetControlText(id网络时间, caption);
}

void MainWindow::Set网络时间Colour(std::uint32_t colour) {
  if (colour == 网络时间Colour_) return;
  网络时间Colour_ = colour;
  InvalidateRect(Control(id网络时间), nullptr, FALSE);
}

void MainWindow::SetLabel4Caption(const std::wstring& caption) {
  SetControlText(idLabel4, caption);
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
    case kTrayCallbackMessage:
      if (form_) form_->TrayIcon_Notify(static_cast<unsigned>(LOWORD(lParam)));
      return 0;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_ENDSESSION:
      if (wParam && form_) form_->Form_Unload();
      return 0;
    case WM_DESTROY:
      KillTimer(window_, kTimer1);
      KillTimer(window_, kTimer2);
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

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == id服务器路径) {
    SetTextColor(dc, addressFore_);
    SetBkColor(dc, addressBack_);
    return reinterpret_cast<LRESULT>(addressBrush_.Get());
  }
  const ControlSpec* spec = SpecOf(id);
  const bool buttonText = spec && spec->labelColour == LabelColour::ButtonText;
  SetTextColor(dc, buttonText ? GetSysColor(COLOR_BTNTEXT) : colours::kBlack);
  SetBkColor(dc, GetSysColor(COLOR_3DFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) const {
  if (item.CtlID == idImage1)
    picture_.Draw(item.hDC, item.rcItem);
  else
    DrawClockLabel(item);
}

// The clock labels let the band show through. They are drawn whole into a
// bitmap first, so that a changing text neither smears nor flickers.
void MainWindow::DrawClockLabel(const DRAWITEMSTRUCT& item) const {
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  const HDC buffer = CreateCompatibleDC(item.hDC);
  const HBITMAP bitmap = CreateCompatibleBitmap(item.hDC, width, height);
  const HGDIOBJ oldBitmap = SelectObject(buffer, bitmap);
  RECT area = {0, 0, width, height};
  FillRect(buffer, &area, bandBrush_.Get());

  const HGDIOBJ oldFont = SelectObject(buffer, clockFont_.Get());
  SetBkMode(buffer, TRANSPARENT);
  SetTextColor(buffer, item.CtlID == id网络时间 ? 网络时间Colour_ : colours::kGreen);
  const std::wstring text = TextOf(item.hwndItem);
  DrawTextW(buffer, text.c_str(), static_cast<int>(text.size()), &area,
            DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, buffer, 0, 0, SRCCOPY);

  SelectObject(buffer, oldFont);
  SelectObject(buffer, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(buffer);
}

void MainWindow::OnPaint() const {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window_, &paint);
  const RECT band = ToPixels(kShape2);
  FillRect(dc, &band, bandBrush_.Get());
  const HBRUSH border = GetSysColorBrush(COLOR_WINDOWTEXT);
  FrameRect(dc, &band, border);
  EndPaint(window_, &paint);
}

void MainWindow::OnClose() {
  if (form_) form_->Form_Unload();
  DestroyWindow(window_);
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
