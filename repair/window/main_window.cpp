#include "repair/window/main_window.h"

#include <commctrl.h>

#include "platform/environment.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "profile/accent_color.h"
#include "profile/fallbacks.h"
#include "repair/job/repair_job.h"
#include "repair/system/shortcut.h"
#include "repair/window/main_buttons.h"
#include "repair/window/main_paint.h"
#include "ui/image_resource.h"

namespace repair {

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 250;
constexpr UINT kJobDoneMessage = WM_APP + 1;

constexpr ui::WindowShape kShape = {
    .className = L"Parcelwright.RepairTool",
    .initialTitle = profile::kFallbackRepairToolStem,
    .width = kWindowWidth,
    .height = kWindowHeight,
    .corner = 26,
    .dragWidth = 772,
    .dragHeight = 48,
    .fallbackIcon = true,
};

}  // namespace

MainWindow::MainWindow(RepairApp& app) : BorderlessWindow(kShape), app_(app) {}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(); break;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_CLOSE: OnClose(); return 0;
    case WM_NCHITTEST: return HitTestCaption(wParam, lParam);
    case WM_COMMAND: OnCommand(static_cast<ButtonId>(LOWORD(wParam))); break;
    case WM_TIMER: OnTimer(); break;
    case kJobDoneMessage: Invalidate(); break;
    default: break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void MainWindow::OnCreate() {
  profile::PackageProfile& profile = app_.profile;
  (void)profile::LoadPackageProfile({}, profile);
  profile::ApplyRepairToolFallbacks(profile);
  SetWindowTextW(window_, profile.repairToolName.c_str());
  app_.accentColor = profile::ParseAccentColor(profile.accentHex);
  app_.context.exePath = platform::WideToPath(platform::OwnModulePath());
  app_.context.clientFolder = app_.context.exePath.parent_path();
  if (profile.showLogo) logo_ = ui::LoadImageResource(platform::kLogoResourceId);
  background_ = ui::LoadImageResource(platform::kBackgroundResourceId);

  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    buttons_[i] = CreateOwnerButton(static_cast<int>(kButtons[i].id), kButtons[i].text);
  }
  for (HWND button : buttons_) {
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(ButtonFont()), TRUE);
  }
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
  DrawMainButton(item, app_.accentColor, app_.primaryServerSelected);
}

void MainWindow::OnClose() {
  // The question box runs its own message loop, so timer ticks still arrive while it is open;
  // they must not finish a job (or start the game) behind a question about stopping it.
  closeQuestionOpen_ = true;
  const int answer = MessageBoxW(
      window_,
      L"Are you sure you want to close?\n\nAny current repair or reinstall will be stopped.",
      L"Close Repair Tool", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  closeQuestionOpen_ = false;
  if (answer != IDYES) {
    FinishJobIfDone();  // a job that ended meanwhile
    Invalidate();
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

void MainWindow::OnCommand(ButtonId id) {
  const profile::PackageProfile& profile = app_.profile;
  switch (id) {
    case ButtonId::Repair: {
      const bool mirror = IsMultiServerMode(profile) && !app_.primaryServerSelected;
      StartRepairJob(JobMode::Repair,
                     mirror ? profile.archiveMirrorUrls.front() : profile.archiveUrl);
      break;
    }
    case ButtonId::PrimaryServer:
    case ButtonId::MirrorServer:
      app_.primaryServerSelected = id == ButtonId::PrimaryServer;
      InvalidateRect(Button(ButtonId::PrimaryServer), nullptr, TRUE);
      InvalidateRect(Button(ButtonId::MirrorServer), nullptr, TRUE);
      break;
    case ButtonId::Reinstall:
      if (MessageBoxW(window_,
                      L"This will delete the current client files in this folder, then reinstall "
                      L"from the CDN package.\n\nContinue?",
                      L"Confirm Reinstall", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES) {
        StartRepairJob(JobMode::Reinstall, L"");
      }
      break;
    case ButtonId::Shortcut: CreateShortcutNow(); break;
    case ButtonId::RunPatcher: LaunchStartupExe(job_, window_); break;
    case ButtonId::Website: OpenConfiguredLink(profile.websiteUrl, window_); break;
    case ButtonId::Discord: OpenConfiguredLink(profile.discordUrl, window_); break;
    case ButtonId::Retry: RetryJob(); break;
    case ButtonId::Minimise: ShowWindow(window_, SW_MINIMIZE); break;
    case ButtonId::Close:
    case ButtonId::CloseTitle: SendMessageW(window_, WM_CLOSE, 0, 0); break;
    default: break;
  }
}

void MainWindow::OnTimer() {
  const bool wasActive = app_.status.IsRunning() || app_.worker.joinable();
  if (!closeQuestionOpen_) FinishJobIfDone();
  if (wasActive || app_.status.IsRunning() || app_.worker.joinable()) Invalidate();
}

void MainWindow::Invalidate() {
  InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::EnableJobButtons(bool enabled) {
  for (const ButtonId id :
       {ButtonId::Repair, ButtonId::PrimaryServer, ButtonId::MirrorServer, ButtonId::Reinstall}) {
    EnableWindow(Button(id), enabled ? TRUE : FALSE);
  }
}

void MainWindow::StartRepairJob(JobMode mode, const std::wstring& url) {
  if (app_.worker.joinable() || app_.status.IsRunning()) return;
  app_.context.jobUrl = profile::ChooseJobUrl(url, app_.profile);
  app_.patcherLaunched = false;
  app_.shortcutOffered = false;
  app_.status.BeginJobStatus(mode);
  EnableJobButtons(false);
  UpdateButtons();
  HWND window = window_;
  const bool started = StartWorkerThread(app_.status, app_.worker, [this, mode, window] {
    return std::thread([this, mode, window] {
      RunRepairJob(job_, mode, [window] { PostMessageW(window, kJobDoneMessage, 0, 0); });
    });
  });
  if (!started) {
    // No thread, so no job: the failed state shows Retry and Close.
    EnableJobButtons(true);
    UpdateButtons();
  }
  Invalidate();
}

void MainWindow::FinishJobIfDone() {
  if (!app_.worker.joinable() || app_.status.IsRunning()) return;
  const JobMode mode = app_.status.SnapshotStatus().mode;
  app_.worker.join();
  EnableJobButtons(true);
  if (app_.status.IsFinished() && !app_.status.IsFailed()) {
    const profile::PackageProfile& profile = app_.profile;
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
    SetWindowTextW(Button(ButtonId::Shortcut), L"Game Shortcut Created");
    EnableWindow(Button(ButtonId::Shortcut), FALSE);
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

HWND MainWindow::Button(ButtonId id) const {
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
  static constexpr ButtonId kOrder[] = {
      ButtonId::Repair,   ButtonId::PrimaryServer, ButtonId::MirrorServer, ButtonId::Reinstall,
      ButtonId::Retry,    ButtonId::Close,         ButtonId::Website,      ButtonId::Discord,
      ButtonId::Shortcut, ButtonId::RunPatcher};
  for (const ButtonId id : kOrder) {
    const bool placed = ButtonPlacement(id, multiServer).placed;
    ShowWindow(Button(id), placed && IsButtonShown(id, app_.profile, failed) ? SW_SHOW : SW_HIDE);
  }
}

}  // namespace repair
