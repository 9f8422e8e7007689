#include "repair/window/main_window.h"

#include <commctrl.h>

#include "platform/environment.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "profile/accent_color.h"
#include "profile/trim.h"
#include "repair/core/repair_job.h"
#include "repair/system/shortcut.h"
#include "repair/window/button_rules.h"
#include "repair/window/image_resource.h"
#include "repair/window/main_paint.h"
#include "repair/window/owner_button.h"

namespace {

constexpr wchar_t kClassName[] = L"Parcelwright.RepairTool";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 250;
constexpr UINT kJobDoneMessage = WM_APP + 1;

}  // namespace

MainWindow::~MainWindow() {
  if (font_) DeleteObject(font_);
}

HWND MainWindow::Create(HINSTANCE instance) {
  instance_ = instance;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &MainWindow::Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(101));
  if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hIcon = icon;
  windowClass.hIconSm = icon;
  RegisterClassExW(&windowClass);

  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  HWND window = CreateWindowExW(WS_EX_APPWINDOW, kClassName, L"VlmQuorvinInstaller",
                                WS_POPUP | WS_MINIMIZEBOX, x, y, kWindowWidth, kWindowHeight,
                                nullptr, nullptr, instance, this);
  if (!window) return nullptr;
  // The window owns the region once it is set; a failed region leaves it rectangular.
  if (HRGN region = CreateRoundRectRgn(0, 0, kWindowWidth + 1, kWindowHeight + 1, 26, 26)) {
    if (!SetWindowRgn(window, region, TRUE)) DeleteObject(region);
  }
  return window;
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      break;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_NCHITTEST:
      return OnNcHitTest(wParam, lParam);
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      break;
    case WM_TIMER:
      OnTimer();
      break;
    case kJobDoneMessage:
      Invalidate();
      break;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::OnCreate() {
  PackageProfile& profile = app_.profile;
  (void)LoadPackageProfile({}, profile);
  if (profile.startupExe.empty()) profile.startupExe = L"patcher.exe";
  if (profile.repairToolName.empty()) profile.repairToolName = L"VlmQuorvinInstaller.exe";
  SetWindowTextW(window_, profile.repairToolName.c_str());
  app_.accentColor = ParseAccentColor(profile.accentHex);
  app_.context.exePath = platform::WideToPath(platform::OwnModulePath());
  app_.context.clientFolder = app_.context.exePath.parent_path();
  if (profile.showLogo) logo_ = LoadImageResource(platform::kLogoResourceId);
  background_ = LoadImageResource(platform::kBackgroundResourceId);

  font_ =
      CreateFontW(15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FF_SWISS | DEFAULT_PITCH, L"Segoe UI");
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    buttons_[i] = CreateWindowExW(
        0, L"BUTTON", kButtons[i].text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 10,
        10, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtons[i].id)), instance_,
        nullptr);
  }
  for (HWND button : buttons_)
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  LayoutButtons();
  SetTimer(window_, kTimerId, kTimerMs, nullptr);
}

void MainWindow::OnDestroy() {
  KillTimer(window_, kTimerId);
  PostQuitMessage(0);
}

void MainWindow::OnPaint() {
  MainWindowView view;
  view.background = background_.get();
  view.logo = logo_.get();
  view.accent = app_.accentColor;
  view.title = app_.profile.repairToolName;
  view.clientFolder = platform::PathToWide(app_.context.clientFolder);
  view.status = app_.status.SnapshotStatus();
  PaintMainWindow(window_, view);
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  DrawOwnerButton(item, app_.accentColor, app_.primaryServerSelected);
}

void MainWindow::OnClose() {
  if (MessageBoxW(window_,
                  L"Are you sure you want to close?\n\nAny current repair or reinstall will be "
                  L"stopped.",
                  L"Close Repair Tool", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
    return;
  }
  if (app_.worker.joinable()) {
    app_.status.RequestStop();
    app_.status.TerminateToolProcess(1);
    app_.worker.join();
  }
  app_.status.ClearRunning();
  DestroyWindow(window_);
}

LRESULT MainWindow::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
  POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ScreenToClient(window_, &point);
  if (point.y < 48 && point.x < 772) return HTCAPTION;
  return DefWindowProcW(window_, WM_NCHITTEST, wParam, lParam);
}

void MainWindow::OnCommand(int id) {
  const PackageProfile& profile = app_.profile;
  switch (id) {
    case kRepairButton: {
      const bool mirror = IsMultiServerMode(profile) && !app_.primaryServerSelected;
      StartRepairJob(JobMode::Repair,
                     mirror ? profile.archiveMirrorUrls.front() : profile.archiveUrl);
      break;
    }
    case kPrimaryServerButton:
    case kMirrorServerButton:
      app_.primaryServerSelected = id == kPrimaryServerButton;
      InvalidateRect(Button(kPrimaryServerButton), nullptr, TRUE);
      InvalidateRect(Button(kMirrorServerButton), nullptr, TRUE);
      break;
    case kReinstallButton:
      if (MessageBoxW(window_,
                      L"This will delete the current client files in this folder, then reinstall "
                      L"from the CDN package.\n\nContinue?",
                      L"Confirm Reinstall", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES) {
        StartRepairJob(JobMode::Reinstall, L"");
      }
      break;
    case kShortcutButton:
      CreateShortcutNow();
      break;
    case kRunPatcherButton:
      LaunchStartupExe(job_, window_);
      break;
    case kWebsiteButton:
      OpenConfiguredLink(profile.websiteUrl, window_);
      break;
    case kDiscordButton:
      OpenConfiguredLink(profile.discordUrl, window_);
      break;
    case kRetryButton:
      RetryJob();
      break;
    case kMinimiseButton:
      ShowWindow(window_, SW_MINIMIZE);
      break;
    case kCloseButton:
    case kCloseTitleButton:
      SendMessageW(window_, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void MainWindow::OnTimer() {
  const bool wasActive = app_.status.IsRunning() || app_.worker.joinable();
  FinishJobIfDone();
  if (wasActive || app_.status.IsRunning() || app_.worker.joinable()) Invalidate();
}

void MainWindow::Invalidate() {
  InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::EnableJobButtons(bool enabled) {
  for (const int id :
       {kRepairButton, kPrimaryServerButton, kMirrorServerButton, kReinstallButton}) {
    EnableWindow(Button(id), enabled ? TRUE : FALSE);
  }
}

void MainWindow::StartRepairJob(JobMode mode, const std::wstring& url) {
  if (app_.worker.joinable() || app_.status.IsRunning()) return;
  const std::wstring trimmed = TrimWhitespace(url);
  app_.context.jobUrl = trimmed.empty() ? app_.profile.archiveUrl : trimmed;
  app_.patcherLaunched = false;
  app_.shortcutOffered = false;
  app_.status.BeginJobStatus(mode);
  EnableJobButtons(false);
  UpdateButtons();
  HWND window = window_;
  app_.worker = std::thread([this, mode, window] {
    RunRepairJob(job_, mode, [window] { PostMessageW(window, kJobDoneMessage, 0, 0); });
  });
  Invalidate();
}

void MainWindow::FinishJobIfDone() {
  if (!app_.worker.joinable() || app_.status.IsRunning()) return;
  const JobMode mode = app_.status.SnapshotStatus().mode;
  app_.worker.join();
  EnableJobButtons(true);
  if (app_.status.IsFinished() && !app_.status.IsFailed()) {
    const PackageProfile& profile = app_.profile;
    // Flags first: a tick that arrives while a question box is open must find them set.
    if (mode == JobMode::Reinstall && profile.offerDesktopShortcut && !profile.startupExe.empty() &&
        !app_.shortcutOffered) {
      app_.shortcutOffered = true;
      OfferShortcutAfterReinstall();
    }
    if (profile.runAfterInstall && !app_.patcherLaunched) {
      app_.patcherLaunched = true;
      LaunchStartupExe(job_, window_);
    }
  }
  UpdateButtons();
}

void MainWindow::OfferShortcutAfterReinstall() {
  if (MessageBoxW(window_, L"Re-install is complete.\n\nCreate a desktop game shortcut now?",
                  L"Create Game Shortcut", MB_YESNO | MB_ICONQUESTION) == IDYES) {
    CreateShortcutNow();
  }
}

void MainWindow::CreateShortcutNow() {
  std::wstring message;
  if (CreateDesktopShortcut(job_, message)) {
    app_.status.SetDetail(message);
    SetWindowTextW(Button(kShortcutButton), L"Game Shortcut Created");
    EnableWindow(Button(kShortcutButton), FALSE);
    Invalidate();
  } else {
    MessageBoxW(window_, message.c_str(), L"Create Game Shortcut", MB_ICONWARNING);
  }
}

void MainWindow::RetryJob() {
  if (app_.worker.joinable() && !app_.status.IsRunning()) app_.worker.join();
  app_.patcherLaunched = false;
  app_.shortcutOffered = false;
  app_.context.jobUrl.clear();
  app_.status.ResetStatus();
  EnableJobButtons(true);
  UpdateButtons();
  Invalidate();
}

HWND MainWindow::Button(int id) const {
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    if (kButtons[i].id == id) return buttons_[i];
  }
  return nullptr;
}

void MainWindow::LayoutButtons() {
  const bool multiServer = IsMultiServerMode(app_.profile);
  for (const ButtonLabel& button : kButtons) {
    const ButtonRect place = ButtonPlacement(button.id, multiServer);
    if (!place.placed) continue;
    SetWindowPos(Button(button.id), nullptr, place.x, place.y, place.width, place.height,
                 SWP_NOZORDER);
  }
  UpdateButtons();
}

void MainWindow::UpdateButtons() {
  const bool failed = app_.status.IsFailed() && app_.status.IsFinished();
  const bool multiServer = IsMultiServerMode(app_.profile);
  // The order in which the buttons are shown or hidden.
  static constexpr int kOrder[] = {kRepairButton,    kPrimaryServerButton, kMirrorServerButton,
                                   kReinstallButton, kRetryButton,         kCloseButton,
                                   kWebsiteButton,   kDiscordButton,       kShortcutButton,
                                   kRunPatcherButton};
  for (const int id : kOrder) {
    const bool placed = ButtonPlacement(id, multiServer).placed;
    ShowWindow(Button(id), placed && IsButtonShown(id, app_.profile, failed) ? SW_SHOW : SW_HIDE);
  }
}

void MainWindow::ReleaseImages() {
  logo_.reset();
  background_.reset();
}
