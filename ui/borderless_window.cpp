#include "ui/borderless_window.h"

namespace ui {

HWND BorderlessWindow::Create(HINSTANCE instance) {
  instance_ = instance;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &BorderlessWindow::Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = shape_.className;
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(101));
  if (!icon && shape_.fallbackIcon) icon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hIcon = icon;
  windowClass.hIconSm = icon;
  RegisterClassExW(&windowClass);

  const int x = (GetSystemMetrics(SM_CXSCREEN) - shape_.width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - shape_.height) / 2;
  HWND window = CreateWindowExW(WS_EX_APPWINDOW, shape_.className, shape_.initialTitle,
                                WS_POPUP | WS_MINIMIZEBOX, x, y, shape_.width, shape_.height,
                                /* hWndParent */ nullptr, /* hMenu */ nullptr, instance, this);
  if (!window) return nullptr;
  // The window owns the region once it is set; a failed region leaves it rectangular.
  UniqueRegion region(
      CreateRoundRectRgn(0, 0, shape_.width + 1, shape_.height + 1, shape_.corner, shape_.corner));
  if (region && SetWindowRgn(window, region.get(), TRUE)) (void)region.release();
  return window;
}

LRESULT CALLBACK BorderlessWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<BorderlessWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<BorderlessWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    // An exception must not cross user32's frames; the message gets its default answer instead.
    if (message == WM_PAINT) {
      ValidateRect(window, nullptr);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT BorderlessWindow::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT BorderlessWindow::HitTestCaption(WPARAM wParam, LPARAM lParam) {
  POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ScreenToClient(window_, &point);
  if (point.y < shape_.dragHeight && point.x < shape_.dragWidth) return HTCAPTION;
  return DefWindowProcW(window_, WM_NCHITTEST, wParam, lParam);
}

HWND BorderlessWindow::CreateOwnerButton(int id, const wchar_t* text) {
  return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0,
                         0, 10, 10, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         instance_, nullptr);
}

HFONT BorderlessWindow::ButtonFont() {
  if (!font_) {
    font_.reset(CreateFontW(15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                            FF_SWISS | DEFAULT_PITCH, L"Segoe UI"));
  }
  return font_.get();
}

int RunMessageLoop(HWND window, int show) {
  MSG message = {};
  if (!window) return 0;
  ShowWindow(window, show);
  UpdateWindow(window);
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace ui
