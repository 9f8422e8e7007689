#include "uninstall/window/uninstall_window.h"

#include "platform/environment.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "profile/accent_color.h"
#include "repair/window/image_resource.h"
#include "repair/window/window_frame.h"
#include "uninstall/flow/start_uninstall.h"
#include "uninstall/flow/uninstall_safety.h"
#include "uninstall/window/uninstall_controls.h"
#include "uninstall/window/uninstall_paint.h"

namespace {

constexpr wchar_t kClassName[] = L"Parcelwright.Uninstaller";
constexpr UINT_PTR kCloseTimerId = 1;
// Well inside the helper's first wait, so the uninstaller is gone before anything is removed.
constexpr UINT kCloseTimerMs = 450;

struct ButtonPlace {
  int id;
  const wchar_t* text;
  int x, y, width, height;
};

constexpr std::array<ButtonPlace, 4> kButtons = {{
    {kUninstallButton, L"Uninstall", 196, 318, 148, 42},
    {kCancelButton, L"Cancel", 362, 318, 124, 42},
    {kMinimiseButton, L"-", 612, 10, 28, 28},
    {kCloseButton, L"X", 642, 10, 28, 28},
}};

}  // namespace

UninstallWindow::~UninstallWindow() {
  if (font_) DeleteObject(font_);
}

HWND UninstallWindow::Create(HINSTANCE instance) {
  instance_ = instance;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &UninstallWindow::Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(101));
  windowClass.hIcon = icon;
  windowClass.hIconSm = icon;
  RegisterClassExW(&windowClass);

  const int x = (GetSystemMetrics(SM_CXSCREEN) - kUninstallWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kUninstallHeight) / 2;
  HWND window =
      CreateWindowExW(WS_EX_APPWINDOW, kClassName, L"Uninstall Velmora", WS_POPUP | WS_MINIMIZEBOX,
                      x, y, kUninstallWidth, kUninstallHeight, nullptr, nullptr, instance, this);
  if (!window) return nullptr;
  // The window owns the region once it is set; a failed region leaves it rectangular.
  if (HRGN region = CreateRoundRectRgn(0, 0, kUninstallWidth + 1, kUninstallHeight + 1, 24, 24)) {
    if (!SetWindowRgn(window, region, TRUE)) DeleteObject(region);
  }
  return window;
}

void UninstallWindow::ReleaseImages() {
  background_.reset();
}

LRESULT CALLBACK UninstallWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<UninstallWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<UninstallWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT UninstallWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      break;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_DRAWITEM:
      DrawUninstallButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), accent_);
      return TRUE;
    case WM_NCHITTEST:
      return OnNcHitTest(wParam, lParam);
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kUninstallButton:
          OnUninstallClicked();
          break;
        case kCancelButton:
        case kCloseButton:
          SendMessageW(window_, WM_CLOSE, 0, 0);
          break;
        case kMinimiseButton:
          ShowWindow(window_, SW_MINIMIZE);
          break;
        default:
          break;
      }
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_TIMER:
      OnTimer();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void UninstallWindow::OnCreate() {
  PackageProfile& profile = uninstaller_.profile;
  // A missing profile leaves the built-in defaults, which is what the program then runs with.
  (void)LoadPackageProfile({}, profile);
  SetWindowTextW(window_, (profile.downloaderName + L" Uninstaller").c_str());
  background_ = LoadImageResource(platform::kUninstallBackgroundResourceId);
  accent_ = ParseAccentColor(profile.accentHex);
  uninstaller_.ownFolder = OwnFolderOf(platform::OwnModulePath());

  font_ =
      CreateFontW(15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FF_SWISS | DEFAULT_PITCH, L"Segoe UI");
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    const ButtonPlace& place = kButtons[i];
    buttons_[i] = CreateWindowExW(
        0, L"BUTTON", place.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 10, 10,
        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)), instance_, nullptr);
    if (place.id == kUninstallButton || place.id == kCancelButton) {
      SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
    SetWindowPos(buttons_[i], nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER);
  }
}

void UninstallWindow::OnPaint() {
  UninstallView view;
  view.background = background_.get();
  view.accent = accent_;
  view.downloaderName = uninstaller_.profile.downloaderName;
  view.ownFolder = platform::PathToWide(uninstaller_.ownFolder);
  view.statusText = uninstaller_.statusText;
  PaintBuffered(window_, kUninstallWidth, kUninstallHeight,
                [&view](Gdiplus::Graphics& g) { RenderUninstallWindow(g, view); });
}

void UninstallWindow::OnUninstallClicked() {
  if (uninstalling_) return;
  if (failed_) {
    failed_ = false;
    uninstaller_.statusText = kReadyToUninstall;
    ShowChoice(L"Uninstall", L"Cancel");
    return;
  }
  const std::wstring question =
      L"Uninstall and remove this folder?\n\n" + platform::PathToWide(uninstaller_.ownFolder);
  if (MessageBoxW(window_, question.c_str(), L"Confirm Uninstall",
                  MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
    return;
  }
  uninstalling_ = true;
  uninstaller_.statusText = L"Uninstalling. This window will close automatically...";
  EnableWindow(Button(kUninstallButton), FALSE);
  EnableWindow(Button(kCancelButton), FALSE);
  InvalidateRect(window_, nullptr, TRUE);
  UpdateWindow(window_);
  if (StartUninstall(uninstaller_)) {
    SetTimer(window_, kCloseTimerId, kCloseTimerMs, nullptr);
    return;
  }
  uninstalling_ = false;
  failed_ = true;
  ShowChoice(L"Retry", L"Close");
}

void UninstallWindow::ShowChoice(const wchar_t* uninstallCaption, const wchar_t* cancelCaption) {
  SetWindowTextW(Button(kUninstallButton), uninstallCaption);
  SetWindowTextW(Button(kCancelButton), cancelCaption);
  EnableWindow(Button(kUninstallButton), TRUE);
  EnableWindow(Button(kCancelButton), TRUE);
  InvalidateRect(window_, nullptr, TRUE);
}

void UninstallWindow::OnClose() {
  if (MessageBoxW(window_,
                  L"Are you sure you want to close?\n\nAny current uninstall will be stopped.",
                  L"Close Uninstaller", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
    return;
  }
  KillTimer(window_, kCloseTimerId);
  // Closed before the timer fired: the helper is still in its first wait and removes nothing.
  if (uninstaller_.helper) {
    uninstaller_.helper->Terminate(1);
    uninstaller_.helper.reset();
  }
  uninstalling_ = false;
  DestroyWindow(window_);
}

void UninstallWindow::OnTimer() {
  KillTimer(window_, kCloseTimerId);
  // The helper runs on alone; only the handle is let go.
  uninstaller_.helper.reset();
  DestroyWindow(window_);
}

void UninstallWindow::OnDestroy() {
  uninstaller_.helper.reset();
  background_.reset();
  PostQuitMessage(0);
}

LRESULT UninstallWindow::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
  POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ScreenToClient(window_, &point);
  if (point.y <= 47 && point.x <= 591) return HTCAPTION;
  return DefWindowProcW(window_, WM_NCHITTEST, wParam, lParam);
}

HWND UninstallWindow::Button(int id) const {
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    if (kButtons[i].id == id) return buttons_[i];
  }
  return nullptr;
}
