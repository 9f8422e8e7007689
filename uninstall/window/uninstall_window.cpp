#include "uninstall/window/uninstall_window.h"

#include "platform/environment.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "profile/accent_color.h"
#include "ui/image_resource.h"
#include "ui/window_frame.h"
#include "uninstall/flow/start_uninstall.h"
#include "uninstall/flow/uninstall_safety.h"
#include "uninstall/window/uninstall_controls.h"
#include "uninstall/window/uninstall_paint.h"

namespace uninstall {

namespace {

constexpr UINT_PTR kCloseTimerId = 1;
// Well inside the helper's first wait, so the uninstaller is gone before anything is removed.
constexpr UINT kCloseTimerMs = 450;

constexpr ui::WindowShape kShape = {
    .className = L"Parcelwright.Uninstaller",
    .initialTitle = L"Uninstall Velmora",
    .width = kUninstallWidth,
    .height = kUninstallHeight,
    .corner = 24,
    .dragWidth = 592,
    .dragHeight = 48,
    .fallbackIcon = false,
};

struct ButtonPlace {
  UninstallButtonId id;
  const wchar_t* text;
  int x, y, width, height;
};

constexpr std::array<ButtonPlace, 4> kButtonPlaces = {{
    {UninstallButtonId::Uninstall, L"Uninstall", 196, 318, 148, 42},
    {UninstallButtonId::Cancel, L"Cancel", 362, 318, 124, 42},
    {UninstallButtonId::Minimise, L"-", 612, 10, 28, 28},
    {UninstallButtonId::Close, L"X", 642, 10, 28, 28},
}};

}  // namespace

UninstallWindow::UninstallWindow(Uninstaller& uninstaller)
    : BorderlessWindow(kShape), uninstaller_(uninstaller) {}

LRESULT UninstallWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(); break;
    case WM_PAINT: OnPaint(); return 0;
    case WM_DRAWITEM:
      DrawUninstallButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), accent_);
      return TRUE;
    case WM_NCHITTEST: return HitTestCaption(wParam, lParam);
    case WM_COMMAND: OnCommand(static_cast<UninstallButtonId>(LOWORD(wParam))); break;
    case WM_CLOSE: OnClose(); return 0;
    case WM_TIMER: OnTimer(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void UninstallWindow::OnCommand(UninstallButtonId id) {
  switch (id) {
    case UninstallButtonId::Uninstall: OnUninstallClicked(); break;
    case UninstallButtonId::Cancel:
    case UninstallButtonId::Close: SendMessageW(window_, WM_CLOSE, 0, 0); break;
    case UninstallButtonId::Minimise: ShowWindow(window_, SW_MINIMIZE); break;
  }
}

void UninstallWindow::OnCreate() {
  profile::PackageProfile& profile = uninstaller_.profile;
  // A missing profile leaves the built-in defaults, which is what the program then runs with.
  (void)profile::LoadPackageProfile({}, profile);
  SetWindowTextW(window_, (profile.downloaderName + L" Uninstaller").c_str());
  background_ = ui::LoadImageResource(platform::kUninstallBackgroundResourceId);
  accent_ = profile::ParseAccentColor(profile.accentHex);
  uninstaller_.ownFolder = OwnFolderOf(platform::OwnModulePath());

  for (std::size_t i = 0; i < kButtonPlaces.size(); ++i) {
    const ButtonPlace& place = kButtonPlaces[i];
    buttons_[i] = CreateOwnerButton(static_cast<int>(place.id), place.text);
    if (place.id == UninstallButtonId::Uninstall || place.id == UninstallButtonId::Cancel) {
      SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(ButtonFont()), TRUE);
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
  ui::PaintBuffered(window_, kUninstallWidth, kUninstallHeight,
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
  EnableWindow(Button(UninstallButtonId::Uninstall), FALSE);
  EnableWindow(Button(UninstallButtonId::Cancel), FALSE);
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
  SetWindowTextW(Button(UninstallButtonId::Uninstall), uninstallCaption);
  SetWindowTextW(Button(UninstallButtonId::Cancel), cancelCaption);
  EnableWindow(Button(UninstallButtonId::Uninstall), TRUE);
  EnableWindow(Button(UninstallButtonId::Cancel), TRUE);
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

HWND UninstallWindow::Button(UninstallButtonId id) const {
  for (std::size_t i = 0; i < kButtonPlaces.size(); ++i) {
    if (kButtonPlaces[i].id == id) return buttons_[i];
  }
  return nullptr;
}

}  // namespace uninstall
